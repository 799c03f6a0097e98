// How parameter changes reach the records and the band engine: the crossover
// count, crossover frequencies, adding and removing crossovers, band switches,
// output gain and mix, the plot switches, bad values, and the
// record invariants after random edit sequences.

#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using testsupport::getPlain;
using testsupport::setPlain;

namespace
{
    constexpr int numCrossoverRecords = 5;
    constexpr int numBandRecords = 6;

    /** A processor prepared at 48 kHz, so that every band record has been
        handed to the engine once. */
    struct PreparedProcessor
    {
        PreparedProcessor() { testsupport::prepare (processor, 48000.0, 256); }

        MultiAudioProcessor processor;
        juce::AudioProcessorValueTreeState& apvts = processor.apvts;
        MultiAudioProcessor::MultiBandProcessor& engine = processor.bandProcessor;
    };

    /** The value a parameter holds after being given `plainValue`. */
    float legalised (juce::AudioProcessorValueTreeState& apvts, const juce::String& id, float plainValue)
    {
        auto* parameter = apvts.getParameter (id);
        return parameter->convertFrom0to1 (parameter->convertTo0to1 (plainValue));
    }

    /** Marks every band record with its own "mix" (12.5, 25, .. 75 %, values
        that pass the normalised range exactly) so that moves can be followed. */
    void markBandsByMix (juce::AudioProcessorValueTreeState& apvts)
    {
        for (size_t b = 0; b < numBandRecords; ++b)
            setPlain (apvts, ParameterIDs::mix (b), 12.5f * (float) (b + 1));
    }

    std::vector<float> bandMixes (const MultiAudioProcessor& processor)
    {
        std::vector<float> mixes;
        for (const auto& band : processor.bands)
            mixes.push_back (band.mix);
        return mixes;
    }

    std::vector<bool> bandsEnabled (const MultiAudioProcessor& processor)
    {
        std::vector<bool> enabled;
        for (const auto& band : processor.bands)
            enabled.push_back (band.enabled);
        return enabled;
    }

    std::vector<float> crossoverFrequencies (const MultiAudioProcessor& processor)
    {
        std::vector<float> frequencies;
        for (const auto& crossover : processor.crossovers)
            frequencies.push_back (crossover.frequency);
        return frequencies;
    }

    std::vector<bool> crossoversActive (const MultiAudioProcessor& processor)
    {
        std::vector<bool> active;
        for (const auto& crossover : processor.crossovers)
            active.push_back (crossover.active);
        return active;
    }

    void processBlocks (MultiAudioProcessor& processor, int numBlocks, int blockSize)
    {
        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;
        for (int i = 0; i < numBlocks; ++i)
        {
            for (int ch = 0; ch < 2; ++ch)
                for (int s = 0; s < blockSize; ++s)
                    buffer.setSample (ch, s, 0.25f * std::sin (0.05f * (float) s));
            processor.processBlock (buffer, midi);
        }
    }

