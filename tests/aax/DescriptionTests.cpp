// The description wrappers: collection, effect and component descriptors,
// property maps, description host and feature info, against hosts that
// offer all or only some of the interface versions.

#include "FakeHost.h"

#include "AAX_CHostServices.h"
#include "AAX_Enums.h"
#include "AAX_Errors.h"
#include "AAX_VCollection.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VDescriptionHost.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VFeatureInfo.h"
#include "AAX_VPropertyMap.h"

#include <gtest/gtest.h>

#include <memory>

using namespace fakehost;

namespace
{
    constexpr AAX_CTypeID kMeterID = 0x4D657472;   // 'Metr'
    constexpr AAX_CPropertyValue kNativeID = 0x5A4C4B31; // 'ZLK1'
    constexpr AAX_CPropertyValue kTIID = 0x5A4C4B32;     // 'ZLK2'

    struct AlgorithmContext
    {
        float* const* inputs;
    };

    void processAudio (void* const[], const void*) {}
    void processTypedAudio (AlgorithmContext* const[], const void* const) {}
    int32_t initInstance (const void*, int32_t) { return 0; }
    int32_t runInBackground() { return 0; }

    const void* asPointer (AAX_CProcessProc procedure)          { return reinterpret_cast<const void*> (procedure); }
    const void* asPointer (AAX_CInstanceInitProc procedure)     { return reinterpret_cast<const void*> (procedure); }
    const void* asPointer (AAX_CBackgroundProc procedure)       { return reinterpret_cast<const void*> (procedure); }

    FakePropertyMap* hostMapOf (AAX_IPropertyMap* map)
    {
        return fakeBehind<FakePropertyMap> (map->GetIUnknown());
    }
}

// ---------------------------------------------------------------------------
// Collection

TEST (Collection, AddEffectWithNullDescriptorSendsNothing)
{
    FakeHost host;
    {
        AAX_VCollection collection (host.Unknown());
        EXPECT_EQ (collection.AddEffect ("com.velkor.zelk-multi", nullptr), AAX_ERROR_NULL_OBJECT);
        ASSERT_EQ (host.collections.size(), 1u);
        EXPECT_TRUE (host.collections.front()->effects.empty());
    }
    EXPECT_EQ (host.UnbalancedObjects(), "");
}

