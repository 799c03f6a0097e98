#include "AAX_VDescriptionHost.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VFeatureInfo.h"

AAX_VDescriptionHost::AAX_VDescriptionHost (IACFUnknown* hostUnknown)
    : mIACFDescriptionHost (QueryACFInterface<AAX_IACFDescriptionHost> (hostUnknown, IID_IAAXDescriptionHostV1)),
      mIACFDefinition (QueryACFInterface<IACFDefinition> (hostUnknown, IID_IACFDefinition))
{
}

AAX_VDescriptionHost::~AAX_VDescriptionHost() = default;

const AAX_IFeatureInfo* AAX_VDescriptionHost::AcquireFeatureProperties (const AAX_Feature_UID& inFeatureID) const
{
    if (! mIACFDescriptionHost)
        return nullptr;

    IACFUnknown* hostFeatureInfo = nullptr;
    if (mIACFDescriptionHost->AcquireFeatureProperties (inFeatureID, &hostFeatureInfo) != AAX_SUCCESS
        || hostFeatureInfo == nullptr)
        return nullptr;

    const ACFPtr<IACFUnknown> answer (hostFeatureInfo);
    return new AAX_VFeatureInfo (answer.get(), inFeatureID);
}
