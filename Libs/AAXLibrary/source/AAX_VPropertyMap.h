// Versioned wrapper of a host property map (versions 1 to 3).
//
// Pointer-valued properties need version 3 of the host map. On a host
// without it, the pointers of the processing components (IDs 36 to 42) are
// kept in a local table so that AddProcessProc can still read them back.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFDescriptionHost.h"
#include "AAX_IACFPropertyMap.h"
#include "AAX_IPropertyMap.h"

#include <map>

class AAX_VPropertyMap : public AAX_IPropertyMap
{
public:
    /** Makes a new host map with the host's component factory; null when the
        host has no factory or the map cannot be made. */
    static AAX_VPropertyMap* Create (IACFUnknown* hostUnknown);
    /** Wraps an existing host map; null for a null map. */
    static AAX_VPropertyMap* Acquire (IACFUnknown* hostPropertyMap);

    ~AAX_VPropertyMap() override;

    AAX_CBoolean GetProperty (AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const override;
    AAX_CBoolean GetPointer (AAX_EProperty inProperty, const void** outValue) const override;
    AAX_Result AddProperty (AAX_EProperty inProperty, AAX_CPropertyValue inValue) override;
    AAX_Result AddPointer (AAX_EProperty inProperty, const void* inValue) override;
    AAX_Result AddPointer (AAX_EProperty inProperty, const char* inValue) override;
    AAX_Result RemoveProperty (AAX_EProperty inProperty) override;
    AAX_Result AddPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad* inPluginIDs, uint32_t inNumPluginIDs) override;
    AAX_CBoolean GetPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad** outPluginIDs, uint32_t* outNumPluginIDs) const override;

    IACFUnknown* GetIUnknown() override;
    const IACFUnknown* GetIUnknown() const override;

private:
    AAX_VPropertyMap() = default;
    void AttachHostMap (IACFUnknown* hostPropertyMap, IACFUnknown* hostUnknown);

    static bool IsLocallyStoredPointer (AAX_EProperty property) noexcept;
    static bool IsValidStemFormat (AAX_CPropertyValue value) noexcept;

    // Declared in the order they are asked for; released in reverse.
    ACFPtr<AAX_IACFPropertyMap>     mIACFPropertyMap;
    ACFPtr<AAX_IACFPropertyMap_V2>  mIACFPropertyMapV2;
    ACFPtr<AAX_IACFPropertyMap_V3>  mIACFPropertyMapV3;
    ACFPtr<AAX_IACFDescriptionHost> mIACFDescriptionHost;

    std::map<AAX_EProperty, const void*> mLocalPointerProperties;
};