    /** The invariants that every edit keeps: active crossover records first,
        band b enabled exactly when b <= count, the engine's copies in step, and
        every parameter holding the record at its position. */
    void expectRecordsConsistent (MultiAudioProcessor& processor, const std::string& context)
    {
        SCOPED_TRACE (context);
        auto& apvts = processor.apvts;
        auto& engine = processor.bandProcessor;
        const auto count = processor.crossoverCount;

        ASSERT_EQ (processor.crossovers.size(), (size_t) numCrossoverRecords);
        ASSERT_EQ (processor.bands.size(), (size_t) numBandRecords);
        ASSERT_LE (count, (size_t) 5);
        EXPECT_EQ (engine.crossoverCount.load(), count);

        for (size_t i = 0; i < numCrossoverRecords; ++i)
        {
            const auto& crossover = processor.crossovers[i];
            EXPECT_EQ (crossover.active, i < count) << "crossover record " << i;
            EXPECT_EQ (crossover.index, i < count ? (int) i : -1) << "crossover record " << i;

            // An inactive position ignores its parameter, so only active ones must match.
            if (crossover.active)
            {
                EXPECT_FLOAT_EQ (legalised (apvts, ParameterIDs::frequencyCrossover (i), getPlain (apvts, ParameterIDs::frequencyCrossover (i))),
                                 legalised (apvts, ParameterIDs::frequencyCrossover (i), crossover.frequency))
                    << "crossover " << i + 1;
            }
        }

        for (size_t b = 0; b < numBandRecords; ++b)
        {
            const auto& band = processor.bands[b];
            SCOPED_TRACE ("band record " + std::to_string (b));

            EXPECT_EQ (band.enabled, b <= count);
            EXPECT_EQ (engine.bandEnabled[b].load(), band.enabled);

            EXPECT_EQ (getPlain (apvts, ParameterIDs::type (b)), (float) band.type);
            EXPECT_EQ (getPlain (apvts, ParameterIDs::oversampling (b)), (float) band.oversampling);
            EXPECT_EQ (getPlain (apvts, ParameterIDs::active (b)) >= 0.5f, band.active);
            EXPECT_EQ (getPlain (apvts, ParameterIDs::realActive (b)) >= 0.5f, band.realActive);
            EXPECT_EQ (getPlain (apvts, ParameterIDs::solo (b)) >= 0.5f, band.solo);
            for (const auto& [id, recordValue] : { std::pair { ParameterIDs::mix (b), band.mix },
                                                   std::pair { ParameterIDs::compgain (b), band.compGain },
                                                   std::pair { ParameterIDs::gain (b), band.gain },
                                                   std::pair { ParameterIDs::frequencyHighpass (b), band.highpass } })
                EXPECT_FLOAT_EQ (legalised (apvts, id, getPlain (apvts, id)), legalised (apvts, id, recordValue)) << id;

            // The engine follows the record at each position.
            const auto bandIndex = (int) b;
            EXPECT_EQ (engine.shaperIndex[b].load(), band.type - 1);
            EXPECT_EQ (engine.oversamplingIndex[b].load(), band.oversampling);
            EXPECT_EQ (engine.bandActive[b].load(), band.active);
            EXPECT_EQ (engine.bandRealActive[b].load(), band.realActive);
            EXPECT_EQ (engine.bandSolo[b].load(), band.solo);
            EXPECT_FLOAT_EQ (engine.publishedBandMix (bandIndex), juce::jlimit (0.0f, 1.0f, band.mix * 0.01f));
            EXPECT_FLOAT_EQ (engine.publishedInputGain (bandIndex), band.gain);
            EXPECT_FLOAT_EQ (engine.publishedLevelGain (bandIndex), band.realActive ? band.compGain : 0.0f);
            EXPECT_FLOAT_EQ (engine.publishedHighPass (bandIndex), band.highpass);
        }

        // The dry input's all-passes sit at the active crossovers.
        for (size_t k = 0; k < count; ++k)
            EXPECT_FLOAT_EQ (engine.publishedDryAllPassCutoff ((int) k), processor.crossovers[k].frequency) << "dry all-pass " << k;

        // The first split of the tree lies at the middle crossover of the count.
        if (count >= 1)
        {
            const size_t firstSplitOrder[] = { 0, 0, 0, 1, 2, 3 };
            const auto frequency = processor.crossovers[firstSplitOrder[count]].frequency;
            EXPECT_FLOAT_EQ (engine.publishedCrossoverCutoff (4), frequency);
            EXPECT_FLOAT_EQ (engine.publishedCrossoverCutoff (5), frequency);
        }
    }
}

