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
    constexpr int blockSize = 96;
    constexpr int blocksPerCase = 2;

    // A crossover pair's two-output call differs from a separate high-pass
    // filter by about 1e-6 on full-scale noise; the bands' input gain (x10 by
    // default) and curves carry that to about 2e-5 at the output here.
    constexpr float pairedSplitTolerance = 5.0e-5f;

    struct DrivenProcessor
    {
        explicit DrivenProcessor (Drive drive)
        {
            processor.bandProcessor.setDrive (drive);
            // One band heard partly dry throughout, so the band mixer's dry path is compared too.
            setPlain (processor.apvts, ParameterIDs::mix (2), 40.0f);
            testsupport::prepare (processor, 44100.0, blockSize);
        }

        MultiAudioProcessor processor;
    };
}

TEST (EngineDrive, FastDrivesMatchThePlainOneForEveryCurveFactorAndCrossoverCount)
{
    std::array<DrivenProcessor, 3> processors { DrivenProcessor (Drive::reference),
                                                DrivenProcessor (Drive::interleaved),
                                                DrivenProcessor (Drive::pairedSplits) };
    juce::Random random (17);
    juce::AudioBuffer<float> input (2, blockSize);
    std::array<juce::AudioBuffer<float>, 3> outputs;
    juce::MidiBuffer midi;
    float largestPairedDifference = 0.0f;

    for (int count = 0; count <= 5; ++count)
        for (int curve = 0; curve < 10; ++curve)
            for (int factor = 0; factor < 4; ++factor)
            {
                for (auto& p : processors)
                {
                    setPlain (p.processor.apvts, "numCrossovers", (float) count);
                    for (size_t b = 0; b < 6; ++b)
                    {
                        setPlain (p.processor.apvts, ParameterIDs::type (b), (float) (curve + 1));
                        setPlain (p.processor.apvts, ParameterIDs::oversampling (b), (float) factor);
                    }
                }

                for (int block = 0; block < blocksPerCase; ++block)
                {
                    // Different noise on each channel, loud enough for every curve's bends.
                    for (int ch = 0; ch < 2; ++ch)
                        for (int i = 0; i < blockSize; ++i)
                            input.setSample (ch, i, 0.8f * (random.nextFloat() * 2.0f - 1.0f));

                    for (size_t d = 0; d < processors.size(); ++d)
                    {
                        outputs[d].makeCopyOf (input);
                        processors[d].processor.processBlock (outputs[d], midi);
                    }

                    int mismatches = 0;
                    for (int ch = 0; ch < 2; ++ch)
                        for (int i = 0; i < blockSize; ++i)
                        {
                            const auto plain = outputs[0].getSample (ch, i);
                            mismatches += outputs[1].getSample (ch, i) != plain;
                            largestPairedDifference = std::max (largestPairedDifference,
                                                                std::abs (outputs[2].getSample (ch, i) - plain));
                        }

                    ASSERT_EQ (mismatches, 0) << count << " crossovers, curve " << curve << ", factor choice " << factor;
                    ASSERT_LE (largestPairedDifference, pairedSplitTolerance)
                        << count << " crossovers, curve " << curve << ", factor choice " << factor;
                }
            }
}
