#include "AAX_CPacketDispatcher.h"
#include "AAX_Errors.h"

#include "LibraryHost.h"

#include "AAX_VController.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace
{
    /** The host's controller of one instance, reached through the library's
        wrapper as the dispatcher reaches it. */
    struct PostingHost
    {
        librarytest::TestHost host;
        zelkhost::HostController& hostController { host.makeController ({}) };
        AAX_VController wrapper { &hostController };

        std::vector<zelkhost::PostedPacket> posted() const { return hostController.postedPackets(); }
        void clear() { hostController.clearRecords(); }
        void refuseWith (AAX_Result result) { hostController.options().postPacketResult = result; }
    };

    /** A worker whose handler writes a counter into the packet and can be
        told to fail. */
    struct CountingWorker
    {
        int calls = 0;
        AAX_Result result = AAX_SUCCESS;
        std::vector<std::string> seenIDs;

        AAX_Result Fill (AAX_CParamID id, AAX_CPacket& packet)
        {
            ++calls;
            seenIDs.push_back (id);
            *packet.GetPtr<int32_t>() = calls;
            return result;
        }

        AAX_Result FillWithoutID (AAX_CPacket& packet)
        {
            ++calls;
            *packet.GetPtr<int16_t>() = 7;
            return result;
        }
    };

    struct DispatcherFixture : ::testing::Test
    {
        PostingHost controller;
        AAX_CPacketDispatcher dispatcher;
        CountingWorker worker;

        void SetUp() override { dispatcher.Initialize (&controller.wrapper, nullptr); }

        AAX_Result Register (const char* id, AAX_CFieldIndex field)
        {
            return dispatcher.RegisterPacket (id, field, &worker, &CountingWorker::Fill);
        }
    };

    int32_t AsInt32 (const std::vector<uint8_t>& bytes)
    {
        int32_t value = 0;
        std::memcpy (&value, bytes.data(), sizeof (value));
        return value;
    }
}

TEST_F (DispatcherFixture, NewBindingIsPostedOnceAtTheFirstDispatch)
{
    ASSERT_EQ (Register ("gain", 3), AAX_SUCCESS);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    ASSERT_EQ (controller.posted().size(), 1u);
    EXPECT_EQ (controller.posted()[0].field, 3);
    EXPECT_EQ (controller.posted()[0].payload.size(), 4u);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_EQ (controller.posted().size(), 1u);
}

TEST_F (DispatcherFixture, RepeatedSetDirtyPostsOnePacket)
{
    Register ("gain", 3);
    dispatcher.Dispatch();
    controller.clear();

    dispatcher.SetDirty ("gain", true);
    dispatcher.SetDirty ("gain", true);
    dispatcher.Dispatch();

    EXPECT_EQ (controller.posted().size(), 1u);
}

TEST_F (DispatcherFixture, SetDirtyFalseSuppressesThePosting)
{
    Register ("gain", 3);
    dispatcher.SetDirty ("gain", false);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_TRUE (controller.posted().empty());
    EXPECT_EQ (worker.calls, 0);
}

TEST_F (DispatcherFixture, DispatchWithoutDirtyPacketsCallsNothing)
{
    controller.refuseWith (-1);
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);

    Register ("gain", 3);
    dispatcher.Dispatch();
    controller.clear();

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_TRUE (controller.posted().empty());
    EXPECT_EQ (worker.calls, 1);
}

TEST_F (DispatcherFixture, UnknownIDChangesNothing)
{
    Register ("gain", 3);
    dispatcher.Dispatch();
    controller.clear();

    EXPECT_EQ (dispatcher.SetDirty ("gai", true), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.SetDirty (nullptr, true), AAX_SUCCESS);
    dispatcher.Dispatch();
    EXPECT_TRUE (controller.posted().empty());
}

TEST_F (DispatcherFixture, SharedFieldIsFilledAndPostedByTheFirstDirtyBindingOnly)
{
    Register ("b", 3);
    Register ("a", 3);

    dispatcher.Dispatch();

    ASSERT_EQ (controller.posted().size(), 1u);
    ASSERT_EQ (worker.seenIDs.size(), 1u);
    EXPECT_EQ (worker.seenIDs[0], "a"); // bindings run in key order
}