//==============================================================================
TEST (CrossoverCount, FewerThenMoreRestoresTheOldFrequenciesAndBandSettings)
{
    PreparedProcessor p;
    markBandsByMix (p.apvts);
    setPlain (p.apvts, "gain-5", 3.5f);

    setPlain (p.apvts, "numCrossovers", 2.0f);

    EXPECT_EQ (p.processor.crossoverCount, 2u);
    EXPECT_EQ (crossoversActive (p.processor), (std::vector<bool> { true, true, false, false, false }));
    EXPECT_EQ (bandsEnabled (p.processor), (std::vector<bool> { true, true, true, false, false, false }));
    EXPECT_EQ (p.engine.crossoverCount.load(), 2u);
    for (size_t b = 0; b < 6; ++b)
        EXPECT_EQ (p.engine.bandEnabled[b].load(), b <= 2) << b;
    expectRecordsConsistent (p.processor, "after 2");

    setPlain (p.apvts, "numCrossovers", 5.0f);

    EXPECT_EQ (p.processor.crossoverCount, 5u);
    EXPECT_EQ (crossoverFrequencies (p.processor), (std::vector<float> { 250.0f, 1000.0f, 2500.0f, 5000.0f, 7500.0f }));
    EXPECT_EQ (bandMixes (p.processor), (std::vector<float> { 12.5f, 25.0f, 37.5f, 50.0f, 62.5f, 75.0f }));
    EXPECT_FLOAT_EQ (p.processor.bands[4].gain, 3.5f);
    EXPECT_EQ (getPlain (p.apvts, "frequency_crossover-3"), 2500.0f);
    EXPECT_EQ (getPlain (p.apvts, "frequency_crossover-5"), 7500.0f);

    // Five crossovers route the third, fourth and fifth frequencies into
    // filters 10/11 (with all-passes 13 and 15), 4/5 and 2/3 (with all-pass 7).
    for (int filter : { 10, 11, 13, 15 })
        EXPECT_EQ (p.engine.publishedCrossoverCutoff (filter), 2500.0f) << filter;
    for (int filter : { 4, 5 })
        EXPECT_EQ (p.engine.publishedCrossoverCutoff (filter), 5000.0f) << filter;
    for (int filter : { 2, 3, 7 })
        EXPECT_EQ (p.engine.publishedCrossoverCutoff (filter), 7500.0f) << filter;
    expectRecordsConsistent (p.processor, "after 5");
}

TEST (CrossoverCount, SixGivesFiveCrossoversAndSixBands)
{
    PreparedProcessor p;
    setPlain (p.apvts, "numCrossovers", 1.0f);
    setPlain (p.apvts, "numCrossovers", 6.0f);

    EXPECT_EQ (p.processor.crossoverCount, 5u);
    EXPECT_EQ (p.processor.crossovers.size(), 5u);
    EXPECT_EQ (p.processor.bands.size(), 6u);
    EXPECT_EQ (crossoversActive (p.processor), std::vector<bool> (5, true));
    EXPECT_EQ (bandsEnabled (p.processor), std::vector<bool> (6, true));
    EXPECT_EQ (getPlain (p.apvts, "numCrossovers"), 6.0f);
    expectRecordsConsistent (p.processor, "after 6");
}

TEST (CrossoverCount, AFractionWithTheSameWholeCountChangesNoRecord)
{
    PreparedProcessor p;
    setPlain (p.apvts, "numCrossovers", 3.0f);
    const auto frequencies = crossoverFrequencies (p.processor);
    const auto active = crossoversActive (p.processor);
    const auto enabled = bandsEnabled (p.processor);

    setPlain (p.apvts, "numCrossovers", 3.7f);

    EXPECT_EQ (p.processor.crossoverCount, 3u);
    EXPECT_EQ (crossoverFrequencies (p.processor), frequencies);
    EXPECT_EQ (crossoversActive (p.processor), active);
    EXPECT_EQ (bandsEnabled (p.processor), enabled);
    EXPECT_EQ (p.engine.crossoverCount.load(), 3u);
    expectRecordsConsistent (p.processor, "after 3.7");

    // Going below the whole count from a fraction still removes crossovers.
    setPlain (p.apvts, "numCrossovers", 2.5f);
    EXPECT_EQ (p.processor.crossoverCount, 2u);
    expectRecordsConsistent (p.processor, "after 2.5");
}

