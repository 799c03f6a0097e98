// The exported entry points, registration and the reference-counted base
// object, driven the way a host drives a loaded bundle.

#include "LibraryHost.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"
#include "AAX_Exception.h"
#include "AAX_Exports.h"
#include "AAX_ICollection.h"
#include "AAX_IEffectDescriptor.h"
#include "CACFUnknown.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

using namespace librarytest;

namespace
{
    /** The smallest object a plug-in hands to a host. */
    class HandedOutObject : public IACFUnknown, public CACFUnknown
    {
    public:
        explicit HandedOutObject (bool& destroyedFlag) : mDestroyed (destroyedFlag) {}
        ~HandedOutObject() override { mDestroyed = true; }

        ACF_DECLARE_STANDARD_UNKNOWN()

    private:
        bool& mDestroyed;
    };

    IACFPluginDefinition* const kUntouchedDefinition = reinterpret_cast<IACFPluginDefinition*> (0x1234);

    AAX_Result describeOneEffect (AAX_ICollection* collection)
    {
        auto* descriptor = collection->NewDescriptor();
        descriptor->AddName ("ZELK-MULTI");
        collection->AddEffect ("com.velkor.zelk-multi", descriptor);
        collection->SetManufacturerName ("Velkor Audio Tools");
        collection->AddPackageName ("Multiband Saturator");
        collection->SetPackageVersion (0x10000);
        return AAX_SUCCESS;
    }

    bool hasTrace (TestHost& host, int32_t priority, const std::string& message)
    {
        for (const auto& trace : host.services().traces())
            if (trace.priority == priority && trace.message == message)
                return true;
        return false;
    }
}

// ---------------------------------------------------------------------------
// Fixed answers

TEST (EntryPoints, SdkVersionIsTheLibraryVersionWord)
{
    acfUInt64 version = 0;
    EXPECT_EQ (ACFGetSDKVersion (&version), 0);
    EXPECT_EQ (version, 0x0000020300D5E5B4ull);
}

TEST (EntryPoints, SdkVersionWithoutOutPointerFailsInsteadOfCrashing)
{
    EXPECT_NE (ACFGetSDKVersion (nullptr), 0);
}

