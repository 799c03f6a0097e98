// The host's answer about one feature: its support level and, optionally,
// a property map with details.
#pragma once

#include "IACFUnknown.h"

class AAX_IACFFeatureInfo : public IACFUnknown
{
public:
    virtual AAX_Result SupportLevel (AAX_ESupportLevel* outSupportLevel) const = 0;
    /** Hands back a property map (one reference) or fails. */
    virtual AAX_Result AcquireProperties (IACFUnknown** outProperties) = 0;

protected:
    ~AAX_IACFFeatureInfo() = default;
};