TEST (CrossoverCount, ZeroLeavesOneBandOverTheWholeRange)
{
    PreparedProcessor p;
    setPlain (p.apvts, "numCrossovers", 0.0f);

    EXPECT_EQ (p.processor.crossoverCount, 0u);
    EXPECT_EQ (crossoversActive (p.processor), std::vector<bool> (5, false));
    EXPECT_EQ (bandsEnabled (p.processor), (std::vector<bool> { true, false, false, false, false, false }));
    expectRecordsConsistent (p.processor, "after 0");
}

TEST (CrossoverFrequency, AnInactivePositionIgnoresItsParameter)
{
    PreparedProcessor p;
    setPlain (p.apvts, "numCrossovers", 2.0f);
    const auto cutoffsBefore = p.engine.publishedCrossoverCutoff (2);

    setPlain (p.apvts, "frequency_crossover-4", 3000.0f);

    EXPECT_EQ (p.processor.crossovers[3].frequency, 5000.0f);
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (2), cutoffsBefore);

    // When the position comes back it brings its own frequency, and the
    // write-back puts it into the parameter again.
    setPlain (p.apvts, "numCrossovers", 4.0f);
    EXPECT_EQ (p.processor.crossovers[3].frequency, 5000.0f);
    EXPECT_EQ (getPlain (p.apvts, "frequency_crossover-4"), 5000.0f);
}

TEST (CrossoverFrequency, AnActivePositionTakesItsParameterIntoTheTree)
{
    PreparedProcessor p;
    setPlain (p.apvts, "numCrossovers", 2.0f);

    setPlain (p.apvts, "frequency_crossover-2", 1500.0f);
    const auto frequency = getPlain (p.apvts, "frequency_crossover-2");

    EXPECT_EQ (p.processor.crossovers[1].frequency, frequency);
    for (int filter : { 2, 3, 6 })
        EXPECT_EQ (p.engine.publishedCrossoverCutoff (filter), frequency) << filter;
}

//==============================================================================
TEST (CrossoverEditing, AddingPutsTheNewCrossoverAtItsIndexAndEnablesTheLastBand)
{
    PreparedProcessor p;
    setPlain (p.apvts, "numCrossovers", 2.0f);
    markBandsByMix (p.apvts);

    p.processor.setCrossoverActive (1, true, 0.5f);
    const auto added = p.apvts.getParameter ("frequency_crossover-5")->convertFrom0to1 (0.5f);

    EXPECT_EQ (p.processor.crossoverCount, 3u);
    EXPECT_EQ (crossoverFrequencies (p.processor), (std::vector<float> { 250.0f, added, 1000.0f, 2500.0f, 5000.0f }));
    EXPECT_EQ (crossoversActive (p.processor), (std::vector<bool> { true, true, true, false, false }));
    EXPECT_EQ (getPlain (p.apvts, "frequency_crossover-2"), added);
    EXPECT_EQ (getPlain (p.apvts, "frequency_crossover-3"), 1000.0f);

    // The record from position 5 is enabled at position 2; the former band 2
    // moves up one; bands 0 and 1 stay.
    EXPECT_EQ (bandMixes (p.processor), (std::vector<float> { 12.5f, 25.0f, 75.0f, 37.5f, 50.0f, 62.5f }));
    EXPECT_EQ (bandsEnabled (p.processor), (std::vector<bool> { true, true, true, true, false, false }));
    EXPECT_EQ (getPlain (p.apvts, "mix-3"), 75.0f);
    EXPECT_EQ (getPlain (p.apvts, "mix-4"), 37.5f);
    EXPECT_FLOAT_EQ (p.engine.publishedBandMix (2), 0.75f);
    EXPECT_FLOAT_EQ (p.engine.publishedBandMix (3), 0.375f);

    // Three crossovers: filters 0/1 (with all-pass 6), 4/5, and 2/3 (with all-pass 7).
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (0), 250.0f);
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (6), 250.0f);
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (4), added);
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (3), 1000.0f);
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (7), 1000.0f);
    EXPECT_EQ (p.engine.crossoverCount.load(), 3u);
    expectRecordsConsistent (p.processor, "after adding");

    // The window then sets the count, which already matches: nothing moves.
    const auto frequencies = crossoverFrequencies (p.processor);
    setPlain (p.apvts, "numCrossovers", 3.0f);
    EXPECT_EQ (crossoverFrequencies (p.processor), frequencies);
    EXPECT_EQ (bandMixes (p.processor), (std::vector<float> { 12.5f, 25.0f, 75.0f, 37.5f, 50.0f, 62.5f }));
}