TEST (EntryPoints, ClassFactoryIsUnimplementedAndClearsTheOutPointer)
{
    TestHost host;
    void* factory = &host;
    EXPECT_EQ (ACFGetClassFactory (host.unknown(), AAXCompID_PageTable, IID_IACFComponentFactory, &factory), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (factory, nullptr);
    EXPECT_EQ (ACFGetClassFactory (host.unknown(), AAXCompID_PageTable, IID_IACFComponentFactory, nullptr), AAX_ERROR_UNIMPLEMENTED);
}

TEST (EntryPoints, RegisterComponentSucceedsWithNoComponent)
{
    TestHost host;
    IACFComponentDefinition* definition = reinterpret_cast<IACFComponentDefinition*> (0x99);
    EXPECT_EQ (ACFRegisterComponent (host.unknown(), 0, &definition), 0);
    EXPECT_EQ (definition, nullptr);
}

// ---------------------------------------------------------------------------
// Live objects and reference counting

TEST (LiveObjects, CanUnloadOnlyAfterTheLastObjectIsReleased)
{
    const auto before = ACFCanUnloadNow (nullptr);
    bool destroyed = false;

    auto* object = new HandedOutObject (destroyed);
    object->AddRef();
    EXPECT_EQ (ACFCanUnloadNow (nullptr), before + 1);

    EXPECT_EQ (object->Release(), 0u);
    EXPECT_TRUE (destroyed);
    EXPECT_EQ (ACFCanUnloadNow (nullptr), before);
}

TEST (LiveObjects, QueryForTheRootInterfaceAddsOneReference)
{
    bool destroyed = false;
    auto* object = new HandedOutObject (destroyed);
    object->AddRef();

    void* root = nullptr;
    ASSERT_EQ (object->QueryInterface (IID_IACFUnknown, &root), ACF_OK);
    ASSERT_NE (root, nullptr);

    // Two references now: the root interface's Release must not destroy it.
    EXPECT_EQ (static_cast<IACFUnknown*> (root)->Release(), 1u);
    EXPECT_FALSE (destroyed);
    EXPECT_EQ (object->Release(), 0u);
    EXPECT_TRUE (destroyed);
}

TEST (LiveObjects, QueryForAnUnknownInterfaceAnswersNoInterfaceAndNull)
{
    bool destroyed = false;
    auto* object = new HandedOutObject (destroyed);
    object->AddRef();

    void* answer = object;
    EXPECT_EQ (object->QueryInterface (IID_IAAXControllerV1, &answer), static_cast<acfResult> (0x80000004u));
    EXPECT_EQ (answer, nullptr);
    EXPECT_EQ (object->QueryInterface (IID_IAAXControllerV1, nullptr), static_cast<acfResult> (0x80000004u));

    EXPECT_EQ (object->Release(), 0u);
    EXPECT_TRUE (destroyed);
}

TEST (LiveObjects, UnmatchedReleaseNeitherDestroysNorWrapsTheCount)
{
    bool destroyed = false;
    auto* object = new HandedOutObject (destroyed);

    EXPECT_EQ (object->Release(), 0u);
    EXPECT_FALSE (destroyed);

    // The count is still sound: one reference, one release, gone.
    EXPECT_EQ (object->AddRef(), 1u);
    EXPECT_EQ (object->Release(), 0u);
    EXPECT_TRUE (destroyed);
}

TEST (LiveObjects, ReferencesFromManyThreadsBalanceOut)
{
    bool destroyed = false;
    auto* object = new HandedOutObject (destroyed);
    object->AddRef();

    std::vector<std::thread> hostThreads;
    for (int t = 0; t < 4; ++t)
        hostThreads.emplace_back ([object]
        {
            for (int i = 0; i < 20000; ++i)
            {
                object->AddRef();
                object->Release();
            }
        });
    for (auto& thread : hostThreads)
        thread.join();

    EXPECT_FALSE (destroyed);
    EXPECT_EQ (object->Release(), 0u);
    EXPECT_TRUE (destroyed);
}

TEST (LiveObjects, FinalReleaseHookRunsBeforeDeletion)
{
    struct HookedObject : public IACFUnknown, public CACFUnknown
    {
        HookedObject (std::vector<std::string>& log) : events (log) {}
        ~HookedObject() override { events.push_back ("destroyed"); }
        void FinalReleaseHook() override { events.push_back ("final release"); }
        ACF_DECLARE_STANDARD_UNKNOWN()
        std::vector<std::string>& events;
    };

    std::vector<std::string> events;
    auto* object = new HookedObject (events);
    object->AddRef();
    object->AddRef();
    object->Release();
    EXPECT_TRUE (events.empty());
    object->Release();
    EXPECT_EQ (events, (std::vector<std::string> { "final release", "destroyed" }));
}

// ---------------------------------------------------------------------------
// Registration

TEST (Registration, DescribesTheEffectAndHandsOverThePluginDefinition)
{
    TestHost host;
    ScopedEffectDescriber describer (describeOneEffect);

    IACFPluginDefinition* definition = nullptr;
    ASSERT_EQ (ACFRegisterPlugin (host.unknown(), &definition), 0);

    ASSERT_EQ (host.count<HostCollection>(), 1u);
    const auto collection = host.only<HostCollection>().description();
    ASSERT_EQ (host.count<HostEffectDescriptor>(), 1u);
    ASSERT_EQ (collection.effects.size(), 1u) << "added with the host's own descriptor";
    EXPECT_EQ (collection.effects.front().effectID, "com.velkor.zelk-multi");
    EXPECT_EQ (collection.effects.front().names, std::vector<std::string> { "ZELK-MULTI" });
    EXPECT_EQ (collection.manufacturerName, "Velkor Audio Tools");
    EXPECT_EQ (collection.packageVersion, 0x10000u);

    // The host receives the definition with one reference of its own;
    // everything else the library took has been given back.
    EXPECT_EQ (definition, static_cast<IACFPluginDefinition*> (&host.pluginDefinition()));
    EXPECT_EQ (host.pluginDefinition().references(), 1);
    definition->Release();
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (Registration, FailingDescriptionIsTracedAndReturned)
{
    TestHost host;
    ScopedStartup startup (host);
    ScopedEffectDescriber describer ([] (AAX_ICollection* collection)
    {
        collection->NewDescriptor();
        return static_cast<AAX_Result> (AAX_ERROR_UNIMPLEMENTED);
    });

    IACFPluginDefinition* definition = kUntouchedDefinition;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), AAX_ERROR_UNIMPLEMENTED);

    EXPECT_TRUE (hasTrace (host, 0x4000000, "AAX_CheckedResult - throwing AAX_ERROR_UNIMPLEMENTED (-20009)"));
    EXPECT_TRUE (hasTrace (host, 0x8000000, "AAXRegisterPlugin exception caught: AAX_ERROR_UNIMPLEMENTED (-20009)"));
    EXPECT_EQ (definition, kUntouchedDefinition);
    EXPECT_EQ (host.only<HostEffectDescriptor>().references(), 0) << "descriptors go with the collection on failure too";
}

