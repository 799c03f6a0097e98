// A host block longer than the processor was prepared for goes through in
// pieces: nothing is prepared, allocated or locked on the audio thread, and
// it sounds like the same audio in short blocks.
#include "ClientTestHost.h"

#include "client/AlgorithmContext.h"
#include "client/ProcessProcedure.h"
#include "engine/RealtimeSanitizer.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <pthread.h>

#include <cmath>

// Mutex locks taken by the counting thread, counted by standing in for
// pthread_mutex_lock (not in sanitizer builds, whose runtimes own it).
namespace { thread_local int lockCountingDepth = 0, locksCounted = 0; }

#if ! defined(__SANITIZE_ADDRESS__) && ! defined(__SANITIZE_THREAD__) && ! ZELK_REALTIME_SANITIZER
 #define ZELK_COUNTS_LOCKS 1
extern "C" int pthread_mutex_lock (pthread_mutex_t* mutex)
{
    static const auto systemLock = reinterpret_cast<int (*) (pthread_mutex_t*)> (dlsym (RTLD_NEXT, "pthread_mutex_lock"));
    locksCounted += lockCountingDepth > 0 ? 1 : 0;
    return systemLock (mutex);
}
#else
 #define ZELK_COUNTS_LOCKS 0
#endif

namespace
{
    using namespace aaxclient;

    /** One prepared, saturating instance (curves without noise, which would
        make the block size matter) fed in place through the process procedure. */
    struct Player
    {
        Player (fakehost::FakeHost& host, const std::vector<float>& signal) : instance (host), audio { signal, signal }
        {
            instance.Host().ResetFieldData (kFieldInstance, &info, sizeof (info));
            instance.Host().ResetFieldData (kFieldPreparedFlag, &preparedFlag, sizeof (preparedFlag));
            for (const auto& [id, value] : { std::pair ("numCrossovers", 0.5), std::pair ("type-1", 0.3), std::pair ("type-2", 0.8) })
                instance.Host().UpdateParameterNormalizedValue (id, value, 0);
        }

        void play (int start, int end, int blockSize)
        {
            for (; start < end; start += blockSize)
            {
                float* channels[2] = { audio[0].data() + start, audio[1].data() + start };
                const float bypass = 0.0f;
                AlgorithmContext context { channels, channels, &blockSize, &bypass, &info, &preparedFlag };
                AlgorithmContext* contexts[] = { &context };
                processAlgorithmInstances (contexts, contexts + 1);
            }
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
    fakehost::FakeHost host;
    fakehost::ScopedStartup startup (host);

    constexpr int lead = 80 * 256, longBlock = 4096;
    std::vector<float> signal (lead + longBlock);
    for (size_t i = 0; i < signal.size(); ++i)
        signal[i] = 0.6f * std::sin (0.031f * (float) i) + 0.2f * std::sin (0.7f * (float) i);

    Player inShortBlocks (host, signal), inOneBlock (host, signal);
    inShortBlocks.play (0, lead + longBlock, 256);
    inOneBlock.play (0, lead, 256);
    const int preparedSize = inOneBlock.instance.Effect().getPreparedBlockSize();
    ASSERT_LT (preparedSize, longBlock);

    {
        testsupport::AllocationCounter allocations;
        ++lockCountingDepth;
        realtime::callInRealtimeScope ([&] { inOneBlock.play (lead, lead + longBlock, longBlock); });
        --lockCountingDepth;

        EXPECT_EQ (allocations.getNumAllocations(), 0);
        EXPECT_EQ (locksCounted, 0);
        pthread_mutex_t probe = PTHREAD_MUTEX_INITIALIZER;
        ++lockCountingDepth;
        pthread_mutex_lock (&probe);
        pthread_mutex_unlock (&probe);
        --lockCountingDepth;
        EXPECT_EQ (locksCounted, ZELK_COUNTS_LOCKS);   // the count works where locks are counted
    }

    EXPECT_EQ (inOneBlock.instance.Effect().getPreparedBlockSize(), preparedSize);
    for (int channel = 0; channel < 2; ++channel)
        for (size_t i = lead; i < signal.size(); ++i)
            ASSERT_NEAR (inOneBlock.audio[channel][i], inShortBlocks.audio[channel][i], 1.0e-5f) << "sample " << i;
}
