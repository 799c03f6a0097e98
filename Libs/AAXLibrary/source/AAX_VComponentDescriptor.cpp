#include "AAX_VComponentDescriptor.h"

#include "AAX_CHostServices.h"
#include "AAX_Enums.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VPropertyMap.h"

#include <cstdint>

namespace
{
    IACFUnknown* hostObjectOf (AAX_IPropertyMap* map)
    {
        return map != nullptr ? map->GetIUnknown() : nullptr;
    }

    template <typename Pointer>
    Pointer readPointer (const AAX_IPropertyMap& properties, AAX_EProperty property)
    {
        const void* value = nullptr;
        if (! properties.GetPointer (property, &value))
            return nullptr;
        return reinterpret_cast<Pointer> (const_cast<void*> (value));
    }

    bool hasProperty (const AAX_IPropertyMap& properties, AAX_EProperty property)
    {
        AAX_CPropertyValue ignored = 0;
        return properties.GetProperty (property, &ignored) != 0;
    }
}

AAX_VComponentDescriptor::AAX_VComponentDescriptor (IACFUnknown* hostUnknown)
    : mHostUnknown (RetainACFObject (hostUnknown))
{
    auto factory = QueryACFInterface<IACFComponentFactory> (hostUnknown, IID_IACFComponentFactory);
    auto hostDescriptor = CreateACFComponent<IACFUnknown> (factory.get(), AAXCompID_ComponentDescriptor, IID_IAAXComponentDescriptorV1);

    mIACFComponentDescriptor   = QueryACFInterface<AAX_IACFComponentDescriptor>    (hostDescriptor.get(), IID_IAAXComponentDescriptorV1);
    mIACFComponentDescriptorV2 = QueryACFInterface<AAX_IACFComponentDescriptor_V2> (hostDescriptor.get(), IID_IAAXComponentDescriptorV2);
    mIACFComponentDescriptorV3 = QueryACFInterface<AAX_IACFComponentDescriptor_V3> (hostDescriptor.get(), IID_IAAXComponentDescriptorV3);
}

// Members go in reverse order: the objects made for the client first,
// then the host interfaces from the highest version down.
AAX_VComponentDescriptor::~AAX_VComponentDescriptor() = default;

// ---------------------------------------------------------------------------
// Fields

#define AAX_FORWARD_TO_V1(call)                         \
    if (! mIACFComponentDescriptor)                     \
        return AAX_ERROR_NULL_OBJECT;                   \
    return mIACFComponentDescriptor->call

AAX_Result AAX_VComponentDescriptor::Clear()                                        { AAX_FORWARD_TO_V1 (Clear()); }
AAX_Result AAX_VComponentDescriptor::AddAudioIn (AAX_CFieldIndex inFieldIndex)      { AAX_FORWARD_TO_V1 (AddAudioIn (inFieldIndex)); }
AAX_Result AAX_VComponentDescriptor::AddAudioOut (AAX_CFieldIndex inFieldIndex)     { AAX_FORWARD_TO_V1 (AddAudioOut (inFieldIndex)); }
AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength (AAX_CFieldIndex inFieldIndex) { AAX_FORWARD_TO_V1 (AddAudioBufferLength (inFieldIndex)); }
AAX_Result AAX_VComponentDescriptor::AddSampleRate (AAX_CFieldIndex inFieldIndex)   { AAX_FORWARD_TO_V1 (AddSampleRate (inFieldIndex)); }
AAX_Result AAX_VComponentDescriptor::AddClock (AAX_CFieldIndex inFieldIndex)        { AAX_FORWARD_TO_V1 (AddClock (inFieldIndex)); }
AAX_Result AAX_VComponentDescriptor::AddSideChainIn (AAX_CFieldIndex inFieldIndex)  { AAX_FORWARD_TO_V1 (AddSideChainIn (inFieldIndex)); }

AAX_Result AAX_VComponentDescriptor::AddPrivateData (AAX_CFieldIndex inFieldIndex, int32_t inDataSize, uint32_t inOptions)
{
    AAX_FORWARD_TO_V1 (AddPrivateData (inFieldIndex, inDataSize, inOptions));
}

AAX_Result AAX_VComponentDescriptor::AddAuxOutputStem (AAX_CFieldIndex inFieldIndex, int32_t inStemFormat, const char inNameUTF8[])
{
    AAX_FORWARD_TO_V1 (AddAuxOutputStem (inFieldIndex, inStemFormat, inNameUTF8));
}

AAX_Result AAX_VComponentDescriptor::AddDataInPort (AAX_CFieldIndex inFieldIndex, uint32_t inPacketSize, AAX_EDataInPortType inPortType)
{
    AAX_FORWARD_TO_V1 (AddDataInPort (inFieldIndex, inPacketSize, inPortType));
}

