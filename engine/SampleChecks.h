#pragma once

#include <juce_dsp/juce_dsp.h>

/** Finiteness checks over whole blocks, written as loops the compiler
    vectorises (a sample is finite unless its exponent bits are all set). */
namespace SampleChecks
{
    /** True when every sample of the block is finite. */
    bool allFinite (const juce::dsp::AudioBlock<float>& block) noexcept;

    /** Replaces every non-finite sample (NaN, infinity) by 0. */
    void replaceNonFinite (float* samples, int numSamples) noexcept;
}
