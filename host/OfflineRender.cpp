#include "OfflineRender.h"

#include <cmath>

bool OfflineRender::run (juce::AudioProcessor& processor, juce::AudioBuffer<float>& audio, juce::String& error) const
{
    const auto numChannels = audio.getNumChannels();
    const auto set = juce::AudioChannelSet::canonicalChannelSet (numChannels);

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set);
    layout.outputBuses.add (set);

    if (numChannels < 1 || ! processor.setBusesLayout (layout))
    {
        error = "the plug-in does not accept " + juce::String (numChannels) + "-channel audio (mono and stereo only)";
        return false;
    }

    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);

    juce::MidiBuffer midi;
    for (int start = 0; start < audio.getNumSamples(); start += blockSize)
    {
        const auto length = std::min (blockSize, audio.getNumSamples() - start);
        juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), numChannels, start, length);
        processor.processBlock (block, midi);
    }

    processor.releaseResources();
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
