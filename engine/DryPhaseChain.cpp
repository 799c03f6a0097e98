#include "DryPhaseChain.h"

#include <cmath>

DryPhaseChain::DryPhaseChain()
{
    for (auto& stage : stages)
        stage.setType (juce::dsp::LinkwitzRileyFilterType::allpass);
}

void DryPhaseChain::prepare (const juce::dsp::ProcessSpec& spec)
{
    for (auto& stage : stages)
        stage.prepare (spec);

    rampSamples = (int) std::ceil (mixerRampSeconds * spec.sampleRate);
    mixerSnapped();
}

void DryPhaseChain::reset() noexcept
{
    for (auto& stage : stages)
        stage.reset();
}

void DryPhaseChain::setCutoff (int stage, float hz) noexcept
{
    stages[(size_t) stage].setCutoffFrequency (hz);
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

template <size_t numChannels>
void DryPhaseChain::runStages (juce::dsp::AudioBlock<float>& block, size_t numStages) noexcept
{
    // Sample by sample with the channels side by side, so that one channel's
    // recursion overlaps the other's; each channel's state is its own, so
    // this is exactly what running the filters over the block gives.
    std::array<float*, numChannels> data;
    for (size_t ch = 0; ch < numChannels; ++ch)
        data[ch] = block.getChannelPointer (ch);

    for (size_t i = 0; i < block.getNumSamples(); ++i)
    {
        for (size_t ch = 0; ch < numChannels; ++ch)
        {
            auto x = data[ch][i];
            for (size_t k = 0; k < numStages; ++k)
                x = stages[k].processSample ((int) ch, x);
            data[ch][i] = x;
        }
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
