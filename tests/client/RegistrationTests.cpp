// Registration through the bundle's entry point: what the host learns about
// the effect and its components.
#include "ClientTestHost.h"

#include "AAX_Enums.h"
#include "AAX_Exports.h"
#include "client/AlgorithmContext.h"
#include "client/EffectIdentity.h"
#include "client/ProcessProcedure.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
    using namespace fakehost;

    class Registration : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            startup = std::make_unique<ScopedStartup> (host);
            IACFPluginDefinition* definition = nullptr;
            result = ACFRegisterPlugin (host.Unknown(), &definition);
            if (definition != nullptr)
                definition->Release();
        }

        void TearDown() override { startup.reset(); }

        FakeEffectDescriptor& Descriptor()
        {
            return *host.effectDescriptors.at (0);
        }

        FakePropertyMap& PropertiesOf (const FakeComponentDescriptor& component)
        {
            auto* map = fakeBehind<FakePropertyMap> (component.nativeRegistrations.at (0).properties);
            if (map == nullptr)
                throw std::runtime_error ("the process procedure was registered without a host property map");
            return *map;
        }

        FakeHost host;
        std::unique_ptr<ScopedStartup> startup;
        acfResult result = -1;
    };

    TEST_F (Registration, DescribesExactlyOneEffectUnderItsReverseDnsIdentifier)
    {
        ASSERT_EQ (result, ACF_OK);
        ASSERT_EQ (host.collections.size(), 1u);
        const auto& collection = *host.collections[0];

        ASSERT_EQ (collection.effects.size(), 1u);
        EXPECT_EQ (collection.effects[0].first, "com.velkoraudiotools.zelk-multi");
        EXPECT_EQ (collection.manufacturer, "Velkor Audio Tools");
        EXPECT_EQ (collection.packageNames, (std::vector<std::string> { "Multiband Saturator", "ZELK-MULTI" }));
        EXPECT_EQ (collection.packageVersion, aaxclient::kPackageVersion);
        EXPECT_TRUE (host.traces.empty()) << host.traces.front().message;
    }

    TEST_F (Registration, NamesTheEffectAndRegistersBothCreationProcedures)
    {
        ASSERT_EQ (result, ACF_OK);
        auto& descriptor = Descriptor();

        EXPECT_EQ (descriptor.names, (std::vector<std::string> { "Multiband Saturator", "ZELK-MULTI" }));
        EXPECT_EQ (descriptor.categories, (std::vector<uint32_t> { aaxclient::kCategoryHarmonic }));
        EXPECT_NE (std::find (descriptor.calls.begin(), descriptor.calls.end(), "ProcPtr AAX_ProcPtrID_Create_EffectParameters"), descriptor.calls.end());
        EXPECT_NE (std::find (descriptor.calls.begin(), descriptor.calls.end(), "ProcPtr AAX_ProcPtrID_Create_EffectGUI"), descriptor.calls.end());
    }

    TEST_F (Registration, OffersMonoAndStereoComponentsEachWithTheProcessProcedure)
    {
        ASSERT_EQ (result, ACF_OK);
        auto& descriptor = Descriptor();
        ASSERT_EQ (descriptor.components.size(), 2u);

        std::vector<std::pair<int32_t, int32_t>> stemPairs;

        for (auto* unknown : descriptor.components)
        {
            auto* component = fakeBehind<FakeComponentDescriptor> (unknown);
            ASSERT_NE (component, nullptr);
            ASSERT_EQ (component->nativeRegistrations.size(), 1u);
            EXPECT_EQ (reinterpret_cast<const void*> (component->nativeRegistrations[0].process),
                       reinterpret_cast<const void*> (&aaxclient::processAlgorithmInstances));

            auto& properties = PropertiesOf (*component);
            stemPairs.emplace_back (properties.values.at (AAX_eProperty_InputStemFormat),
                                    properties.values.at (AAX_eProperty_OutputStemFormat));
            EXPECT_EQ (static_cast<uint32_t> (properties.values.at (aaxclient::kPropertyManufacturerID)), aaxclient::fourCharCode ("VLKR"));
            EXPECT_EQ (static_cast<uint32_t> (properties.values.at (aaxclient::kPropertyProductID)), aaxclient::fourCharCode ("ZLK1"));
            EXPECT_EQ (properties.values.count (AAX_eProperty_PlugInID_Native), 1u);
        }

        EXPECT_EQ (stemPairs, (std::vector<std::pair<int32_t, int32_t>> {
                                  { aaxclient::kStemFormatMono, aaxclient::kStemFormatMono },
                                  { aaxclient::kStemFormatStereo, aaxclient::kStemFormatStereo } }));
    }

    TEST_F (Registration, ComponentsGiveEachContextFieldItsIndexAndSize)
    {
        ASSERT_EQ (result, ACF_OK);
        const std::vector<std::string> expected {
            "AudioIn 0",
            "AudioOut 1",
            "AudioBufferLength 2",
            "DataInPort 3 4 0",
            "PrivateData 4 " + std::to_string (sizeof (aaxclient::InstanceInfo)) + " 0",
            "PrivateData 5 4 0"
        };

        for (auto* unknown : Descriptor().components)
            EXPECT_EQ (fakeBehind<FakeComponentDescriptor> (unknown)->fields, expected);
    }

    TEST_F (Registration, PlugInTypeIDsDifferBetweenComponents)
    {
        ASSERT_EQ (result, ACF_OK);
        std::vector<int32_t> ids;

        for (auto* unknown : Descriptor().components)
        {
            auto& properties = PropertiesOf (*fakeBehind<FakeComponentDescriptor> (unknown));
            ids.push_back (properties.values.at (AAX_eProperty_PlugInID_Native));
            ids.push_back (properties.values.at (AAX_eProperty_PlugInID_AudioSuite));
        }

        std::sort (ids.begin(), ids.end());
        EXPECT_EQ (std::adjacent_find (ids.begin(), ids.end()), ids.end());
    }

    TEST (RegistrationWithoutCollection, FailsWithoutCrashing)
    {
        EXPECT_EQ (GetEffectDescriptions (nullptr), AAX_ERROR_NULL_ARGUMENT);
    }

    TEST (RegistrationObjects, NothingOfThePlugInStaysAliveAfterwards)
    {
        FakeHost host;
        {
            ScopedStartup startup (host);
            IACFPluginDefinition* definition = nullptr;
            ASSERT_EQ (ACFRegisterPlugin (host.Unknown(), &definition), ACF_OK);
            definition->Release();
        }

        EXPECT_EQ (ACFCanUnloadNow (nullptr), 0);
        EXPECT_EQ (aaxclient::JuceLibraryScope::liveScopes(), 0);
    }
}
