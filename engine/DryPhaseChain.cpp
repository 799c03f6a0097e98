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

    juce::dsp::ProcessContextReplacing<float> context (block);
    for (size_t i = 0; i < std::min (numStages, stages.size()); ++i)
        stages[i].process (context);

    if (fullyWet)
        samplesUntilSilent -= (int) block.getNumSamples();
}
