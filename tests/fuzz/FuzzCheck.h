// Invariant checks for the fuzz programs: a broken one prints what broke and
// aborts, which libFuzzer reports as a crash and saves the input for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fuzzsupport
{
    [[noreturn]] inline void fail (const char* what)
    {
        std::fprintf (stderr, "\n*** fuzz invariant broken: %s\n", what);
        std::fflush (stderr);
        std::abort();
    }

    inline void require (bool condition, const char* what)
    {
        if (! condition)
            fail (what);
    }

    /** True when value is finite and inside 0..1. */
    inline bool isNormalised (double value) { return value >= 0.0 && value <= 1.0; }

    inline std::vector<uint8_t> bytesOf (const uint8_t* data, size_t size)
    {
        return std::vector<uint8_t> (data, data + size);
    }
}
