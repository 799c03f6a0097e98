// Wrapper of the host's answer about one feature.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFFeatureInfo.h"
#include "AAX_IFeatureInfo.h"

class AAX_VFeatureInfo : public AAX_IFeatureInfo
{
public:
    /** Asks hostFeatureInfo for the feature-info interface (the caller keeps
        its own reference to hostFeatureInfo). */
    AAX_VFeatureInfo (IACFUnknown* hostFeatureInfo, const AAX_Feature_UID& featureID);
    ~AAX_VFeatureInfo() override;

    /** -20004 when the host object does not answer the feature-info interface. */
    AAX_Result SupportLevel (AAX_ESupportLevel& outSupportLevel) const override;
    /** A new property map (caller owns it); null on failure. */
    const AAX_IPropertyMap* AcquireProperties() const override;
    const AAX_Feature_UID& ID() const override { return mFeatureID; }

private:
    ACFPtr<AAX_IACFFeatureInfo> mIACFFeatureInfo;
    AAX_Feature_UID mFeatureID;
};