TEST (Collection, WithoutHostCollectionEveryForwardIsNullObject)
{
    HostOptions options;
    options.collection = false;
    FakeHost host (options);
    AAX_VCollection collection (host.Unknown());

    EXPECT_EQ (collection.SetManufacturerName ("Velkor Audio Tools"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (collection.AddPackageName ("ZELK-MULTI"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (collection.SetPackageVersion (1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (collection.SetProperties (nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (collection.AddEffect ("id", collection.NewDescriptor()), AAX_ERROR_NULL_OBJECT);
}

TEST (Collection, PassesTheHostObjectsOfItsMaps)
{
    FakeHost host;
    AAX_VCollection collection (host.Unknown());

    auto* map = collection.NewPropertyMap();
    ASSERT_NE (map, nullptr);
    EXPECT_EQ (collection.SetProperties (map), 0);
    EXPECT_EQ (collection.SetProperties (nullptr), 0);

    const auto& sent = host.collections.front()->properties;
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_EQ (sent[0], map->GetIUnknown());
    EXPECT_EQ (sent[1], nullptr);
}

TEST (Collection, DescriptionHostOnlyWhenTheHostOffersOne)
{
    {
        FakeHost host;
        AAX_VCollection collection (host.Unknown());
        EXPECT_NE (collection.DescriptionHost(), nullptr);
        EXPECT_EQ (collection.HostDefinition(), static_cast<IACFDefinition*> (&host.definition));
    }
    {
        HostOptions options;
        options.descriptionHost = false;
        options.definition = false;
        FakeHost host (options);
        const AAX_VCollection collection (host.Unknown());
        EXPECT_EQ (collection.DescriptionHost(), nullptr);
        EXPECT_EQ (collection.HostDefinition(), nullptr);
    }
}

TEST (Collection, DestroyingItReleasesEverythingItMade)
{
    FakeHost host;
    {
        AAX_VCollection collection (host.Unknown());
        auto* effect = collection.NewDescriptor();
        auto* component = effect->NewComponentDescriptor();
        auto* componentMap = component->NewPropertyMap();
        component->DuplicatePropertyMap (componentMap);
        effect->AddComponent (component);
        effect->SetProperties (effect->NewPropertyMap());
        collection.NewPropertyMap();
        collection.AddEffect ("com.velkor.zelk-multi", effect);
        EXPECT_NE (host.UnbalancedObjects(), "");
    }
    EXPECT_EQ (host.UnbalancedObjects(), "");
}

// ---------------------------------------------------------------------------
// Effect descriptor

TEST (EffectDescriptor, ForwardsToTheHostDescriptor)
{
    FakeHost host;
    AAX_VEffectDescriptor descriptor (host.Unknown());

    EXPECT_EQ (descriptor.AddName ("Multiband Saturator"), 0);
    EXPECT_EQ (descriptor.AddCategory (0x4), 0);
    EXPECT_EQ (descriptor.AddProcPtr (nullptr, "create-gui"), 0);
    EXPECT_EQ (descriptor.AddResourceInfo (1, "ZelkPages.xml"), 0);
    EXPECT_EQ (descriptor.AddCategoryBypassParameter (0x4, "bypass"), 0);
    EXPECT_EQ (descriptor.AddControlMIDINode (7, 1, "MIDI", 0xFFFF), 0);

    const auto& fake = *host.effectDescriptors.front();
    EXPECT_EQ (fake.names, std::vector<std::string> { "Multiband Saturator" });
    EXPECT_EQ (fake.categories, std::vector<uint32_t> { 0x4 });
    EXPECT_EQ (fake.calls, (std::vector<std::string> { "ProcPtr create-gui", "Resource 1 ZelkPages.xml",
                                                       "CategoryBypass 4 bypass", "ControlMIDINode 7 MIDI" }));
}

TEST (EffectDescriptor, ComponentsAndMetersArePassedAsHostObjects)
{
    FakeHost host;
    AAX_VEffectDescriptor descriptor (host.Unknown());

    auto* component = descriptor.NewComponentDescriptor();
    auto* meterMap = descriptor.NewPropertyMap();
    EXPECT_EQ (descriptor.AddComponent (component), 0);
    EXPECT_EQ (descriptor.AddComponent (nullptr), 0);
    EXPECT_EQ (descriptor.AddMeterDescription (kMeterID, "Input", meterMap), 0);

    const auto& fake = *host.effectDescriptors.front();
    ASSERT_EQ (fake.components.size(), 2u);
    EXPECT_EQ (fake.components[0], static_cast<AAX_IACFComponentDescriptor*> (host.componentDescriptors.front()));
    EXPECT_EQ (fake.components[1], nullptr);
    EXPECT_EQ (fake.meterProperties, std::vector<IACFUnknown*> { meterMap->GetIUnknown() });
}

TEST (EffectDescriptor, ControlMidiNodeNeedsVersion2)
{
    HostOptions options;
    options.effectDescriptor = onlyVersion (1);
    FakeHost host (options);
    AAX_VEffectDescriptor descriptor (host.Unknown());

    EXPECT_EQ (descriptor.AddControlMIDINode (7, 1, "MIDI", 0xFFFF), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (descriptor.AddName ("still works"), 0);
}

TEST (EffectDescriptor, WithoutVersion1EverythingIsNullObject)
{
    HostOptions options;
    options.effectDescriptor = kNoVersions;
    FakeHost host (options);
    AAX_VEffectDescriptor descriptor (host.Unknown());

    EXPECT_EQ (descriptor.AddName ("x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.AddCategory (1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.SetProperties (nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.AddMeterDescription (1, "m", nullptr), AAX_ERROR_NULL_OBJECT);
}

// ---------------------------------------------------------------------------
// Component descriptor fields

TEST (ComponentDescriptor, FieldsReachTheHostUnchanged)
{
    FakeHost host;
    AAX_VComponentDescriptor descriptor (host.Unknown());
    const AAX_CTypeID meters[] = { kMeterID, kMeterID + 1 };

    descriptor.AddAudioIn (0);
    descriptor.AddAudioOut (1);
    descriptor.AddAudioBufferLength (2);
    descriptor.AddDataInPort (3, 4);
    descriptor.AddPrivateData (4, 16);
    descriptor.AddMIDINode (5, 2, "in", 0xFFFF);
    descriptor.AddMeters (6, meters, 2);
    descriptor.AddAuxOutputStem (7, 0x20002, "aux");
    descriptor.AddTemporaryData (8, 64);

    EXPECT_EQ (host.componentDescriptors.front()->fields,
               (std::vector<std::string> { "AudioIn 0", "AudioOut 1", "AudioBufferLength 2", "DataInPort 3 4 0",
                                           "PrivateData 4 16 0", "MIDINode 5 2 in 65535", "Meters 6 2",
                                           "AuxOutputStem 7 131074 aux", "TemporaryData 8 64" }));
}

TEST (ComponentDescriptor, TemporaryDataNeedsVersion2)
{
    HostOptions options;
    options.componentDescriptor = onlyVersion (1);
    FakeHost host (options);
    AAX_VComponentDescriptor descriptor (host.Unknown());

    EXPECT_EQ (descriptor.AddTemporaryData (1, 8), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (descriptor.AddClock (1), 0);
}

TEST (ComponentDescriptor, WithoutVersion1FieldsAreNullObject)
{
    HostOptions options;
    options.componentDescriptor = kNoVersions;
    FakeHost host (options);
    AAX_VComponentDescriptor descriptor (host.Unknown());

    EXPECT_EQ (descriptor.Clear(), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.AddAudioIn (0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.AddProcessProc_Native (processAudio), AAX_ERROR_NULL_OBJECT);
}

TEST (ComponentDescriptor, TypedProcessProcedureIsRegisteredAsIs)
{
    FakeHost host;
    AAX_VComponentDescriptor descriptor (host.Unknown());
    AAX_IComponentDescriptor& client = descriptor;
    auto* properties = client.NewPropertyMap();

    EXPECT_EQ (client.AddProcessProc_Native (processTypedAudio, properties), 0);
    ASSERT_EQ (host.componentDescriptors.front()->nativeRegistrations.size(), 1u);
    const auto& registration = host.componentDescriptors.front()->nativeRegistrations.front();
    EXPECT_EQ (reinterpret_cast<const void*> (registration.process), reinterpret_cast<const void*> (&processTypedAudio));
    EXPECT_EQ (registration.properties, properties->GetIUnknown());
    EXPECT_EQ (registration.instanceInit, nullptr);
}

// ---------------------------------------------------------------------------
// Property maps

TEST (PropertyMap, PointersStayLocalWithoutVersion3)
{
    FakeHost host;
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.Unknown()));
    ASSERT_NE (map, nullptr);

    int procedure = 0;
    EXPECT_EQ (map->AddPointer (AAX_eProperty_NativeProcessProc, &procedure), 0);
    const void* readBack = nullptr;
    EXPECT_TRUE (map->GetPointer (AAX_eProperty_NativeProcessProc, &readBack));
    EXPECT_EQ (readBack, &procedure);

    EXPECT_EQ (map->AddPointer (AAX_eProperty_TIBackgroundProc, "background"), 0);
    EXPECT_EQ (map->AddPointer (50, &procedure), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (map->AddPointer (35, &procedure), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (map->AddPointer (43, &procedure), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_FALSE (map->GetPointer (AAX_eProperty_NativeInstanceInitProc, &readBack));
    EXPECT_FALSE (map->GetPointer (AAX_eProperty_NativeProcessProc, nullptr));
    EXPECT_TRUE (hostMapOf (map.get())->pointers.empty());
}

TEST (PropertyMap, PointersGoToTheHostWithVersion3)
{
    HostOptions options;
    options.propertyMap = upToVersion (3);
    FakeHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.Unknown()));

    int procedure = 0;
    EXPECT_EQ (map->AddPointer (50, &procedure), 0);
    EXPECT_EQ (hostMapOf (map.get())->pointers.at (50), &procedure);
    const void* readBack = nullptr;
    EXPECT_TRUE (map->GetPointer (50, &readBack));
    EXPECT_EQ (readBack, &procedure);
}

TEST (PropertyMap, StemFormatsAreRangeCheckedWithoutDescriptionHost)
{
    HostOptions options;
    options.descriptionHost = false;
    FakeHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.Unknown()));
    auto& hostMap = *hostMapOf (map.get());

    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, 0x20002), 0);
    EXPECT_EQ (hostMap.values.at (AAX_eProperty_InputStemFormat), 0x20002);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, 0xCFFFF), 0);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, static_cast<int32_t> (0xFFFF0000u)), 0);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, static_cast<int32_t> (0xFF9C0000u)), 0);
    const int sentSoFar = hostMap.addPropertyCalls;

    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, 0xD0000), AAX_ERROR_PROPERTY_UNDEFINED);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, -1), AAX_ERROR_PROPERTY_UNDEFINED);
    EXPECT_EQ (hostMap.addPropertyCalls, sentSoFar) << "refused values are not sent";

    EXPECT_EQ (map->AddProperty (53, 0xD0000), 0) << "other properties are not checked";
}

