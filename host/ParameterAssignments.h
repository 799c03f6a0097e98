#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** One "id=value" assignment from the command line, in the parameter's own
    units (decibels, hertz, percent, a choice index, 0/1 for switches). */
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

/** Sets a parameter the way a host does: normalised value, then listeners. */
void applyParameterAssignment (const ParameterAssignment& assignment, juce::AudioProcessor& processor);

juce::RangedAudioParameter* findParameter (juce::AudioProcessor& processor, const juce::String& id);
