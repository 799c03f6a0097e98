#include "DryPhaseChain.h"

#include <cmath>

namespace
{
    constexpr float sqrt2 = 1.41421356f;
}

DryPhaseChain::DryPhaseChain() = default;

void DryPhaseChain::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = spec.sampleRate;
    for (auto& stage : stages)
        updateCoefficients (stage);

    rampSamples = (int) std::ceil (mixerRampSeconds * spec.sampleRate);
    mixerSnapped();
}

void DryPhaseChain::reset() noexcept
{
    for (auto& stage : stages)
    {
        stage.s1.fill (0.0f);
        stage.s2.fill (0.0f);
    }
}

void DryPhaseChain::setCutoff (int stage, float hz) noexcept
{
    auto& s = stages[(size_t) stage];
    s.cutoff = hz;
    updateCoefficients (s);
}

void DryPhaseChain::updateCoefficients (Stage& stage) const noexcept
{
    if (sampleRate <= 0.0)
        return;

    const auto g = std::tan (juce::MathConstants<double>::pi * (double) stage.cutoff / sampleRate);
    stage.g = (float) g;
    stage.h = (float) (1.0 / (1.0 + (double) sqrt2 * g + g * g));
    stage.feedback = sqrt2 + stage.g;
}

void DryPhaseChain::setWetProportion (float wetProportion) noexcept
{
    fullyWet = wetProportion >= 1.0f;
    samplesUntilSilent = rampSamples;
}

void DryPhaseChain::mixerSnapped() noexcept
{
    samplesUntilSilent = 0;
    reset();
}

template <size_t numChannels, size_t numStages>
void DryPhaseChain::runStages (juce::dsp::AudioBlock<float>& block) noexcept
{
    // Coefficients and state in locals, the counts fixed at compile time: the
    // whole chain then stays in registers, and running it sample by sample
    // with the channels side by side lets the stages' recursions overlap.
    std::array<float, numStages> g, h, feedback;
    std::array<std::array<float, numChannels>, numStages> s1, s2;
    for (size_t k = 0; k < numStages; ++k)
    {
        g[k] = stages[k].g;
        h[k] = stages[k].h;
        feedback[k] = stages[k].feedback;
        for (size_t ch = 0; ch < numChannels; ++ch)
        {
            s1[k][ch] = stages[k].s1[ch];
            s2[k][ch] = stages[k].s2[ch];
        }
    }

    std::array<float*, numChannels> data;
    for (size_t ch = 0; ch < numChannels; ++ch)
        data[ch] = block.getChannelPointer (ch);

    for (size_t i = 0; i < block.getNumSamples(); ++i)
    {
        for (size_t ch = 0; ch < numChannels; ++ch)
        {
            auto x = data[ch][i];

            for (size_t k = 0; k < numStages; ++k)
            {
                const auto high = (x - feedback[k] * s1[k][ch] - s2[k][ch]) * h[k];
                const auto band = g[k] * high + s1[k][ch];
                s1[k][ch] = g[k] * high + band;
                const auto low = g[k] * band + s2[k][ch];
                s2[k][ch] = g[k] * band + low;

                x = low - sqrt2 * band + high;
            }

            data[ch][i] = x;
        }
    }

    for (size_t k = 0; k < numStages; ++k)
    {
        for (size_t ch = 0; ch < numChannels; ++ch)
        {
            stages[k].s1[ch] = s1[k][ch];
            stages[k].s2[ch] = s2[k][ch];
        }
    }
}

template <size_t numChannels>
void DryPhaseChain::runStages (juce::dsp::AudioBlock<float>& block, size_t numStages) noexcept
{
    switch (numStages)
    {
        case 1:  runStages<numChannels, 1> (block); break;
        case 2:  runStages<numChannels, 2> (block); break;
        case 3:  runStages<numChannels, 3> (block); break;
        case 4:  runStages<numChannels, 4> (block); break;
        case 5:  runStages<numChannels, 5> (block); break;
        default: break;
    }
}

void DryPhaseChain::process (juce::dsp::AudioBlock<float> block, size_t numStages) noexcept
{
    if (fullyWet && samplesUntilSilent <= 0)
    {
        resting = true;
        return;
    }

    if (resting)
    {
        reset();
        resting = false;
    }

    const auto n = std::min (numStages, stages.size());

    if (block.getNumChannels() >= 2)
        runStages<2> (block, n);
    else if (block.getNumChannels() == 1)
        runStages<1> (block, n);

    if (fullyWet)
        samplesUntilSilent -= (int) block.getNumSamples();
}