TEST (PacketDispatcherTests, HandlerFailureSkipsPostingClearsTheFlagAndKeepsTheLastPostResult)
{
    AAX_CPacketDispatcher dispatcher;
    PostingHost controller;
    controller.refuseWith (AAX_ERROR_POST_PACKET_FAILED);
    dispatcher.Initialize (&controller.wrapper, nullptr);

    CountingWorker good;
    CountingWorker bad;
    bad.result = -1;
    dispatcher.RegisterPacket ("a", 1, &good, &CountingWorker::Fill);
    dispatcher.RegisterPacket ("b", 2, &bad, &CountingWorker::Fill);

    // "a" is posted and refused by the host; "b"'s handler fails afterwards.
    EXPECT_EQ (dispatcher.Dispatch(), AAX_ERROR_POST_PACKET_FAILED);
    ASSERT_EQ (controller.posted().size(), 1u);
    EXPECT_EQ (controller.posted()[0].field, 1);
    EXPECT_EQ (AsInt32 (controller.posted()[0].payload), 1);
    EXPECT_EQ (bad.calls, 1);

    controller.refuseWith (AAX_SUCCESS);
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS); // the failed packet is not retried
    EXPECT_EQ (bad.calls, 1);
}

TEST_F (DispatcherFixture, HandlerWithoutParameterIDIsCalledToo)
{
    dispatcher.RegisterPacket ("gain", 5, &worker, &CountingWorker::FillWithoutID);
    dispatcher.Dispatch();

    ASSERT_EQ (controller.posted().size(), 1u);
    EXPECT_EQ (controller.posted()[0].payload.size(), 2u);
}

TEST_F (DispatcherFixture, BadRegistrationsAreRefused)
{
    EXPECT_EQ (dispatcher.RegisterPacket (nullptr, 3, &worker, &CountingWorker::Fill), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ (dispatcher.RegisterPacket ("gain", 3, nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (dispatcher.RegisterPacket ("gain", -1, &worker, &CountingWorker::Fill), AAX_ERROR_INVALID_FIELD_INDEX);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_TRUE (controller.posted().empty());
}

TEST (PacketDispatcherTests, DispatchWithoutControllerReportsANullObject)
{
    AAX_CPacketDispatcher dispatcher;
    CountingWorker worker;
    dispatcher.RegisterPacket ("gain", 3, &worker, &CountingWorker::Fill);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_ERROR_NULL_OBJECT);
}

TEST (PacketDispatcherTests, SingleValuePacketWithoutEffectIsANullObject)
{
    AAX_CPacketDispatcher dispatcher;
    PostingHost controller;
    dispatcher.Initialize (&controller.wrapper, nullptr);
    dispatcher.RegisterPacket ("MasterBypassID", 3);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_TRUE (controller.posted().empty());
}

TEST (PacketDispatcherTests, HandlerCallingBackIntoTheDispatcherDoesNotDeadlock)
{
    struct Reentrant
    {
        AAX_CPacketDispatcher* dispatcher = nullptr;

        AAX_Result Fill (AAX_CParamID id, AAX_CPacket& packet)
        {
            dispatcher->SetDirty ("other", true);
            *packet.GetPtr<int32_t>() = 1;
            return AAX_SUCCESS;
        }
    };

    AAX_CPacketDispatcher dispatcher;
    PostingHost controller;
    dispatcher.Initialize (&controller.wrapper, nullptr);

    Reentrant worker { &dispatcher };
    dispatcher.RegisterPacket ("gain", 3, &worker, &Reentrant::Fill);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_EQ (controller.posted().size(), 1u);
}

TEST (PacketTests, TypedAccessResizesAndZeroesTheBuffer)
{
    AAX_CPacket packet (3);
    EXPECT_TRUE (packet.IsDirty());
    EXPECT_EQ (packet.GetSize(), 0u);

    *packet.GetPtr<double>() = 1.5;
    EXPECT_EQ (packet.GetSize(), 8u);

    *packet.GetPtr<int32_t>() = 0x01020304;
    EXPECT_EQ (packet.GetSize(), 4u);

    int32_t stored = 0;
    std::memcpy (&stored, packet.GetData(), 4);
    EXPECT_EQ (stored, 0x01020304);
}

TEST (PacketDispatcherTests, SetDirtyAndDispatchFromTwoThreadsLoseNoChange)
{
    AAX_CPacketDispatcher dispatcher;
    PostingHost controller;
    dispatcher.Initialize (&controller.wrapper, nullptr);

    CountingWorker worker;
    dispatcher.RegisterPacket ("gain", 3, &worker, &CountingWorker::Fill);
    dispatcher.Dispatch();

    constexpr int kChanges = 2000;
    std::atomic<bool> done { false };

    std::thread automation ([&]
    {
        for (int i = 0; i < kChanges; ++i)
            dispatcher.SetDirty ("gain", true);

        done = true;
    });

    while (! done)
        dispatcher.Dispatch();

    automation.join();
    dispatcher.Dispatch();

    // Every change after the last posting was posted: nothing is left dirty.
    const size_t posted = controller.posted().size();
    dispatcher.Dispatch();
    EXPECT_EQ (controller.posted().size(), posted);
    EXPECT_GE (posted, 2u);
    EXPECT_LE (posted, static_cast<size_t> (kChanges) + 1);
}
