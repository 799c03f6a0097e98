#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

namespace zelkhost { class EffectInstance; }

/** Plays a buffer in a loop through an effect instance on an audio thread of
    its own, one host block at a time, paced to real time as a host's audio
    callback is: after each block it waits for that block's time to pass. The
    output goes nowhere (the stand-in host has no audio device). */
class LoopPlayer : private juce::Thread
{
public:
    /** The instance's channel count must be the buffer's. */
    LoopPlayer (zelkhost::EffectInstance& instance, const juce::AudioBuffer<float>& audio,
                double sampleRate, int blockSize);

    /** Stops the audio thread. */
    ~LoopPlayer() override;

    void start();
    void stop();

    /** Blocks processed so far. */
    juce::int64 blocksPlayed() const noexcept { return played.load(); }

private:
    void run() override;

    zelkhost::EffectInstance& instance;
    const juce::AudioBuffer<float>& audio;
    const double sampleRate;
    const int blockSize;
    juce::AudioBuffer<float> input, output;
    std::atomic<juce::int64> played { 0 };
};