TEST (PropertyMap, DescriptionHostVetsStemFormatsItself)
{
    FakeHost host;
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.Unknown()));
    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, 0xD0000), 0);
    EXPECT_EQ (hostMapOf (map.get())->values.at (AAX_eProperty_InputStemFormat), 0xD0000);
}

TEST (PropertyMap, DescriptionHostMayBeFoundOnTheMapItself)
{
    HostOptions options;
    options.descriptionHost = false;
    options.propertyMapDescriptionHost = true;
    FakeHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.Unknown()));
    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, 0xD0000), 0);
}

TEST (PropertyMap, VersionSpecificOperations)
{
    HostOptions options;
    options.propertyMap = onlyVersion (1);
    FakeHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.Unknown()));

    const AAX_SPlugInIdentifierTriad triad { 1, 2, 3 };
    EXPECT_EQ (map->AddPropertyWithIDArray (60, &triad, 1), AAX_ERROR_UNIMPLEMENTED);
    const AAX_SPlugInIdentifierTriad* triads = nullptr;
    uint32_t count = 0;
    EXPECT_FALSE (map->GetPropertyWithIDArray (60, &triads, &count));
    EXPECT_EQ (map->GetIUnknown(), static_cast<AAX_IACFPropertyMap*> (host.propertyMaps.front()));
}

