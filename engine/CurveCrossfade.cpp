#include "CurveCrossfade.h"

#include <algorithm>
#include <cmath>

void CurveCrossfade::prepare (double sampleRate) noexcept
{
    baseLength = std::max (1, (int) std::lround (fadeSeconds * sampleRate));
    fadeLength = 0;
}

void CurveCrossfade::start (int shaper) noexcept
{
    target = source = shaper;
    fadeLength = 0;
    position = 0;
}

void CurveCrossfade::select (int shaper, int factor) noexcept
{
    if (shaper == target)
        return;

    if (! isFading())
    {
        source = target;
        position = 0;
    }
    else if (shaper == source)
    {
        // Back to where the fade came from: the same gains, run the other way.
        source = target;
        position = fadeLength - position;
    }
    else
    {
        // A third curve waits until the running fade has ended: the blend
        // heard now has reached one curve then, and a fade of its own takes
        // it on from there. Starting over from either curve would jump.
        return;
    }

    target = shaper;
    fadeLength = baseLength * factor;
}

void CurveCrossfade::shapeFading (juce::dsp::AudioBlock<float> block, const Curves& curves,
                                  float fromScale, float toScale) noexcept
{
    const auto& from = curves[(size_t) source];
    const auto& to = curves[(size_t) target];
    const auto step = juce::MathConstants<double>::pi / fadeLength;
    const auto numSamples = block.getNumSamples();
    const auto fading = std::min (numSamples, (size_t) (fadeLength - position));
    const auto numChannels = block.getNumChannels();

    // Sample by sample across the channels: one gain serves them all.
    for (size_t i = 0; i < fading; ++i)
    {
        const auto in = (float) (0.5 - 0.5 * std::cos (step * (double) (position + (int) i)));
        for (size_t ch = 0; ch < numChannels; ++ch)
        {
            auto& sample = block.getChannelPointer (ch)[i];
            sample = from (sample) * fromScale * (1.0f - in) + to (sample) * toScale * in;
        }
    }

    for (size_t ch = 0; ch < numChannels; ++ch)
    {
        auto* samples = block.getChannelPointer (ch);
        for (size_t i = fading; i < numSamples; ++i)
            samples[i] = to (samples[i]) * toScale;
    }

    position += (int) fading;
    if (position >= fadeLength)
        fadeLength = position = 0;
}