TEST (CrossoverEditing, AddingAtTheTopMovesNothing)
{
    PreparedProcessor p;
    setPlain (p.apvts, "numCrossovers", 4.0f);
    markBandsByMix (p.apvts);

    p.processor.setCrossoverActive (4, true, 1.0f);

    EXPECT_EQ (crossoverFrequencies (p.processor), (std::vector<float> { 250.0f, 1000.0f, 2500.0f, 5000.0f, 20000.0f }));
    EXPECT_EQ (bandMixes (p.processor), (std::vector<float> { 12.5f, 25.0f, 37.5f, 50.0f, 62.5f, 75.0f }));
    expectRecordsConsistent (p.processor, "after adding at the top");
}

TEST (CrossoverEditing, RemovingSendsTheRecordsToTheEndAndTheBandBelowWidens)
{
    PreparedProcessor p;
    setPlain (p.apvts, "numCrossovers", 3.0f);
    markBandsByMix (p.apvts);

    p.processor.setCrossoverActive (0, false, 0.0f);

    EXPECT_EQ (p.processor.crossoverCount, 2u);
    EXPECT_EQ (crossoverFrequencies (p.processor), (std::vector<float> { 1000.0f, 2500.0f, 5000.0f, 7500.0f, 250.0f }));
    EXPECT_EQ (crossoversActive (p.processor), (std::vector<bool> { true, true, false, false, false }));
    EXPECT_EQ (getPlain (p.apvts, "frequency_crossover-1"), 1000.0f);
    EXPECT_EQ (getPlain (p.apvts, "frequency_crossover-5"), 250.0f);

    // Former band 1 is disabled at the end; former bands 2 and 3 move down;
    // band 0 keeps its settings and now reaches up to 1 kHz.
    EXPECT_EQ (bandMixes (p.processor), (std::vector<float> { 12.5f, 37.5f, 50.0f, 62.5f, 75.0f, 25.0f }));
    EXPECT_EQ (bandsEnabled (p.processor), (std::vector<bool> { true, true, true, false, false, false }));
    EXPECT_EQ (getPlain (p.apvts, "mix-2"), 37.5f);
    EXPECT_EQ (getPlain (p.apvts, "mix-6"), 25.0f);

    // Two crossovers: 4/5 at the lower, 2/3 (with all-pass 6) at the upper.
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (4), 1000.0f);
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (5), 1000.0f);
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (2), 2500.0f);
    EXPECT_EQ (p.engine.publishedCrossoverCutoff (6), 2500.0f);
    EXPECT_EQ (p.engine.crossoverCount.load(), 2u);
    expectRecordsConsistent (p.processor, "after removing");
}

TEST (CrossoverEditing, CallsOutsideThePreconditionsChangeNothing)
{
    PreparedProcessor p;
    markBandsByMix (p.apvts);
    const auto frequencies = crossoverFrequencies (p.processor);

    p.processor.setCrossoverActive (2, true, 0.3f);     // already five
    setPlain (p.apvts, "numCrossovers", 3.0f);
    p.processor.setCrossoverActive (4, true, 0.3f);     // beyond the count
    p.processor.setCrossoverActive (-1, true, 0.3f);
    p.processor.setCrossoverActive (3, false, 0.0f);    // not an active crossover
    p.processor.setCrossoverActive (-1, false, 0.0f);

    EXPECT_EQ (p.processor.crossoverCount, 3u);
    EXPECT_EQ (crossoverFrequencies (p.processor), frequencies);
    EXPECT_EQ (bandMixes (p.processor), (std::vector<float> { 12.5f, 25.0f, 37.5f, 50.0f, 62.5f, 75.0f }));
    expectRecordsConsistent (p.processor, "after refused edits");
}

