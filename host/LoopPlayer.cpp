#include "LoopPlayer.h"

#include "EffectInstance.h"

LoopPlayer::LoopPlayer (zelkhost::EffectInstance& instanceToPlay, const juce::AudioBuffer<float>& audioToPlay,
                        double rate, int samplesPerBlock)
    : juce::Thread ("zelk_host audio"),
      instance (instanceToPlay), audio (audioToPlay), sampleRate (rate), blockSize (samplesPerBlock),
      input (audioToPlay.getNumChannels(), samplesPerBlock), output (audioToPlay.getNumChannels(), samplesPerBlock)
{
    jassert (audio.getNumChannels() == instance.channels());
}

LoopPlayer::~LoopPlayer()
{
    stop();
}

void LoopPlayer::start()
{
    if (audio.getNumSamples() > 0)
        startThread (juce::Thread::Priority::highest);
}

void LoopPlayer::stop()
{
    stopThread (2000);
}

void LoopPlayer::run()
{
    const auto blockMilliseconds = 1000.0 * blockSize / sampleRate;
    auto due = juce::Time::getMillisecondCounterHiRes();
    int position = 0;

    while (! threadShouldExit())
    {
        // The next block of the loop, wrapping round at the end.
        for (int done = 0; done < blockSize;)
        {
            const auto length = std::min (blockSize - done, audio.getNumSamples() - position);
            for (int channel = 0; channel < audio.getNumChannels(); ++channel)
                input.copyFrom (channel, done, audio, channel, position, length);
            done += length;
            position = (position + length) % audio.getNumSamples();
        }

        instance.process (input.getArrayOfReadPointers(), output.getArrayOfWritePointers(), blockSize);
        ++played;

        due += blockMilliseconds;
        const auto now = juce::Time::getMillisecondCounterHiRes();
        if (due > now)
            wait ((int) std::ceil (due - now));
        else if (now - due > 1000.0)
            due = now;   // far behind (the machine was busy): no burst to catch up
    }
}
