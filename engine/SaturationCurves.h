#pragma once

#include <algorithm>
#include <array>
#include <cmath>
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
    int next() noexcept
    {
        // xorshift64* (Vigna); the top 31 bits of the scrambled output are the
        // best distributed ones and span exactly [0, 2^31 - 1].
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<int> ((state * 0x2545f4914f6cdd1dull) >> 33);
    }

private:
    std::uint64_t state;
};

/** The ten saturation curves, one float sample in, one float sample out.
    They are defined here so that loops over a block can inline them. */
namespace SaturationCurves
{
    inline float softClip (float x) noexcept
    {
        // Rational (Padé) approximation of tanh.
        const auto s = x * x;
        const auto numerator = x * (((s + 378.0f) * s + 17325.0f) * s + 135135.0f);
        const auto denominator = ((28.0f * s + 3150.0f) * s + 62370.0f) * s + 135135.0f;
        return numerator / denominator;
    }

    inline float hardClip (float x) noexcept
    {
        // std::min and std::max, written out so that loops of it vectorise.
        const auto upper = 1.0f < x ? 1.0f : x;
        return upper < -1.0f ? -1.0f : upper;
    }

    inline float tube (float x) noexcept
    {
        return x / (std::abs (x) + 1.0f);
    }

    inline float tape (float x, TapeNoiseSource& noise) noexcept
    {
        // A small positive bias plus up to 0.01 of hiss, in single precision.
        const auto hiss = static_cast<float> (noise.next()) * 4.656611901632246e-12f;
        const auto v = (0.09f + x) + hiss;

        // A drive that wanders between 1.1 and 1.2. The scaled draw is formed in
        // single precision and only then widened.
        const auto scaledDraw = static_cast<float> (noise.next()) * -4.656612873077393e-10f;   // -2^-31
        const auto drive = 1.2 + 0.10000000000000009 * static_cast<double> (scaledDraw);

        double result;

        if (! (v > -1.0f))          // also catches NaN
            result = -0.6666666666666666 * drive;
        else if (v >= 1.0f)
            result = 0.6666666666666666 * drive;
        else
        {
            const auto u = static_cast<double> (v) / drive;
            result = drive * (u + (-0.3333333333333333 * u * u) * u);
        }

        return static_cast<float> (result);
    }

    inline float halfRectify (float x) noexcept
    {
        return x <= 0.0f ? 0.0f : (1.0f < x ? 1.0f : x);
    }

    inline float fullRectify (float x) noexcept
    {
        const auto magnitude = std::abs (x);
        return 1.0f < magnitude ? 1.0f : magnitude;
    }

    namespace detail
    {
        // Folds a Chebyshev polynomial's output y back below the input scale.
        inline float limitToScale (double y, double scale) noexcept
        {
            return static_cast<float> (scale * y / (std::abs (y) + 1.0));
        }
    }

    inline float chebyshev2 (float x) noexcept
    {
        const auto xd = static_cast<double> (x);
        const auto half = 0.5 * xd;
        const auto y = xd * -1.5 + (half * half) * (2.0 * xd);          // T3 (x / 2)
        return detail::limitToScale (y, 2.0);
    }

    inline float chebyshev4 (float x) noexcept
    {
        const auto xd = static_cast<double> (x);
        const auto u = xd * 0.3333333333333333;
        const auto u2 = u * u;
        const auto y = ((5.333333333333333 * u2 - 6.666666666666666) * u2 + 1.6666666666666665) * xd;   // T5 (x / 3)
        return detail::limitToScale (y, 3.0);
    }

    inline float chebyshev6 (float x) noexcept
    {
        const auto xd = static_cast<double> (x);
        const auto u = 0.25 * xd;
        const auto u2 = u * u;
        const auto y = (((16.0 * u2 - 28.0) * u2 + 14.0) * u2 - 1.75) * xd;                              // T7 (x / 4)
        return detail::limitToScale (y, 4.0);
    }

    inline float chebyshev8 (float x) noexcept
    {
        const auto xd = static_cast<double> (x);
        const auto u = 0.2 * xd;
        const auto u2 = u * u;
        const auto y = ((((51.2 * u2 - 115.2) * u2 + 86.4) * u2 - 24.0) * u2 + 1.8) * xd;                // T9 (x / 5)
        return detail::limitToScale (y, 5.0);
    }

    constexpr std::size_t numCurves = 10;

    /** The band engine's table: entries 0..9 are the curves in choice order
        ("Soft Clip" .. "Chebyshev 8"), entry 10 stays empty. The "Tape" entry
        draws from the given source, which must outlive the table. No entry
        allocates when called. */
    std::array<std::function<float (float)>, 11> makeWaveShapers (TapeNoiseSource& noise);

    /** Replaces each of `numSamples` samples, in order, by curve `index` (0..9)
        of it times `scale`: the same values, bit for bit, as calling the
        table's entry and scaling its result, in a loop the compiler inlines
        and vectorises. "Tape" draws from `noise` as its table entry does. */
    void shapeAndScale (std::size_t index, float* samples, std::size_t numSamples,
                        float scale, TapeNoiseSource& noise) noexcept;
}
