#pragma once

#include <juce_dsp/juce_dsp.h>

/** Drives JUCE's Linkwitz-Riley filters over a block sample by sample, with
    every channel and every filter of a chain in one loop. A filter's
    recursion is a long chain of dependent operations; run one channel after
    the other through a whole block (as the filter's own `process` does) the
    processor waits on it, while here the recursions of both channels and of
    all chained filters overlap. The results are those of calling `process`
    on each filter in turn, bit for bit, state flushing included.
*/
namespace FilterDrive
{
    using Filter = juce::dsp::LinkwitzRileyFilter<float>;
    using Block = juce::dsp::AudioBlock<float>;

    /** Runs `numFilters` filters, in order, over `block` in place. */
    void runChain (Filter* const* filters, int numFilters, Block block) noexcept;

    /** One output of a split: the block it goes to and the all-passes that
        follow the split's filter on the way there. */
    struct SplitOutput
    {
        Block block;
        Filter* const* allPasses;
        int numAllPasses;
    };

    /** Feeds `input` to a low-pass and a high-pass filter at the same cutoff
        and writes each result, through its all-passes, to its output (either
        output may be `input` itself). Without a high-pass filter the low-pass
        filter's two-output call gives both sides; its high side is then the
        filter's all-pass output minus its low-pass output, which equals a
        separate high-pass filter's within float rounding. */
    void runSplit (Filter& lowPass, Filter* highPass, Block input,
                   SplitOutput low, SplitOutput high) noexcept;

    /** The library's own way, for comparison: each filter's `process` over
        the whole block in turn, one channel after the other. */
    void runBlockwise (Filter* const* filters, int numFilters, Block block) noexcept;

    /** The same for one side of a split whose block already holds the input:
        `first`, then the side's all-passes. */
    void runBlockwise (Filter& first, const SplitOutput& side) noexcept;
}
