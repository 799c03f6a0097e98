// The bundle's exported entry points as a host meets them: fixed answers,
// start-up and shut-down of the host services, registration of exactly one
// effect with its two components, the library's codes when the host
// withholds interfaces, and no exception escaping into the host.

#include "BundleTestSupport.h"

#include "AAX_Enums.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "IACFPluginDefinition.h"

#include <algorithm>

using namespace zelkhost;

namespace
{
    constexpr AAX_CTypeID fourChars (const char (&text)[5])
    {
        return (AAX_CTypeID (static_cast<unsigned char> (text[0])) << 24) | (AAX_CTypeID (static_cast<unsigned char> (text[1])) << 16)
             | (AAX_CTypeID (static_cast<unsigned char> (text[2])) << 8) | AAX_CTypeID (static_cast<unsigned char> (text[3]));
    }

    class EntryPoints : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            std::string error;
            ASSERT_TRUE (bundle.load (bundletest::bundlePath(), error)) << error;
        }

        void TearDown() override
        {
            EXPECT_EQ (bundle.canUnloadNow (host.unknown()), 0);
            EXPECT_EQ (host.registry().unbalancedReport(), "");
        }

        /** Makes registration fail inside the plug-in, so that it traces. */
        Registration registerWithRefusingCollection()
        {
            host.options().collectionAddEffectResult = AAX_ERROR_DUPLICATE_EFFECT_ID;
            auto registration = host.registerPlugin (bundle);
            host.options().collectionAddEffectResult = AAX_SUCCESS;
            return registration;
        }

        PluginHost host;
        PluginBundle bundle;
    };
}

