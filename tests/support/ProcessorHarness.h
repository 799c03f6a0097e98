#pragma once

#include "engine/MultiAudioProcessor.h"
#include "engine/RealtimeSanitizer.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

namespace testsupport
{
    /** Sets a parameter by its plain value, as a host would. */
    inline void setPlain (juce::AudioProcessorValueTreeState& apvts, const juce::String& id, float plainValue)
    {
        auto* parameter = apvts.getParameter (id);
        if (parameter == nullptr)
            throw std::runtime_error ("no parameter " + id.toStdString());
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
    }

    inline float getPlain (juce::AudioProcessorValueTreeState& apvts, const juce::String& id)
    {
        return apvts.getRawParameterValue (id)->load();
    }

    /** Gives the processor a mono or stereo layout and prepares it. */
    inline void prepare (juce::AudioProcessor& processor, double sampleRate, int blockSize, int numChannels = 2)
    {
        const auto set = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (set);
        layout.outputBuses.add (set);
        processor.setBusesLayout (layout);
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);
    }

    /** Processes `input` (copied to every channel) in blocks and returns channel 0.
        Each block runs in a real-time scope, which the RealtimeSanitizer build checks. */
    inline std::vector<float> render (juce::AudioProcessor& processor, const std::vector<float>& input,
                                      int blockSize, int numChannels = 2)
    {
        std::vector<float> output (input.size());
        juce::AudioBuffer<float> block (numChannels, blockSize);
        juce::MidiBuffer midi;

        for (size_t start = 0; start < input.size(); start += (size_t) blockSize)
        {
            const auto length = (int) std::min ((size_t) blockSize, input.size() - start);
            block.setSize (numChannels, length, false, false, true);
            for (int ch = 0; ch < numChannels; ++ch)
                for (int i = 0; i < length; ++i)
                    block.setSample (ch, i, input[start + (size_t) i]);

            realtime::processBlockInRealtimeScope (processor, block, midi);

            for (int i = 0; i < length; ++i)
                output[start + (size_t) i] = block.getSample (0, i);
        }
        return output;
    }

    inline std::vector<float> impulse (size_t length)
    {
        std::vector<float> x (length, 0.0f);
        x[0] = 1.0f;
        return x;
    }
}
