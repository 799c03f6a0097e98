// The fast ways of driving the band engine against the plain one (each
// block's own process call, one channel after the other, the curve through
// the waveShapers table): over every curve, oversampling factor and crossover
// count, the output is the same bit for bit, or within float rounding where
// each crossover pair runs on one filter's two-output call.

#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using testsupport::setPlain;
using Drive = MultiBandProcessor::Drive;

namespace
{
    constexpr double sampleRate = 44100.0;
    constexpr int blockSize = 96;

    // A crossover pair's two-output call differs from a separate high-pass
    // filter by about 1e-6 on full-scale noise; the bands' input gain (x10 by
    // default) and curves carry that to about 2e-5 at the output here.
    constexpr float pairedSplitTolerance = 5.0e-5f;

    struct DrivenProcessor
    {
        DrivenProcessor (Drive drive, int numChannels)
        {
            processor.bandProcessor.setDrive (drive);
            testsupport::prepare (processor, sampleRate, blockSize, numChannels);
        }

        void set (const juce::String& id, float value)  { setPlain (processor.apvts, id, value); }

        /** Processes a copy of `input` into `output`. */
        void process (const juce::AudioBuffer<float>& input, juce::AudioBuffer<float>& output)
        {
            output.makeCopyOf (input);
            juce::MidiBuffer midi;
            processor.processBlock (output, midi);
        }

        MultiAudioProcessor processor;
    };

    void fillWithNoise (juce::AudioBuffer<float>& buffer, juce::Random& random, float amplitude)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, amplitude * (random.nextFloat() * 2.0f - 1.0f));
    }

    struct Difference
    {
        int mismatches = 0;
        float largest = 0.0f;
    };

    Difference compare (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        Difference d;
        for (int ch = 0; ch < a.getNumChannels(); ++ch)
            for (int i = 0; i < a.getNumSamples(); ++i)
            {
                d.mismatches += a.getSample (ch, i) != b.getSample (ch, i);
                d.largest = std::max (d.largest, std::abs (a.getSample (ch, i) - b.getSample (ch, i)));
            }
        return d;
    }

    void compareDrivesOverEverySetting (int numChannels)
    {
        std::array<DrivenProcessor, 3> processors { DrivenProcessor (Drive::reference, numChannels),
                                                    DrivenProcessor (Drive::interleaved, numChannels),
                                                    DrivenProcessor (Drive::pairedSplits, numChannels) };
        // One band heard partly dry throughout, so the band mixer's dry path is compared too.
        for (auto& p : processors)
            p.set (ParameterIDs::mix (2), 40.0f);

        juce::Random random (17);
        juce::AudioBuffer<float> input (numChannels, blockSize);
        std::array<juce::AudioBuffer<float>, 3> outputs;

        for (int count = 0; count <= 5; ++count)
            for (int curve = 0; curve < 10; ++curve)
                for (int factor = 0; factor < 4; ++factor)
                {
                    for (auto& p : processors)
                    {
                        p.set ("numCrossovers", (float) count);
                        for (size_t b = 0; b < 6; ++b)
                        {
                            p.set (ParameterIDs::type (b), (float) (curve + 1));
                            p.set (ParameterIDs::oversampling (b), (float) factor);
                        }
                    }

                    for (int block = 0; block < 2; ++block)
                    {
                        // Different noise on each channel, loud enough for every curve's bends.
                        fillWithNoise (input, random, 0.8f);
                        for (size_t d = 0; d < processors.size(); ++d)
                            processors[d].process (input, outputs[d]);

                        const auto setting = juce::String (numChannels) + " channels, " + juce::String (count)
                                           + " crossovers, curve " + juce::String (curve) + ", factor choice " + juce::String (factor);
                        ASSERT_EQ (compare (outputs[0], outputs[1]).mismatches, 0) << setting;
                        ASSERT_LE (compare (outputs[0], outputs[2]).largest, pairedSplitTolerance) << setting;
                    }
                }
    }
}

TEST (EngineDrive, FastDrivesMatchThePlainOneForEveryCurveFactorAndCrossoverCount)
{
    compareDrivesOverEverySetting (1);
    compareDrivesOverEverySetting (2);
}

TEST (EngineDrive, ABandMixerHeardAgainStartsWithACleanDryDelay)
{
    // The plain drive feeds its band mixer all along, so when its dry input is
    // heard again the dry delay holds the latest input: silence here. The fast
    // drive stops feeding a fully wet mixer; it must not replay what the delay
    // held when it stopped (loud noise) but start clean, and so match.
    DrivenProcessor plain (Drive::reference, 2), fast (Drive::interleaved, 2);
    juce::Random random (5);
    juce::AudioBuffer<float> loud (2, blockSize), silence (2, blockSize), plainOut, fastOut;
    silence.clear();

    auto processBoth = [&] (const juce::AudioBuffer<float>& input, int numBlocks)
    {
        for (int k = 0; k < numBlocks; ++k)
        {
            plain.process (input, plainOut);
            fast.process (input, fastOut);
            ASSERT_EQ (compare (plainOut, fastOut).mismatches, 0);
        }
    };
    const auto blocksPastTheMixRamp = (int) (0.1 * sampleRate) / blockSize;

    for (auto* p : { &plain, &fast })
    {
        p->set ("numCrossovers", 0.0f);
        p->set (ParameterIDs::mix (0), 50.0f);
    }
    fillWithNoise (loud, random, 0.8f);
    processBoth (loud, blocksPastTheMixRamp);

    for (auto* p : { &plain, &fast })
        p->set (ParameterIDs::mix (0), 100.0f);
    processBoth (loud, blocksPastTheMixRamp);
    processBoth (silence, 1);

    for (auto* p : { &plain, &fast })
        p->set (ParameterIDs::mix (0), 50.0f);
    processBoth (silence, 4);
}
