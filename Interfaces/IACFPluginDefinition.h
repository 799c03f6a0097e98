// The host's plug-in definition interface, asked of the host unknown when a
// plug-in registers. The library only asks for it and hands it to the host.
#pragma once

#include "IACFUnknown.h"

class IACFPluginDefinition : public IACFUnknown
{
public:
    virtual acfResult InitializePlugin (IACFUnknown* pUnkHost) = 0;

protected:
    ~IACFPluginDefinition() = default;
};

/** The host's definition of one component of a plug-in. This library
    registers no components of its own (ACFRegisterComponent answers null). */
class IACFComponentDefinition : public IACFUnknown
{
public:
    virtual acfResult InitializeComponent (IACFUnknown* pUnkHost) = 0;

protected:
    ~IACFComponentDefinition() = default;
};
