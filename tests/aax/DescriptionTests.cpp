// The description wrappers: collection, effect and component descriptors,
// property maps, description host and feature info, against hosts that
// offer all or only some of the interface versions.

#include "LibraryHost.h"

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

using namespace librarytest;

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

    HostPropertyMap* hostMapOf (TestHost& host, AAX_IPropertyMap* map)
    {
        return host.registry().find<HostPropertyMap> (map->GetIUnknown());
    }
}

// ---------------------------------------------------------------------------
// Collection

TEST (Collection, AddEffectWithNullDescriptorSendsNothing)
{
    TestHost host;
    {
        AAX_VCollection collection (host.unknown());
        EXPECT_EQ (collection.AddEffect ("com.velkor.zelk-multi", nullptr), AAX_ERROR_NULL_OBJECT);
        ASSERT_EQ (host.count<HostCollection>(), 1u);
        EXPECT_EQ (callsStartingWith (host.only<HostCollection>(), "AddEffect"), 0u);
    }
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (Collection, WithoutHostCollectionEveryForwardIsNullObject)
{
    auto options = versionTwoHost();
    options.collection = noVersions;
    TestHost host (options);
    AAX_VCollection collection (host.unknown());

    EXPECT_EQ (collection.SetManufacturerName ("Velkor Audio Tools"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (collection.AddPackageName ("ZELK-MULTI"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (collection.SetPackageVersion (1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (collection.SetProperties (nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (collection.AddEffect ("id", collection.NewDescriptor()), AAX_ERROR_NULL_OBJECT);
}

TEST (Collection, PassesTheHostObjectsOfItsMaps)
{
    TestHost host;
    AAX_VCollection collection (host.unknown());

    auto* map = collection.NewPropertyMap();
    ASSERT_NE (map, nullptr);
    EXPECT_EQ (collection.SetProperties (map), 0);
    EXPECT_EQ (collection.SetProperties (nullptr), 0);

    EXPECT_EQ (host.only<HostCollection>().calls(), (std::vector<std::string> { "SetProperties property map", "SetProperties none" }));
}

TEST (Collection, DescriptionHostOnlyWhenTheHostOffersOne)
{
    {
        TestHost host;
        AAX_VCollection collection (host.unknown());
        EXPECT_NE (collection.DescriptionHost(), nullptr);
        EXPECT_EQ (collection.HostDefinition(), static_cast<IACFDefinition*> (&host.definition()));
    }
    {
        auto options = versionTwoHost();
        options.descriptionHost = false;
        options.definition = false;
        TestHost host (options);
        const AAX_VCollection collection (host.unknown());
        EXPECT_EQ (collection.DescriptionHost(), nullptr);
        EXPECT_EQ (collection.HostDefinition(), nullptr);
    }
}

TEST (Collection, DestroyingItReleasesEverythingItMade)
{
    TestHost host;
    {
        AAX_VCollection collection (host.unknown());
        auto* effect = collection.NewDescriptor();
        auto* component = effect->NewComponentDescriptor();
        auto* componentMap = component->NewPropertyMap();
        component->DuplicatePropertyMap (componentMap);
        effect->AddComponent (component);
        effect->SetProperties (effect->NewPropertyMap());
        collection.NewPropertyMap();
        collection.AddEffect ("com.velkor.zelk-multi", effect);
        EXPECT_NE (host.unbalanced(), "");
    }
    EXPECT_EQ (host.unbalanced(), "");
}

// ---------------------------------------------------------------------------
// Effect descriptor

TEST (EffectDescriptor, ForwardsToTheHostDescriptor)
{
    TestHost host;
    AAX_VEffectDescriptor descriptor (host.unknown());

    EXPECT_EQ (descriptor.AddName ("Multiband Saturator"), 0);
    EXPECT_EQ (descriptor.AddCategory (0x4), 0);
    EXPECT_EQ (descriptor.AddProcPtr (nullptr, "create-gui"), 0);
    EXPECT_EQ (descriptor.AddResourceInfo (1, "ZelkPages.xml"), 0);
    EXPECT_EQ (descriptor.AddCategoryBypassParameter (0x4, "bypass"), 0);
    EXPECT_EQ (descriptor.AddControlMIDINode (7, 1, "MIDI", 0xFFFF), 0);

    EXPECT_EQ (host.only<HostEffectDescriptor>().calls(),
               (std::vector<std::string> { "AddName Multiband Saturator", "AddCategory 4", "ProcPtr create-gui", "Resource 1 ZelkPages.xml",
                                           "CategoryBypass 4 bypass", "ControlMIDINode 7 MIDI" }));
}

TEST (EffectDescriptor, ComponentsAndMetersArePassedAsHostObjects)
{
    TestHost host;
    AAX_VEffectDescriptor descriptor (host.unknown());

    auto* component = descriptor.NewComponentDescriptor();
    auto* meterMap = descriptor.NewPropertyMap();
    EXPECT_EQ (descriptor.AddComponent (component), 0);
    EXPECT_EQ (descriptor.AddComponent (nullptr), AAX_ERROR_NULL_COMPONENT) << "the host's answer to a null component";
    EXPECT_EQ (descriptor.AddMeterDescription (kMeterID, "Input", meterMap), 0);

    EXPECT_EQ (host.only<HostEffectDescriptor>().calls(),
               (std::vector<std::string> { "AddComponent component descriptor", "AddComponent none",
                                           "Meter " + std::to_string (kMeterID) + " Input property map" }));
}

TEST (EffectDescriptor, ControlMidiNodeNeedsVersion2)
{
    auto options = versionTwoHost();
    options.effectDescriptor = onlyVersion (1);
    TestHost host (options);
    AAX_VEffectDescriptor descriptor (host.unknown());

    EXPECT_EQ (descriptor.AddControlMIDINode (7, 1, "MIDI", 0xFFFF), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (descriptor.AddName ("still works"), 0);
}

TEST (EffectDescriptor, WithoutVersion1EverythingIsNullObject)
{
    auto options = versionTwoHost();
    options.effectDescriptor = noVersions;
    TestHost host (options);
    AAX_VEffectDescriptor descriptor (host.unknown());

    EXPECT_EQ (descriptor.AddName ("x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.AddCategory (1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.SetProperties (nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.AddMeterDescription (1, "m", nullptr), AAX_ERROR_NULL_OBJECT);
}

// ---------------------------------------------------------------------------
// Component descriptor fields

TEST (ComponentDescriptor, FieldsReachTheHostUnchanged)
{
    TestHost host;
    AAX_VComponentDescriptor descriptor (host.unknown());
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

    EXPECT_EQ (host.only<HostComponentDescriptor>().calls(),
               (std::vector<std::string> { "AudioIn 0", "AudioOut 1", "AudioBufferLength 2", "DataInPort 3 4 0",
                                           "PrivateData 4 16 0", "MIDINode 5 2 in 65535", "Meters 6 2",
                                           "AuxOutputStem 7 131074 aux", "TemporaryData 8 64" }));
}

TEST (ComponentDescriptor, TemporaryDataNeedsVersion2)
{
    auto options = versionTwoHost();
    options.componentDescriptor = onlyVersion (1);
    TestHost host (options);
    AAX_VComponentDescriptor descriptor (host.unknown());

    EXPECT_EQ (descriptor.AddTemporaryData (1, 8), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (descriptor.AddClock (1), 0);
}

TEST (ComponentDescriptor, WithoutVersion1FieldsAreNullObject)
{
    auto options = versionTwoHost();
    options.componentDescriptor = noVersions;
    TestHost host (options);
    AAX_VComponentDescriptor descriptor (host.unknown());

    EXPECT_EQ (descriptor.Clear(), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.AddAudioIn (0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (descriptor.AddProcessProc_Native (processAudio), AAX_ERROR_NULL_OBJECT);
}

TEST (ComponentDescriptor, TypedProcessProcedureIsRegisteredAsIs)
{
    TestHost host;
    AAX_VComponentDescriptor descriptor (host.unknown());
    AAX_IComponentDescriptor& client = descriptor;
    auto* properties = client.NewPropertyMap();

    EXPECT_EQ (client.AddProcessProc_Native (processTypedAudio, properties), 0);
    const auto registered = host.only<HostComponentDescriptor>().snapshot().processProcs;
    ASSERT_EQ (registered.size(), 1u);
    EXPECT_EQ (reinterpret_cast<const void*> (registered.front().process), reinterpret_cast<const void*> (&processTypedAudio));
    EXPECT_TRUE (hasCall (host.only<HostComponentDescriptor>(), "ProcessProc_Native property map")) << "the host's own map is passed";
    EXPECT_EQ (registered.front().instanceInit, nullptr);
}

// ---------------------------------------------------------------------------
// Property maps

TEST (PropertyMap, PointersStayLocalWithoutVersion3)
{
    TestHost host;
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.unknown()));
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
    EXPECT_TRUE (hostMapOf (host, map.get())->snapshot().pointers.empty());
}

TEST (PropertyMap, PointersGoToTheHostWithVersion3)
{
    auto options = versionTwoHost();
    options.propertyMap = versionsUpTo (3);
    TestHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.unknown()));

    int procedure = 0;
    EXPECT_EQ (map->AddPointer (50, &procedure), 0);
    EXPECT_EQ (hostMapOf (host, map.get())->snapshot().pointers.at (50), &procedure);
    const void* readBack = nullptr;
    EXPECT_TRUE (map->GetPointer (50, &readBack));
    EXPECT_EQ (readBack, &procedure);
}

TEST (PropertyMap, StemFormatsAreRangeCheckedWithoutDescriptionHost)
{
    auto options = versionTwoHost();
    options.descriptionHost = false;
    TestHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.unknown()));
    auto& hostMap = *hostMapOf (host, map.get());

    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, 0x20002), 0);
    EXPECT_EQ (hostMap.snapshot().values.at (AAX_eProperty_InputStemFormat), 0x20002);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, 0xCFFFF), 0);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, static_cast<int32_t> (0xFFFF0000u)), 0);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, static_cast<int32_t> (0xFF9C0000u)), 0);
    const auto sentSoFar = callsStartingWith (hostMap, "AddProperty");

    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, 0xD0000), AAX_ERROR_PROPERTY_UNDEFINED);
    EXPECT_EQ (map->AddProperty (AAX_eProperty_OutputStemFormat, -1), AAX_ERROR_PROPERTY_UNDEFINED);
    EXPECT_EQ (callsStartingWith (hostMap, "AddProperty"), sentSoFar) << "refused values are not sent";

    EXPECT_EQ (map->AddProperty (53, 0xD0000), 0) << "other properties are not checked";
}