//==============================================================================
TEST (BandSwitches, DeactivatingRampsTheLevelToZeroAndKeepsItThereUntilOn)
{
    PreparedProcessor p;
    auto& level = *p.engine.levelGains[1];

    setPlain (p.apvts, "real_active-2", 0.0f);
    EXPECT_FALSE (p.engine.bandRealActive[1].load());
    EXPECT_EQ (p.engine.publishedLevelGain (1), 0.0f);

    processBlocks (p.processor, 1, 240);        // 5 ms of the 50 ms ramp
    EXPECT_EQ (level.getGainLinear(), 0.0f);
    EXPECT_TRUE (level.isSmoothing());
    processBlocks (p.processor, 12, 240);
    EXPECT_FALSE (level.isSmoothing());

    setPlain (p.apvts, "compgain-2", 0.5f);
    const auto compGain = getPlain (p.apvts, "compgain-2");
    EXPECT_EQ (p.processor.bands[1].compGain, compGain);
    EXPECT_EQ (p.engine.publishedLevelGain (1), 0.0f);
    processBlocks (p.processor, 2, 240);
    EXPECT_EQ (level.getGainLinear(), 0.0f);

    setPlain (p.apvts, "real_active-2", 1.0f);
    EXPECT_EQ (p.engine.publishedLevelGain (1), compGain);
    processBlocks (p.processor, 1, 240);
    EXPECT_EQ (level.getGainLinear(), compGain);
    EXPECT_TRUE (level.isSmoothing());

    // Other bands are untouched.
    EXPECT_TRUE (p.engine.bandRealActive[0].load());
    EXPECT_EQ (p.engine.publishedLevelGain (0), p.processor.bands[0].compGain);
}

TEST (BandSwitches, EverySwitchAndIndexReachesItsOwnBand)
{
    PreparedProcessor p;
    setPlain (p.apvts, "active-3", 0.0f);
    setPlain (p.apvts, "solo-4", 1.0f);
    setPlain (p.apvts, "oversampling-5", 3.0f);
    setPlain (p.apvts, "type-6", 0.0f);
    setPlain (p.apvts, "gain-1", 2.0f);
    setPlain (p.apvts, "frequency_highpass-2", 120.0f);
    setPlain (p.apvts, "frequency_lowpass-2", 8000.0f);

    EXPECT_FALSE (p.engine.bandActive[2].load());
    EXPECT_TRUE (p.engine.bandSolo[3].load());
    EXPECT_EQ (p.engine.oversamplingIndex[4].load(), 3);
    EXPECT_EQ (p.engine.shaperIndex[5].load(), -1);
    EXPECT_EQ (p.engine.publishedInputGain (0), 2.0f);
    EXPECT_EQ (p.engine.publishedHighPass (1), 120.0f);
    EXPECT_EQ (p.engine.publishedLowPass (1), 8000.0f);

    EXPECT_TRUE (p.engine.bandActive[1].load());
    EXPECT_FALSE (p.engine.bandSolo[2].load());
    EXPECT_EQ (p.engine.oversamplingIndex[3].load(), 0);
    EXPECT_EQ (p.engine.shaperIndex[4].load(), 2);
}

