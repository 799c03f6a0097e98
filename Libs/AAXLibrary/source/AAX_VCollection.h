// Wrapper of the host's collection, made at registration. Owns the effect
// descriptors and property maps it makes for the client; they all go when
// the collection goes.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFCollection.h"
#include "AAX_ICollection.h"
#include "AAX_VDescriptionHost.h"

#include <memory>
#include <vector>

class AAX_VEffectDescriptor;
class AAX_VPropertyMap;

class AAX_VCollection : public AAX_ICollection
{
public:
    explicit AAX_VCollection (IACFUnknown* hostUnknown);
    ~AAX_VCollection() override;

    AAX_VCollection (const AAX_VCollection&) = delete;
    AAX_VCollection& operator= (const AAX_VCollection&) = delete;

    AAX_IEffectDescriptor* NewDescriptor() override;
    /** -20004 without the host collection or for a null descriptor. */
    AAX_Result AddEffect (const char* inEffectID, AAX_IEffectDescriptor* inEffectDescriptor) override;
    AAX_Result SetManufacturerName (const char* inPackageName) override;
    AAX_Result AddPackageName (const char* inPackageName) override;
    AAX_Result SetPackageVersion (uint32_t inVersion) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties (AAX_IPropertyMap* inProperties) override;

    AAX_IDescriptionHost* DescriptionHost() override;
    const AAX_IDescriptionHost* DescriptionHost() const override;
    IACFDefinition* HostDefinition() const override;

    /** The host unknown given at registration. */
    IACFUnknown* GetIUnknown() const noexcept { return mHostUnknown.get(); }

private:
    ACFPtr<IACFUnknown> mHostUnknown;
    ACFPtr<AAX_IACFCollection> mIACFCollection;
    AAX_VDescriptionHost mDescriptionHost;

    std::vector<std::unique_ptr<AAX_VEffectDescriptor>> mEffectDescriptors;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