TEST (PropertyMap, DescriptionHostVetsStemFormatsItself)
{
    TestHost host;
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.unknown()));
    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, 0xD0000), 0);
    EXPECT_EQ (hostMapOf (host, map.get())->snapshot().values.at (AAX_eProperty_InputStemFormat), 0xD0000);
}

TEST (PropertyMap, DescriptionHostMayBeFoundOnTheMapItself)
{
    auto options = versionTwoHost();
    options.descriptionHost = false;
    options.propertyMapDescriptionHost = true;
    TestHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.unknown()));
    EXPECT_EQ (map->AddProperty (AAX_eProperty_InputStemFormat, 0xD0000), 0);
}

TEST (PropertyMap, VersionSpecificOperations)
{
    auto options = versionTwoHost();
    options.propertyMap = onlyVersion (1);
    TestHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.unknown()));

    const AAX_SPlugInIdentifierTriad triad { 1, 2, 3 };
    EXPECT_EQ (map->AddPropertyWithIDArray (60, &triad, 1), AAX_ERROR_UNIMPLEMENTED);
    const AAX_SPlugInIdentifierTriad* triads = nullptr;
    uint32_t count = 0;
    EXPECT_FALSE (map->GetPropertyWithIDArray (60, &triads, &count));
    EXPECT_EQ (map->GetIUnknown(), static_cast<AAX_IACFPropertyMap*> (&host.only<HostPropertyMap>()));
}

