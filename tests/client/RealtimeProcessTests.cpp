// The process procedure on the host's audio thread: once running, a block
// allocates nothing.
#include "ClientSession.h"

#include "client/AlgorithmContext.h"
#include "client/ProcessProcedure.h"
#include "support/AllocationCounter.h"

// The counting allocation functions, compiled into the client tests here.
#include "support/AllocationCounter.cpp"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    using namespace aaxclient;

    class RealtimeProcess : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_TRUE (testsupport::AllocationCounter::isInstalled());

            for (int channel = 0; channel < 2; ++channel)
            {
                buffers[channel].assign (512, 0.0f);
                for (size_t i = 0; i < 512; ++i)
                    buffers[channel][i] = 0.5f * std::sin (0.05f * (float) i);
                pointers[channel] = buffers[channel].data();
            }

            context.inputChannels = pointers;
            context.outputChannels = pointers;
            context.bufferSize = &bufferSize;
            context.masterBypass = &masterBypass;
            context.instance = &instanceInfo;
            context.preparedFlag = &preparedFlag;
        }

        void runBlocks (int count)
        {
            AlgorithmContext* contexts[] = { &context };
            for (int i = 0; i < count; ++i)
                processAlgorithmInstances (contexts, contexts + 1);
        }

        clienttest::ClientSession host;
        std::vector<float> buffers[2];
        float* pointers[2] {};
        int32_t bufferSize = 512;
        float masterBypass = 0.0f;
        InstanceInfo instanceInfo;
        int32_t preparedFlag = 0;
        AlgorithmContext context {};
    };

    TEST_F (RealtimeProcess, RunningBlocksAllocateNothing)
    {
        clienttest::HostedEffect instance (host);
        instance.Host().ResetFieldData (kFieldInstance, &instanceInfo, sizeof (instanceInfo));
        instance.Host().ResetFieldData (kFieldPreparedFlag, &preparedFlag, sizeof (preparedFlag));
        instance.Host().UpdateParameterNormalizedValue ("type-1", 0.4, 0);
        runBlocks (4);

        testsupport::AllocationCounter counter;
        runBlocks (32);
        masterBypass = 1.0f;
        runBlocks (4);
        bufferSize = 100;
        runBlocks (4);

        EXPECT_EQ (counter.getNumAllocations(), 0);
        EXPECT_EQ (counter.getNumDeallocations(), 0);
    }
}
