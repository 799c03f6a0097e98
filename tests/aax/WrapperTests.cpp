// The run-time wrappers of the host's controller, automation, transport,
// view container and page tables.

#include "LibraryHost.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VPageTable.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace librarytest;

// ---------------------------------------------------------------------------
// Controller

TEST (Controller, ForwardsVersion1Queries)
{
    TestHost host;
    auto& controllerUnknown = controllerOf (host);
    {
        AAX_VController controller (&controllerUnknown);

        AAX_CSampleRate rate = 0;
        EXPECT_EQ (controller.GetSampleRate (&rate), 0);
        EXPECT_EQ (rate, 48000.0f);
        AAX_EStemFormat input = 0, output = 0;
        EXPECT_EQ (controller.GetInputStemFormat (&input), 0);
        EXPECT_EQ (controller.GetOutputStemFormat (&output), 0);
        EXPECT_EQ (input, 0x10001);
        EXPECT_EQ (output, 0x20002);

        EXPECT_EQ (controller.SetSignalLatency (128), 0);
        int32_t latency = 0;
        controller.GetSignalLatency (&latency);
        EXPECT_EQ (latency, 128);

        const uint8_t payload[4] = { 0, 0, 0, 1 };
        EXPECT_EQ (controller.PostPacket (3, payload, sizeof (payload)), 0);
        const auto packets = controllerUnknown.postedPackets();
        ASSERT_EQ (packets.size(), 1u);
        EXPECT_EQ (packets[0].field, 3);
        EXPECT_EQ (packets[0].payload, std::vector<uint8_t> (payload, payload + 4));

        AAX_CString effectID;
        EXPECT_EQ (controller.GetEffectID (&effectID), 0);
        EXPECT_STREQ (effectID.Get(), "com.velkor.zelk-multi");
    }
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (Controller, WithoutVersion1EverythingIsNullObject)
{
    TestHost host;
    InstanceOptions options;
    options.controller = noVersions;
    auto& controllerUnknown = controllerOf (host, options);
    AAX_VController controller (&controllerUnknown);

    AAX_CSampleRate rate = 0;
    EXPECT_EQ (controller.GetSampleRate (&rate), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (controller.PostPacket (3, nullptr, 0), AAX_ERROR_NULL_OBJECT);
    uint32_t meters = 0;
    EXPECT_EQ (controller.GetMeterCount (&meters), AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE (controllerUnknown.postedPackets().empty());
}

TEST (Controller, WithoutVersion2NotificationsAndTimestampsAreUnimplemented)
{
    TestHost host;
    InstanceOptions options;
    options.controller = onlyVersion (1);
    auto& controllerUnknown = controllerOf (host, options);
    AAX_VController controller (&controllerUnknown);

    AAX_CTransportCounter timestamp = 99;
    EXPECT_EQ (controller.GetCurrentAutomationTimestamp (&timestamp), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (timestamp, 0u);
    EXPECT_EQ (controller.SendNotification (0x41535076), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (controller.SendNotification (0x41535076, "x", 1), AAX_ERROR_UNIMPLEMENTED);
    int32_t latency = 0;
    EXPECT_EQ (controller.GetHybridSignalLatency (&latency), AAX_ERROR_UNIMPLEMENTED);
    AAX_CBoolean isAudioSuite = 0;
    EXPECT_EQ (controller.GetIsAudioSuite (&isAudioSuite), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_TRUE (controllerUnknown.notifications().empty());
}

TEST (Controller, NotificationWithoutDataSendsNullAndZero)
{
    TestHost host;
    auto& controllerUnknown = controllerOf (host);
    AAX_VController controller (&controllerUnknown);

    EXPECT_EQ (controller.SendNotification (0x41535076), 0);
    const auto notifications = controllerUnknown.notifications();
    ASSERT_EQ (notifications.size(), 1u);
    EXPECT_EQ (notifications[0].first, 0x41535076u);
    EXPECT_TRUE (notifications[0].second.empty());

    AAX_CTransportCounter timestamp = 99;
    EXPECT_EQ (controller.GetCurrentAutomationTimestamp (&timestamp), 0);
    EXPECT_EQ (timestamp, 0u) << "the host's answer";
}

TEST (Controller, TableCopyNeedsVersion4)
{
    TestHost host;
    InstanceOptions options;
    options.controller = versionsUpTo (3);
    auto& controllerUnknown = controllerOf (host, options);
    AAX_VController controller (&controllerUnknown);

    EXPECT_EQ (controller.CreateTableCopyForEffect (0x564C4B52, 0x5A4C4B31, 1, 0, 8), nullptr);
    EXPECT_EQ (controller.CreateTableCopyForLayout ("com.velkor.zelk-multi", "Default", 0, 8), nullptr);
    EXPECT_EQ (host.count<HostPageTable>(), 0u) << "no table is made when it cannot be filled";
}

TEST (Controller, TableCopiesFromFileNeedVersion5)
{
    TestHost host;
    InstanceOptions options;
    options.controller = versionsUpTo (4);
    auto& controllerUnknown = controllerOf (host, options);
    AAX_VController controller (&controllerUnknown);

    EXPECT_EQ (controller.CreateTableCopyForEffectFromFile ("pages.xml", 0, 1, 2, 3, 0, 8), nullptr);
    EXPECT_EQ (controller.CreateTableCopyForLayoutFromFile ("pages.xml", 0, "Default", 0, 8), nullptr);

    std::unique_ptr<AAX_IPageTable> table (controller.CreateTableCopyForEffect (1, 2, 3, 0, 8));
    ASSERT_NE (table, nullptr);
    EXPECT_EQ (controllerUnknown.calls(), std::vector<std::string> { "CreateTableCopyForEffect" });
}

TEST (Controller, FilledTableBelongsToTheCaller)
{
    TestHost host;
    auto& controllerUnknown = controllerOf (host);
    {
        AAX_VController controller (&controllerUnknown);
        std::unique_ptr<AAX_IPageTable> table (controller.CreateTableCopyForLayoutFromFile ("pages.xml", 0, "Default", 0, 8));
        ASSERT_NE (table, nullptr);
        EXPECT_EQ (controllerUnknown.calls(), std::vector<std::string> { "CreateTableCopyForLayoutFromFile pages.xml" });

        EXPECT_EQ (table->InsertPage (0), 0);
        int32_t pages = 0;
        EXPECT_EQ (table->GetNumPages (pages), 0);
        EXPECT_EQ (pages, 1);
        EXPECT_EQ (host.only<HostPageTable>().references(), 2) << "versions 1 and 2 held by the wrapper";
    }
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (Controller, FailedFillReleasesTheNewTable)
{
    TestHost host;
    InstanceOptions options;
    options.tableCopyResult = AAX_ERROR_INVALID_ARGUMENT;
    auto& controllerUnknown = controllerOf (host, options);
    {
        AAX_VController controller (&controllerUnknown);
        EXPECT_EQ (controller.CreateTableCopyForEffect (1, 2, 3, 0, 8), nullptr);
        ASSERT_EQ (host.count<HostPageTable>(), 1u);
        EXPECT_EQ (host.only<HostPageTable>().references(), 0);
    }
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (Controller, TableCopyWithoutComponentFactoryIsNull)
{
    TestHost host;
    InstanceOptions options;
    options.componentFactory = false;
    auto& controllerUnknown = controllerOf (host, options);
    AAX_VController controller (&controllerUnknown);
    EXPECT_EQ (controller.CreateTableCopyForEffect (1, 2, 3, 0, 8), nullptr);
}

// ---------------------------------------------------------------------------
// Automation delegate

TEST (AutomationDelegate, ForwardsEveryRequest)
{
    TestHost host;
    auto& controllerUnknown = controllerOf (host);
    {
        AAX_VAutomationDelegate automation (&controllerUnknown);
        automation.RegisterParameter ("gain-1");
        automation.PostTouchRequest ("gain-1");
        AAX_CBoolean touched = 0;
        EXPECT_EQ (automation.GetTouchState ("gain-1", &touched), 0);
        EXPECT_EQ (touched, 1);
        automation.PostSetValueRequest ("gain-1", 0.25);
        automation.PostReleaseRequest ("gain-1");
        automation.PostCurrentValue ("gain-1", 0.25);
        automation.UnregisterParameter ("gain-1");
        EXPECT_EQ (automation.GetTouchState ("gain-1", &touched), 0);
        EXPECT_EQ (touched, 0);
    }
    EXPECT_EQ (controllerUnknown.automation().calls(),
               (std::vector<std::string> { "register gain-1", "touch gain-1", "set gain-1 0.25",
                                           "release gain-1", "current gain-1 0.25", "unregister gain-1" }));
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (AutomationDelegate, MissingInterfaceIsNullObject)
{
    TestHost host;
    InstanceOptions options;
    options.automationDelegate = false;
    auto& controllerUnknown = controllerOf (host, options);
    AAX_VAutomationDelegate automation (&controllerUnknown);

    EXPECT_EQ (automation.RegisterParameter ("gain-1"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (automation.PostSetValueRequest ("gain-1", 0.5), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (automation.PostCurrentValue ("gain-1", 0.5), AAX_ERROR_NULL_OBJECT);
    AAX_CBoolean touched = 0;
    EXPECT_EQ (automation.GetTouchState ("gain-1", &touched), AAX_ERROR_NULL_OBJECT);

    AAX_VAutomationDelegate withoutController (nullptr);
    EXPECT_EQ (withoutController.PostTouchRequest ("gain-1"), AAX_ERROR_NULL_OBJECT);
}

// ---------------------------------------------------------------------------
// Transport

TEST (Transport, VersionsAnswerTheirOwnQueries)
{
    TestHost host;
    auto& controllerUnknown = controllerOf (host);
    AAX_VTransport transport (&controllerUnknown);

    // The host's answers (a stopped transport at 120 BPM in 4/4) reach the caller.
    double tempo = 0;
    EXPECT_EQ (transport.GetCurrentTempo (&tempo), 0);
    EXPECT_EQ (tempo, 120.0);
    int32_t numerator = 0, denominator = 0;
    EXPECT_EQ (transport.GetCurrentMeter (&numerator, &denominator), 0);
    EXPECT_EQ (numerator, 4);
    EXPECT_EQ (denominator, 4);
    int64_t ticks = -1;
    EXPECT_EQ (transport.GetCustomTickPosition (&ticks, 50), 0);
    EXPECT_EQ (ticks, 0);
    int64_t selectionStart = -1;
    EXPECT_EQ (transport.GetTimelineSelectionStartPosition (&selectionStart), 0);
    EXPECT_EQ (selectionStart, 0);
}

TEST (Transport, MissingVersion2IsUnimplementedAndVersion1NullObject)
{
    TestHost host;
    InstanceOptions options;
    options.transport = onlyVersion (1);
    auto& controllerUnknown = controllerOf (host, options);
    {
        AAX_VTransport transport (&controllerUnknown);
        int64_t location = 0;
        EXPECT_EQ (transport.GetTimelineSelectionStartPosition (&location), AAX_ERROR_UNIMPLEMENTED);
        AAX_EFrameRate rate = 0;
        int32_t offset = 0;
        EXPECT_EQ (transport.GetTimeCodeInfo (&rate, &offset), AAX_ERROR_UNIMPLEMENTED);
        int32_t metronome = 0;
        EXPECT_EQ (transport.IsMetronomeEnabled (&metronome), AAX_ERROR_UNIMPLEMENTED);
        bool playing = true;
        EXPECT_EQ (transport.IsTransportPlaying (&playing), 0);
        EXPECT_FALSE (playing);
    }

    controllerUnknown.options().transport = noVersions;
    AAX_VTransport withoutTransport (&controllerUnknown);
    double tempo = 0;
    EXPECT_EQ (withoutTransport.GetCurrentTempo (&tempo), AAX_ERROR_NULL_OBJECT);
    int64_t location = 0;
    EXPECT_EQ (withoutTransport.GetCurrentNativeSampleLocation (&location), AAX_ERROR_NULL_OBJECT);
}

// ---------------------------------------------------------------------------
// View container and page table

TEST (ViewContainer, ForwardsSizeModifiersAndGestures)
{
    TestHost host;
    int nativeView = 0;
    auto& view = viewOf (host, &nativeView);
    {
        AAX_VViewContainer container (&view);
        EXPECT_EQ (container.GetType(), 1);
        EXPECT_EQ (container.GetPtr(), &nativeView);

        AAX_Point size (525.0f, 950.0f);
        EXPECT_EQ (container.SetViewSize (size), 0);
        ASSERT_EQ (view.requestedSizes().size(), 1u);
        EXPECT_EQ (view.requestedSizes()[0].horz, 950.0f);
        EXPECT_EQ (view.requestedSizes()[0].vert, 525.0f);

        uint32_t modifiers = 7;
        EXPECT_EQ (container.GetModifiers (&modifiers), 0);
        EXPECT_EQ (modifiers, 0u) << "the host's answer";

        container.HandleParameterMouseDown ("gain-1", 1);
        container.HandleParameterMouseDrag ("gain-1", 1);
        container.HandleParameterMouseUp ("gain-1", 1);
        const AAX_CParamID ids[] = { "gain-1", "mix-1" };
        container.HandleMultipleParametersMouseDown (ids, 2, 0);
        EXPECT_EQ (view.calls(), (std::vector<std::string> { "Down gain-1 1", "Drag gain-1 1", "Up gain-1 1", "MultiDown 2 0" }));
    }
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (ViewContainer, MissingVersionsGiveTheirFallbacks)
{
    TestHost host;
    int nativeView = 0;
    AAX_VViewContainer empty (&viewOf (host, &nativeView, noVersions));
    EXPECT_EQ (empty.GetType(), 0);
    EXPECT_EQ (empty.GetPtr(), nullptr);
    AAX_Point size (1.0f, 1.0f);
    EXPECT_EQ (empty.SetViewSize (size), 0);
    uint32_t modifiers = 7;
    EXPECT_EQ (empty.GetModifiers (&modifiers), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (empty.HandleParameterMouseDown ("gain-1", 0), AAX_ERROR_UNIMPLEMENTED);

    AAX_VViewContainer firstVersion (&viewOf (host, &nativeView, onlyVersion (1)));
    const AAX_CParamID ids[] = { "gain-1" };
    EXPECT_EQ (firstVersion.HandleMultipleParametersMouseUp (ids, 1, 0), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (firstVersion.HandleParameterMouseUp ("gain-1", 0), 0);
}

TEST (PageTable, EveryMissingVersionIsUnimplemented)
{
    auto options = versionTwoHost();
    options.pageTable = onlyVersion (1);
    TestHost host (options);
    auto& hostTable = host.registry().make<HostPageTable> (host.options());
    auto& notATable = host.registry().make<HostDefinition>();
    {
        AAX_VPageTable table (&hostTable);
        EXPECT_TRUE (table.IsSupported());
        EXPECT_EQ (table.MapParameterID ("gain-1", 0, 2), 0);
        int32_t count = 0;
        EXPECT_EQ (table.GetNumParametersWithNameVariations (count), AAX_ERROR_UNIMPLEMENTED);
        EXPECT_EQ (table.ClearParameterNameVariations(), AAX_ERROR_UNIMPLEMENTED);
        EXPECT_EQ (table.SetParameterNameVariation ("gain-1", AAX_CString ("Gn"), 2), AAX_ERROR_UNIMPLEMENTED);
        EXPECT_EQ (hostTable.pages(), (std::vector<std::vector<std::string>> { { "", "", "gain-1" } }));
    }
    {
        AAX_VPageTable table (&notATable);
        EXPECT_FALSE (table.IsSupported());
        EXPECT_EQ (table.Clear(), AAX_ERROR_UNIMPLEMENTED);
        AAX_CBoolean empty = 0;
        EXPECT_EQ (table.Empty (empty), AAX_ERROR_UNIMPLEMENTED);
    }
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (PageTable, Version2NameVariations)
{
    TestHost host;
    AAX_VPageTable table (&host.registry().make<HostPageTable> (host.options()));

    int32_t count = -1;
    EXPECT_EQ (table.GetNumParametersWithNameVariations (count), 0);
    EXPECT_EQ (count, 0);
    EXPECT_EQ (table.SetParameterNameVariation ("gain-1", AAX_CString ("Gn"), 2), 0);
    EXPECT_EQ (table.GetNumParametersWithNameVariations (count), 0);
    EXPECT_EQ (count, 1);
    AAX_CString name;
    EXPECT_EQ (table.GetParameterNameVariationOfLength ("gain-1", 2, name), 0);
    EXPECT_STREQ (name.Get(), "Gn");
    EXPECT_EQ (table.ClearNameVariationsForParameter ("gain-1"), 0);
    EXPECT_EQ (table.GetNumParametersWithNameVariations (count), 0);
    EXPECT_EQ (count, 0);
}
