#include "BoundPath.h"

namespace
{
    using FilterType = juce::dsp::LinkwitzRileyFilterType;

    constexpr std::array<float, 5> crossoverFrequencies { 250.0f, 1000.0f, 2500.0f, 5000.0f, 7500.0f };

    // The filters that take crossover k's frequency, per crossover count
    // (-1 ends a list).
    constexpr int crossoverFilterTable[6][5][3] =
    {
        {},
        { { 4, 5, -1 } },
        { { 4, 5, -1 }, { 2, 3, 6 } },
        { { 0, 1, 6 }, { 4, 5, -1 }, { 2, 3, 7 } },
        { { 8, 9, 12 }, { 0, 1, 6 }, { 4, 5, -1 }, { 2, 3, 7 } },
        { { 8, 9, 12 }, { 0, 1, 6 }, { 10, 11, 13 }, { 4, 5, -1 }, { 2, 3, 7 } },
    };

    // Per count and band: the lane and up to two filters, in order (-1: none).
    struct BandRoute { int lane, first, second; };

    constexpr BandRoute bandRoutes[6][6] =
    {
        { { 0, -1, -1 } },
        { { 0, 4, -1 }, { 1, 5, -1 } },
        { { 0, 4, 6 },  { 2, 2, -1 }, { 3, 3, -1 } },
        { { 4, 0, -1 }, { 5, 1, -1 }, { 2, 2, -1 }, { 3, 3, -1 } },
        { { 6, 8, -1 }, { 7, 9, -1 }, { 5, 1, -1 }, { 2, 2, -1 }, { 3, 3, -1 } },
        { { 6, 8, -1 }, { 7, 9, -1 }, { 8, 10, -1 }, { 9, 11, -1 }, { 2, 2, -1 }, { 3, 3, -1 } },
    };

    FilterType crossoverFilterType (int index)
    {
        switch (index)
        {
            case 0: case 2: case 4: case 8: case 10:  return FilterType::lowpass;
            case 1: case 3: case 5: case 9: case 11:  return FilterType::highpass;
            default:                                  return FilterType::allpass;
        }
    }

    float makeupFactor (int shaperIndex)
    {
        constexpr float exponents[] { -0.8f, -0.875f, -0.925f, -1.0f };
        return std::pow (10.0f, shaperIndex >= 6 ? exponents[shaperIndex - 6] : -0.5f);
    }

    template <typename Curve>
    void shapeDirectly (juce::dsp::AudioBlock<float> block, Curve curve) noexcept
    {
        for (size_t ch = 0; ch < block.getNumChannels(); ++ch)
        {
            auto* samples = block.getChannelPointer (ch);
            for (size_t i = 0; i < block.getNumSamples(); ++i)
                samples[i] = curve (samples[i]);
        }
    }
}

//==============================================================================
BoundPath::BoundPath (Settings s) : settings (s)
{
    for (int i = 0; i < numCrossoverFilters; ++i)
        crossoverFilters[(size_t) i].setType (crossoverFilterType (i));

    for (size_t b = 0; b < maxBands; ++b)
    {
        oversamplers[b] = std::make_unique<juce::dsp::Oversampling<float>> (
            2, (size_t) settings.oversamplingChoice + 1,
            juce::dsp::Oversampling<float>::filterHalfBandPolyphaseIIR, true, false);

        inputGains[b].setRampDurationSeconds (0.05);
        levelGains[b].setRampDurationSeconds (0.05);
        makeupGains[b].setRampDurationSeconds (0.01);
        inputGains[b].setGainLinear (10.0f);
        makeupGains[b].setGainLinear (makeupFactor (settings.shaperIndex));

        bandMixers[b] = std::make_unique<juce::dsp::DryWetMixer<float>> (10);
        bandMixers[b]->setMixingRule (juce::dsp::DryWetMixingRule::linear);

        lowPassFilters[b].setType (FilterType::lowpass);
        highPassFilters[b].setType (FilterType::highpass);
    }

    globalMixer.setMixingRule (juce::dsp::DryWetMixingRule::linear);
    outputGain.setRampDurationSeconds (0.05);
}

