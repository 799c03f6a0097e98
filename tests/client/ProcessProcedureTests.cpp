// The process procedure as the host calls it: contexts filled the way
// AlgorithmContext.h describes, audio compared with the processor driven
// directly.
#include "ClientSession.h"

#include "client/AlgorithmContext.h"
#include "client/EffectIdentity.h"
#include "client/ProcessProcedure.h"
#include "engine/MultiAudioProcessor.h"
#include "engine/RealtimeSanitizer.h"
#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace
{
    using namespace aaxclient;
    using clienttest::HostedEffect;

    /** The host's side of one instance's context: field storage, channel
        buffers, private data reset through the effect. */
    class HostContext
    {
    public:
        HostContext (HostedEffect& instance, int channels, int maximumBlock)
            : inputs ((size_t) channels, std::vector<float> ((size_t) maximumBlock)),
              outputs ((size_t) channels, std::vector<float> ((size_t) maximumBlock))
        {
            for (int channel = 0; channel < channels; ++channel)
            {
                inputPointers.push_back (inputs[(size_t) channel].data());
                outputPointers.push_back (outputs[(size_t) channel].data());
            }

            context.inputChannels = inputPointers.data();
            context.outputChannels = outputPointers.data();
            context.bufferSize = &bufferSize;
            context.masterBypass = &masterBypass;
            context.instance = &instanceInfo;
            context.preparedFlag = &preparedFlag;

            resetInstance = instance.Host().ResetFieldData (kFieldInstance, &instanceInfo, sizeof (instanceInfo));
            resetPrepared = instance.Host().ResetFieldData (kFieldPreparedFlag, &preparedFlag, sizeof (preparedFlag));
        }

        /** Runs the procedure on `length` samples of `signal` starting at `start`. */
        void run (const std::vector<float>& signal, size_t start, int length)
        {
            for (auto& channel : inputs)
                for (int i = 0; i < length; ++i)
                    channel[(size_t) i] = signal[start + (size_t) i];

            bufferSize = length;
            AlgorithmContext* contexts[] = { &context };
            processAlgorithmInstances (contexts, contexts + 1);
        }

        std::vector<std::vector<float>> inputs, outputs;
        std::vector<const float*> inputPointers;
        std::vector<float*> outputPointers;
        int32_t bufferSize = 0;
        float masterBypass = 0.0f;
        InstanceInfo instanceInfo;
        int32_t preparedFlag = 0;
        AlgorithmContext context {};
        AAX_Result resetInstance = -1, resetPrepared = -1;
    };

    std::vector<float> testSignal (size_t length)
    {
        std::vector<float> signal (length);
        for (size_t i = 0; i < length; ++i)
            signal[i] = 0.6f * std::sin (0.031f * (float) i) + 0.3f * std::sin (0.47f * (float) i);
        return signal;
    }

    void setBoth (HostedEffect& instance, juce::AudioProcessor& direct, const char* id, float normalised)
    {
        instance.Host().UpdateParameterNormalizedValue (id, normalised, 0);
        for (auto* parameter : direct.getParameters())
            if (dynamic_cast<juce::AudioProcessorParameterWithID&> (*parameter).paramID == id)
                parameter->setValueNotifyingHost (normalised);
    }

    class ProcessProcedure : public ::testing::Test
    {
    protected:
        clienttest::ClientSession host;
    };

    TEST_F (ProcessProcedure, ResettingThePrivateFieldsPlacesTheInstanceAndPreparesIt)
    {
        zelkhost::InstanceOptions options;
        options.sampleRate = 96000.0f;
        HostedEffect instance (host, 2, options);
        HostContext context (instance, 2, 256);

        EXPECT_EQ (context.resetInstance, AAX_SUCCESS);
        EXPECT_EQ (context.resetPrepared, AAX_SUCCESS);
        EXPECT_EQ (context.instanceInfo.effect, &instance.Effect());
        EXPECT_EQ (context.preparedFlag, 1);
        EXPECT_TRUE (instance.Effect().isPrepared());
        EXPECT_EQ (instance.Effect().getPreparedSampleRate(), 96000.0);
    }

    TEST_F (ProcessProcedure, OutputEqualsTheProcessorDrivenDirectly)
    {
        HostedEffect instance (host);
        HostContext context (instance, 2, 512);

        MultiAudioProcessor direct;
        testsupport::prepare (direct, instance.Effect().getPreparedSampleRate(), instance.Effect().getPreparedBlockSize());

        setBoth (instance, direct, "type-1", 0.3f);
        setBoth (instance, direct, "gain-1", 0.7f);
        setBoth (instance, direct, "type-3", 0.8f);
        setBoth (instance, direct, "output_mix", 0.9f);

        const auto signal = testSignal (4096);
        const auto expected = testsupport::render (direct, signal, 512);

        std::vector<float> produced;
        for (size_t start = 0; start < signal.size(); start += 512)
        {
            context.run (signal, start, 512);
            produced.insert (produced.end(), context.outputs[0].begin(), context.outputs[0].begin() + 512);
        }

        ASSERT_EQ (produced.size(), expected.size());
        for (size_t i = 0; i < produced.size(); ++i)
            ASSERT_EQ (produced[i], expected[i]) << "sample " << i;
    }

    TEST_F (ProcessProcedure, MasterBypassPassesTheInputThrough)
    {
        HostedEffect instance (host);
        HostContext context (instance, 2, 128);
        setBoth (instance, instance.Processor(), "gain-1", 1.0f);
        context.masterBypass = 1.0f;

        const auto signal = testSignal (128);
        context.run (signal, 0, 128);

        for (int channel = 0; channel < 2; ++channel)
            EXPECT_EQ (context.outputs[(size_t) channel], signal);
    }

    TEST_F (ProcessProcedure, MasterBypassEndsOnACleanEngine)
    {
        // Loud sines, 40 blocks of silence under the host's bypass, then
        // silence processed: nothing of the sines is left, as after "bypass".
        HostedEffect instance (host);
        HostContext context (instance, 2, 256);
        const auto loud = testSignal (256);
        const std::vector<float> silence (256, 0.0f);

        realtime::callInRealtimeScope ([&]
        {
            for (int block = 0; block < 60; ++block)
            {
                context.masterBypass = block >= 20 ? 1.0f : 0.0f;
                context.run (block < 20 ? loud : silence, 0, 256);
            }
            context.masterBypass = 0.0f;
            context.run (silence, 0, 256);
        });
        for (auto& channel : context.outputs)
            for (float sample : channel)
                ASSERT_LT (std::abs (sample), 1.0e-6f);   // -120 dBFS
    }

    TEST_F (ProcessProcedure, MasterBypassFeedsBothPlotsAsTheOwnBypassDoes)
    {
        // A sine at the centre of analyser bin 64 shows at full level in each plot.
        constexpr int frame = Analyser<float>::fftSize;
        std::vector<float> sine (4 * frame);
        for (size_t i = 0; i < sine.size(); ++i)
            sine[i] = 0.25f * std::sin (juce::MathConstants<float>::twoPi * 64.0f * (float) (i % frame) / frame);

        for (const bool hostBypass : { true, false })
        {
            HostedEffect instance (host);
            HostContext context (instance, 2, frame);
            auto& processor = dynamic_cast<MultiAudioProcessor&> (instance.Processor());
            for (auto [id, value] : { std::pair { "input_plot", 1.0f }, { "output_plot", 1.0f }, { "bypass", hostBypass ? 0.0f : 1.0f } })
                setBoth (instance, processor, id, value);
            context.masterBypass = hostBypass ? 1.0f : 0.0f;

            realtime::callInRealtimeScope ([&] { for (size_t start = 0; start < sine.size(); start += frame) context.run (sine, start, frame); });

            const auto shown = [&] { return processor.inputAnalyser.getAveragedMagnitude (64) > 0.45f
                                            && processor.outputAnalyser.getAveragedMagnitude (64) > 0.45f; };
            for (int wait = 0; wait < 10000 && ! shown(); ++wait)
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            EXPECT_TRUE (shown()) << (hostBypass ? "host's bypass" : "own bypass");
        }
    }

    TEST_F (ProcessProcedure, UnpreparedInstanceWritesSilence)
    {
        HostedEffect instance (host);
        HostContext context (instance, 2, 64);
        context.preparedFlag = 0;
        for (auto& channel : context.outputs)
            std::fill (channel.begin(), channel.end(), 5.0f);

        context.run (testSignal (64), 0, 64);

        for (auto& channel : context.outputs)
            for (float sample : channel)
                ASSERT_EQ (sample, 0.0f);
    }

    TEST_F (ProcessProcedure, LongerBlockThanPreparedIsProcessedWhole)
    {
        HostedEffect instance (host);
        HostContext context (instance, 2, 4096);
        ASSERT_LT (instance.Effect().getPreparedBlockSize(), 4096);

        const auto signal = testSignal (4096);
        context.run (signal, 0, 4096);

        EXPECT_LT (instance.Effect().getPreparedBlockSize(), 4096);   // in pieces, never prepared on the audio thread
        for (float sample : context.outputs[1])
            ASSERT_TRUE (std::isfinite (sample));
    }

    TEST_F (ProcessProcedure, MonoInstanceProcessesOneChannel)
    {
        HostedEffect instance (host, 1);
        HostContext context (instance, 1, 256);

        EXPECT_EQ (instance.Effect().getNumChannels(), 1);
        EXPECT_EQ (instance.Processor().getTotalNumOutputChannels(), 1);

        const auto signal = testSignal (256);
        context.run (signal, 0, 256);
        for (float sample : context.outputs[0])
            ASSERT_TRUE (std::isfinite (sample));
    }

    TEST_F (ProcessProcedure, InPlaceBuffersGiveTheSameResultAsSeparateOnes)
    {
        HostedEffect separate (host);
        HostedEffect inPlace (host);
        HostContext a (separate, 2, 256);
        HostContext b (inPlace, 2, 256);
        b.context.inputChannels = b.outputPointers.data();

        const auto signal = testSignal (256);
        a.run (signal, 0, 256);
        for (auto& channel : b.outputs)
            std::copy (signal.begin(), signal.end(), channel.begin());
        b.bufferSize = 256;
        AlgorithmContext* contexts[] = { &b.context };
        processAlgorithmInstances (contexts, contexts + 1);

        EXPECT_EQ (a.outputs, b.outputs);
    }

    TEST_F (ProcessProcedure, ContextsWithoutInstanceOrSamplesAreSkipped)
    {
        HostedEffect instance (host);
        HostContext context (instance, 2, 64);
        AlgorithmContext empty {};
        context.bufferSize = 0;

        AlgorithmContext* contexts[] = { &empty, nullptr, &context.context };
        processAlgorithmInstances (contexts, contexts + 3);
        processAlgorithmInstances (nullptr, nullptr);
        SUCCEED();
    }

    TEST_F (ProcessProcedure, SeveralInstancesRunInOneCall)
    {
        HostedEffect first (host);
        HostedEffect second (host);
        HostContext a (first, 2, 128);
        HostContext b (second, 2, 128);
        b.masterBypass = 1.0f;
        setBoth (first, first.Processor(), "output", 0.0f);

        const auto signal = testSignal (128);
        for (auto* context : { &a, &b })
            for (auto& channel : context->inputs)
                std::copy (signal.begin(), signal.end(), channel.begin());
        a.bufferSize = b.bufferSize = 128;

        AlgorithmContext* contexts[] = { &a.context, &b.context };
        processAlgorithmInstances (contexts, contexts + 2);

        EXPECT_EQ (b.outputs[0], signal);
        EXPECT_NE (a.outputs[0], signal);
    }
}
