// A set of description properties (ID -> value, and for some IDs a pointer)
// handed to the host with a collection, effect, component or meter.
// Implemented by AAX_VPropertyMap.
#pragma once

#include "AAX.h"

class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;

    virtual AAX_CBoolean GetProperty (AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const = 0;
    virtual AAX_CBoolean GetPointer (AAX_EProperty inProperty, const void** outValue) const = 0;
    virtual AAX_Result AddProperty (AAX_EProperty inProperty, AAX_CPropertyValue inValue) = 0;
    virtual AAX_Result AddPointer (AAX_EProperty inProperty, const void* inValue) = 0;
    virtual AAX_Result AddPointer (AAX_EProperty inProperty, const char* inValue) = 0;
    virtual AAX_Result RemoveProperty (AAX_EProperty inProperty) = 0;
    virtual AAX_Result AddPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad* inPluginIDs, uint32_t inNumPluginIDs) = 0;
    virtual AAX_CBoolean GetPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad** outPluginIDs, uint32_t* outNumPluginIDs) const = 0;

    /** The host object behind this map (its highest version present). */
    virtual IACFUnknown* GetIUnknown() = 0;
    virtual const IACFUnknown* GetIUnknown() const = 0;
};