void BoundPath::prepare (double sampleRate, int maximumBlockSize, int numChannels)
{
    const juce::dsp::ProcessSpec spec { sampleRate, (juce::uint32) maximumBlockSize, (juce::uint32) numChannels };

    for (auto& oversampler : oversamplers)
    {
        oversampler->numChannels = (size_t) numChannels;
        oversampler->initProcessing ((size_t) maximumBlockSize);
    }

    for (auto& f : crossoverFilters)
        f.prepare (spec);

    for (size_t b = 0; b < maxBands; ++b)
    {
        for (auto* gain : { &inputGains[b], &levelGains[b], &makeupGains[b] })
            gain->prepare (spec);
        bandMixers[b]->prepare (spec);
        lowPassFilters[b].prepare (spec);
        highPassFilters[b].prepare (spec);
        lowPassFilters[b].setCutoffFrequency (22000.0f);
        highPassFilters[b].setCutoffFrequency (20.0f);
    }

    for (size_t k = 0; k < (size_t) settings.crossoverCount; ++k)
        for (auto index : crossoverFilterTable[settings.crossoverCount][k])
            if (index >= 0)
                crossoverFilters[(size_t) index].setCutoffFrequency (crossoverFrequencies[k]);

    globalMixer.prepare (spec);
    outputGain.prepare (spec);

    for (auto& buffer : workBuffers)
        buffer.setSize (4, maximumBlockSize, false, false, true);
}

//==============================================================================
void BoundPath::preSplit (int count, std::array<Block, 10>& l) noexcept
{
    if (count == 2)
    {
        filter (5, l[1]);
        l[2].copyFrom (l[1]);
        l[3].copyFrom (l[1]);
        return;
    }

    if (count < 3)
        return;

    filter (4, l[0]); filter (7, l[0]);
    l[4].copyFrom (l[0]);
    l[5].copyFrom (l[0]);

    if (count == 4)
    {
        filter (0, l[4]); filter (12, l[4]);
        l[6].copyFrom (l[4]);
        l[7].copyFrom (l[4]);
    }
    else if (count == 5)
    {
        filter (0, l[4]); filter (13, l[4]);
        l[6].copyFrom (l[4]);
        l[7].copyFrom (l[4]);
        filter (1, l[5]); filter (12, l[5]);
        l[8].copyFrom (l[5]);
        l[9].copyFrom (l[5]);
    }

    filter (5, l[1]); filter (6, l[1]);
    l[2].copyFrom (l[1]);
    l[3].copyFrom (l[1]);
}

void BoundPath::process (juce::AudioBuffer<float>& buffer) noexcept
{
    juce::ScopedNoDenormals noDenormals;

    const auto n = (size_t) buffer.getNumChannels();
    const auto numSamples = (size_t) buffer.getNumSamples();

    std::array<Block, 10> lanes;
    for (size_t i = 0; i < workBuffers.size(); ++i)
    {
        Block whole (workBuffers[i]);
        lanes[2 * i]     = whole.getSubsetChannelBlock (0, n).getSubBlock (0, numSamples);
        lanes[2 * i + 1] = whole.getSubsetChannelBlock (2, n).getSubBlock (0, numSamples);
    }

    Block host (buffer);
    lanes[0].copyFrom (host);
    lanes[1].copyFrom (host);

    const auto count = settings.crossoverCount;
    preSplit (count, lanes);

    globalMixer.pushDrySamples (host);
    host.clear();

    for (int b = 0; b <= count; ++b)
    {
        const auto& route = bandRoutes[count][b];
        auto lane = lanes[(size_t) route.lane];
        for (auto index : { route.first, route.second })
            if (index >= 0)
                filter (index, lane);

        processBand (b, lane);
        host.add (lane);
    }

    globalMixer.mixWetSamples (host);
    outputGain.process (Context (host));
}

void BoundPath::processBand (int band, Block block) noexcept
{
    const auto b = (size_t) band;
    Context context (block);
    auto& oversampler = *oversamplers[b];
    auto& mixer = *bandMixers[b];

    mixer.setWetLatency (oversampler.getLatencyInSamples());
    mixer.pushDrySamples (block);
    inputGains[b].process (context);

    auto oversampled = oversampler.processSamplesUp (block);
    shape (oversampled);
    oversampled.multiplyBy (0.7f);
    oversampler.processSamplesDown (block);

    makeupGains[b].process (context);
    highPassFilters[b].process (context);
    lowPassFilters[b].process (context);
    mixer.mixWetSamples (block);
    levelGains[b].process (context);
}

void BoundPath::shape (Block oversampled) noexcept
{
    using namespace SaturationCurves;

    switch (settings.shaperIndex)
    {
        case 0:  shapeDirectly (oversampled, softClip); break;
        case 1:  shapeDirectly (oversampled, hardClip); break;
        case 2:  shapeDirectly (oversampled, tube); break;
        case 3:  shapeDirectly (oversampled, [this] (float x) { return tape (x, tapeNoise); }); break;
        case 4:  shapeDirectly (oversampled, halfRectify); break;
        case 5:  shapeDirectly (oversampled, fullRectify); break;
        case 6:  shapeDirectly (oversampled, chebyshev2); break;
        case 7:  shapeDirectly (oversampled, chebyshev4); break;
        case 8:  shapeDirectly (oversampled, chebyshev6); break;
        default: shapeDirectly (oversampled, chebyshev8); break;
    }
}
