// The host's component factory: makes a new host component for a component
// ID and hands back the requested interface of it (with one reference).
#pragma once

#include "IACFUnknown.h"

class IACFComponentFactory : public IACFUnknown
{
public:
    /** pUnknownOuter is always null here (no aggregation). */
    virtual acfResult CreateComponent (const acfCLSID& clsid,
                                       IACFUnknown* pUnknownOuter,
                                       const acfIID& iid,
                                       void** ppOut) = 0;
protected:
    ~IACFComponentFactory() = default;
};
