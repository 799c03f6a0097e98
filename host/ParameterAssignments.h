#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** One "id=value" assignment from the command line, in the parameter's own
    units (decibels, hertz, percent, a choice index, 0/1 for switches).

    The host checks and converts assignments with its own copy of the
    plug-in's parameter layout (see ParameterCatalogue.h) and sends the
    plug-in only normalised values. It does not ask the plug-in to parse the
    text: the plug-in's texts are display texts in other units (band gains in
    decibels, frequencies with "Hz"/"kHz", choices by name), whereas a value
    in the parameter's own range is exact and round-trips through the
    normalised form the host interfaces carry. */
struct ParameterAssignment
{
    juce::String id;
    float value = 0.0f;
};

/** Parses "id=value" against the processor's parameters. On failure returns
    false and a message saying what was wrong (unknown ID, not a number, out of
    range, not a whole choice). */
bool parseParameterAssignment (const juce::String& text, juce::AudioProcessor& processor,
                               ParameterAssignment& result, juce::String& error);

/** The normalised value (0..1) of a parsed assignment. */
double normalisedValueOf (const ParameterAssignment& assignment, juce::AudioProcessor& processor);

juce::RangedAudioParameter* findParameter (juce::AudioProcessor& processor, const juce::String& id);

/** The shortest text that reads back as exactly this float (at most 9
    significant digits), in plain decimals ("50", "0.063095726") unless the
    exponent form is shorter ("1e+06"), as --list prints ranges and defaults. */
juce::String exactValueText (float value);
