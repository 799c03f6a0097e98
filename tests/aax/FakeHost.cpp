#include "FakeHost.h"

#include "AAX_Errors.h"
#include "AAX_Exports.h"
#include "AAX_IString.h"

#include <cstring>
#include <sstream>
#include <stdexcept>

namespace fakehost
{
    namespace
    {
        std::function<AAX_Result (AAX_ICollection*)>& effectDescriber()
        {
            static std::function<AAX_Result (AAX_ICollection*)> describer;
            return describer;
        }

        std::string textOf (const char* text)
        {
            return text != nullptr ? std::string (text) : std::string ("<null>");
        }
    }

    // -----------------------------------------------------------------------
    AAX_Result FakeHostServices::Assert (const char* iFile, int32_t iLine, const char* iNote)
    {
        mHost.asserts.push_back ({ textOf (iFile), iLine, textOf (iNote), 0 });
        return AAX_SUCCESS;
    }

    AAX_Result FakeHostServices::Trace (int32_t iPriority, const char* iMessage)
    {
        if (mHost.throwFromTrace)
            throw std::runtime_error ("host trace failed");

        mHost.traces.push_back ({ iPriority, textOf (iMessage) });
        return AAX_SUCCESS;
    }

    AAX_Result FakeHostServices::StackTrace (int32_t iTracePriority, int32_t, const char* iMessage)
    {
        mHost.stackTraces.push_back ({ iTracePriority, textOf (iMessage) });
        return AAX_SUCCESS;
    }

    AAX_Result FakeHostServices::HandleAssertFailure (const char* iFile, int32_t iLine, const char* iNote, int32_t iFlags)
    {
        mHost.asserts.push_back ({ textOf (iFile), iLine, textOf (iNote), iFlags });
        return AAX_SUCCESS;
    }

    Answer FakeHostServices::Answers (const acfIID& iid)
    {
        const auto versions = mHost.options.hostServices;
        if (iid == IID_IAAXHostServicesV1 && offers (versions, 1)) return answerWith<AAX_IACFHostServices> (this);
        if (iid == IID_IAAXHostServicesV2 && offers (versions, 2)) return answerWith<AAX_IACFHostServices_V2> (this);
        if (iid == IID_IAAXHostServicesV3 && offers (versions, 3)) return answerWith<AAX_IACFHostServices_V3> (this);
        return {};
    }

    // -----------------------------------------------------------------------
    FakePropertyMap::FakePropertyMap (FakeHost& host)
        : removeResult (host.options.propertyRemovalResult), mHost (host)
    {
        name = "property map";
    }

    AAX_CBoolean FakePropertyMap::GetProperty (AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const
    {
        const auto found = values.find (inProperty);
        if (found == values.end())
            return 0;
        if (outValue != nullptr)
            *outValue = found->second;
        return 1;
    }

    AAX_Result FakePropertyMap::AddProperty (AAX_EProperty inProperty, AAX_CPropertyValue inValue)
    {
        ++addPropertyCalls;
        values[inProperty] = inValue;
        return AAX_SUCCESS;
    }

    AAX_Result FakePropertyMap::RemoveProperty (AAX_EProperty inProperty)
    {
        if (removeResult == AAX_SUCCESS)
            values.erase (inProperty);
        return removeResult;
    }

    AAX_Result FakePropertyMap::AddPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad* inPluginIDs, uint32_t inNumPluginIDs)
    {
        idArrays[inProperty].assign (inPluginIDs, inPluginIDs + inNumPluginIDs);
        return AAX_SUCCESS;
    }