//==============================================================================
TEST (GlobalParameters, OutputGainAndMix)
{
    PreparedProcessor p;

    setPlain (p.apvts, "output", -96.0f);
    processBlocks (p.processor, 1, 64);
    EXPECT_NEAR (p.processor.outputGain.getGainLinear(), 1.58e-5f, 0.01e-5f);

    setPlain (p.apvts, "output", 6.0f);
    processBlocks (p.processor, 1, 64);
    EXPECT_NEAR (p.processor.outputGain.getGainLinear(), 1.9953f, 1e-3f);

    setPlain (p.apvts, "output_mix", 50.0f);
    EXPECT_FLOAT_EQ (p.engine.publishedGlobalMix(), 0.5f);
    setPlain (p.apvts, "output_mix", 0.0f);
    EXPECT_FLOAT_EQ (p.engine.publishedGlobalMix(), 0.0f);
}

TEST (GlobalParameters, PlotSwitchesStartOneThreadAndStopOnlyARunningOne)
{
    MultiAudioProcessor processor;

    processor.parameterChanged ("input_plot", 1.0f);
    ASSERT_TRUE (processor.inputAnalyser.isThreadRunning());
    const auto threadId = processor.inputAnalyser.getThreadId();

    processor.parameterChanged ("input_plot", 1.0f);
    EXPECT_TRUE (processor.inputAnalyser.isThreadRunning());
    EXPECT_EQ (processor.inputAnalyser.getThreadId(), threadId);
    EXPECT_FALSE (processor.outputAnalyser.isThreadRunning());

    processor.parameterChanged ("output_plot", 0.0f);   // stopped already: nothing happens
    EXPECT_FALSE (processor.outputAnalyser.isThreadRunning());
    EXPECT_TRUE (processor.inputAnalyser.isThreadRunning());

    processor.parameterChanged ("input_plot", 0.0f);
    EXPECT_FALSE (processor.inputAnalyser.isThreadRunning());
}

//==============================================================================
TEST (BadParameterValues, UnknownIdsAndOutOfRangeValuesAreHarmless)
{
    PreparedProcessor p;
    const auto frequencies = crossoverFrequencies (p.processor);

    p.processor.parameterChanged ("mix-7", 10.0f);
    p.processor.parameterChanged ("type-unknown", 4.0f);
    p.processor.parameterChanged ("frequency_crossover-6", 900.0f);
    p.processor.parameterChanged ("frequency_crossover-unknown", 900.0f);
    p.processor.parameterChanged ("preset", 3.0f);
    p.processor.parameterChanged ("", 1.0f);
    EXPECT_EQ (crossoverFrequencies (p.processor), frequencies);
    expectRecordsConsistent (p.processor, "after unknown ids");

    // A band's mix is limited to fully wet, whatever value arrives.
    p.processor.parameterChanged ("mix-1", 150.0f);
    EXPECT_EQ (p.engine.publishedBandMix (0), 1.0f);

    p.processor.parameterChanged ("numCrossovers", -1.0f);
    EXPECT_EQ (p.processor.crossoverCount, 0u);
    p.processor.parameterChanged ("numCrossovers", std::numeric_limits<float>::infinity());
    EXPECT_EQ (p.processor.crossoverCount, 5u);
    EXPECT_EQ (bandsEnabled (p.processor), std::vector<bool> (6, true));
}

TEST (BadParameterValues, NotANumberChangesNoRecordAndKeepsTheAudioAlive)
{
    PreparedProcessor p;
    const auto nan = std::numeric_limits<float>::quiet_NaN();
    const auto mixBefore = p.processor.bands[0].mix;
    const auto gainBefore = p.processor.bands[0].gain;

    // A host may hand over any normalised value; NaN passes the parameter
    // store's range limits unchanged.
    for (auto id : { "mix-1", "gain-1", "compgain-1", "type-1", "oversampling-1", "frequency_lowpass-1",
                     "frequency_crossover-1", "numCrossovers", "output", "output_mix" })
        p.apvts.getParameter (id)->setValueNotifyingHost (nan);

    EXPECT_EQ (p.processor.crossoverCount, 5u);
    EXPECT_EQ (p.processor.bands[0].mix, mixBefore);
    EXPECT_EQ (p.processor.bands[0].gain, gainBefore);
    EXPECT_GE (p.engine.shaperIndex[0].load(), -1);
    EXPECT_LE (p.engine.shaperIndex[0].load(), 9);
    EXPECT_TRUE (std::isfinite (p.processor.crossovers[0].frequency));
    EXPECT_FALSE (std::isnan (p.engine.publishedBandMix (0)));
    EXPECT_FALSE (std::isnan (p.engine.publishedGlobalMix()));

    juce::AudioBuffer<float> buffer (2, 256);
    juce::MidiBuffer midi;
    float peak = 0.0f;
    for (int block = 0; block < 20; ++block)
    {
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 256; ++i)
                buffer.setSample (ch, i, 0.5f * std::sin (0.07f * (float) (block * 256 + i)));
        p.processor.processBlock (buffer, midi);
        peak = std::max (peak, buffer.getMagnitude (0, 256));
    }
    EXPECT_TRUE (std::isfinite (peak));
    EXPECT_GT (peak, 0.01f);
}