TEST (PropertyMap, HostObjectIsTheHighestVersion)
{
    auto options = versionTwoHost();
    options.propertyMap = versionsUpTo (3);
    TestHost host (options);
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (host.unknown()));
    EXPECT_EQ (map->GetIUnknown(), static_cast<AAX_IACFPropertyMap_V3*> (&host.only<HostPropertyMap>()));
}

TEST (PropertyMap, CreationFailsWithoutFactoryOrVersion1)
{
    {
        auto options = versionTwoHost();
        options.componentFactory = false;
        TestHost host (options);
        EXPECT_EQ (AAX_VPropertyMap::Create (host.unknown()), nullptr);
    }
    {
        auto options = versionTwoHost();
        options.propertyMap = noVersions;
        TestHost host (options);
        EXPECT_EQ (AAX_VPropertyMap::Create (host.unknown()), nullptr);
        EXPECT_EQ (host.unbalanced(), "");
    }
    EXPECT_EQ (AAX_VPropertyMap::Create (nullptr), nullptr);
    EXPECT_EQ (AAX_VPropertyMap::Acquire (nullptr), nullptr);
}

TEST (PropertyMap, WithoutVersion1ValuesAreRefused)
{
    auto options = versionTwoHost();
    options.propertyMap = noVersions;
    TestHost host (options);
    auto& foreignMap = host.registry().make<HostPropertyMap> (host.options());
    {
        std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Acquire (&foreignMap));
        AAX_CPropertyValue value = 0;
        EXPECT_FALSE (map->GetProperty (10, &value));
        EXPECT_EQ (map->AddProperty (10, 1), AAX_ERROR_NULL_OBJECT);
        EXPECT_EQ (map->RemoveProperty (10), AAX_ERROR_NULL_OBJECT);
    }
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (PropertyMap, DuplicateCopiesValuesAndLocalPointers)
{
    TestHost host;
    AAX_VComponentDescriptor descriptor (host.unknown());
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

    const auto copied = hostMapOf (host, copy)->snapshot().values;
    EXPECT_EQ (copied, (std::map<AAX_EProperty, AAX_CPropertyValue> { { 10, 1 }, { 54, 512 }, { 401, 9 } }));
    const void* pointer = nullptr;
    EXPECT_TRUE (copy->GetPointer (AAX_eProperty_NativeProcessProc, &pointer));
    EXPECT_EQ (pointer, &procedure);

    auto* empty = descriptor.DuplicatePropertyMap (nullptr);
    ASSERT_NE (empty, nullptr);
    EXPECT_TRUE (hostMapOf (host, empty)->snapshot().values.empty());
}

