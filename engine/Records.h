#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

/** What the processor and the window know about one crossover position. */
struct CrossoverRecord
{
    juce::String name;      // display name of the crossover's parameter group
    juce::Colour colour;
    float frequency;        // Hz
    bool active;            // the crossover exists
    int index;              // rank among the active crossovers, -1 when inactive
};

/** What the processor and the window know about one band position; the fields
    mirror the band's parameters. */
struct BandRecord
{
    juce::String name;      // display name of the band's parameter group
    juce::Colour colour;
    bool enabled;           // the band exists
    int type;               // saturation choice 0..10, 0 = "None"
    float mix;              // band dry/wet, percent
    float compGain;         // band level, linear factor
    float gain;             // drive into the curve, linear factor
    bool active;            // processing on
    bool realActive;        // band switched on
    bool solo;
    float lowpass;          // Hz
    float highpass;         // Hz
    int oversampling;       // choice 0..3 ("X2".."X16")
};

/** The five crossover records a processor starts with, in position order. */
std::vector<CrossoverRecord> makeDefaultCrossovers();

/** The six band records a processor starts with, in position order. */
std::vector<BandRecord> makeDefaultBands();
