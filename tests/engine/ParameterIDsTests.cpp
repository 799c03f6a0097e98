#include <gtest/gtest.h>

#include "engine/ParameterIDs.h"

#include <functional>
#include <limits>
#include <vector>

namespace
{
    struct Builder
    {
        juce::String prefix;
        std::function<juce::String (std::size_t)> build;
    };

    std::vector<Builder> allBuilders()
    {
        return { { "type", ParameterIDs::type },
                 { "mix", ParameterIDs::mix },
                 { "compgain", ParameterIDs::compgain },
                 { "gain", ParameterIDs::gain },
                 { "active", ParameterIDs::active },
                 { "real_active", ParameterIDs::realActive },
                 { "solo", ParameterIDs::solo },
                 { "frequency_lowpass", ParameterIDs::frequencyLowpass },
                 { "frequency_highpass", ParameterIDs::frequencyHighpass },
                 { "oversampling", ParameterIDs::oversampling },
                 { "frequency_crossover", ParameterIDs::frequencyCrossover } };
    }
}

TEST (ParameterIDs, GlobalConstantsHaveTheirStoredTexts)
{
    EXPECT_EQ (ParameterIDs::output, "output");
    EXPECT_EQ (ParameterIDs::outputMix, "output_mix");
    EXPECT_EQ (ParameterIDs::bypass, "bypass");
    EXPECT_EQ (ParameterIDs::outputPlot, "output_plot");
    EXPECT_EQ (ParameterIDs::inputPlot, "input_plot");
    EXPECT_EQ (ParameterIDs::numCrossovers, "numCrossovers");
    EXPECT_EQ (ParameterIDs::preset, "preset");
    EXPECT_EQ (ParameterIDs::selectedBand, "selectedBand");
}

TEST (ParameterIDs, BuildersJoinPrefixAndOneBasedNumber)
{
    for (const auto& builder : allBuilders())
        for (std::size_t index = 0; index < 6; ++index)
            EXPECT_EQ (builder.build (index), builder.prefix + "-" + juce::String (index + 1));

    EXPECT_EQ (ParameterIDs::type (0), "type-1");
    EXPECT_EQ (ParameterIDs::type (5), "type-6");
    EXPECT_EQ (ParameterIDs::realActive (2), "real_active-3");
    EXPECT_EQ (ParameterIDs::frequencyCrossover (4), "frequency_crossover-5");
    EXPECT_EQ (ParameterIDs::frequencyCrossover (5), "frequency_crossover-6");
}

TEST (ParameterIDs, IndexBeyondTheTableGivesUnknownSuffix)
{
    EXPECT_EQ (ParameterIDs::type (6), "type-unknown");
    EXPECT_EQ (ParameterIDs::frequencyCrossover (6), "frequency_crossover-unknown");

    // A negative int converted to the unsigned index must not wrap into the table.
    EXPECT_EQ (ParameterIDs::gain (static_cast<std::size_t> (-1)), "gain-unknown");
    EXPECT_EQ (ParameterIDs::mix (std::numeric_limits<std::size_t>::max()), "mix-unknown");
}

TEST (BandIndexFromParameterID, ReadsOnlyTheSuffix)
{
    EXPECT_EQ (getBandIndexFromParameterID ("gain-3"), 2);
    EXPECT_EQ (getBandIndexFromParameterID ("frequency_crossover-3"), 2);
    EXPECT_EQ (getBandIndexFromParameterID ("oversampling-6"), 5);
    EXPECT_EQ (getBandIndexFromParameterID ("type-1"), 0);
    EXPECT_EQ (getBandIndexFromParameterID ("crossover-4"), 3);        // window component IDs too
    EXPECT_EQ (getBandIndexFromParameterID ("anything-5"), 4);
}

TEST (BandIndexFromParameterID, IdsWithoutBandSuffixGiveMinusOne)
{
    for (auto id : { "output", "numCrossovers", "mix-7", "mix-16", "type-unknown", "", "-", "gain-0", "GAIN-3 " })
        EXPECT_EQ (getBandIndexFromParameterID (id), -1) << id;
}

TEST (BandIndexFromParameterID, InvertsEveryBuilder)
{
    for (const auto& builder : allBuilders())
        for (std::size_t index = 0; index < 6; ++index)
            EXPECT_EQ (getBandIndexFromParameterID (builder.build (index)), static_cast<int> (index));
}