// ---------------------------------------------------------------------------
// Process procedures registered one by one

class ProcessProcedures : public ::testing::Test
{
protected:
    ProcessProcedures() : startup (host), descriptor (host.unknown())
    {
        properties = descriptor.NewPropertyMap();
    }

    HostComponentDescriptor& hostDescriptor() { return host.only<HostComponentDescriptor>(); }
    std::vector<RecordedProcessProc> registered() { return hostDescriptor().snapshot().processProcs; }

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

    TestHost host;
    ScopedStartup startup;
    AAX_VComponentDescriptor descriptor;
    AAX_IPropertyMap* properties = nullptr;
};

TEST_F (ProcessProcedures, NativeProcedureIsRegisteredAndItsIDReturned)
{
    askForNative();
    AAX_CSelector ids[3] = { 7, 7, 7 };
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 3), 0);

    const auto procs = registered();
    ASSERT_EQ (procs.size(), 1u);
    const auto& registration = procs.front();
    EXPECT_EQ (registration.process, &processAudio);
    EXPECT_EQ (registration.instanceInit, &initInstance);
    EXPECT_EQ (registration.background, &runInBackground);
    EXPECT_TRUE (hasCall (hostDescriptor(), "ProcessProc_Native property map"));
    EXPECT_EQ (registration.properties.valueOr (AAX_eProperty_PlugInID_Native, 0), kNativeID);
    EXPECT_EQ (ids[0], registration.selector);
    EXPECT_NE (ids[0], 0u);
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
    EXPECT_EQ (registered().size(), 1u);
}

