// Registration through the bundle's entry point: what the host learns about
// the effect and its components.
#include "DescriptionObjects.h"
#include "PluginSession.h"
#include "support/LinkedPlugin.h"

#include "AAX_Enums.h"
#include "AAX_Exports.h"
#include "client/AlgorithmContext.h"
#include "client/EffectIdentity.h"
#include "client/JuceLibraryScope.h"
#include "client/ProcessProcedure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace
{
    using namespace zelkhost;

    /** The linked plug-in started and registered by the host kit (which
        records what it described), with procedures registered one by one;
        registered once for the tests of the suite, which only read. */
    class Registration : public ::testing::Test
    {
    protected:
        static HostOptions versionTwoHost()
        {
            HostOptions options;
            options.componentDescriptor = versionsUpTo (2);
            options.propertyMap = versionsUpTo (2);
            return options;
        }

        static void SetUpTestSuite()
        {
            registered = std::make_unique<PluginSession> (versionTwoHost());
            openError.clear();
            registered->open (testsupport::linkedEntryPoints(), openError);
        }

        static void TearDownTestSuite() { registered.reset(); }

        void SetUp() override { ASSERT_TRUE (openError.empty()) << openError; }

        const RecordedEffect& Descriptor() { return description().effects.at (0); }
        const RecordedDescription& description() { return session.registration().description; }

        /** The properties the native process procedure was registered with. */
        static const std::map<AAX_EProperty, AAX_CPropertyValue>& PropertiesOf (const RecordedComponent& component)
        {
            return component.processProcs.at (0).properties.values;
        }

        inline static std::unique_ptr<PluginSession> registered;
        inline static std::string openError;
        PluginSession& session = *registered;
        PluginHost& host = session.host();
    };

    TEST_F (Registration, DescribesExactlyOneEffectUnderItsReverseDnsIdentifier)
    {
        ASSERT_EQ (session.registration().result, ACF_OK);
        ASSERT_EQ (host.registry().all<HostCollection>().size(), 1u);
        const auto& collection = description();

        ASSERT_EQ (collection.effects.size(), 1u);
        EXPECT_EQ (collection.effects[0].effectID, "com.velkoraudiotools.zelk-multi");
        EXPECT_EQ (collection.manufacturerName, "Velkor Audio Tools");
        EXPECT_EQ (collection.packageNames, (std::vector<std::string> { "Multiband Saturator", "ZELK-MULTI" }));
        EXPECT_EQ (collection.packageVersion, aaxclient::kPackageVersion);
        const auto traces = host.services().traces();
        EXPECT_TRUE (traces.empty()) << traces.front().message;
    }

    TEST_F (Registration, NamesTheEffectAndRegistersBothCreationProcedures)
    {
        ASSERT_EQ (session.registration().result, ACF_OK);
        auto& descriptor = Descriptor();

        EXPECT_EQ (descriptor.names, (std::vector<std::string> { "Multiband Saturator", "ZELK-MULTI" }));
        EXPECT_EQ (descriptor.categories, (std::vector<uint32_t> { aaxclient::kCategoryHarmonic }));
        EXPECT_NE (descriptor.procPointer ("AAX_ProcPtrID_Create_EffectParameters"), nullptr);
        EXPECT_NE (descriptor.procPointer ("AAX_ProcPtrID_Create_EffectGUI"), nullptr);
    }

    TEST_F (Registration, OffersMonoAndStereoComponentsEachWithTheProcessProcedure)
    {
        ASSERT_EQ (session.registration().result, ACF_OK);
        auto& descriptor = Descriptor();
        ASSERT_EQ (descriptor.components.size(), 2u);

        std::vector<std::pair<int32_t, int32_t>> stemPairs;

        for (const auto& component : descriptor.components)
        {
            ASSERT_EQ (component.processProcs.size(), 1u);
            EXPECT_TRUE (component.processProcs[0].native);
            EXPECT_EQ (reinterpret_cast<const void*> (component.processProcs[0].process),
                       reinterpret_cast<const void*> (&aaxclient::processAlgorithmInstances));

            auto& properties = PropertiesOf (component);
            stemPairs.emplace_back (properties.at (AAX_eProperty_InputStemFormat), properties.at (AAX_eProperty_OutputStemFormat));
            EXPECT_EQ (static_cast<uint32_t> (properties.at (aaxclient::kPropertyManufacturerID)), aaxclient::fourCharCode ("VLKR"));
            EXPECT_EQ (static_cast<uint32_t> (properties.at (aaxclient::kPropertyProductID)), aaxclient::fourCharCode ("ZLK1"));
            EXPECT_EQ (properties.count (AAX_eProperty_PlugInID_Native), 1u);
        }

        EXPECT_EQ (stemPairs, (std::vector<std::pair<int32_t, int32_t>> {
                                  { aaxclient::kStemFormatMono, aaxclient::kStemFormatMono },
                                  { aaxclient::kStemFormatStereo, aaxclient::kStemFormatStereo } }));
    }

    TEST_F (Registration, ComponentsGiveEachContextFieldItsIndexAndSize)
    {
        ASSERT_EQ (session.registration().result, ACF_OK);
        const std::vector<std::string> expected {
            "AudioIn 0",
            "AudioOut 1",
            "AudioBufferLength 2",
            "DataInPort 3 4 0",
            "PrivateData 4 " + std::to_string (sizeof (aaxclient::InstanceInfo)) + " 0",
            "PrivateData 5 4 0"
        };

        const auto components = host.registry().all<HostComponentDescriptor>();
        ASSERT_EQ (components.size(), 2u);
        for (const auto* component : components)
        {
            auto fields = component->calls();
            fields.erase (std::remove_if (fields.begin(), fields.end(), [] (const std::string& call) { return call.rfind ("ProcessProc", 0) == 0; }),
                          fields.end());
            EXPECT_EQ (fields, expected);
        }
    }

    TEST_F (Registration, PlugInTypeIDsDifferBetweenComponents)
    {
        ASSERT_EQ (session.registration().result, ACF_OK);
        std::vector<int32_t> ids;

        for (const auto& component : Descriptor().components)
        {
            auto& properties = PropertiesOf (component);
            ids.push_back (properties.at (AAX_eProperty_PlugInID_Native));
            ids.push_back (properties.at (AAX_eProperty_PlugInID_AudioSuite));
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
        {
            PluginSession session;
            std::string error;
            ASSERT_TRUE (session.open (testsupport::linkedEntryPoints(), error)) << error;
            EXPECT_TRUE (session.registration().receivedDefinition);
        }

        EXPECT_EQ (ACFCanUnloadNow (nullptr), 0);
        EXPECT_EQ (aaxclient::JuceLibraryScope::liveScopes(), 0);
    }
}
