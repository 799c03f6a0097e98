#include "OfflineRender.h"

#include "EffectInstance.h"

#include <cmath>

bool OfflineRender::run (zelkhost::EffectInstance& instance, juce::AudioBuffer<float>& audio, juce::String& error) const
{
    const auto numChannels = audio.getNumChannels();
    if (numChannels != instance.channels())
    {
        error = "the plug-in instance takes " + juce::String (instance.channels()) + " channel(s), the audio has "
              + juce::String (numChannels);
        return false;
    }

    // The plug-in may process in place: input and output are the same buffer.
    for (int start = 0; start < audio.getNumSamples(); start += blockSize)
    {
        const auto length = std::min (blockSize, audio.getNumSamples() - start);
        juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), numChannels, start, length);
        instance.process (block.getArrayOfReadPointers(), block.getArrayOfWritePointers(), length);
    }
    return true;
}

juce::AudioBuffer<float> makeTestSignal (double sampleRate, double seconds, int numChannels)
{
    const auto numSamples = (int) std::lround (sampleRate * seconds);
    juce::AudioBuffer<float> buffer (numChannels, numSamples);

    const auto twoPi = juce::MathConstants<double>::twoPi;
    for (int i = 0; i < numSamples; ++i)
    {
        const auto t = i / sampleRate;
        const auto sawPhase = std::fmod (55.0 * t, 1.0);
        const auto value = 0.5 * (2.0 * sawPhase - 1.0)
                         + 0.3 * std::sin (twoPi * 1000.0 * t)
                         + 0.2 * std::sin (twoPi * 5000.0 * t);
        for (int ch = 0; ch < numChannels; ++ch)
            buffer.setSample (ch, i, (float) (0.25 * value));
    }
    return buffer;
}