TEST (PropertyMap, HostObjectIsTheHighestVersion)
{
    HostOptions options;
    options.propertyMap = upToVersion (3);
    FakeHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.Unknown()));
    EXPECT_EQ (map->GetIUnknown(), static_cast<AAX_IACFPropertyMap_V3*> (host.propertyMaps.front()));
}

TEST (PropertyMap, CreationFailsWithoutFactoryOrVersion1)
{
    {
        HostOptions options;
        options.componentFactory = false;
        FakeHost host (options);
        EXPECT_EQ (AAX_VPropertyMap::Create (host.Unknown()), nullptr);
    }
    {
        HostOptions options;
        options.propertyMap = kNoVersions;
        FakeHost host (options);
        EXPECT_EQ (AAX_VPropertyMap::Create (host.Unknown()), nullptr);
        EXPECT_EQ (host.UnbalancedObjects(), "");
    }
    EXPECT_EQ (AAX_VPropertyMap::Create (nullptr), nullptr);
    EXPECT_EQ (AAX_VPropertyMap::Acquire (nullptr), nullptr);
}

TEST (PropertyMap, WithoutVersion1ValuesAreRefused)
{
    HostOptions options;
    options.propertyMap = kNoVersions;
    FakeHost host (options);
    FakePropertyMap foreignMap (host);
    host.Watch (foreignMap);
    {
        std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Acquire (&foreignMap));
        AAX_CPropertyValue value = 0;
        EXPECT_FALSE (map->GetProperty (10, &value));
        EXPECT_EQ (map->AddProperty (10, 1), AAX_ERROR_NULL_OBJECT);
        EXPECT_EQ (map->RemoveProperty (10), AAX_ERROR_NULL_OBJECT);
    }
    EXPECT_EQ (host.UnbalancedObjects(), "");
}

