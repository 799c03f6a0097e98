// Host services available while the plug-in describes itself.
// Implemented by AAX_VDescriptionHost.
#pragma once

#include "AAX.h"

class AAX_IFeatureInfo;

class AAX_IDescriptionHost
{
public:
    virtual ~AAX_IDescriptionHost() = default;

    /** A new feature-info object for the feature (caller owns it), or null. */
    virtual const AAX_IFeatureInfo* AcquireFeatureProperties (const AAX_Feature_UID& inFeatureID) const = 0;
};
