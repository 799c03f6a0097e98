#pragma once

#include "AAX.h"
#include "AAX_IACFEffectParameters.h"
#include "CACFUnknown.h"

/**
    The library's side of the host's effect-parameters interface: the
    interface itself (all four versions) joined with the reference-counted
    base every object handed to the host has. IACFUnknown's operations go to
    the object's outer unknown.
*/
class AAX_IEffectParameters : public AAX_IACFEffectParameters_V4,
                              public CACFUnknown
{
public:
    ACF_DECLARE_STANDARD_UNKNOWN()

    acfResult InternalQueryInterface (const acfIID& iid, void** ppOut) override = 0;

    ~AAX_IEffectParameters() override = default;
};
