// The host's own knowledge of the plug-in's parameters: the plug-in's
// parameter layout, built once without a processor's engine, presets or
// threads. The host uses it to list the parameters and to turn values given
// in each parameter's own units into the normalised values that travel
// through the host interfaces.
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace zelkhost
{
    class ParameterCatalogue final : public juce::AudioProcessor
    {
    public:
        ParameterCatalogue();
        ~ParameterCatalogue() override;

        const juce::String getName() const override { return "ZELK-MULTI parameters"; }
        void prepareToPlay (double, int) override {}
        void releaseResources() override {}
        void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
        double getTailLengthSeconds() const override { return 0.0; }
        bool acceptsMidi() const override { return false; }
        bool producesMidi() const override { return false; }
        juce::AudioProcessorEditor* createEditor() override { return nullptr; }
        bool hasEditor() const override { return false; }
        int getNumPrograms() override { return 1; }
        int getCurrentProgram() override { return 0; }
        void setCurrentProgram (int) override {}
        const juce::String getProgramName (int) override { return {}; }
        void changeProgramName (int, const juce::String&) override {}
        void getStateInformation (juce::MemoryBlock&) override {}
        void setStateInformation (const void*, int) override {}

    private:
        std::unique_ptr<juce::AudioProcessorValueTreeState> mParameters;
    };
}
