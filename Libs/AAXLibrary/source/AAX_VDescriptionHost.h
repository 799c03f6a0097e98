// Wrapper of the host's description-time services and its definition
// interface, both asked of the host unknown given at registration.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFDescriptionHost.h"
#include "AAX_IDescriptionHost.h"
#include "IACFDefinition.h"

class AAX_VDescriptionHost : public AAX_IDescriptionHost
{
public:
    explicit AAX_VDescriptionHost (IACFUnknown* hostUnknown);
    ~AAX_VDescriptionHost() override;

    /** A new AAX_VFeatureInfo (caller owns it); null without the description
        host interface or when the host fails or answers nothing. */
    const AAX_IFeatureInfo* AcquireFeatureProperties (const AAX_Feature_UID& inFeatureID) const override;

    bool Supported() const noexcept { return static_cast<bool> (mIACFDescriptionHost); }
    AAX_IACFDescriptionHost* DescriptionHost() const noexcept { return mIACFDescriptionHost.get(); }
    IACFDefinition* HostDefinition() const noexcept { return mIACFDefinition.get(); }

private:
    ACFPtr<AAX_IACFDescriptionHost> mIACFDescriptionHost;
    ACFPtr<IACFDefinition> mIACFDefinition;
};