TEST (PropertyMap, DuplicateCopiesValuesAndLocalPointers)
{
    FakeHost host;
    AAX_VComponentDescriptor descriptor (host.Unknown());
    auto* source = descriptor.NewPropertyMap();
    int procedure = 0;
    source->AddProperty (10, 1);
    source->AddProperty (AAX_eProperty_AudioBufferLength, 512);
    source->AddProperty (401, 9);
    source->AddProperty (402, 7);
    source->AddPointer (AAX_eProperty_NativeProcessProc, &procedure);

    auto* copy = descriptor.DuplicatePropertyMap (source);
    ASSERT_NE (copy, nullptr);
    ASSERT_NE (copy, source);

    const auto& copied = hostMapOf (copy)->values;
    EXPECT_EQ (copied, (std::map<AAX_EProperty, AAX_CPropertyValue> { { 10, 1 }, { 54, 512 }, { 401, 9 } }));
    const void* pointer = nullptr;
    EXPECT_TRUE (copy->GetPointer (AAX_eProperty_NativeProcessProc, &pointer));
    EXPECT_EQ (pointer, &procedure);

    auto* empty = descriptor.DuplicatePropertyMap (nullptr);
    ASSERT_NE (empty, nullptr);
    EXPECT_TRUE (hostMapOf (empty)->values.empty());
}

// ---------------------------------------------------------------------------
// Process procedures registered one by one

class ProcessProcedures : public ::testing::Test
{
protected:
    ProcessProcedures() : startup (host), descriptor (host.Unknown())
    {
        properties = descriptor.NewPropertyMap();
    }

    FakeComponentDescriptor& hostDescriptor() { return *host.componentDescriptors.front(); }

    void askForNative()
    {
        properties->AddProperty (AAX_eProperty_PlugInID_Native, kNativeID);
        properties->AddPointer (AAX_eProperty_NativeProcessProc, asPointer (processAudio));
        properties->AddPointer (AAX_eProperty_NativeInstanceInitProc, asPointer (initInstance));
        properties->AddPointer (AAX_eProperty_NativeBackgroundProc, asPointer (runInBackground));
    }

    void askForTI()
    {
        properties->AddProperty (AAX_eProperty_PlugInID_TI, kTIID);
        properties->AddPointer (AAX_eProperty_TIDLLFileName, "Zelk.dll");
        properties->AddPointer (AAX_eProperty_TIProcessProc, "ProcessTI");
    }

    FakeHost host;
    ScopedStartup startup;
    AAX_VComponentDescriptor descriptor;
    AAX_IPropertyMap* properties = nullptr;
};

TEST_F (ProcessProcedures, NativeProcedureIsRegisteredAndItsIDReturned)
{
    askForNative();
    AAX_CSelector ids[3] = { 7, 7, 7 };
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 3), 0);

    ASSERT_EQ (hostDescriptor().nativeRegistrations.size(), 1u);
    const auto& registration = hostDescriptor().nativeRegistrations.front();
    EXPECT_EQ (registration.process, &processAudio);
    EXPECT_EQ (registration.instanceInit, &initInstance);
    EXPECT_EQ (registration.background, &runInBackground);
    EXPECT_EQ (registration.properties, properties->GetIUnknown());
    EXPECT_EQ (ids[0], 101u);
    EXPECT_EQ (ids[1], 0u);
    EXPECT_EQ (ids[2], 7u);
}

TEST_F (ProcessProcedures, OutArrayWithoutRoomForTheTerminatorOverflows)
{
    askForNative();
    AAX_CSelector ids[1] = { 7 };
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 1), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ (ids[0], 7u) << "nothing is written when the IDs do not fit";
}

