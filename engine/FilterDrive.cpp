#include "FilterDrive.h"

namespace FilterDrive
{
    namespace
    {
        // The library's `process` flushes each filter's state after a block.
        void flushState (Filter* const* filters, int numFilters) noexcept
        {
           #if JUCE_DSP_ENABLE_SNAP_TO_ZERO
            for (int f = 0; f < numFilters; ++f)
                filters[f]->snapToZero();
           #else
            juce::ignoreUnused (filters, numFilters);
           #endif
        }

        float runInOrder (Filter* const* allPasses, int numAllPasses, int channel, float x) noexcept
        {
            for (int f = 0; f < numAllPasses; ++f)
                x = allPasses[f]->processSample (channel, x);
            return x;
        }
    }

    void runChain (Filter* const* filters, int numFilters, Block block) noexcept
    {
        if (numFilters <= 0)
            return;

        const auto numChannels = (int) block.getNumChannels();
        const auto numSamples = block.getNumSamples();

        for (size_t i = 0; i < numSamples; ++i)
        {
            for (int ch = 0; ch < numChannels; ++ch)
            {
                auto* samples = block.getChannelPointer ((size_t) ch);
                samples[i] = runInOrder (filters, numFilters, ch, samples[i]);
            }
        }

        flushState (filters, numFilters);
    }

    void runSplit (Filter& lowPass, Filter* highPass, Block input, SplitOutput low, SplitOutput high) noexcept
    {
        const auto numChannels = (int) input.getNumChannels();
        const auto numSamples = input.getNumSamples();

        for (size_t i = 0; i < numSamples; ++i)
        {
            for (int ch = 0; ch < numChannels; ++ch)
            {
                const auto x = input.getChannelPointer ((size_t) ch)[i];
                float lowSample, highSample;

                if (highPass != nullptr)
                {
                    lowSample = lowPass.processSample (ch, x);
                    highSample = highPass->processSample (ch, x);
                }
                else
                {
                    lowPass.processSample (ch, x, lowSample, highSample);
                }

                low.block.getChannelPointer ((size_t) ch)[i] = runInOrder (low.allPasses, low.numAllPasses, ch, lowSample);
                high.block.getChannelPointer ((size_t) ch)[i] = runInOrder (high.allPasses, high.numAllPasses, ch, highSample);
            }
        }

        Filter* const pair[] { &lowPass, highPass };
        flushState (pair, highPass != nullptr ? 2 : 1);
        flushState (low.allPasses, low.numAllPasses);
        flushState (high.allPasses, high.numAllPasses);
    }

    void runBlockwise (Filter* const* filters, int numFilters, Block block) noexcept
    {
        const juce::dsp::ProcessContextReplacing<float> context (block);
        for (int f = 0; f < numFilters; ++f)
            filters[f]->process (context);
    }

    void runBlockwise (Filter& first, const SplitOutput& side) noexcept
    {
        Filter* const firstOnly[] { &first };
        runBlockwise (firstOnly, 1, side.block);
        runBlockwise (side.allPasses, side.numAllPasses, side.block);
    }
}
