// A check of processor-state data before JUCE's value-tree reader sees it.
//
// The processor state is JUCE's binary value-tree stream. JUCE's reader
// trusts the counts and sizes in the data: a damaged chunk can make it
// reserve gigabytes, loop two billion times, recurse until the stack runs
// out, or stop half way and hand back a partial tree (whose missing
// parameters would then fall back to their defaults). The check walks the
// data the way the reader does, without building anything, and accepts it
// only when every count and size fits in the bytes that are there, the
// nesting stays shallow and nothing is cut off.
#pragma once

#include <cstddef>

namespace valuetreedata
{
    /** Deepest nesting of trees and arrays accepted; the processor's own
        state is two levels deep. */
    constexpr int kMaximumStateNesting = 32;

    /** True when the bytes hold one complete, well-formed value tree
        (trailing bytes after it are allowed, as the reader ignores them). */
    bool isCompleteValueTreeData (const void* data, size_t size) noexcept;
}
