#include <gtest/gtest.h>

#include "engine/Records.h"

TEST (DefaultCrossovers, FiveActiveRecordsInAscendingFrequency)
{
    const auto crossovers = makeDefaultCrossovers();
    ASSERT_EQ (crossovers.size(), 5u);

    const float frequencies[] { 250.0f, 1000.0f, 2500.0f, 5000.0f, 7500.0f };

    for (int i = 0; i < 5; ++i)
    {
        const auto& crossover = crossovers[(size_t) i];
        EXPECT_EQ (crossover.name, "Crossover " + juce::String (i));
        EXPECT_EQ (crossover.colour, juce::Colours::white);
        EXPECT_FLOAT_EQ (crossover.frequency, frequencies[i]);
        EXPECT_TRUE (crossover.active);
        EXPECT_EQ (crossover.index, i);
    }
}

TEST (DefaultBands, SixEnabledTubeBands)
{
    const auto bands = makeDefaultBands();
    ASSERT_EQ (bands.size(), 6u);

    for (int b = 0; b < 6; ++b)
    {
        const auto& band = bands[(size_t) b];
        EXPECT_EQ (band.name, "Band " + juce::String (b));
        EXPECT_EQ (band.colour, juce::Colours::white);
        EXPECT_TRUE (band.enabled);
        EXPECT_EQ (band.type, 3);
        EXPECT_FLOAT_EQ (band.mix, 100.0f);
        EXPECT_FLOAT_EQ (band.compGain, 1.0f);
        EXPECT_FLOAT_EQ (band.gain, 10.0f);
        EXPECT_TRUE (band.active);
        EXPECT_TRUE (band.realActive);
        EXPECT_FALSE (band.solo);
        EXPECT_FLOAT_EQ (band.lowpass, 22000.0f);
        EXPECT_FLOAT_EQ (band.highpass, 20.0f);
        EXPECT_EQ (band.oversampling, 0);
    }
}

TEST (DefaultRecords, EachCallReturnsFreshRecords)
{
    auto first = makeDefaultBands();
    first[0].gain = 3.0f;
    first[0].enabled = false;

    auto crossovers = makeDefaultCrossovers();
    crossovers[1].active = false;

    EXPECT_FLOAT_EQ (makeDefaultBands()[0].gain, 10.0f);
    EXPECT_TRUE (makeDefaultBands()[0].enabled);
    EXPECT_TRUE (makeDefaultCrossovers()[1].active);
}
