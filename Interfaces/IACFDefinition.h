// The host's definition interface: attributes the host publishes about
// itself during description. The library only hands it through.
#pragma once

#include "IACFUnknown.h"

class IACFDefinition : public IACFUnknown
{
public:
    virtual acfResult GetAttribute (const acfUID& attributeID, acfUInt32 dataSize, void* outData) = 0;

protected:
    ~IACFDefinition() = default;
};
