// processBlock run inside a real-time scope, over every crossover count, curve
// and oversampling factor, mono and stereo, odd and oversized blocks, with the
// analysers fed, settings changed between blocks, bypass and a runaway block.
// In the RealtimeSanitizer build (ZELK_RTSAN) any allocation, lock or blocking
// system call on the way stops the program with a report; in other builds the
// same runs check that the output stays finite.

#include "engine/RealtimeSanitizer.h"
#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

using testsupport::setPlain;

namespace
{
    constexpr int preparedMaximum = 512;

    /** Processes one block of noise of each size (the last one larger than
        the prepared maximum) inside the real-time scope; false when an output
        sample is not finite. */
    bool processBlocksInRealtimeScope (MultiAudioProcessor& processor, int numChannels, juce::Random& random)
    {
        juce::MidiBuffer midi;
        for (int blockSize : { 1, 7, 64, preparedMaximum, 3 * preparedMaximum + 5 })
        {
            juce::AudioBuffer<float> buffer (numChannels, blockSize);
            for (int ch = 0; ch < numChannels; ++ch)
                for (int i = 0; i < blockSize; ++i)
                    buffer.setSample (ch, i, random.nextFloat() * 1.6f - 0.8f);

            realtime::processBlockInRealtimeScope (processor, buffer, midi);

            for (int ch = 0; ch < numChannels; ++ch)
                for (int i = 0; i < blockSize; ++i)
                    if (! std::isfinite (buffer.getSample (ch, i)))
                        return false;
        }
        return true;
    }
}

TEST (RealtimeSanitizer, ReportsAnAllocationInsideTheScopeButNotInsideAnExemption)
{
    if (! realtime::isCheckedBuild)
        GTEST_SKIP() << "needs the RealtimeSanitizer build (ZELK_RTSAN)";

    ::testing::FLAGS_gtest_death_test_style = "threadsafe";

    EXPECT_DEATH (realtime::callInRealtimeScope ([] { delete new volatile int (3); }), "RealtimeSanitizer");

    realtime::callInRealtimeScope ([]
    {
        ScopedRealtimeSanitizerExemption exemption;
        delete new volatile int (3);
    });
}

TEST (RealtimeSanitizer, EveryCountCurveAndOversamplingFactor)
{
    juce::Random random (17);

    for (int numChannels : { 1, 2 })
    {
        MultiAudioProcessor processor;
        testsupport::prepare (processor, 48000.0, preparedMaximum, numChannels);
        setPlain (processor.apvts, "output_mix", 60.0f); // the dry input's all-passes run too

        for (int count = 0; count <= 5; ++count)
        {
            setPlain (processor.apvts, "numCrossovers", (float) count);

            // Ten rounds put every curve and every factor on every band.
            for (int round = 0; round < 10; ++round)
            {
                for (size_t b = 0; b < 6; ++b)
                {
                    setPlain (processor.apvts, ParameterIDs::type (b), (float) ((round + (int) b) % 10 + 1));
                    setPlain (processor.apvts, ParameterIDs::oversampling (b), (float) ((round + (int) b) % 4));
                }
                ASSERT_TRUE (processBlocksInRealtimeScope (processor, numChannels, random))
                    << numChannels << " channels, " << count << " crossovers, round " << round;
            }
        }
    }
}

TEST (RealtimeSanitizer, AnalysersFedAndSettingsChangedBetweenBlocks)
{
    juce::Random random (23);
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 44100.0, preparedMaximum);
    setPlain (processor.apvts, "input_plot", 1.0f);
    setPlain (processor.apvts, "output_plot", 1.0f);
    ASSERT_TRUE (processor.inputAnalyser.isThreadRunning());
    ASSERT_TRUE (processBlocksInRealtimeScope (processor, 2, random));

    // Every kind of setting the audio thread takes up at the start of a block.
    setPlain (processor.apvts, "frequency_crossover-2", 1500.0f);
    setPlain (processor.apvts, "frequency_lowpass-1", 3000.0f);
    setPlain (processor.apvts, "frequency_highpass-4", 300.0f);
    setPlain (processor.apvts, "mix-3", 40.0f);
    setPlain (processor.apvts, "gain-2", 3.0f);
    setPlain (processor.apvts, "compgain-5", 0.5f);
    setPlain (processor.apvts, "real_active-6", 0.0f);
    setPlain (processor.apvts, "active-1", 0.0f);
    setPlain (processor.apvts, "type-2", 0.0f);
    setPlain (processor.apvts, "solo-3", 1.0f);
    setPlain (processor.apvts, "output", -3.0f);
    setPlain (processor.apvts, "output_mix", 70.0f);
    ASSERT_TRUE (processBlocksInRealtimeScope (processor, 2, random));

    // Bands start again, with clean chains.
    setPlain (processor.apvts, "active-1", 1.0f);
    setPlain (processor.apvts, "type-2", 10.0f);
    ASSERT_TRUE (processBlocksInRealtimeScope (processor, 2, random));

    processor.setCrossoverActive (0, false, 0.0f);
    processor.setCrossoverActive (2, true, 0.7f);
    ASSERT_TRUE (processBlocksInRealtimeScope (processor, 2, random));

    setPlain (processor.apvts, "bypass", 1.0f);
    ASSERT_TRUE (processBlocksInRealtimeScope (processor, 2, random));

    setPlain (processor.apvts, "input_plot", 0.0f);
    setPlain (processor.apvts, "output_plot", 0.0f);
}

TEST (RealtimeSanitizer, RecoveringFromARunawayBlock)
{
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 48000.0, 256);

    juce::AudioBuffer<float> buffer (2, 256);
    juce::MidiBuffer midi;
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 256; ++i)
            buffer.setSample (ch, i, i % 3 == 0 ? std::numeric_limits<float>::quiet_NaN() : 3.0e38f);

    realtime::processBlockInRealtimeScope (processor, buffer, midi);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 256; ++i)
            ASSERT_TRUE (std::isfinite (buffer.getSample (ch, i)));
}
