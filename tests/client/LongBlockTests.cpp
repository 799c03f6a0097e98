// A host block longer than the processor was prepared for goes through in
// pieces: nothing is prepared, allocated or locked on the audio thread, and
// it sounds like the same audio in short blocks.
#include "ClientSession.h"
#include "LockCounter.h"

#include "client/AlgorithmContext.h"
#include "client/ProcessProcedure.h"
#include "engine/RealtimeSanitizer.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    using namespace aaxclient;

    /** One prepared, saturating instance (curves without noise, so that
        the block size alone decides nothing) fed through the process procedure,
        in place on its own copy of the signal. */
    struct Player
    {
        Player (clienttest::ClientSession& host, const std::vector<float>& signal) : instance (host)
        {
            for (auto& channel : audio)
                channel = signal;

            instance.Host().ResetFieldData (kFieldInstance, &info, sizeof (info));
            instance.Host().ResetFieldData (kFieldPreparedFlag, &preparedFlag, sizeof (preparedFlag));
            instance.Host().UpdateParameterNormalizedValue ("numCrossovers", 0.5, 0);
            instance.Host().UpdateParameterNormalizedValue ("type-1", 0.3, 0);   // "Tube"; "Tape" draws noise per block
            instance.Host().UpdateParameterNormalizedValue ("type-2", 0.8, 0);
        }

        void play (int start, int length)
        {
            float* channels[2] = { audio[0].data() + start, audio[1].data() + start };
            const int32_t size = length;
            const float bypass = 0.0f;
            AlgorithmContext context { channels, channels, &size, &bypass, &info, &preparedFlag };
            AlgorithmContext* contexts[] = { &context };
            processAlgorithmInstances (contexts, contexts + 1);
        }

        void playInBlocks (int start, int end, int blockSize)
        {
            for (; start < end; start += blockSize)
                play (start, blockSize);
        }

        clienttest::HostedEffect instance;
        InstanceInfo info;
        int32_t preparedFlag = 0;
        std::vector<float> audio[2];
    };
}

TEST (LongHostBlocks, GoThroughInPiecesAsTheyWouldInShortBlocks)
{
    ASSERT_TRUE (testsupport::AllocationCounter::isInstalled());
    clienttest::ClientSession host;

    constexpr int lead = 80 * 256, longBlock = 4096;
    std::vector<float> signal (lead + longBlock);
    for (size_t i = 0; i < signal.size(); ++i)
        signal[i] = 0.6f * std::sin (0.031f * (float) i) + 0.2f * std::sin (0.7f * (float) i);

    Player inShortBlocks (host, signal), inOneBlock (host, signal);
    inShortBlocks.playInBlocks (0, lead + longBlock, 256);
    inOneBlock.playInBlocks (0, lead, 256);
    const int preparedSize = inOneBlock.instance.Effect().getPreparedBlockSize();
    ASSERT_LT (preparedSize, longBlock);

    {
        testsupport::AllocationCounter allocations;
        clienttest::LockCounter locks;
        realtime::callInRealtimeScope ([&] { inOneBlock.play (lead, longBlock); });

        EXPECT_EQ (allocations.getNumAllocations(), 0);
        EXPECT_EQ (allocations.getNumDeallocations(), 0);
        EXPECT_EQ (locks.getNumLocks(), 0) << (clienttest::LockCounter::isInstalled() ? "" : "(locks not counted here)");
    }

    EXPECT_EQ (inOneBlock.instance.Effect().getPreparedBlockSize(), preparedSize);

    float largestDifference = 0.0f;
    for (int channel = 0; channel < 2; ++channel)
        for (size_t i = lead; i < signal.size(); ++i)
            largestDifference = std::max (largestDifference, std::abs (inOneBlock.audio[channel][i] - inShortBlocks.audio[channel][i]));

    EXPECT_LT (largestDifference, 1.0e-5f);
}
