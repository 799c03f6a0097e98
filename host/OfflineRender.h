#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace zelkhost { class EffectInstance; }

/** Runs a whole buffer through an effect instance in host-sized blocks, the
    way a host plays a track. The instance's channel count must match. */
struct OfflineRender
{
    int blockSize = 512;

    /** Returns false with a message when the channel counts differ. */
    bool run (zelkhost::EffectInstance& instance, juce::AudioBuffer<float>& audio, juce::String& error) const;
};

/** The built-in test signal: a bass saw, a 1 kHz tone and a 5 kHz tone, at -12 dBFS. */
juce::AudioBuffer<float> makeTestSignal (double sampleRate, double seconds, int numChannels);