AAX_Result AAX_VComponentDescriptor::AddTemporaryData (AAX_CFieldIndex inFieldIndex, uint32_t inDataElementSize)
{
    if (! mIACFComponentDescriptorV2)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIACFComponentDescriptorV2->AddTemporaryData (inFieldIndex, inDataElementSize);
}

AAX_Result AAX_VComponentDescriptor::AddDmaInstance (AAX_CFieldIndex inFieldIndex, AAX_EDmaMode inDmaMode)
{
    AAX_FORWARD_TO_V1 (AddDmaInstance (inFieldIndex, inDmaMode));
}

AAX_Result AAX_VComponentDescriptor::AddMeters (AAX_CFieldIndex inFieldIndex, const AAX_CTypeID* inMeterIDs, uint32_t inMeterCount)
{
    AAX_FORWARD_TO_V1 (AddMeters (inFieldIndex, inMeterIDs, inMeterCount));
}

AAX_Result AAX_VComponentDescriptor::AddMIDINode (AAX_CFieldIndex inFieldIndex, AAX_EMIDINodeType inNodeType, const char inNodeName[], uint32_t inChannelMask)
{
    AAX_FORWARD_TO_V1 (AddMIDINode (inFieldIndex, inNodeType, inNodeName, inChannelMask));
}

