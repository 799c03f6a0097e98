#include "ParameterIDs.h"

#include <array>

namespace ParameterIDs
{
    const juce::String output ("output");
    const juce::String outputMix ("output_mix");
    const juce::String bypass ("bypass");
    const juce::String outputPlot ("output_plot");
    const juce::String inputPlot ("input_plot");
    const juce::String typePrefix ("type");
    const juce::String mixPrefix ("mix");
    const juce::String compgainPrefix ("compgain");
    const juce::String gainPrefix ("gain");
    const juce::String activePrefix ("active");
    const juce::String realActivePrefix ("real_active");
    const juce::String soloPrefix ("solo");
    const juce::String frequencyLowpassPrefix ("frequency_lowpass");
    const juce::String frequencyHighpassPrefix ("frequency_highpass");
    const juce::String oversamplingPrefix ("oversampling");
    const juce::String frequencyCrossoverPrefix ("frequency_crossover");

    const juce::String numCrossovers ("numCrossovers");
    const juce::String preset ("preset");
    const juce::String selectedBand ("selectedBand");

    namespace
    {
        // Plain literals rather than juce::String objects, so the builders are
        // safe to call from other files' static initialisers too.
        constexpr std::array<const char*, 6> bandSuffixes { "1", "2", "3", "4", "5", "6" };

        juce::String withSuffix (const juce::String& prefix, std::size_t index)
        {
            return prefix + "-" + (index < bandSuffixes.size() ? bandSuffixes[index] : "unknown");
        }
    }

    juce::String type (std::size_t index)               { return withSuffix (typePrefix, index); }
    juce::String mix (std::size_t index)                { return withSuffix (mixPrefix, index); }
    juce::String compgain (std::size_t index)           { return withSuffix (compgainPrefix, index); }
    juce::String gain (std::size_t index)               { return withSuffix (gainPrefix, index); }
    juce::String active (std::size_t index)             { return withSuffix (activePrefix, index); }
    juce::String realActive (std::size_t index)         { return withSuffix (realActivePrefix, index); }
    juce::String solo (std::size_t index)               { return withSuffix (soloPrefix, index); }
    juce::String frequencyLowpass (std::size_t index)   { return withSuffix (frequencyLowpassPrefix, index); }
    juce::String frequencyHighpass (std::size_t index)  { return withSuffix (frequencyHighpassPrefix, index); }
    juce::String oversampling (std::size_t index)       { return withSuffix (oversamplingPrefix, index); }
    juce::String frequencyCrossover (std::size_t index) { return withSuffix (frequencyCrossoverPrefix, index); }
}

int getBandIndexFromParameterID (const juce::String& parameterID)
{
    static constexpr std::array<const char*, 6> suffixes { "-1", "-2", "-3", "-4", "-5", "-6" };

    for (std::size_t i = 0; i < suffixes.size(); ++i)
        if (parameterID.endsWith (suffixes[i]))
            return static_cast<int> (i);

    return -1;
}