    AAX_CBoolean FakePropertyMap::GetPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad** outPluginIDs, uint32_t* outNumPluginIDs) const
    {
        const auto found = idArrays.find (inProperty);
        if (found == idArrays.end())
            return 0;
        *outPluginIDs = found->second.data();
        *outNumPluginIDs = static_cast<uint32_t> (found->second.size());
        return 1;
    }

    AAX_CBoolean FakePropertyMap::GetPointerProperty (AAX_EProperty inProperty, const void** outValue) const
    {
        const auto found = pointers.find (inProperty);
        if (found == pointers.end())
            return 0;
        *outValue = found->second;
        return 1;
    }

    AAX_Result FakePropertyMap::AddPointerProperty (AAX_EProperty inProperty, const void* inValue)
    {
        pointers[inProperty] = inValue;
        return AAX_SUCCESS;
    }

    Answer FakePropertyMap::Answers (const acfIID& iid)
    {
        const auto versions = mHost.options.propertyMap;
        if (iid == IID_IAAXPropertyMapV1 && offers (versions, 1)) return answerWith<AAX_IACFPropertyMap> (this);
        if (iid == IID_IAAXPropertyMapV2 && offers (versions, 2)) return answerWith<AAX_IACFPropertyMap_V2> (this);
        if (iid == IID_IAAXPropertyMapV3 && offers (versions, 3)) return answerWith<AAX_IACFPropertyMap_V3> (this);
        if (iid == IID_IAAXDescriptionHostV1 && mHost.options.propertyMapDescriptionHost)
            return answerWith<AAX_IACFDescriptionHost> (&mHost.descriptionHost);
        return {};
    }

    // -----------------------------------------------------------------------
    AAX_Result FakeCollection::AddEffect (const char* inEffectID, IACFUnknown* inEffectDescriptor)
    {
        effects.emplace_back (textOf (inEffectID), inEffectDescriptor);
        return AAX_SUCCESS;
    }

    AAX_Result FakeCollection::SetManufacturerName (const char* inPackageName)
    {
        manufacturer = textOf (inPackageName);
        return AAX_SUCCESS;
    }

    AAX_Result FakeCollection::AddPackageName (const char* inPackageName)
    {
        packageNames.push_back (textOf (inPackageName));
        return AAX_SUCCESS;
    }

    AAX_Result FakeCollection::SetPackageVersion (uint32_t inVersion)
    {
        packageVersion = inVersion;
        return AAX_SUCCESS;
    }

    AAX_Result FakeCollection::SetProperties (IACFUnknown* inProperties)
    {
        properties.push_back (inProperties);
        return AAX_SUCCESS;
    }

    Answer FakeCollection::Answers (const acfIID& iid)
    {
        if (iid == IID_IAAXCollectionV1) return answerWith<AAX_IACFCollection> (this);
        return {};
    }

    // -----------------------------------------------------------------------
    AAX_Result FakeEffectDescriptor::AddComponent (IACFUnknown* inComponentDescriptor)
    {
        components.push_back (inComponentDescriptor);
        return AAX_SUCCESS;
    }

    AAX_Result FakeEffectDescriptor::AddName (const char* inPlugInName)
    {
        names.push_back (textOf (inPlugInName));
        return AAX_SUCCESS;
    }

    AAX_Result FakeEffectDescriptor::AddCategory (uint32_t inCategory)
    {
        categories.push_back (inCategory);
        return AAX_SUCCESS;
    }

    AAX_Result FakeEffectDescriptor::AddCategoryBypassParameter (uint32_t inCategory, AAX_CParamID inParamID)
    {
        calls.push_back ("CategoryBypass " + std::to_string (inCategory) + " " + textOf (inParamID));
        return AAX_SUCCESS;
    }

    AAX_Result FakeEffectDescriptor::AddProcPtr (void*, AAX_CProcPtrID inProcID)
    {
        calls.push_back ("ProcPtr " + textOf (inProcID));
        return AAX_SUCCESS;
    }

    AAX_Result FakeEffectDescriptor::SetProperties (IACFUnknown* inProperties)
    {
        properties.push_back (inProperties);
        return AAX_SUCCESS;
    }

    AAX_Result FakeEffectDescriptor::AddResourceInfo (AAX_EResourceType inResourceType, const char* inInfo)
    {
        calls.push_back ("Resource " + std::to_string (inResourceType) + " " + textOf (inInfo));
        return AAX_SUCCESS;
    }

    AAX_Result FakeEffectDescriptor::AddMeterDescription (AAX_CTypeID inMeterID, const char* inMeterName, IACFUnknown* inProperties)
    {
        calls.push_back ("Meter " + std::to_string (inMeterID) + " " + textOf (inMeterName));
        meterProperties.push_back (inProperties);
        return AAX_SUCCESS;
    }

    AAX_Result FakeEffectDescriptor::AddControlMIDINode (AAX_CTypeID inNodeID, AAX_EMIDINodeType, const char inNodeName[], uint32_t)
    {
        calls.push_back ("ControlMIDINode " + std::to_string (inNodeID) + " " + textOf (inNodeName));
        return AAX_SUCCESS;
    }

    Answer FakeEffectDescriptor::Answers (const acfIID& iid)
    {
        const auto versions = mHost.options.effectDescriptor;
        if (iid == IID_IAAXEffectDescriptorV1 && offers (versions, 1)) return answerWith<AAX_IACFEffectDescriptor> (this);
        if (iid == IID_IAAXEffectDescriptorV2 && offers (versions, 2)) return answerWith<AAX_IACFEffectDescriptor_V2> (this);
        return {};
    }

    // -----------------------------------------------------------------------
    namespace
    {
        std::string field (const char* kind, AAX_CFieldIndex index)
        {
            return std::string (kind) + " " + std::to_string (index);
        }
    }

    AAX_Result FakeComponentDescriptor::Clear()                                    { fields.clear(); return AAX_SUCCESS; }
    AAX_Result FakeComponentDescriptor::AddAudioIn (AAX_CFieldIndex i)             { fields.push_back (field ("AudioIn", i)); return AAX_SUCCESS; }
    AAX_Result FakeComponentDescriptor::AddAudioOut (AAX_CFieldIndex i)            { fields.push_back (field ("AudioOut", i)); return AAX_SUCCESS; }
    AAX_Result FakeComponentDescriptor::AddAudioBufferLength (AAX_CFieldIndex i)   { fields.push_back (field ("AudioBufferLength", i)); return AAX_SUCCESS; }
    AAX_Result FakeComponentDescriptor::AddSampleRate (AAX_CFieldIndex i)          { fields.push_back (field ("SampleRate", i)); return AAX_SUCCESS; }
    AAX_Result FakeComponentDescriptor::AddClock (AAX_CFieldIndex i)               { fields.push_back (field ("Clock", i)); return AAX_SUCCESS; }
    AAX_Result FakeComponentDescriptor::AddSideChainIn (AAX_CFieldIndex i)         { fields.push_back (field ("SideChainIn", i)); return AAX_SUCCESS; }

    AAX_Result FakeComponentDescriptor::AddPrivateData (AAX_CFieldIndex i, int32_t size, uint32_t optionBits)
    {
        fields.push_back (field ("PrivateData", i) + " " + std::to_string (size) + " " + std::to_string (optionBits));
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddAuxOutputStem (AAX_CFieldIndex i, int32_t stemFormat, const char nameUTF8[])
    {
        fields.push_back (field ("AuxOutputStem", i) + " " + std::to_string (stemFormat) + " " + textOf (nameUTF8));
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddDataInPort (AAX_CFieldIndex i, uint32_t packetSize, AAX_EDataInPortType portType)
    {
        fields.push_back (field ("DataInPort", i) + " " + std::to_string (packetSize) + " " + std::to_string (portType));
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddDmaInstance (AAX_CFieldIndex i, AAX_EDmaMode mode)
    {
        fields.push_back (field ("DmaInstance", i) + " " + std::to_string (mode));
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddMeters (AAX_CFieldIndex i, const AAX_CTypeID*, uint32_t count)
    {
        fields.push_back (field ("Meters", i) + " " + std::to_string (count));
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddMIDINode (AAX_CFieldIndex i, AAX_EMIDINodeType nodeType, const char nodeName[], uint32_t mask)
    {
        fields.push_back (field ("MIDINode", i) + " " + std::to_string (nodeType) + " " + textOf (nodeName) + " " + std::to_string (mask));
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddReservedField (AAX_CFieldIndex i, uint32_t fieldType)
    {
        fields.push_back (field ("ReservedField", i) + " " + std::to_string (fieldType));
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddTemporaryData (AAX_CFieldIndex i, uint32_t elementSize)
    {
        fields.push_back (field ("TemporaryData", i) + " " + std::to_string (elementSize));
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddProcessProc_Native (AAX_CProcessProc inProcessProc, IACFUnknown* inProperties,
                                                               AAX_CInstanceInitProc inInstanceInitProc, AAX_CBackgroundProc inBackgroundProc,
                                                               AAX_CSelector* outProcID)
    {
        nativeRegistrations.push_back ({ inProcessProc, inProperties, inInstanceInitProc, inBackgroundProc });
        if (registrationResult != AAX_SUCCESS)
            return registrationResult;
        if (outProcID != nullptr)
            *outProcID = nextProcID++;
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddProcessProc_TI (const char inDLLFileNameUTF8[], const char inProcessProcSymbol[], IACFUnknown* inProperties,
                                                           const char inInstanceInitProcSymbol[], const char inBackgroundProcSymbol[],
                                                           AAX_CSelector* outProcID)
    {
        tiRegistrations.push_back ({ textOf (inDLLFileNameUTF8), textOf (inProcessProcSymbol),
                                     textOf (inInstanceInitProcSymbol), textOf (inBackgroundProcSymbol), inProperties });
        if (registrationResult != AAX_SUCCESS)
            return registrationResult;
        if (outProcID != nullptr)
            *outProcID = nextProcID++;
        return AAX_SUCCESS;
    }

    AAX_Result FakeComponentDescriptor::AddProcessProc (IACFUnknown*, AAX_CSelector* outProcIDs, int32_t inProcIDsSize)
    {
        processProcCapacities.push_back (inProcIDsSize);
        if (outProcIDs != nullptr && inProcIDsSize >= 2)
        {
            outProcIDs[0] = nextProcID++;
            outProcIDs[1] = 0;
        }
        return AAX_SUCCESS;
    }

    Answer FakeComponentDescriptor::Answers (const acfIID& iid)
    {
        const auto versions = mHost.options.componentDescriptor;
        if (iid == IID_IAAXComponentDescriptorV1 && offers (versions, 1)) return answerWith<AAX_IACFComponentDescriptor> (this);
        if (iid == IID_IAAXComponentDescriptorV2 && offers (versions, 2)) return answerWith<AAX_IACFComponentDescriptor_V2> (this);
        if (iid == IID_IAAXComponentDescriptorV3 && offers (versions, 3)) return answerWith<AAX_IACFComponentDescriptor_V3> (this);
        return {};
    }

    // -----------------------------------------------------------------------
    AAX_Result FakeFeatureInfo::SupportLevel (AAX_ESupportLevel* outSupportLevel) const
    {
        *outSupportLevel = supportLevel;
        return AAX_SUCCESS;
    }

    AAX_Result FakeFeatureInfo::AcquireProperties (IACFUnknown** outProperties)
    {
        auto* map = mHost.Adopt (std::make_unique<FakePropertyMap> (mHost));
        map->name = "feature property map";
        map->values[1234] = 1;
        mHost.propertyMaps.push_back (map);
        map->AddRef();
        *outProperties = map;
        return AAX_SUCCESS;
    }

    Answer FakeFeatureInfo::Answers (const acfIID& iid)
    {
        if (iid == IID_IAAXFeatureInfoV1) return answerWith<AAX_IACFFeatureInfo> (this);
        return {};
    }

    AAX_Result FakeDescriptionHost::AcquireFeatureProperties (const AAX_Feature_UID&, IACFUnknown** outFeatureProperties)
    {
        if (! mHost.options.featureInfo)
            return AAX_ERROR_UNIMPLEMENTED;

        auto* info = mHost.Adopt (std::make_unique<FakeFeatureInfo> (mHost));
        mHost.featureInfos.push_back (info);
        info->AddRef();
        *outFeatureProperties = info;
        return AAX_SUCCESS;
    }

    Answer FakeDescriptionHost::Answers (const acfIID& iid)
    {
        if (iid == IID_IAAXDescriptionHostV1) return answerWith<AAX_IACFDescriptionHost> (this);
        return {};
    }

    Answer FakeDefinition::Answers (const acfIID& iid)
    {
        if (iid == IID_IACFDefinition) return answerWith<IACFDefinition> (this);
        return {};
    }

    Answer FakePluginDefinition::Answers (const acfIID& iid)
    {
        if (iid == IID_IACFPluginDefinition) return answerWith<IACFPluginDefinition> (this);
        return {};
    }

    // -----------------------------------------------------------------------
    acfResult FakeComponentFactory::CreateComponent (const acfCLSID& clsid, IACFUnknown*, const acfIID& iid, void** ppOut)
    {
        if (ppOut == nullptr)
            return ACF_E_UNEXPECTED;
        *ppOut = nullptr;

        RefCounted* created = nullptr;
        IACFUnknown* createdUnknown = nullptr;

        auto make = [&] (auto object, auto& list)
        {
            auto* raw = mHost.Adopt (std::move (object));
            list.push_back (raw);
            created = raw;
            createdUnknown = raw;
        };

        if (clsid == AAXCompID_HostServices)
            make (std::make_unique<FakeHostServices> (mHost), mHost.hostServices);
        else if (clsid == AAXCompID_AAXCollection && mHost.options.collection)
            make (std::make_unique<FakeCollection>(), mHost.collections);
        else if (clsid == AAXCompID_EffectDescriptor)
            make (std::make_unique<FakeEffectDescriptor> (mHost), mHost.effectDescriptors);
        else if (clsid == AAXCompID_ComponentDescriptor)
            make (std::make_unique<FakeComponentDescriptor> (mHost), mHost.componentDescriptors);
        else if (clsid == AAXCompID_PropertyMap)
            make (std::make_unique<FakePropertyMap> (mHost), mHost.propertyMaps);
        else if (clsid == AAXCompID_PageTable)
            make (std::make_unique<FakePageTable> (mHost), mHost.pageTables);

        if (created == nullptr)
            return ACF_E_NOINTERFACE;

        // The new object is handed out through QueryInterface, so a version
        // the host does not offer fails like it would on a real host.
        return createdUnknown->QueryInterface (iid, ppOut);
    }

    Answer FakeComponentFactory::Answers (const acfIID& iid)
    {
        if (iid == IID_IACFComponentFactory) return answerWith<IACFComponentFactory> (this);
        return {};
    }

    Answer FakeHostUnknown::Answers (const acfIID& iid)
    {
        const auto& options = mHost.options;
        if (iid == IID_IACFComponentFactory && options.componentFactory)    return answerWith<IACFComponentFactory> (&mHost.factory);
        if (iid == IID_IACFPluginDefinition && options.pluginDefinition)    return answerWith<IACFPluginDefinition> (&mHost.pluginDefinition);
        if (iid == IID_IAAXDescriptionHostV1 && options.descriptionHost)    return answerWith<AAX_IACFDescriptionHost> (&mHost.descriptionHost);
        if (iid == IID_IACFDefinition && options.definition)                return answerWith<IACFDefinition> (&mHost.definition);
        return {};
    }

    // -----------------------------------------------------------------------
    AAX_Result FakePageTable::Clear()                                   { calls.push_back ("Clear"); pages = 0; return AAX_SUCCESS; }
    AAX_Result FakePageTable::Empty (AAX_CBoolean& outEmpty) const      { outEmpty = pages == 0; return AAX_SUCCESS; }
    AAX_Result FakePageTable::GetNumPages (int32_t& outNumPages) const   { outNumPages = pages; return AAX_SUCCESS; }
    AAX_Result FakePageTable::InsertPage (int32_t)                      { ++pages; calls.push_back ("InsertPage"); return AAX_SUCCESS; }
    AAX_Result FakePageTable::RemovePage (int32_t)                      { --pages; calls.push_back ("RemovePage"); return AAX_SUCCESS; }

    AAX_Result FakePageTable::GetNumMappedParameterIDs (int32_t, int32_t& outCount) const { outCount = 0; return AAX_SUCCESS; }
    AAX_Result FakePageTable::ClearMappedParameter (int32_t, int32_t)  { calls.push_back ("ClearMappedParameter"); return AAX_SUCCESS; }
    AAX_Result FakePageTable::GetMappedParameterID (int32_t, int32_t, AAX_IString& out) const { out.Set ("gain-1"); return AAX_SUCCESS; }

    AAX_Result FakePageTable::MapParameterID (AAX_CParamID id, int32_t page, int32_t index)
    {
        calls.push_back ("Map " + textOf (id) + " " + std::to_string (page) + " " + std::to_string (index));
        return AAX_SUCCESS;
    }

    AAX_Result FakePageTable::GetNumParametersWithNameVariations (int32_t& outCount) const { outCount = 2; return AAX_SUCCESS; }
    AAX_Result FakePageTable::GetNameVariationParameterIDAtIndex (int32_t, AAX_IString&) const { return AAX_SUCCESS; }
    AAX_Result FakePageTable::GetNumNameVariationsForParameter (AAX_CParamID, int32_t& outCount) const { outCount = 1; return AAX_SUCCESS; }
    AAX_Result FakePageTable::GetParameterNameVariationAtIndex (AAX_CParamID, int32_t, AAX_IString&, int32_t& length) const { length = 4; return AAX_SUCCESS; }
    AAX_Result FakePageTable::GetParameterNameVariationOfLength (AAX_CParamID, int32_t, AAX_IString&) const { return AAX_SUCCESS; }
    AAX_Result FakePageTable::ClearParameterNameVariations()            { calls.push_back ("ClearNameVariations"); return AAX_SUCCESS; }

    AAX_Result FakePageTable::ClearNameVariationsForParameter (AAX_CParamID id)
    {
        calls.push_back ("ClearNameVariations " + textOf (id));
        return AAX_SUCCESS;
    }

    AAX_Result FakePageTable::SetParameterNameVariation (AAX_CParamID id, const AAX_IString&, int32_t length)
    {
        calls.push_back ("SetNameVariation " + textOf (id) + " " + std::to_string (length));
        return AAX_SUCCESS;
    }

    Answer FakePageTable::Answers (const acfIID& iid)
    {
        const auto versions = mHost.options.pageTable;
        if (iid == IID_IAAXPageTableV1 && offers (versions, 1)) return answerWith<AAX_IACFPageTable> (this);
        if (iid == IID_IAAXPageTableV2 && offers (versions, 2)) return answerWith<AAX_IACFPageTable_V2> (this);
        return {};
    }

    // -----------------------------------------------------------------------
    namespace
    {
        std::string valueCall (const char* what, AAX_CParamID id, double value)
        {
            std::ostringstream text;
            text << what << " " << textOf (id) << " " << value;
            return text.str();
        }
    }

    AAX_Result FakeAutomationDelegate::RegisterControl (AAX_CParamID id)   { calls.push_back ("Register " + textOf (id)); return AAX_SUCCESS; }
    AAX_Result FakeAutomationDelegate::UnregisterControl (AAX_CParamID id) { calls.push_back ("Unregister " + textOf (id)); return AAX_SUCCESS; }
    AAX_Result FakeAutomationDelegate::PostSetValueRequest (AAX_CParamID id, double v) { calls.push_back (valueCall ("SetValue", id, v)); return AAX_SUCCESS; }
    AAX_Result FakeAutomationDelegate::PostCurrentValue (AAX_CParamID id, double v)    { calls.push_back (valueCall ("CurrentValue", id, v)); return AAX_SUCCESS; }
    AAX_Result FakeAutomationDelegate::PostTouchRequest (AAX_CParamID id)   { calls.push_back ("Touch " + textOf (id)); return AAX_SUCCESS; }
    AAX_Result FakeAutomationDelegate::PostReleaseRequest (AAX_CParamID id) { calls.push_back ("Release " + textOf (id)); return AAX_SUCCESS; }

    AAX_Result FakeAutomationDelegate::GetTouchState (AAX_CParamID, AAX_CBoolean* outTouched)
    {
        *outTouched = 1;
        return AAX_SUCCESS;
    }

    Answer FakeAutomationDelegate::Answers (const acfIID& iid)
    {
        if (iid == IID_IAAXAutomationDelegateV1) return answerWith<AAX_IACFAutomationDelegate> (this);
        return {};
    }

    // -----------------------------------------------------------------------
    AAX_Result FakeTransport::GetCurrentTempo (double* outTempo) const                  { *outTempo = 120.0; return AAX_SUCCESS; }
    AAX_Result FakeTransport::GetCurrentMeter (int32_t* num, int32_t* den) const        { *num = 7; *den = 8; return AAX_SUCCESS; }
    AAX_Result FakeTransport::IsTransportPlaying (bool* outIsPlaying) const             { *outIsPlaying = true; return AAX_SUCCESS; }
    AAX_Result FakeTransport::GetCurrentTickPosition (int64_t* ticks) const             { *ticks = 960; return AAX_SUCCESS; }

    AAX_Result FakeTransport::GetCurrentLoopPosition (bool* looping, int64_t* start, int64_t* end) const
    {
        *looping = true;
        *start = 10;
        *end = 20;
        return AAX_SUCCESS;
    }

    AAX_Result FakeTransport::GetCurrentNativeSampleLocation (int64_t* location) const  { *location = 44100; return AAX_SUCCESS; }
    AAX_Result FakeTransport::GetCustomTickPosition (int64_t* ticks, int64_t sample) const { *ticks = sample * 2; return AAX_SUCCESS; }

    AAX_Result FakeTransport::GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* displayTicks, int64_t) const
    {
        *bars = 3;
        *beats = 2;
        *displayTicks = 5;
        return AAX_SUCCESS;
    }

    AAX_Result FakeTransport::GetTicksPerQuarter (uint32_t* ticks) const                { *ticks = 960000; return AAX_SUCCESS; }
    AAX_Result FakeTransport::GetCurrentTicksPerBeat (uint32_t* ticks) const            { *ticks = 480000; return AAX_SUCCESS; }
    AAX_Result FakeTransport::GetTimelineSelectionStartPosition (int64_t* location) const { *location = 777; return AAX_SUCCESS; }

    AAX_Result FakeTransport::GetTimeCodeInfo (AAX_EFrameRate* rate, int32_t* offset) const
    {
        *rate = 4;
        *offset = 30;
        return AAX_SUCCESS;
    }

    AAX_Result FakeTransport::GetFeetFramesInfo (AAX_EFeetFramesRate* rate, int64_t* offset) const
    {
        *rate = 1;
        *offset = 16;
        return AAX_SUCCESS;
    }

    AAX_Result FakeTransport::IsMetronomeEnabled (int32_t* enabled) const               { *enabled = 1; return AAX_SUCCESS; }

    Answer FakeTransport::Answers (const acfIID& iid)
    {
        if (iid == IID_IAAXTransportV1 && offers (mOptions.transport, 1)) return answerWith<AAX_IACFTransport> (this);
        if (iid == IID_IAAXTransportV2 && offers (mOptions.transport, 2)) return answerWith<AAX_IACFTransport_V2> (this);
        return {};
    }

    // -----------------------------------------------------------------------
    FakeController::FakeController (FakeHost& host, ControllerOptions controllerOptions)
        : options (controllerOptions), transport (options), mHost (host)
    {
        name = "controller";
        host.Watch (*this);
        host.Watch (automation);
        host.Watch (transport);
    }

    AAX_Result FakeController::GetEffectID (AAX_IString* out) const                 { out->Set ("com.velkor.zelk-multi"); return AAX_SUCCESS; }
    AAX_Result FakeController::GetEPOCHSampleRate (AAX_CSampleRate* out) const      { *out = 48000.0f; return AAX_SUCCESS; }
    AAX_Result FakeController::GetEPOCHInputStemFormat (AAX_EStemFormat* out) const { *out = 0x10001; return AAX_SUCCESS; }
    AAX_Result FakeController::GetEPOCHOutputStemFormat (AAX_EStemFormat* out) const { *out = 0x20002; return AAX_SUCCESS; }
    AAX_Result FakeController::GetSignalLatency (int32_t* out) const                { *out = latency; return AAX_SUCCESS; }
    AAX_Result FakeController::GetCycleCount (AAX_EProperty, AAX_CPropertyValue* out) const { *out = 1000; return AAX_SUCCESS; }
    AAX_Result FakeController::GetTODLocation (AAX_CTimeOfDay* out) const           { *out = 123456; return AAX_SUCCESS; }
    AAX_Result FakeController::SetSignalLatency (int32_t samples)                   { latency = samples; return AAX_SUCCESS; }
    AAX_Result FakeController::SetCycleCount (AAX_EProperty*, AAX_CPropertyValue*, int32_t) { return AAX_SUCCESS; }

    AAX_Result FakeController::PostPacket (AAX_CFieldIndex inFieldIndex, const void* inPayload, uint32_t inPayloadSize)
    {
        const auto* bytes = static_cast<const uint8_t*> (inPayload);
        packets.push_back ({ inFieldIndex, std::vector<uint8_t> (bytes, bytes + (bytes != nullptr ? inPayloadSize : 0)) });
        return AAX_SUCCESS;
    }

    AAX_Result FakeController::GetCurrentMeterValue (AAX_CTypeID, float* out) const  { *out = 0.5f; return AAX_SUCCESS; }
    AAX_Result FakeController::GetMeterPeakValue (AAX_CTypeID, float* out) const     { *out = 0.9f; return AAX_SUCCESS; }
    AAX_Result FakeController::ClearMeterPeakValue (AAX_CTypeID) const               { return AAX_SUCCESS; }
    AAX_Result FakeController::GetMeterCount (uint32_t* out) const                   { *out = 2; return AAX_SUCCESS; }
    AAX_Result FakeController::GetMeterClipped (AAX_CTypeID, AAX_CBoolean* out) const { *out = 1; return AAX_SUCCESS; }
    AAX_Result FakeController::ClearMeterClipped (AAX_CTypeID) const                 { return AAX_SUCCESS; }
    AAX_Result FakeController::GetNextMIDIPacket (AAX_CFieldIndex*, AAX_CMidiPacket*) { return AAX_ERROR_NULL_OBJECT; }

    AAX_Result FakeController::SendNotification (AAX_CTypeID type, const void* data, uint32_t size)
    {
        notifications.push_back ({ type, data, size });
        return AAX_SUCCESS;
    }

    AAX_Result FakeController::GetHybridSignalLatency (int32_t* out) const                 { *out = 64; return AAX_SUCCESS; }
    AAX_Result FakeController::GetCurrentAutomationTimestamp (AAX_CTransportCounter* out) const { *out = 42; return AAX_SUCCESS; }
    AAX_Result FakeController::GetHostName (AAX_IString* out) const                        { out->Set ("Fake Host"); return AAX_SUCCESS; }
    AAX_Result FakeController::GetPlugInTargetPlatform (AAX_ETargetPlatform* out) const    { *out = 1; return AAX_SUCCESS; }
    AAX_Result FakeController::GetIsAudioSuite (AAX_CBoolean* out) const                   { *out = 0; return AAX_SUCCESS; }

    AAX_Result FakeController::FillTable (IACFUnknown* table, const std::string& source) const
    {
        if (options.tableCopyResult == AAX_SUCCESS)
            if (auto* fake = fakeBehind<FakePageTable> (table))
                fake->filledFrom = source;
        return options.tableCopyResult;
    }

    AAX_Result FakeController::CreateTableCopyForEffect (AAX_CPropertyValue, AAX_CPropertyValue, AAX_CPropertyValue,
                                                         uint32_t, int32_t, IACFUnknown* oPageTable) const
    {
        return FillTable (oPageTable, "effect");
    }

    AAX_Result FakeController::CreateTableCopyForLayout (const char*, const char* inLayoutName, uint32_t, int32_t, IACFUnknown* oPageTable) const
    {
        return FillTable (oPageTable, "layout " + textOf (inLayoutName));
    }

    AAX_Result FakeController::CreateTableCopyForEffectFromFile (const char* path, int32_t, AAX_CPropertyValue, AAX_CPropertyValue,
                                                                 AAX_CPropertyValue, uint32_t, int32_t, IACFUnknown* oPageTable) const
    {
        return FillTable (oPageTable, "effect file " + textOf (path));
    }

    AAX_Result FakeController::CreateTableCopyForLayoutFromFile (const char* path, int32_t, const char*, uint32_t, int32_t,
                                                                 IACFUnknown* oPageTable) const
    {
        return FillTable (oPageTable, "layout file " + textOf (path));
    }

    Answer FakeController::Answers (const acfIID& iid)
    {
        const auto versions = options.controller;
        if (iid == IID_IAAXControllerV1 && offers (versions, 1)) return answerWith<AAX_IACFController> (this);
        if (iid == IID_IAAXControllerV2 && offers (versions, 2)) return answerWith<AAX_IACFController_V2> (this);
        if (iid == IID_IAAXControllerV3 && offers (versions, 3)) return answerWith<AAX_IACFController_V3> (this);
        if (iid == IID_IAAXControllerV4 && offers (versions, 4)) return answerWith<AAX_IACFController_V4> (this);
        if (iid == IID_IAAXControllerV5 && offers (versions, 5)) return answerWith<AAX_IACFController_V5> (this);
        if (iid == IID_IACFComponentFactory && options.componentFactory) return answerWith<IACFComponentFactory> (&mHost.factory);
        if (iid == IID_IAAXAutomationDelegateV1 && options.automationDelegate) return answerWith<AAX_IACFAutomationDelegate> (&automation);
        if (iid == IID_IAAXTransportV1 && offers (options.transport, 1)) return answerWith<AAX_IACFTransport> (&transport);
        if (iid == IID_IAAXTransportV2 && offers (options.transport, 2)) return answerWith<AAX_IACFTransport_V2> (&transport);
        if (iid == IID_IAAXEffectParametersV1 && options.effectParameters != nullptr)
        {
            // The effect object answers for itself (and counts the reference).
            void* effect = nullptr;
            options.effectParameters->QueryInterface (IID_IAAXEffectParametersV1, &effect);
            if (effect != nullptr)
            {
                options.effectParameters->Release();
                return { effect, options.effectParameters };
            }
        }
        return {};
    }

    // -----------------------------------------------------------------------
    AAX_Result FakeViewContainer::GetModifiers (uint32_t* outModifiers)
    {
        *outModifiers = modifiers;
        return AAX_SUCCESS;
    }

    AAX_Result FakeViewContainer::SetViewSize (AAX_Point& inSize)
    {
        lastSize = inSize;
        return AAX_SUCCESS;
    }

    AAX_Result FakeViewContainer::HandleParameterMouseDown (AAX_CParamID id, uint32_t mods) { calls.push_back ("Down " + textOf (id) + " " + std::to_string (mods)); return AAX_SUCCESS; }
    AAX_Result FakeViewContainer::HandleParameterMouseDrag (AAX_CParamID id, uint32_t mods) { calls.push_back ("Drag " + textOf (id) + " " + std::to_string (mods)); return AAX_SUCCESS; }
    AAX_Result FakeViewContainer::HandleParameterMouseUp (AAX_CParamID id, uint32_t mods)   { calls.push_back ("Up " + textOf (id) + " " + std::to_string (mods)); return AAX_SUCCESS; }

    AAX_Result FakeViewContainer::HandleMultipleParametersMouseDown (const AAX_CParamID*, uint32_t count, uint32_t)
    {
        calls.push_back ("MultiDown " + std::to_string (count));
        return AAX_SUCCESS;
    }

    AAX_Result FakeViewContainer::HandleMultipleParametersMouseDrag (const AAX_CParamID*, uint32_t count, uint32_t)
    {
        calls.push_back ("MultiDrag " + std::to_string (count));
        return AAX_SUCCESS;
    }

    AAX_Result FakeViewContainer::HandleMultipleParametersMouseUp (const AAX_CParamID*, uint32_t count, uint32_t)
    {
        calls.push_back ("MultiUp " + std::to_string (count));
        return AAX_SUCCESS;
    }

    Answer FakeViewContainer::Answers (const acfIID& iid)
    {
        if (iid == IID_IAAXViewContainerV1 && offers (mVersions, 1)) return answerWith<AAX_IACFViewContainer> (this);
        if (iid == IID_IAAXViewContainerV2 && offers (mVersions, 2)) return answerWith<AAX_IACFViewContainer_V2> (this);
        return {};
    }

    // -----------------------------------------------------------------------
    FakeHost::FakeHost (HostOptions hostOptions)
        : options (hostOptions),
          unknown (*this),
          factory (*this),
          descriptionHost (*this)
    {
        for (RefCounted* fixed : std::initializer_list<RefCounted*> { &unknown, &factory, &pluginDefinition, &descriptionHost, &definition })
            mWatched.push_back (fixed);
    }

    FakeHost::~FakeHost() = default;

    std::string FakeHost::UnbalancedObjects() const
    {
        std::string report;
        auto check = [&report] (const RefCounted& object)
        {
            if (object.references != 0 || object.overReleases != 0)
                report += object.name + " (references " + std::to_string (object.references)
                        + ", over-released " + std::to_string (object.overReleases) + "); ";
        };

        for (const auto* watched : mWatched)
            check (*watched);
        for (const auto& created : mCreated)
            check (*created);
        return report;
    }

    // -----------------------------------------------------------------------
    ScopedEffectDescriber::ScopedEffectDescriber (std::function<AAX_Result (AAX_ICollection*)> describer)
    {
        effectDescriber() = std::move (describer);
    }

    ScopedEffectDescriber::~ScopedEffectDescriber()
    {
        effectDescriber() = nullptr;
    }

    ScopedStartup::ScopedStartup (FakeHost& host)
    {
        ACFStartup (host.Unknown());
    }

    ScopedStartup::~ScopedStartup()
    {
        ACFShutdown (nullptr);
    }
}

// The library declares GetEffectDescriptions and leaves its definition to
// the client layer; in the tests it runs whatever the test chose.
AAX_Result GetEffectDescriptions (AAX_ICollection* inCollection)
{
    auto& describer = fakehost::effectDescriber();
    return describer ? describer (inCollection) : AAX_SUCCESS;
}
