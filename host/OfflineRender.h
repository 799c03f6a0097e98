#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Runs a whole buffer through a processor in host-sized blocks, the way a host
    plays a track: set the bus layout, prepare, process block by block, release. */
struct OfflineRender
{
    double sampleRate = 48000.0;
    int blockSize = 512;

    /** Returns false with a message when the processor refuses the channel layout. */
    bool run (juce::AudioProcessor& processor, juce::AudioBuffer<float>& audio, juce::String& error) const;
};

/** The built-in test signal: a bass saw, a 1 kHz tone and a 5 kHz tone, at -12 dBFS. */
juce::AudioBuffer<float> makeTestSignal (double sampleRate, double seconds, int numChannels);
