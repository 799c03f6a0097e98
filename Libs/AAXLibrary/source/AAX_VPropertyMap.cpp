#include "AAX_VPropertyMap.h"

#include "AAX_Enums.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

AAX_VPropertyMap* AAX_VPropertyMap::Create (IACFUnknown* hostUnknown)
{
    auto factory = QueryACFInterface<IACFComponentFactory> (hostUnknown, IID_IACFComponentFactory);
    if (! factory)
        return nullptr;

    auto hostMap = CreateACFComponent<IACFUnknown> (factory.get(), AAXCompID_PropertyMap, IID_IAAXPropertyMapV1);
    if (! hostMap)
        return nullptr;

    auto* map = new AAX_VPropertyMap();
    map->AttachHostMap (hostMap.get(), hostUnknown);
    return map;
}

AAX_VPropertyMap* AAX_VPropertyMap::Acquire (IACFUnknown* hostPropertyMap)
{
    if (hostPropertyMap == nullptr)
        return nullptr;

    auto* map = new AAX_VPropertyMap();
    map->AttachHostMap (hostPropertyMap, nullptr);
    return map;
}

void AAX_VPropertyMap::AttachHostMap (IACFUnknown* hostPropertyMap, IACFUnknown* hostUnknown)
{
    mIACFPropertyMap   = QueryACFInterface<AAX_IACFPropertyMap>    (hostPropertyMap, IID_IAAXPropertyMapV1);
    mIACFPropertyMapV2 = QueryACFInterface<AAX_IACFPropertyMap_V2> (hostPropertyMap, IID_IAAXPropertyMapV2);
    mIACFPropertyMapV3 = QueryACFInterface<AAX_IACFPropertyMap_V3> (hostPropertyMap, IID_IAAXPropertyMapV3);

    // The description host decides which property values are acceptable;
    // the host unknown is asked first, then the map in each version.
    IACFUnknown* const candidates[] = { hostUnknown, mIACFPropertyMap.get(), mIACFPropertyMapV2.get(), mIACFPropertyMapV3.get() };
    for (auto* candidate : candidates)
    {
        mIACFDescriptionHost = QueryACFInterface<AAX_IACFDescriptionHost> (candidate, IID_IAAXDescriptionHostV1);
        if (mIACFDescriptionHost)
            break;
    }
}

AAX_VPropertyMap::~AAX_VPropertyMap() = default;

bool AAX_VPropertyMap::IsLocallyStoredPointer (AAX_EProperty property) noexcept
{
    return property >= AAX_eProperty_NativeProcessProc && property <= AAX_eProperty_TIBackgroundProc;
}

bool AAX_VPropertyMap::IsValidStemFormat (AAX_CPropertyValue value) noexcept
{
    return (value >= 0 && value <= AAX_eStemFormat_MaxRegularCode)
        || value == AAX_eStemFormat_None
        || value == AAX_eStemFormat_Any;
}

AAX_CBoolean AAX_VPropertyMap::GetProperty (AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const
{
    if (! mIACFPropertyMap)
        return 0;
    return mIACFPropertyMap->GetProperty (inProperty, outValue);
}

AAX_CBoolean AAX_VPropertyMap::GetPointer (AAX_EProperty inProperty, const void** outValue) const
{
    if (outValue == nullptr)
        return 0;

    if (mIACFPropertyMapV3)
        return mIACFPropertyMapV3->GetPointerProperty (inProperty, outValue);

    const auto stored = mLocalPointerProperties.find (inProperty);
    if (stored == mLocalPointerProperties.end())
        return 0;

    *outValue = stored->second;
    return 1;
}

AAX_Result AAX_VPropertyMap::AddProperty (AAX_EProperty inProperty, AAX_CPropertyValue inValue)
{
    if (! mIACFPropertyMap)
        return AAX_ERROR_NULL_OBJECT;

    // Without a description host the host cannot vet stem formats itself,
    // so values outside the known range are refused here.
    const bool isStemFormatProperty = inProperty == AAX_eProperty_InputStemFormat
                                   || inProperty == AAX_eProperty_OutputStemFormat;
    if (isStemFormatProperty && ! mIACFDescriptionHost && ! IsValidStemFormat (inValue))
        return AAX_ERROR_PROPERTY_UNDEFINED;

    return mIACFPropertyMap->AddProperty (inProperty, inValue);
}

AAX_Result AAX_VPropertyMap::AddPointer (AAX_EProperty inProperty, const void* inValue)
{
    if (mIACFPropertyMapV3)
        return mIACFPropertyMapV3->AddPointerProperty (inProperty, inValue);

    if (! IsLocallyStoredPointer (inProperty))
        return AAX_ERROR_UNIMPLEMENTED;

    mLocalPointerProperties[inProperty] = inValue;
    return AAX_SUCCESS;
}

AAX_Result AAX_VPropertyMap::AddPointer (AAX_EProperty inProperty, const char* inValue)
{
    return AddPointer (inProperty, static_cast<const void*> (inValue));
}

AAX_Result AAX_VPropertyMap::RemoveProperty (AAX_EProperty inProperty)
{
    if (! mIACFPropertyMap)
        return AAX_ERROR_NULL_OBJECT;
    return mIACFPropertyMap->RemoveProperty (inProperty);
}

AAX_Result AAX_VPropertyMap::AddPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad* inPluginIDs, uint32_t inNumPluginIDs)
{
    if (! mIACFPropertyMapV2)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIACFPropertyMapV2->AddPropertyWithIDArray (inProperty, inPluginIDs, inNumPluginIDs);
}

AAX_CBoolean AAX_VPropertyMap::GetPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad** outPluginIDs, uint32_t* outNumPluginIDs) const
{
    if (! mIACFPropertyMapV2)
        return 0;
    return mIACFPropertyMapV2->GetPropertyWithIDArray (inProperty, outPluginIDs, outNumPluginIDs);
}

IACFUnknown* AAX_VPropertyMap::GetIUnknown()
{
    if (mIACFPropertyMapV3) return mIACFPropertyMapV3.get();
    if (mIACFPropertyMapV2) return mIACFPropertyMapV2.get();
    return mIACFPropertyMap.get();
}

const IACFUnknown* AAX_VPropertyMap::GetIUnknown() const
{
    return const_cast<AAX_VPropertyMap*> (this)->GetIUnknown();
}