TEST_F (ProcessProcedures, NativeAndTIGiveTwoIDs)
{
    askForNative();
    askForTI();
    AAX_CSelector ids[3] = {};
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 3), 0);
    const auto procs = registered();
    ASSERT_EQ (procs.size(), 2u);
    EXPECT_EQ (ids[0], procs[0].selector);
    EXPECT_EQ (ids[1], procs[1].selector);
    EXPECT_NE (ids[0], ids[1]);
    EXPECT_EQ (ids[2], 0u);

    EXPECT_FALSE (procs[1].native);
    EXPECT_EQ (procs[1].dllName, "Zelk.dll");
    EXPECT_EQ (procs[1].processSymbol, "ProcessTI");
    EXPECT_TRUE (hasCall (hostDescriptor(), "ProcessProc_TI Zelk.dll ProcessTI <null> <null>"));
}

TEST_F (ProcessProcedures, AudioBufferLengthGoesToADuplicateWithoutIt)
{
    askForNative();
    properties->AddProperty (AAX_eProperty_AudioBufferLength, 1024);

    const auto mapsBefore = host.count<HostPropertyMap>();
    EXPECT_EQ (descriptor.AddProcessProc (properties), 0);
    const auto procs = registered();
    ASSERT_EQ (procs.size(), 1u);

    EXPECT_EQ (host.count<HostPropertyMap>(), mapsBefore + 1) << "registered with a duplicate";
    EXPECT_FALSE (procs[0].properties.has (AAX_eProperty_AudioBufferLength));
    EXPECT_EQ (procs[0].properties.valueOr (AAX_eProperty_PlugInID_Native, 0), kNativeID);
    EXPECT_EQ (hostMapOf (host, properties)->snapshot().values.at (AAX_eProperty_AudioBufferLength), 1024) << "the caller's map is untouched";
    EXPECT_TRUE (host.services().asserts().empty());
}

TEST_F (ProcessProcedures, FailedRemovalFromTheDuplicateIsReportedAndRegistrationGoesOn)
{
    askForNative();
    properties->AddProperty (AAX_eProperty_AudioBufferLength, 1024);
    host.options().propertyRemovalResult = AAX_ERROR_NULL_OBJECT;   // maps made from now on

    EXPECT_EQ (descriptor.AddProcessProc (properties), 0);
    EXPECT_EQ (registered().size(), 1u);
    const auto asserts = host.services().asserts();
    ASSERT_EQ (asserts.size(), 1u);
    EXPECT_EQ (asserts[0].note, "AAX_SUCCESS == removeNativeAudioBufferLengthResult");
    EXPECT_EQ (asserts[0].flags, 1);
}

TEST_F (ProcessProcedures, MissingNativeProcedureIsTracedAndFails)
{
    properties->AddProperty (AAX_eProperty_PlugInID_Native, kNativeID);
    AAX_CSelector ids[2] = { 7, 7 };

    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 2), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_TRUE (registered().empty());
    EXPECT_EQ (ids[0], 7u);
    const auto traces = host.services().traces();
    ASSERT_EQ (traces.size(), 1u);
    EXPECT_EQ (traces[0].priority, 0x8000000);
    EXPECT_EQ (traces[0].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_NativeProcessProc");
}

