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

    struct AlgorithmContext
    {
        float* const* inputs;
    };

    void processAudio (void* const[], const void*) {}
    void processTypedAudio (AlgorithmContext* const[], const void* const) {}
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