TEST_F (EntryPoints, AnswerTheFixedQuestions)
{
    const auto& entry = bundle.entryPoints();

    acfUInt64 version = 0;
    EXPECT_EQ (entry.getSDKVersion (&version), 0);
    EXPECT_EQ (version, 0x0000020300D5E5B4ull);
    EXPECT_EQ (entry.getSDKVersion (nullptr), AAX_ERROR_NULL_ARGUMENT);

    void* factory = &version;
    EXPECT_EQ (entry.getClassFactory (host.unknown(), AAXCompID_HostServices, IID_IACFUnknown, &factory), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (factory, nullptr);

    IACFComponentDefinition* component = reinterpret_cast<IACFComponentDefinition*> (&version);
    EXPECT_EQ (entry.registerComponent (host.unknown(), 0, &component), 0);
    EXPECT_EQ (component, nullptr);
    EXPECT_EQ (entry.registerComponent (host.unknown(), 7, nullptr), 0);

    EXPECT_EQ (entry.canUnloadNow (nullptr), 0);
}

TEST_F (EntryPoints, TracesReachTheHostOnlyBetweenStartupAndShutdown)
{
    EXPECT_EQ (registerWithRefusingCollection().result, AAX_ERROR_DUPLICATE_EFFECT_ID);
    EXPECT_TRUE (host.services().traces().empty()) << "traced before start-up";

    ASSERT_EQ (host.startup (bundle), 0);
    EXPECT_EQ (registerWithRefusingCollection().result, AAX_ERROR_DUPLICATE_EFFECT_ID);

    const auto traces = host.services().traces();
    ASSERT_FALSE (traces.empty());
    const auto caught = std::find_if (traces.begin(), traces.end(), [] (const TraceRecord& trace) {
        return trace.priority == AAX_eTracePriority_Critical
            && trace.message == "AAXRegisterPlugin exception caught: AAX_ERROR_DUPLICATE_EFFECT_ID (-20035)";
    });
    EXPECT_NE (caught, traces.end()) << traces.back().message;
    for (const auto& trace : traces)
        EXPECT_LE (trace.message.size(), 511u);

    ASSERT_EQ (host.shutdown (bundle), 0);
    host.services().clear();
    EXPECT_EQ (registerWithRefusingCollection().result, AAX_ERROR_DUPLICATE_EFFECT_ID);
    EXPECT_TRUE (host.services().traces().empty()) << "traced after shut-down";
}

TEST_F (EntryPoints, RegistrationDescribesOneEffectWithAMonoAndAStereoComponent)
{
    ASSERT_EQ (host.startup (bundle), 0);
    const auto registration = host.registerPlugin (bundle);
    ASSERT_EQ (registration.result, 0);
    EXPECT_TRUE (registration.receivedDefinition);

    const auto& description = registration.description;
    EXPECT_EQ (description.manufacturerName, "Velkor Audio Tools");
    ASSERT_EQ (description.effects.size(), 1u);

    const auto& effect = description.effects.front();
    EXPECT_FALSE (effect.effectID.empty());
    EXPECT_NE (std::find (effect.names.begin(), effect.names.end(), "Multiband Saturator"), effect.names.end());
    EXPECT_NE (std::find (effect.names.begin(), effect.names.end(), "ZELK-MULTI"), effect.names.end());
    EXPECT_NE (effect.procPointer (kAAX_ProcPtrID_Create_EffectParameters), nullptr);
    EXPECT_NE (effect.procPointer (kAAX_ProcPtrID_Create_EffectGUI), nullptr);

    ASSERT_EQ (effect.components.size(), 2u);
    std::vector<int> channelPairs;
    for (const auto& component : effect.components)
    {
        ASSERT_EQ (component.processProcs.size(), 1u);
        const auto& proc = component.processProcs.front();
        EXPECT_TRUE (proc.native);
        EXPECT_NE (proc.process, nullptr);
        EXPECT_EQ (proc.properties.valueOr (11, 0), (AAX_CPropertyValue) fourChars ("VLKR"));
        EXPECT_EQ (proc.properties.valueOr (12, 0), (AAX_CPropertyValue) fourChars ("ZLK1"));

        const auto in = channelsOf (proc.properties.valueOr (AAX_eProperty_InputStemFormat, -1));
        const auto out = channelsOf (proc.properties.valueOr (AAX_eProperty_OutputStemFormat, -1));
        EXPECT_EQ (in, out);
        channelPairs.push_back (in);

        EXPECT_NE (component.findField (FieldKind::audioIn), nullptr);
        EXPECT_NE (component.findField (FieldKind::audioOut), nullptr);
        EXPECT_NE (component.findField (FieldKind::audioBufferLength), nullptr);
    }
    std::sort (channelPairs.begin(), channelPairs.end());
    EXPECT_EQ (channelPairs, (std::vector<int> { 1, 2 }));

    ASSERT_EQ (host.shutdown (bundle), 0);
}

TEST_F (EntryPoints, ProcedurePointersTravelThroughTheLibraryWhenTheHostLacksTheNewestDescriptors)
{
    // Without component descriptor and property map version 3 the library
    // keeps the procedure pointers itself and registers them one by one.
    host.options().componentDescriptor = versionsUpTo (2);
    host.options().propertyMap = versionsUpTo (2);
    host.options().effectDescriptor = onlyVersion (1);

    const auto registration = host.registerPlugin (bundle);
    ASSERT_EQ (registration.result, 0);
    ASSERT_EQ (registration.description.effects.size(), 1u);
    for (const auto& component : registration.description.effects.front().components)
    {
        ASSERT_EQ (component.processProcs.size(), 1u);
        EXPECT_NE (component.processProcs.front().process, nullptr);
    }
}

TEST_F (EntryPoints, WithheldInterfacesGiveTheLibrarysCodes)
{
    host.options().pluginDefinition = false;
    EXPECT_EQ (host.registerPlugin (bundle).result, AAX_ERROR_NULL_OBJECT);
    host.options().pluginDefinition = true;

    host.options().collection = noVersions;
    EXPECT_EQ (host.registerPlugin (bundle).result, AAX_ERROR_NULL_OBJECT);
    host.options().collection = versionsUpTo (1);

    host.options().effectDescriptor = noVersions;
    EXPECT_NE (host.registerPlugin (bundle).result, 0);
    host.options().effectDescriptor = versionsUpTo (2);

    // Host services without version 1 cannot take traces: nothing arrives.
    host.options().hostServices = onlyVersion (3);
    ASSERT_EQ (host.startup (bundle), 0);
    EXPECT_EQ (registerWithRefusingCollection().result, AAX_ERROR_DUPLICATE_EFFECT_ID);
    EXPECT_TRUE (host.services().traces().empty());
    ASSERT_EQ (host.shutdown (bundle), 0);

    // Without a component factory the plug-in gets no services and no collection.
    host.options().hostServices = versionsUpTo (3);
    host.options().componentFactory = false;
    ASSERT_EQ (host.startup (bundle), 0);
    EXPECT_EQ (host.registerPlugin (bundle).result, AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE (host.services().traces().empty());
    ASSERT_EQ (host.shutdown (bundle), 0);
}

TEST_F (EntryPoints, NoExceptionCrossesAnEntryPoint)
{
    // A component factory that throws while the plug-in starts up.
    host.options().componentFactoryThrows = true;
    EXPECT_EQ (host.startup (bundle), ACF_E_UNEXPECTED);

    // ... and while it registers: caught and reported as an unknown exception.
    EXPECT_EQ (host.registerPlugin (bundle).result, AAX_ERROR_UNKNOWN_EXCEPTION);
    host.options().componentFactoryThrows = false;
    EXPECT_EQ (host.shutdown (bundle), 0);

    // Host services that throw while the plug-in reports a refused effect.
    ASSERT_EQ (host.startup (bundle), 0);
    host.options().hostServicesThrow = true;
    EXPECT_EQ (registerWithRefusingCollection().result, ACF_E_UNEXPECTED);
    host.options().hostServicesThrow = false;

    // Everything still works afterwards.
    const auto registration = host.registerPlugin (bundle);
    EXPECT_EQ (registration.result, 0);
    EXPECT_EQ (registration.description.effects.size(), 1u);
    EXPECT_EQ (host.shutdown (bundle), 0);
}

TEST (PluginBundleLoading, RefusesWhatIsNotABundle)
{
    PluginBundle bundle;
    std::string error;
    EXPECT_FALSE (bundle.load ("/no/such/bundle.so", error));
    EXPECT_NE (error.find ("cannot load"), std::string::npos) << error;
    EXPECT_FALSE (bundle.isLoaded());

    // A shared library that exports no ACF entry points.
    error.clear();
    EXPECT_FALSE (bundle.load ("libm.so.6", error));
    EXPECT_NE (error.find ("ACFRegisterPlugin"), std::string::npos) << error;
    EXPECT_FALSE (bundle.isLoaded());
}

TEST (PluginBundleLoading, WithoutABundleBesideTheProgramTheBuiltOneIsFound)
{
    // The test program lives in the build's tests folder, the bundle elsewhere.
    EXPECT_EQ (PluginSession::defaultBundlePath(), bundletest::bundlePath());
}
