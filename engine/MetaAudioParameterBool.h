#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** A switch parameter that tells the host it is a meta parameter, i.e. one whose
    changes move other parameters. Used for the bands' on/off switches. */
class MetaAudioParameterBool : public juce::AudioParameterBool
{
public:
    using juce::AudioParameterBool::AudioParameterBool;
    ~MetaAudioParameterBool() override;

    bool isMetaParameter() const override;
};