TEST_F (ProcessProcedures, WithoutOutArrayTheRegistrationResultIsReturned)
{
    askForNative();
    EXPECT_EQ (descriptor.AddProcessProc (properties), 0);
    EXPECT_EQ (hostDescriptor().nativeRegistrations.size(), 1u);
}

TEST_F (ProcessProcedures, NativeAndTIGiveTwoIDs)
{
    askForNative();
    askForTI();
    AAX_CSelector ids[3] = {};
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 3), 0);
    EXPECT_EQ (ids[0], 101u);
    EXPECT_EQ (ids[1], 102u);
    EXPECT_EQ (ids[2], 0u);

    ASSERT_EQ (hostDescriptor().tiRegistrations.size(), 1u);
    EXPECT_EQ (hostDescriptor().tiRegistrations[0].dllName, "Zelk.dll");
    EXPECT_EQ (hostDescriptor().tiRegistrations[0].processSymbol, "ProcessTI");
    EXPECT_EQ (hostDescriptor().tiRegistrations[0].instanceInitSymbol, "<null>");
}

TEST_F (ProcessProcedures, AudioBufferLengthGoesToADuplicateWithoutIt)
{
    askForNative();
    properties->AddProperty (AAX_eProperty_AudioBufferLength, 1024);

    EXPECT_EQ (descriptor.AddProcessProc (properties), 0);
    ASSERT_EQ (hostDescriptor().nativeRegistrations.size(), 1u);

    auto* registeredMap = fakeBehind<FakePropertyMap> (hostDescriptor().nativeRegistrations[0].properties);
    ASSERT_NE (registeredMap, nullptr);
    EXPECT_NE (registeredMap, hostMapOf (properties));
    EXPECT_EQ (registeredMap->values.count (AAX_eProperty_AudioBufferLength), 0u);
    EXPECT_EQ (registeredMap->values.at (AAX_eProperty_PlugInID_Native), kNativeID);
    EXPECT_EQ (hostMapOf (properties)->values.at (AAX_eProperty_AudioBufferLength), 1024) << "the caller's map is untouched";
    EXPECT_TRUE (host.asserts.empty());
}

TEST_F (ProcessProcedures, FailedRemovalFromTheDuplicateIsReportedAndRegistrationGoesOn)
{
    askForNative();
    properties->AddProperty (AAX_eProperty_AudioBufferLength, 1024);
    host.options.propertyRemovalResult = AAX_ERROR_NULL_OBJECT;   // maps made from now on

    EXPECT_EQ (descriptor.AddProcessProc (properties), 0);
    EXPECT_EQ (hostDescriptor().nativeRegistrations.size(), 1u);
    ASSERT_EQ (host.asserts.size(), 1u);
    EXPECT_EQ (host.asserts[0].note, "AAX_SUCCESS == removeNativeAudioBufferLengthResult");
    EXPECT_EQ (host.asserts[0].flags, 1);
}

TEST_F (ProcessProcedures, MissingNativeProcedureIsTracedAndFails)
{
    properties->AddProperty (AAX_eProperty_PlugInID_Native, kNativeID);
    AAX_CSelector ids[2] = { 7, 7 };

    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 2), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_TRUE (hostDescriptor().nativeRegistrations.empty());
    EXPECT_EQ (ids[0], 7u);
    ASSERT_EQ (host.traces.size(), 1u);
    EXPECT_EQ (host.traces[0].priority, 0x8000000);
    EXPECT_EQ (host.traces[0].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_NativeProcessProc");
}

TEST_F (ProcessProcedures, MissingTINamesAreTracedEach)
{
    properties->AddProperty (AAX_eProperty_PlugInID_TI, kTIID);
    EXPECT_EQ (descriptor.AddProcessProc (properties), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_TRUE (hostDescriptor().tiRegistrations.empty());
    ASSERT_EQ (host.traces.size(), 2u);
    EXPECT_EQ (host.traces[0].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIDLLFileName");
    EXPECT_EQ (host.traces[1].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIProcessProc");
}

TEST_F (ProcessProcedures, FailedNativeRegistrationSkipsTIAndLeavesTheOutArray)
{
    askForNative();
    askForTI();
    hostDescriptor().registrationResult = AAX_ERROR_INVALID_ARGUMENT;
    AAX_CSelector ids[3] = { 7, 7, 7 };

    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 3), AAX_ERROR_INVALID_ARGUMENT);
    EXPECT_TRUE (hostDescriptor().tiRegistrations.empty());
    EXPECT_EQ (ids[0], 7u);
}

TEST_F (ProcessProcedures, NothingAskedForGivesAnEmptyList)
{
    AAX_CSelector ids[2] = { 7, 7 };
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 2), 0);
    EXPECT_EQ (ids[0], 0u);
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 0), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, -5), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
}

