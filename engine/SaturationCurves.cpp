#include "SaturationCurves.h"

#include <algorithm>
#include <cmath>

//==============================================================================
TapeNoiseSource::TapeNoiseSource (std::uint64_t seed) noexcept
{
    reseed (seed);
}

void TapeNoiseSource::reseed (std::uint64_t seed) noexcept
{
    // xorshift never leaves the all-zero state, so that seed is not usable.
    state = seed != 0 ? seed : defaultSeed;
}

int TapeNoiseSource::next() noexcept
{
    // xorshift64* (Vigna); the top 31 bits of the scrambled output are the
    // best distributed ones and span exactly [0, 2^31 - 1].
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return static_cast<int> ((state * 0x2545f4914f6cdd1dull) >> 33);
}

//==============================================================================
namespace SaturationCurves
{
    float softClip (float x) noexcept
    {
        // Rational (Padé) approximation of tanh.
        const auto s = x * x;
        const auto numerator = x * (((s + 378.0f) * s + 17325.0f) * s + 135135.0f);
        const auto denominator = ((28.0f * s + 3150.0f) * s + 62370.0f) * s + 135135.0f;
        return numerator / denominator;
    }

    float hardClip (float x) noexcept
    {
        return std::max (std::min (x, 1.0f), -1.0f);
    }

    float tube (float x) noexcept
    {
        return x / (std::abs (x) + 1.0f);
    }

    float tape (float x, TapeNoiseSource& noise) noexcept
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

    float halfRectify (float x) noexcept
    {
        return x <= 0.0f ? 0.0f : std::min (x, 1.0f);
    }

    float fullRectify (float x) noexcept
    {
        return std::min (std::abs (x), 1.0f);
    }

    namespace
    {
        // Folds a Chebyshev polynomial's output y back below the input scale.
        float limitToScale (double y, double scale) noexcept
        {
            return static_cast<float> (scale * y / (std::abs (y) + 1.0));
        }
    }

    float chebyshev2 (float x) noexcept
    {
        const auto xd = static_cast<double> (x);
        const auto half = 0.5 * xd;
        const auto y = xd * -1.5 + (half * half) * (2.0 * xd);          // T3 (x / 2)
        return limitToScale (y, 2.0);
    }

    float chebyshev4 (float x) noexcept
    {
        const auto xd = static_cast<double> (x);
        const auto u = xd * 0.3333333333333333;
        const auto u2 = u * u;
        const auto y = ((5.333333333333333 * u2 - 6.666666666666666) * u2 + 1.6666666666666665) * xd;   // T5 (x / 3)
        return limitToScale (y, 3.0);
    }

    float chebyshev6 (float x) noexcept
    {
        const auto xd = static_cast<double> (x);
        const auto u = 0.25 * xd;
        const auto u2 = u * u;
        const auto y = (((16.0 * u2 - 28.0) * u2 + 14.0) * u2 - 1.75) * xd;                              // T7 (x / 4)
        return limitToScale (y, 4.0);
    }

    float chebyshev8 (float x) noexcept
    {
        const auto xd = static_cast<double> (x);
        const auto u = 0.2 * xd;
        const auto u2 = u * u;
        const auto y = ((((51.2 * u2 - 115.2) * u2 + 86.4) * u2 - 24.0) * u2 + 1.8) * xd;                // T9 (x / 5)
        return limitToScale (y, 5.0);
    }

    std::array<std::function<float (float)>, 11> makeWaveShapers (TapeNoiseSource& noise)
    {
        // The "Tape" entry captures only a pointer, so std::function keeps it in
        // its small-object buffer and calling it never allocates.
        auto* source = &noise;

        return { softClip,
                 hardClip,
                 tube,
                 [source] (float x) noexcept { return tape (x, *source); },
                 halfRectify,
                 fullRectify,
                 chebyshev2,
                 chebyshev4,
                 chebyshev6,
                 chebyshev8,
                 {} };
    }
}
