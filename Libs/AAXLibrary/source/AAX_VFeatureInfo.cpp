#include "AAX_VFeatureInfo.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VPropertyMap.h"

AAX_VFeatureInfo::AAX_VFeatureInfo (IACFUnknown* hostFeatureInfo, const AAX_Feature_UID& featureID)
    : mIACFFeatureInfo (QueryACFInterface<AAX_IACFFeatureInfo> (hostFeatureInfo, IID_IAAXFeatureInfoV1)),
      mFeatureID (featureID)
{
}

AAX_VFeatureInfo::~AAX_VFeatureInfo() = default;

AAX_Result AAX_VFeatureInfo::SupportLevel (AAX_ESupportLevel& outSupportLevel) const
{
    if (! mIACFFeatureInfo)
        return AAX_ERROR_NULL_OBJECT;
    return mIACFFeatureInfo->SupportLevel (&outSupportLevel);
}

const AAX_IPropertyMap* AAX_VFeatureInfo::AcquireProperties() const
{
    if (! mIACFFeatureInfo)
        return nullptr;

    IACFUnknown* hostProperties = nullptr;
    if (mIACFFeatureInfo->AcquireProperties (&hostProperties) != AAX_SUCCESS || hostProperties == nullptr)
        return nullptr;

    // The wrapper takes its own references; the one handed to us goes back.
    const ACFPtr<IACFUnknown> answer (hostProperties);
    return AAX_VPropertyMap::Acquire (answer.get());
}