//==============================================================================
TEST (RecordInvariants, HoldAfterRandomEdits)
{
    PreparedProcessor p;
    std::mt19937 random (20261207);
    auto uniform = [&] (int low, int high) { return std::uniform_int_distribution<int> (low, high) (random); };
    auto unit = [&] { return std::uniform_real_distribution<float> (0.0f, 1.0f) (random); };

    // Distinct band settings, so that a record put at a wrong place shows.
    markBandsByMix (p.apvts);
    for (size_t b = 0; b < 6; ++b)
        setPlain (p.apvts, ParameterIDs::type (b), (float) (b + 5));

    for (int step = 0; step < 300; ++step)
    {
        const auto count = (int) p.processor.crossoverCount;
        std::string action;

        switch (uniform (0, 5))
        {
            case 0:
            {
                const auto value = (float) uniform (0, 600) * 0.01f;
                action = "numCrossovers " + std::to_string (value);
                setPlain (p.apvts, "numCrossovers", value);
                break;
            }
            case 1:
            {
                // Mostly valid adds, now and then one outside the preconditions.
                const auto index = uniform (-1, count + 1);
                action = "add at " + std::to_string (index);
                p.processor.setCrossoverActive (index, true, unit());
                if (uniform (0, 1) == 0)
                    setPlain (p.apvts, "numCrossovers", (float) p.processor.crossoverCount);
                break;
            }
            case 2:
            {
                const auto index = uniform (-1, count);
                action = "remove at " + std::to_string (index);
                p.processor.setCrossoverActive (index, false, 0.0f);
                if (uniform (0, 1) == 0)
                    setPlain (p.apvts, "numCrossovers", (float) p.processor.crossoverCount);
                break;
            }
            case 3:
            {
                const auto crossover = (size_t) uniform (0, 4);
                action = "crossover frequency " + std::to_string (crossover);
                p.apvts.getParameter (ParameterIDs::frequencyCrossover (crossover))->setValueNotifyingHost (unit());
                break;
            }
            default:
            {
                const auto band = (size_t) uniform (0, 5);
                const juce::String ids[] = { ParameterIDs::type (band), ParameterIDs::active (band),
                                             ParameterIDs::realActive (band), ParameterIDs::solo (band),
                                             ParameterIDs::compgain (band), ParameterIDs::gain (band),
                                             ParameterIDs::oversampling (band), ParameterIDs::frequencyHighpass (band) };
                const auto& id = ids[uniform (0, 7)];
                action = id.toStdString();
                p.apvts.getParameter (id)->setValueNotifyingHost (unit());
                break;
            }
        }

        expectRecordsConsistent (p.processor, "step " + std::to_string (step) + ": " + action);
        if (::testing::Test::HasFailure())
            break;
    }

    // The band records were only moved, never copied over one another.
    auto mixes = bandMixes (p.processor);
    std::sort (mixes.begin(), mixes.end());
    EXPECT_EQ (mixes, (std::vector<float> { 12.5f, 25.0f, 37.5f, 50.0f, 62.5f, 75.0f }));
}
