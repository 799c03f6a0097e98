#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Builds the plug-in's 73 parameters in their twelve groups and host order:
    "global", "band0".."band5", "crossover0".."crossover4". Every call creates new
    parameter objects, owned by the returned layout. They are the classes of
    FiniteParameters.h: a value that is not finite leaves a parameter as it
    is, and every parameter refuses text that names none of its values. */
juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();
