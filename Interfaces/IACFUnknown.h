// The root interface of every ACF object: interface discovery and reference
// counting. Both the host's objects and the plug-in's objects handed to the
// host implement it.
#pragma once

#include "AAX.h"

class IACFUnknown
{
public:
    virtual acfResult QueryInterface (const acfIID& iid, void** ppOut) = 0;
    virtual acfUInt32 AddRef() = 0;
    virtual acfUInt32 Release() = 0;

protected:
    ~IACFUnknown() = default;
};
