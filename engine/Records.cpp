#include "Records.h"

#include <array>

std::vector<CrossoverRecord> makeDefaultCrossovers()
{
    constexpr std::array<float, 5> frequencies { 250.0f, 1000.0f, 2500.0f, 5000.0f, 7500.0f };

    std::vector<CrossoverRecord> crossovers;
    crossovers.reserve (frequencies.size());

    for (std::size_t i = 0; i < frequencies.size(); ++i)
    {
        const auto position = static_cast<int> (i);
        crossovers.push_back ({ juce::translate ("Crossover " + juce::String (position)),
                                juce::Colours::white,
                                frequencies[i],
                                true,
                                position });
    }

    return crossovers;
}

std::vector<BandRecord> makeDefaultBands()
{
    constexpr int numBands = 6;

    std::vector<BandRecord> bands;
    bands.reserve (numBands);

    for (int b = 0; b < numBands; ++b)
    {
        BandRecord band;
        band.name = juce::translate ("Band " + juce::String (b));
        band.colour = juce::Colours::white;
        band.enabled = true;
        band.type = 3;              // "Tube"
        band.mix = 100.0f;
        band.compGain = 1.0f;
        band.gain = 10.0f;
        band.active = true;
        band.realActive = true;
        band.solo = false;
        band.lowpass = 22000.0f;    // above the parameter's range: it starts fully open
        band.highpass = 20.0f;
        band.oversampling = 0;      // "X2"
        bands.push_back (band);
    }

    return bands;
}
