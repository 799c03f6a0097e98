// The library's side of the plug-in's GUI interface: the host-called
// interface joined with the reference-counted base every object handed to
// the host has. IACFUnknown's operations go to the object's outer unknown.
#pragma once

#include "AAX.h"
#include "AAX_IACFEffectGUI.h"
#include "CACFUnknown.h"

class AAX_IEffectGUI : public AAX_IACFEffectGUI,
                       public CACFUnknown
{
public:
    ACF_DECLARE_STANDARD_UNKNOWN()

    acfResult InternalQueryInterface (const acfIID& iid, void** ppOut) override = 0;

    ~AAX_IEffectGUI() override = default;
};