TEST (Registration, StandardExceptionBecomesUnknownException)
{
    TestHost host;
    ScopedStartup startup (host);
    ScopedEffectDescriber describer ([] (AAX_ICollection*) -> AAX_Result { throw std::runtime_error ("no buses"); });

    IACFPluginDefinition* definition = kUntouchedDefinition;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), AAX_ERROR_UNKNOWN_EXCEPTION);
    EXPECT_TRUE (hasTrace (host, 0x8000000, "AAXRegisterPlugin exception caught: no buses"));
    EXPECT_EQ (definition, kUntouchedDefinition);
}

TEST (Registration, LibraryExceptionIsTracedWithItsFullText)
{
    TestHost host;
    ScopedStartup startup (host);
    ScopedEffectDescriber describer ([] (AAX_ICollection*) -> AAX_Result
    {
        throw AAX::Exception::Any ("bad layout", "describe", "42");
    });

    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), AAX_ERROR_UNKNOWN_EXCEPTION);
    EXPECT_TRUE (hasTrace (host, 0x8000000, "AAXRegisterPlugin exception caught: bad layout func:describe line:42"));
}

TEST (Registration, AnythingElseThrownIsReportedAsUnknown)
{
    TestHost host;
    ScopedStartup startup (host);
    ScopedEffectDescriber describer ([] (AAX_ICollection*) -> AAX_Result { throw 7; });

    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), AAX_ERROR_UNKNOWN_EXCEPTION);
    EXPECT_TRUE (hasTrace (host, 0x8000000, "AAXRegisterPlugin exception caught: unknown"));
}

TEST (Registration, HostWithoutPluginDefinitionFailsWithNullObject)
{
    auto options = versionTwoHost();
    options.pluginDefinition = false;
    TestHost host (options);
    ScopedEffectDescriber describer (describeOneEffect);

    IACFPluginDefinition* definition = kUntouchedDefinition;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (definition, nullptr);
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (Registration, MissingOutPointerIsRefusedWithoutTouchingMemory)
{
    TestHost host;
    ScopedEffectDescriber describer (describeOneEffect);
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (Registration, HostWithoutCollectionStillReleasesEverything)
{
    auto options = versionTwoHost();
    options.collection = noVersions;
    TestHost host (options);
    ScopedEffectDescriber describer ([] (AAX_ICollection* collection)
    {
        return collection->AddEffect ("com.velkor.zelk-multi", collection->NewDescriptor());
    });

    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (Registration, ExceptionEscapingTheHandlersBecomesUnexpected)
{
    TestHost host;
    ScopedStartup startup (host);
    ScopedEffectDescriber describer ([] (AAX_ICollection*) { return static_cast<AAX_Result> (AAX_ERROR_NULL_OBJECT); });

    // The host's own Trace throws while the library reports the failure.
    host.options().hostServicesThrow = true;
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), static_cast<acfResult> (0x8000FFFFu));
    host.options().hostServicesThrow = false;
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

TEST (StartupShutdown, ServicesLiveFromStartupToShutdown)
{
    TestHost host;
    EXPECT_EQ (ACFStartup (host.unknown()), 0);
    EXPECT_EQ (callsStartingWith (host.factory(), "CreateComponent host services"), 3u) << "one host-services component per version";

    AAX_CHostServices::Trace (0x4000000, "running");
    EXPECT_EQ (ACFShutdown (nullptr), 0);
    AAX_CHostServices::Trace (0x4000000, "after shutdown");

    const auto traces = host.services().traces();
    ASSERT_EQ (traces.size(), 1u);
    EXPECT_EQ (traces.front().message, "running");
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (StartupShutdown, SecondStartupKeepsTheFirstHost)
{
    TestHost first;
    TestHost second;
    ScopedStartup startup (first);
    EXPECT_EQ (ACFStartup (second.unknown()), 0);
    EXPECT_EQ (callsStartingWith (second.factory(), "CreateComponent host services"), 0u);
    EXPECT_EQ (second.unbalanced(), "");
}
