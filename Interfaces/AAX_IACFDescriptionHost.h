// The host's description-time services, asked of the host unknown.
#pragma once

#include "IACFUnknown.h"

class AAX_IACFDescriptionHost : public IACFUnknown
{
public:
    /** Hands back the host's feature-info object for a feature (one reference). */
    virtual AAX_Result AcquireFeatureProperties (const AAX_Feature_UID& inFeatureID, IACFUnknown** outFeatureProperties) = 0;

protected:
    ~AAX_IACFDescriptionHost() = default;
};
