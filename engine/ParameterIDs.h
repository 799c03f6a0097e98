#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

/** The IDs of the plug-in's parameters.

    Global parameters have fixed IDs. Per-band parameters are a prefix, "-" and
    the band number 1..6; per-crossover parameters are "frequency_crossover",
    "-" and the crossover number 1..5. Code counts bands and crossovers from 0,
    so the builders take the index and add one; an index of 6 or more yields
    the suffix "unknown", an ID that names no parameter.
*/
namespace ParameterIDs
{
    extern const juce::String output, outputMix, bypass, outputPlot, inputPlot,
        typePrefix, mixPrefix, compgainPrefix, gainPrefix, activePrefix, realActivePrefix, soloPrefix,
        frequencyLowpassPrefix, frequencyHighpassPrefix, oversamplingPrefix, frequencyCrossoverPrefix;

    /** The remaining global IDs, for code that prefers a named constant to the literal. */
    extern const juce::String numCrossovers, preset, selectedBand;

    juce::String type (std::size_t index);
    juce::String mix (std::size_t index);
    juce::String compgain (std::size_t index);
    juce::String gain (std::size_t index);
    juce::String active (std::size_t index);
    juce::String realActive (std::size_t index);
    juce::String solo (std::size_t index);
    juce::String frequencyLowpass (std::size_t index);
    juce::String frequencyHighpass (std::size_t index);
    juce::String oversampling (std::size_t index);
    juce::String frequencyCrossover (std::size_t index);
}

/** The band (or crossover) index encoded in an ID's "-1".."-6" suffix, or -1 when
    the ID carries none. Only the suffix is looked at, never the prefix. */
int getBandIndexFromParameterID (const juce::String& parameterID);
