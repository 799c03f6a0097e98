// Driving Linkwitz-Riley filters sample by sample across channels and chains
// gives what their own block-wise process gives: bit for bit, including the
// flush of tiny state values that process makes after each block, and within
// float rounding on the high side of a pair run by the two-output call.

#include "engine/FilterDrive.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
    using Filter = FilterDrive::Filter;
    using Type = juce::dsp::LinkwitzRileyFilterType;

    /** Filters of the given types, ready for `numChannels`; the first two (a
        crossover pair) share a cutoff, the others spread out above it. */
    std::vector<Filter> makeFilters (const std::vector<Type>& types, int numChannels)
    {
        std::vector<Filter> filters (types.size());
        for (size_t i = 0; i < types.size(); ++i)
        {
            filters[i].setType (types[i]);
            filters[i].prepare ({ 44100.0, 64, (juce::uint32) numChannels });
            filters[i].setCutoffFrequency (i < 2 ? 150.0f : 150.0f * (float) (3 * i));
        }
        return filters;
    }

    std::vector<Filter*> pointersTo (std::vector<Filter>& filters)
    {
        std::vector<Filter*> pointers;
        for (auto& f : filters)
            pointers.push_back (&f);
        return pointers;
    }

    /** Noise that dies away below the flush threshold (1e-8) within a few blocks. */
    void fillDecaying (juce::AudioBuffer<float>& buffer, juce::Random& random, float& level)
    {
        for (int i = 0; i < buffer.getNumSamples(); ++i, level *= 0.7f)
            for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
                buffer.setSample (ch, i, level * (random.nextFloat() - 0.5f));
    }

    bool sameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        for (int ch = 0; ch < a.getNumChannels(); ++ch)
            for (int i = 0; i < a.getNumSamples(); ++i)
                if (a.getSample (ch, i) != b.getSample (ch, i))
                    return false;
        return true;
    }
}

TEST (FilterDrive, ChainsAndSplitsMatchBlockwiseProcessing)
{
    // Each case: a crossover pair, then up to three all-passes.
    const std::vector<std::vector<Type>> cases { { Type::lowpass, Type::highpass },
                                                 { Type::lowpass, Type::highpass, Type::allpass },
                                                 { Type::lowpass, Type::highpass, Type::allpass, Type::allpass, Type::allpass } };
    for (const auto& types : cases)
        for (int numChannels : { 1, 2 })
            for (int blockSize : { 1, 7, 64 })
            {
                const auto setting = ::testing::Message() << types.size() << " filters, " << numChannels
                                                          << " channels, block size " << blockSize;
                // One set per way of driving, so that each keeps its own state.
                std::vector<std::vector<Filter>> sets;
                for (int way = 0; way < 5; ++way)
                    sets.push_back (makeFilters (types, numChannels));
                auto chainBlockwise = pointersTo (sets[0]), chainInterleaved = pointersTo (sets[1]),
                     splitBlockwise = pointersTo (sets[2]), splitSeparate = pointersTo (sets[3]),
                     splitPaired = pointersTo (sets[4]);

                // The split's low side: the low-pass filter, then the all-passes.
                const auto numAllPasses = (int) types.size() - 2;
                auto lowSide = splitBlockwise;
                lowSide.erase (lowSide.begin() + 1);

                juce::Random random (3);
                float level = 1.0f;
                juce::AudioBuffer<float> input (numChannels, blockSize), expected, actual, expectedHigh,
                                         actualHigh (numChannels, blockSize), pairedLow (numChannels, blockSize);

                for (int block = 0; block < 40; ++block)
                {
                    fillDecaying (input, random, level);

                    expected.makeCopyOf (input);
                    actual.makeCopyOf (input);
                    FilterDrive::runBlockwise (chainBlockwise.data(), (int) types.size(), expected);
                    FilterDrive::runChain (chainInterleaved.data(), (int) types.size(), actual);
                    ASSERT_TRUE (sameSamples (expected, actual)) << setting;

                    expected.makeCopyOf (input);
                    expectedHigh.makeCopyOf (input);
                    FilterDrive::runBlockwise (lowSide.data(), (int) lowSide.size(), expected);
                    FilterDrive::runBlockwise (&splitBlockwise[1], 1, expectedHigh);

                    // Separate pair, the low side in place.
                    actual.makeCopyOf (input);
                    FilterDrive::runSplit (*splitSeparate[0], splitSeparate[1], actual,
                                           { actual, splitSeparate.data() + 2, numAllPasses }, { actualHigh, nullptr, 0 });
                    ASSERT_TRUE (sameSamples (expected, actual)) << setting;
                    ASSERT_TRUE (sameSamples (expectedHigh, actualHigh)) << setting;

                    // Two-output call: the same low side; the high side within rounding.
                    FilterDrive::runSplit (*splitPaired[0], nullptr, input,
                                           { pairedLow, splitPaired.data() + 2, numAllPasses }, { actualHigh, nullptr, 0 });
                    ASSERT_TRUE (sameSamples (expected, pairedLow)) << setting;
                    for (int ch = 0; ch < numChannels; ++ch)
                        for (int i = 0; i < blockSize; ++i)
                            ASSERT_NEAR (actualHigh.getSample (ch, i), expectedHigh.getSample (ch, i), 2.0e-6f) << setting;
                }
            }
}