TEST_F (ProcessProcedures, NullMapIsNullObject)
{
    EXPECT_EQ (descriptor.AddProcessProc (nullptr), AAX_ERROR_NULL_OBJECT);
}

TEST (ProcessProceduresVersion3, HostRegistersEverythingItself)
{
    HostOptions options;
    options.componentDescriptor = upToVersion (3);
    FakeHost host (options);
    AAX_VComponentDescriptor descriptor (host.Unknown());
    auto* properties = descriptor.NewPropertyMap();

    AAX_CSelector ids[4] = {};
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 4), 0);
    EXPECT_EQ (host.componentDescriptors.front()->processProcCapacities, std::vector<int32_t> { 4 });
    EXPECT_TRUE (host.componentDescriptors.front()->nativeRegistrations.empty());
    EXPECT_EQ (ids[0], 101u);
}

// ---------------------------------------------------------------------------
// Description host and feature info

TEST (DescriptionHost, FeatureInfoForwardsAndBelongsToTheCaller)
{
    FakeHost host;
    const AAX_Feature_UID feature = IID_IAAXPageTableV2;
    {
        AAX_VDescriptionHost descriptionHost (host.Unknown());
        std::unique_ptr<const AAX_IFeatureInfo> info (descriptionHost.AcquireFeatureProperties (feature));
        ASSERT_NE (info, nullptr);
        EXPECT_TRUE (info->ID() == feature);

        AAX_ESupportLevel level = 0;
        EXPECT_EQ (info->SupportLevel (level), 0);
        EXPECT_EQ (level, 2);

        std::unique_ptr<const AAX_IPropertyMap> properties (info->AcquireProperties());
        ASSERT_NE (properties, nullptr);
        AAX_CPropertyValue value = 0;
        EXPECT_TRUE (properties->GetProperty (1234, &value));
        EXPECT_EQ (value, 1);
    }
    EXPECT_EQ (host.UnbalancedObjects(), "");
}

TEST (DescriptionHost, NoFeatureInfoWhenTheHostCannotAnswer)
{
    {
        HostOptions options;
        options.descriptionHost = false;
        FakeHost host (options);
        AAX_VDescriptionHost descriptionHost (host.Unknown());
        EXPECT_FALSE (descriptionHost.Supported());
        EXPECT_EQ (descriptionHost.AcquireFeatureProperties (IID_IAAXPageTableV2), nullptr);
    }
    {
        HostOptions options;
        options.featureInfo = false;
        FakeHost host (options);
        {
            AAX_VDescriptionHost descriptionHost (host.Unknown());
            EXPECT_EQ (descriptionHost.AcquireFeatureProperties (IID_IAAXPageTableV2), nullptr);
        }
        EXPECT_EQ (host.UnbalancedObjects(), "");
    }
}

TEST (DescriptionHost, FeatureInfoWithoutItsInterfaceIsNullObject)
{
    FakeHost host;
    FakeDefinition notAFeature;   // answers no feature-info interface
    host.Watch (notAFeature);
    {
        AAX_VFeatureInfo info (&notAFeature, IID_IAAXPageTableV1);
        AAX_ESupportLevel level = 5;
        EXPECT_EQ (info.SupportLevel (level), AAX_ERROR_NULL_OBJECT);
        EXPECT_EQ (level, 5);
        EXPECT_EQ (info.AcquireProperties(), nullptr);
    }
    EXPECT_EQ (host.UnbalancedObjects(), "");
}
