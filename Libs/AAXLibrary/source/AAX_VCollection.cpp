#include "AAX_VCollection.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VPropertyMap.h"

namespace
{
    ACFPtr<AAX_IACFCollection> createHostCollection (IACFUnknown* hostUnknown)
    {
        auto factory = QueryACFInterface<IACFComponentFactory> (hostUnknown, IID_IACFComponentFactory);
        return CreateACFComponent<AAX_IACFCollection> (factory.get(), AAXCompID_AAXCollection, IID_IAAXCollectionV1);
    }
}

AAX_VCollection::AAX_VCollection (IACFUnknown* hostUnknown)
    : mHostUnknown (RetainACFObject (hostUnknown)),
      mIACFCollection (createHostCollection (hostUnknown)),
      mDescriptionHost (hostUnknown)
{
}

// Members go in reverse order: the objects made for the client first,
// then the host interfaces from the highest version down.
AAX_VCollection::~AAX_VCollection() = default;

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor()
{
    mEffectDescriptors.push_back (std::make_unique<AAX_VEffectDescriptor> (mHostUnknown.get()));
    return mEffectDescriptors.back().get();
}

AAX_Result AAX_VCollection::AddEffect (const char* inEffectID, AAX_IEffectDescriptor* inEffectDescriptor)
{
    auto* descriptor = dynamic_cast<AAX_VEffectDescriptor*> (inEffectDescriptor);
    if (! mIACFCollection || descriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    return mIACFCollection->AddEffect (inEffectID, descriptor->GetIUnknown());
}

AAX_Result AAX_VCollection::SetManufacturerName (const char* inPackageName)
{
    if (! mIACFCollection)
        return AAX_ERROR_NULL_OBJECT;
    return mIACFCollection->SetManufacturerName (inPackageName);
}

AAX_Result AAX_VCollection::AddPackageName (const char* inPackageName)
{
    if (! mIACFCollection)
        return AAX_ERROR_NULL_OBJECT;
    return mIACFCollection->AddPackageName (inPackageName);
}

AAX_Result AAX_VCollection::SetPackageVersion (uint32_t inVersion)
{
    if (! mIACFCollection)
        return AAX_ERROR_NULL_OBJECT;
    return mIACFCollection->SetPackageVersion (inVersion);
}

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (mHostUnknown.get()));
    if (map == nullptr)
        return nullptr;

    mPropertyMaps.push_back (std::move (map));
    return mPropertyMaps.back().get();
}

AAX_Result AAX_VCollection::SetProperties (AAX_IPropertyMap* inProperties)
{
    if (! mIACFCollection)
        return AAX_ERROR_NULL_OBJECT;
    return mIACFCollection->SetProperties (inProperties != nullptr ? inProperties->GetIUnknown() : nullptr);
}

AAX_IDescriptionHost* AAX_VCollection::DescriptionHost()
{
    return mDescriptionHost.Supported() ? &mDescriptionHost : nullptr;
}

const AAX_IDescriptionHost* AAX_VCollection::DescriptionHost() const
{
    return mDescriptionHost.Supported() ? &mDescriptionHost : nullptr;
}

IACFDefinition* AAX_VCollection::HostDefinition() const
{
    return mDescriptionHost.HostDefinition();
}
