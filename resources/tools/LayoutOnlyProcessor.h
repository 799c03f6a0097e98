#pragma once

#include "engine/ParameterLayout.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** A processor that does nothing at all: the base of stand-ins that only need
    a processor to hang parameters on (tools and tests). */
class SilentProcessor : public juce::AudioProcessor
{
public:
    explicit SilentProcessor (juce::String processorName) : name (std::move (processorName)) {}

    const juce::String getName() const override                           { return name; }
    void prepareToPlay (double, int) override                             {}
    void releaseResources() override                                      {}
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    double getTailLengthSeconds() const override                          { return 0.0; }
    bool acceptsMidi() const override                                     { return false; }
    bool producesMidi() const override                                    { return false; }
    juce::AudioProcessorEditor* createEditor() override                   { return nullptr; }
    bool hasEditor() const override                                       { return false; }
    int getNumPrograms() override                                         { return 1; }
    int getCurrentProgram() override                                      { return 0; }
    void setCurrentProgram (int) override                                 {}
    const juce::String getProgramName (int) override                      { return {}; }
    void changeProgramName (int, const juce::String&) override            {}
    void getStateInformation (juce::MemoryBlock&) override                {}
    void setStateInformation (const void*, int) override                  {}

private:
    const juce::String name;
};

/** A processor that holds nothing but the plug-in's parameter store: enough to
    convert plain settings to normalised values through the real parameter
    ranges, without the audio engine or the presets file. */
class LayoutOnlyProcessor : public SilentProcessor
{
public:
    LayoutOnlyProcessor() : SilentProcessor ("LayoutOnly") {}

    juce::AudioProcessorValueTreeState parameters { *this, nullptr, "PARAMS", createParameterLayout() };
};