TEST_F (ProcessProcedures, MissingTINamesAreTracedEach)
{
    properties->AddProperty (AAX_eProperty_PlugInID_TI, kTIID);
    EXPECT_EQ (descriptor.AddProcessProc (properties), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_TRUE (registered().empty());
    const auto traces = host.services().traces();
    ASSERT_EQ (traces.size(), 2u);
    EXPECT_EQ (traces[0].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIDLLFileName");
    EXPECT_EQ (traces[1].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIProcessProc");
}

TEST_F (ProcessProcedures, FailedNativeRegistrationSkipsTIAndLeavesTheOutArray)
{
    askForNative();
    askForTI();
    host.options().processProcResult = AAX_ERROR_INVALID_ARGUMENT;
    AAX_CSelector ids[3] = { 7, 7, 7 };

    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 3), AAX_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ (callsStartingWith (hostDescriptor(), "ProcessProc_TI"), 0u);
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
    auto options = versionTwoHost();
    options.componentDescriptor = versionsUpTo (3);
    options.propertyMap = versionsUpTo (3);
    TestHost host (options);
    AAX_VComponentDescriptor descriptor (host.unknown());
    auto* properties = descriptor.NewPropertyMap();
    properties->AddProperty (AAX_eProperty_PlugInID_Native, kNativeID);
    properties->AddPointer (AAX_eProperty_NativeProcessProc, asPointer (processAudio));

    AAX_CSelector ids[4] = { 7, 7, 7, 7 };
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 4), 0);
    auto& hostDescriptor = host.only<HostComponentDescriptor>();
    EXPECT_EQ (hostDescriptor.calls(), std::vector<std::string> { "AddProcessProc 4" }) << "nothing registered one by one";
    const auto procs = hostDescriptor.snapshot().processProcs;
    ASSERT_EQ (procs.size(), 1u);
    EXPECT_EQ (ids[0], procs[0].selector);
    EXPECT_EQ (ids[1], 0u);
}

// ---------------------------------------------------------------------------
// Description host and feature info

TEST (DescriptionHost, FeatureInfoForwardsAndBelongsToTheCaller)
{
    TestHost host;
    const AAX_Feature_UID feature = IID_IAAXPageTableV2;
    {
        AAX_VDescriptionHost descriptionHost (host.unknown());
        std::unique_ptr<const AAX_IFeatureInfo> info (descriptionHost.AcquireFeatureProperties (feature));
        ASSERT_NE (info, nullptr);
        EXPECT_TRUE (info->ID() == feature);

        AAX_ESupportLevel level = 7;
        EXPECT_EQ (info->SupportLevel (level), 0);
        EXPECT_EQ (level, 0) << "the host's answer: not supported";

        const auto mapsBefore = host.count<HostPropertyMap>();
        std::unique_ptr<const AAX_IPropertyMap> properties (info->AcquireProperties());
        ASSERT_NE (properties, nullptr);
        EXPECT_EQ (host.count<HostPropertyMap>(), mapsBefore + 1) << "the host's own map";
        AAX_CPropertyValue value = 0;
        EXPECT_FALSE (properties->GetProperty (1234, &value));
    }
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (DescriptionHost, NoFeatureInfoWhenTheHostCannotAnswer)
{
    {
        auto options = versionTwoHost();
        options.descriptionHost = false;
        TestHost host (options);
        AAX_VDescriptionHost descriptionHost (host.unknown());
        EXPECT_FALSE (descriptionHost.Supported());
        EXPECT_EQ (descriptionHost.AcquireFeatureProperties (IID_IAAXPageTableV2), nullptr);
    }
    {
        auto options = versionTwoHost();
        options.featureInfo = false;
        TestHost host (options);
        {
            AAX_VDescriptionHost descriptionHost (host.unknown());
            EXPECT_EQ (descriptionHost.AcquireFeatureProperties (IID_IAAXPageTableV2), nullptr);
        }
        EXPECT_EQ (host.unbalanced(), "");
    }
}

TEST (DescriptionHost, FeatureInfoWithoutItsInterfaceIsNullObject)
{
    TestHost host;
    auto& notAFeature = host.registry().make<HostDefinition>();   // answers no feature-info interface
    {
        AAX_VFeatureInfo info (&notAFeature, IID_IAAXPageTableV1);
        AAX_ESupportLevel level = 5;
        EXPECT_EQ (info.SupportLevel (level), AAX_ERROR_NULL_OBJECT);
        EXPECT_EQ (level, 5);
        EXPECT_EQ (info.AcquireProperties(), nullptr);
    }
    EXPECT_EQ (host.unbalanced(), "");
}