AAX_Result AAX_VComponentDescriptor::AddReservedField (AAX_CFieldIndex inFieldIndex, uint32_t inFieldType)
{
    AAX_FORWARD_TO_V1 (AddReservedField (inFieldIndex, inFieldType));
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_Native (AAX_CProcessProc inProcessProc,
                                                            AAX_IPropertyMap* inProperties,
                                                            AAX_CInstanceInitProc inInstanceInitProc,
                                                            AAX_CBackgroundProc inBackgroundProc,
                                                            AAX_CSelector* outProcID)
{
    AAX_FORWARD_TO_V1 (AddProcessProc_Native (inProcessProc, hostObjectOf (inProperties), inInstanceInitProc, inBackgroundProc, outProcID));
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_TI (const char inDLLFileNameUTF8[],
                                                        const char inProcessProcSymbol[],
                                                        AAX_IPropertyMap* inProperties,
                                                        const char inInstanceInitProcSymbol[],
                                                        const char inBackgroundProcSymbol[],
                                                        AAX_CSelector* outProcID)
{
    AAX_FORWARD_TO_V1 (AddProcessProc_TI (inDLLFileNameUTF8, inProcessProcSymbol, hostObjectOf (inProperties),
                                          inInstanceInitProcSymbol, inBackgroundProcSymbol, outProcID));
}

#undef AAX_FORWARD_TO_V1

// ---------------------------------------------------------------------------
// Property maps

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap()
{
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (mHostUnknown.get()));
    if (map == nullptr)
        return nullptr;

    mPropertyMaps.push_back (std::move (map));
    return mPropertyMaps.back().get();
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap (AAX_IPropertyMap* inPropertyMap)
{
    AAX_IPropertyMap* const duplicate = NewPropertyMap();
    if (duplicate == nullptr || inPropertyMap == nullptr)
        return duplicate;

    for (AAX_EProperty property = AAX_eProperty_MinProp; property <= AAX_eProperty_MaxProp; ++property)
    {
        AAX_CPropertyValue value = 0;
        const void* pointer = nullptr;

        if (inPropertyMap->GetProperty (property, &value))
            duplicate->AddProperty (property, value);
        else if (inPropertyMap->GetPointer (property, &pointer))
            duplicate->AddPointer (property, pointer);
    }

    return duplicate;
}

// ---------------------------------------------------------------------------
// Process procedures

AAX_Result AAX_VComponentDescriptor::AddProcessProc (AAX_IPropertyMap* inProperties, AAX_CSelector* outProcIDs, int32_t inProcIDsSize)
{
    if (mIACFComponentDescriptorV3)
        return mIACFComponentDescriptorV3->AddProcessProc (hostObjectOf (inProperties), outProcIDs, inProcIDsSize);

    if (inProperties == nullptr || ! mIACFComponentDescriptor)
        return AAX_ERROR_NULL_OBJECT;

    std::vector<AAX_CSelector> registeredIDs;
    bool failed = false;
    AAX_Result result = AddProcessProcsOneByOne (*inProperties, registeredIDs, failed);

    if (outProcIDs != nullptr && ! failed)
    {
        // Room is needed for every ID and the terminating 0.
        const int64_t idCount = static_cast<int64_t> (registeredIDs.size());
        if (idCount > static_cast<int64_t> (inProcIDsSize) - 1 || idCount > 0x7FFFFFFE)
            return AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW;

        for (size_t i = 0; i < registeredIDs.size(); ++i)
            outProcIDs[i] = registeredIDs[i];
        outProcIDs[registeredIDs.size()] = 0;
    }

    return result;
}

AAX_Result AAX_VComponentDescriptor::AddProcessProcsOneByOne (AAX_IPropertyMap& properties, std::vector<AAX_CSelector>& registeredIDs, bool& failed)
{
    const bool wantsNative = hasProperty (properties, AAX_eProperty_PlugInID_Native)
                          || hasProperty (properties, AAX_eProperty_PlugInID_AudioSuite);
    const bool wantsTI = hasProperty (properties, AAX_eProperty_PlugInID_TI);

    AAX_Result result = AAX_SUCCESS;

    if (wantsNative)
        result = AddNativeProcessProc (properties, registeredIDs, failed);

    if (wantsTI && ! failed)
        result = AddTIProcessProc (properties, registeredIDs, failed);

    return result;
}

AAX_Result AAX_VComponentDescriptor::AddNativeProcessProc (AAX_IPropertyMap& properties, std::vector<AAX_CSelector>& registeredIDs, bool& failed)
{
    const auto processProc = readPointer<AAX_CProcessProc> (properties, AAX_eProperty_NativeProcessProc);
    if (processProc == nullptr)
    {
        AAX_CHostServices::Trace (AAX_eTracePriority_Critical,
                                  "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_NativeProcessProc");
        failed = true;
        return AAX_ERROR_NULL_ARGUMENT;
    }

    const auto instanceInitProc = readPointer<AAX_CInstanceInitProc> (properties, AAX_eProperty_NativeInstanceInitProc);
    const auto backgroundProc   = readPointer<AAX_CBackgroundProc>   (properties, AAX_eProperty_NativeBackgroundProc);

    // The host's native registration does not take the audio buffer length
    // property; it goes to a copy of the map without it.
    AAX_IPropertyMap* propertiesToRegister = &properties;
    if (hasProperty (properties, AAX_eProperty_AudioBufferLength))
    {
        if (auto* withoutBufferLength = DuplicatePropertyMap (&properties))
        {
            AAX_CPropertyValue bufferLength = 0;
            const AAX_CBoolean gotPropertySuccess = withoutBufferLength->GetProperty (AAX_eProperty_AudioBufferLength, &bufferLength);
            if (0 == gotPropertySuccess)
                AAX_CHostServices::HandleAssertFailure (__FILE__, __LINE__, "0 != gotPropertySuccess", 1);

            const AAX_Result removeNativeAudioBufferLengthResult = withoutBufferLength->RemoveProperty (AAX_eProperty_AudioBufferLength);
            if (AAX_SUCCESS != removeNativeAudioBufferLengthResult)
                AAX_CHostServices::HandleAssertFailure (__FILE__, __LINE__, "AAX_SUCCESS == removeNativeAudioBufferLengthResult", 1);

            propertiesToRegister = withoutBufferLength;
        }
    }

    AAX_CSelector procID = 0;
    const AAX_Result result = AddProcessProc_Native (processProc, propertiesToRegister, instanceInitProc, backgroundProc, &procID);
    if (result == AAX_SUCCESS)
        registeredIDs.push_back (procID);
    else
        failed = true;

    return result;
}

AAX_Result AAX_VComponentDescriptor::AddTIProcessProc (AAX_IPropertyMap& properties, std::vector<AAX_CSelector>& registeredIDs, bool& failed)
{
    const auto* dllFileName = readPointer<const char*> (properties, AAX_eProperty_TIDLLFileName);
    if (dllFileName == nullptr)
        AAX_CHostServices::Trace (AAX_eTracePriority_Critical,
                                  "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIDLLFileName");

    const auto* processProcSymbol = readPointer<const char*> (properties, AAX_eProperty_TIProcessProc);
    if (processProcSymbol == nullptr)
        AAX_CHostServices::Trace (AAX_eTracePriority_Critical,
                                  "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIProcessProc");

    if (dllFileName == nullptr || processProcSymbol == nullptr)
    {
        failed = true;
        return AAX_ERROR_NULL_ARGUMENT;
    }

    const auto* instanceInitSymbol = readPointer<const char*> (properties, AAX_eProperty_TIInstanceInitProc);
    const auto* backgroundSymbol   = readPointer<const char*> (properties, AAX_eProperty_TIBackgroundProc);

    AAX_CSelector procID = 0;
    const AAX_Result result = AddProcessProc_TI (dllFileName, processProcSymbol, &properties,
                                                 instanceInitSymbol, backgroundSymbol, &procID);
    if (result == AAX_SUCCESS)
        registeredIDs.push_back (procID);
    else
        failed = true;

    return result;
}
