#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Builds the plug-in's 73 parameters in their twelve groups and host order:
    "global", "band0".."band5", "crossover0".."crossover4". Every call creates new
    parameter objects, owned by the returned layout. */
juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();
