#pragma once

// The yardstick for processBlock's speed: the plug-in's signal path built
// from the same JUCE objects alone (14 Linkwitz-Riley crossover filters, per
// band gains, oversamplers, mixers and filters, the global mixer and the
// output gain), each driven the library's own way (a whole block, one channel
// after the other), with the saturation curve called directly in a plain loop.
// No parameter store, no records, no analysers, no settings taken up per block.

#include "engine/SaturationCurves.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_dsp/juce_dsp.h>

#include <array>
#include <memory>

class BoundPath
{
public:
    struct Settings
    {
        int crossoverCount = 5;
        int shaperIndex = 2;          // "Tube"
        int oversamplingChoice = 0;   // "X2"
    };

    explicit BoundPath (Settings settings);

    void prepare (double sampleRate, int maximumBlockSize, int numChannels);
    void process (juce::AudioBuffer<float>& buffer) noexcept;

private:
    using Filter = juce::dsp::LinkwitzRileyFilter<float>;
    using Block = juce::dsp::AudioBlock<float>;
    using Context = juce::dsp::ProcessContextReplacing<float>;

    static constexpr int maxBands = 6;
    static constexpr int numCrossoverFilters = 14;

    void filter (int index, Block lane) noexcept  { crossoverFilters[(size_t) index].process (Context (lane)); }
    void preSplit (int count, std::array<Block, 10>& lanes) noexcept;
    void processBand (int band, Block block) noexcept;
    void shape (Block oversampled) noexcept;

    Settings settings;
    std::array<Filter, numCrossoverFilters> crossoverFilters;
    std::array<juce::dsp::Gain<float>, maxBands> inputGains, levelGains, makeupGains;
    std::array<std::unique_ptr<juce::dsp::DryWetMixer<float>>, maxBands> bandMixers;
    std::array<Filter, maxBands> lowPassFilters, highPassFilters;
    std::array<juce::AudioBuffer<float>, 5> workBuffers;
    juce::dsp::DryWetMixer<float> globalMixer;
    std::array<std::unique_ptr<juce::dsp::Oversampling<float>>, maxBands> oversamplers;
    juce::dsp::Gain<float> outputGain;
    TapeNoiseSource tapeNoise;
};
