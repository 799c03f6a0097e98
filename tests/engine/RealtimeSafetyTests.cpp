// processBlock must not touch the heap: every crossover count, curve and
// oversampling factor, mono and stereo, at assorted block sizes, with and
// without the analysers running.

#include "support/AllocationCounter.h"
#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

using testsupport::setPlain;

namespace
{
    constexpr int preparedMaximum = 1024;

    void fill (juce::AudioBuffer<float>& buffer, juce::Random& random)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, random.nextFloat() * 2.0f - 1.0f);
    }

    /** Processes two blocks of each size; returns the allocations counted. */
    std::int64_t allocationsWhileProcessing (MultiAudioProcessor& processor, int numChannels, juce::Random& random)
    {
        std::int64_t total = 0;
        juce::MidiBuffer midi;
        for (int blockSize : { 1, 7, 64, 512, preparedMaximum })
        {
            juce::AudioBuffer<float> buffer (numChannels, blockSize);
            for (int repeat = 0; repeat < 2; ++repeat)
            {
                fill (buffer, random);
                testsupport::AllocationCounter counter;
                processor.processBlock (buffer, midi);
                total += counter.getNumAllocations();
            }
        }
        return total;
    }
}

TEST (RealtimeSafety, CountingIsInstalled)
{
    EXPECT_TRUE (testsupport::AllocationCounter::isInstalled());

    // JUCE's containers allocate with malloc; those must be seen too.
    if (testsupport::AllocationCounter::countsCAllocations())
    {
        testsupport::AllocationCounter counter;
        juce::HeapBlock<float> block (64);
        asm volatile ("" : : "g" (block.get()) : "memory"); // keeps the allocation from being optimised away
        EXPECT_EQ (counter.getNumAllocations(), 1);
    }
}

TEST (RealtimeSafety, ProcessBlockNeverAllocates)
{
    juce::Random random (7);

    for (int numChannels : { 1, 2 })
    {
        MultiAudioProcessor processor;
        testsupport::prepare (processor, 48000.0, preparedMaximum, numChannels);
        setPlain (processor.apvts, "output_mix", 60.0f); // the dry input's all-passes run too

        for (int count = 0; count <= 5; ++count)
        {
            setPlain (processor.apvts, "numCrossovers", (float) count);
            for (int type = 1; type <= 10; ++type)
            {
                for (int oversampling = 0; oversampling < 4; ++oversampling)
                {
                    for (size_t b = 0; b < 6; ++b)
                    {
                        setPlain (processor.apvts, ParameterIDs::type (b), (float) type);
                        setPlain (processor.apvts, ParameterIDs::oversampling (b), (float) oversampling);
                    }
                    ASSERT_EQ (allocationsWhileProcessing (processor, numChannels, random), 0)
                        << numChannels << " channels, " << count << " crossovers, type " << type
                        << ", oversampling choice " << oversampling;
                }
            }
        }
    }
}

TEST (RealtimeSafety, ProcessBlockNeverAllocatesWithAnalysersRunning)
{
    juce::Random random (11);
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 44100.0, preparedMaximum);
    setPlain (processor.apvts, "input_plot", 1.0f);
    setPlain (processor.apvts, "output_plot", 1.0f);
    ASSERT_TRUE (processor.inputAnalyser.isThreadRunning());

    EXPECT_EQ (allocationsWhileProcessing (processor, 2, random), 0);

    // Settings changed while playing are taken up without allocating either.
    setPlain (processor.apvts, "frequency_crossover-2", 1500.0f);
    setPlain (processor.apvts, "mix-3", 40.0f);
    setPlain (processor.apvts, "output", -3.0f);
    EXPECT_EQ (allocationsWhileProcessing (processor, 2, random), 0);

    // So are bands starting again and the dry all-passes starting again.
    setPlain (processor.apvts, "active-2", 0.0f);
    EXPECT_EQ (allocationsWhileProcessing (processor, 2, random), 0);
    setPlain (processor.apvts, "active-2", 1.0f);
    setPlain (processor.apvts, "output_mix", 20.0f);
    EXPECT_EQ (allocationsWhileProcessing (processor, 2, random), 0);
}

TEST (RealtimeSafety, RecoveringFromNonFiniteOutputDoesNotAllocate)
{
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 48000.0, 256);
    juce::AudioBuffer<float> buffer (2, 256);
    for (int i = 0; i < 256; ++i)
        for (int ch = 0; ch < 2; ++ch)
            buffer.setSample (ch, i, 3.0e38f);

    juce::MidiBuffer midi;
    testsupport::AllocationCounter counter;
    processor.processBlock (buffer, midi);
    EXPECT_EQ (counter.getNumAllocations(), 0);
}
