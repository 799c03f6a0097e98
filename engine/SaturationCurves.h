#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

/** Lock-free source of uniform random integers in [0, 2^31 - 1] for the "Tape"
    curve (xorshift64*). Each band engine owns one, so instances running on
    parallel audio threads never share or lock a generator. Not thread-safe:
    one thread draws from a given source. */
class TapeNoiseSource
{
public:
    static constexpr int maximum = 0x7fffffff;
    static constexpr std::uint64_t defaultSeed = 0x9e3779b97f4a7c15ull;

    explicit TapeNoiseSource (std::uint64_t seed = defaultSeed) noexcept;

    /** Restarts the sequence; a seed of 0 is replaced by the default seed. */
    void reseed (std::uint64_t seed) noexcept;

    /** The next integer, uniform in [0, maximum]. */
    int next() noexcept;

private:
    std::uint64_t state;
};

/** The ten saturation curves, one float sample in, one float sample out. */
namespace SaturationCurves
{
    float softClip (float x) noexcept;
    float hardClip (float x) noexcept;
    float tube (float x) noexcept;
    float tape (float x, TapeNoiseSource& noise) noexcept;
    float halfRectify (float x) noexcept;
    float fullRectify (float x) noexcept;
    float chebyshev2 (float x) noexcept;
    float chebyshev4 (float x) noexcept;
    float chebyshev6 (float x) noexcept;
    float chebyshev8 (float x) noexcept;

    constexpr std::size_t numCurves = 10;

    /** The band engine's table: entries 0..9 are the curves in choice order
        ("Soft Clip" .. "Chebyshev 8"), entry 10 stays empty. The "Tape" entry
        draws from the given source, which must outlive the table. No entry
        allocates when called. */
    std::array<std::function<float (float)>, 11> makeWaveShapers (TapeNoiseSource& noise);
}
