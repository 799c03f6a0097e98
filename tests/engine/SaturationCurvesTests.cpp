#include <gtest/gtest.h>

#include "engine/SaturationCurves.h"
#include "support/AllocationCounter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace
{
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();

    std::vector<float> sweep (float from, float to, int steps)
    {
        std::vector<float> values;
        for (int i = 0; i <= steps; ++i)
            values.push_back (from + (to - from) * static_cast<float> (i) / static_cast<float> (steps));
        return values;
    }

    /** T_n by the three-term recurrence, independent of the curves' Horner forms. */
    double chebyshevPolynomial (int degree, double t)
    {
        double previous = 1.0, current = t;
        for (int n = 1; n < degree; ++n)
        {
            const auto next = 2.0 * t * current - previous;
            previous = current;
            current = next;
        }
        return current;
    }

    /** The Chebyshev curves: scale k, degree 2k - 1, folded by k y / (|y| + 1). */
    double expectedChebyshev (int scale, double x)
    {
        const auto y = chebyshevPolynomial (2 * scale - 1, x / scale);
        return scale * y / (std::abs (y) + 1.0);
    }

    double driveFromDraw (int draw)
    {
        return 1.2 + 0.10000000000000009 * static_cast<double> (static_cast<float> (draw) * -4.656612873077393e-10f);
    }
}

//==============================================================================
TEST (SaturationCurves, Clippers)
{
    using namespace SaturationCurves;
    EXPECT_EQ (hardClip (2.5f), 1.0f);
    EXPECT_EQ (hardClip (-7.0f), -1.0f);
    EXPECT_EQ (hardClip (0.25f), 0.25f);
    EXPECT_EQ (hardClip (infinity), 1.0f);
    EXPECT_EQ (hardClip (-infinity), -1.0f);

    EXPECT_EQ (tube (1.0f), 0.5f);
    EXPECT_EQ (tube (-3.0f), -0.75f);
    EXPECT_EQ (tube (0.0f), 0.0f);
}

TEST (SaturationCurves, Rectifiers)
{
    using namespace SaturationCurves;
    EXPECT_EQ (halfRectify (-0.3f), 0.0f);
    EXPECT_EQ (halfRectify (0.0f), 0.0f);
    EXPECT_EQ (halfRectify (0.4f), 0.4f);
    EXPECT_EQ (halfRectify (3.0f), 1.0f);
    EXPECT_EQ (halfRectify (-infinity), 0.0f);

    EXPECT_EQ (fullRectify (-0.3f), 0.3f);
    EXPECT_EQ (fullRectify (0.3f), 0.3f);
    EXPECT_EQ (fullRectify (-3.0f), 1.0f);
    EXPECT_EQ (fullRectify (-infinity), 1.0f);
}

TEST (SaturationCurves, SoftClipFollowsTanh)
{
    using SaturationCurves::softClip;
    EXPECT_EQ (softClip (0.0f), 0.0f);
    EXPECT_NEAR (softClip (1.0f), 0.7616f, 5.0e-5f);
    EXPECT_NEAR (softClip (10.0f), 1.009f, 1.0e-3f);

    for (auto x : sweep (-3.0f, 3.0f, 600))
        EXPECT_NEAR (softClip (x), std::tanh (x), 1.0e-4f) << x;

    for (auto x : sweep (-5.0f, 5.0f, 1000))
    {
        EXPECT_LE (std::abs (softClip (x)), 1.00002f) << x;
        EXPECT_EQ (softClip (-x), -softClip (x)) << x;
    }

    // No clamp: far out it grows slowly toward x / 28.
    EXPECT_GT (softClip (100.0f), softClip (10.0f));
    EXPECT_NEAR (softClip (10000.0f) / (10000.0f / 28.0f), 1.0f, 0.01f);
}

TEST (SaturationCurves, ChebyshevCurvesFollowTheirPolynomials)
{
    using namespace SaturationCurves;
    EXPECT_EQ (chebyshev2 (1.0f), -1.0f);
    EXPECT_EQ (chebyshev2 (2.0f), 1.0f);
    EXPECT_EQ (chebyshev4 (3.0f), 1.5f);
    EXPECT_EQ (chebyshev6 (4.0f), 2.0f);
    EXPECT_EQ (chebyshev8 (5.0f), 2.5f);

    const std::pair<int, float (*) (float) noexcept> curves[] { { 2, chebyshev2 }, { 3, chebyshev4 },
                                                               { 4, chebyshev6 }, { 5, chebyshev8 } };
    for (const auto& [scale, curve] : curves)
    {
        EXPECT_EQ (curve (0.0f), 0.0f);

        for (auto x : sweep (-8.0f, 8.0f, 1600))
        {
            const auto expected = expectedChebyshev (scale, x);
            EXPECT_NEAR (curve (x), expected, 1.0e-6 + 1.0e-6 * std::abs (expected)) << "scale " << scale << " x " << x;
            EXPECT_LT (std::abs (curve (x)), static_cast<float> (scale));
            EXPECT_EQ (curve (-x), -curve (x));
        }
    }
}

TEST (SaturationCurves, CurvesOtherThanRectifiersAreOdd)
{
    using namespace SaturationCurves;
    for (auto* curve : { softClip, hardClip, tube })
        for (auto x : sweep (-4.0f, 4.0f, 80))
            EXPECT_EQ (curve (-x), -curve (x)) << x;
}

//==============================================================================
TEST (TapeCurve, StaysWithinItsBounds)
{
    TapeNoiseSource noise;

    for (int i = 0; i < 20000; ++i)
    {
        const auto centre = SaturationCurves::tape (0.0f, noise);
        ASSERT_GE (centre, 0.0897f);
        ASSERT_LE (centre, 0.0998f);

        const auto high = SaturationCurves::tape (5.0f, noise);
        ASSERT_GE (high, 0.7333f);
        ASSERT_LE (high, 0.8f);

        const auto low = SaturationCurves::tape (-5.0f, noise);
        ASSERT_GE (low, -0.8f);
        ASSERT_LE (low, -0.7333f);
    }
}

TEST (TapeCurve, ExtremeInputsTakeTheClipBranches)
{
    TapeNoiseSource noise;

    for (int i = 0; i < 1000; ++i)
    {
        for (auto x : { notANumber, -infinity, -1.0e30f, -1.2f })
        {
            const auto result = SaturationCurves::tape (x, noise);
            ASSERT_GE (result, -0.8f) << x;
            ASSERT_LE (result, -0.7333f) << x;
        }

        for (auto x : { infinity, 1.0e30f, 0.92f })
        {
            const auto result = SaturationCurves::tape (x, noise);
            ASSERT_GE (result, 0.7333f) << x;
            ASSERT_LE (result, 0.8f) << x;
        }
    }
}

TEST (TapeCurve, FirstDrawIsHissSecondIsDrive)
{
    TapeNoiseSource noise (12345), twin (12345);

    for (int i = 0; i < 1000; ++i)
    {
        // In the clip branch only the drive matters, and it comes from the second draw.
        twin.next();
        const auto drive = driveFromDraw (twin.next());
        EXPECT_EQ (SaturationCurves::tape (5.0f, noise), static_cast<float> (0.6666666666666666 * drive));

        // Near zero the output is the biased, hissy input squeezed only slightly.
        const auto hiss = static_cast<double> (twin.next()) / 2147483648.0 * 0.01;
        twin.next();
        const auto v = 0.09 + hiss;
        const auto result = SaturationCurves::tape (0.0f, noise);
        EXPECT_NEAR (result, v, 3.0e-4) << i;
        EXPECT_LT (result, v + 1.0e-6);
    }
}

TEST (TapeCurve, HissAndDriveAreUniformOverTheirRanges)
{
    TapeNoiseSource noise;
    constexpr int count = 100000;

    double centreSum = 0.0, centreSquares = 0.0, clipSum = 0.0;
    for (int i = 0; i < count; ++i)
    {
        const double centre = SaturationCurves::tape (0.0f, noise);
        centreSum += centre;
        centreSquares += centre * centre;
        clipSum += SaturationCurves::tape (5.0f, noise);
    }

    const auto centreMean = centreSum / count;
    const auto centreDeviation = std::sqrt (centreSquares / count - centreMean * centreMean);

    EXPECT_NEAR (centreMean, 0.0948, 0.0003);               // 0.095 bias less a trace of the cubic
    EXPECT_NEAR (centreDeviation, 0.01 / std::sqrt (12.0), 0.0002);
    EXPECT_NEAR (clipSum / count, 2.0 / 3.0 * 1.15, 0.001);  // drive averages 1.15
}

TEST (TapeCurve, SuccessiveCallsDiffer)
{
    TapeNoiseSource noise;
    int repeats = 0;
    auto previous = SaturationCurves::tape (0.3f, noise);

    for (int i = 0; i < 1000; ++i)
    {
        const auto current = SaturationCurves::tape (0.3f, noise);
        repeats += current == previous ? 1 : 0;
        previous = current;
    }

    EXPECT_LT (repeats, 5);
}

//==============================================================================
TEST (TapeNoiseSource, CoversTheFullRange)
{
    TapeNoiseSource noise;
    constexpr int count = 200000;
    constexpr double top = 2147483647.0;

    int smallest = std::numeric_limits<int>::max(), largest = 0;
    double sum = 0.0;
    std::array<int, 31> bitCounts {};

    for (int i = 0; i < count; ++i)
    {
        const auto value = noise.next();
        ASSERT_GE (value, 0);
        ASSERT_LE (value, TapeNoiseSource::maximum);

        smallest = std::min (smallest, value);
        largest = std::max (largest, value);
        sum += value;

        for (int bit = 0; bit < 31; ++bit)
            bitCounts[(size_t) bit] += (value >> bit) & 1;
    }

    EXPECT_EQ (TapeNoiseSource::maximum, 2147483647);
    EXPECT_LT (smallest, top * 1.0e-4);
    EXPECT_GT (largest, top * (1.0 - 1.0e-4));
    EXPECT_NEAR (sum / count / top, 0.5, 0.01);

    for (int bit = 0; bit < 31; ++bit)
        EXPECT_NEAR (bitCounts[(size_t) bit] / (double) count, 0.5, 0.02) << "bit " << bit;
}

TEST (TapeNoiseSource, SuccessiveCallsDiffer)
{
    TapeNoiseSource noise;
    auto previous = noise.next();

    for (int i = 0; i < 100000; ++i)
    {
        const auto current = noise.next();
        ASSERT_NE (current, previous) << "draw " << i;
        previous = current;
    }
}

TEST (TapeNoiseSource, SeedsSelectReproducibleSequences)
{
    TapeNoiseSource first (42), second (42), other (43), zero (0);

    std::vector<int> fromFirst, fromOther, fromZero;
    for (int i = 0; i < 100; ++i)
    {
        fromFirst.push_back (first.next());
        EXPECT_EQ (second.next(), fromFirst.back());
        fromOther.push_back (other.next());
        fromZero.push_back (zero.next());
    }

    EXPECT_NE (fromFirst, fromOther);

    // A zero seed would lock xorshift at zero forever; it must still produce noise.
    EXPECT_GT (std::count_if (fromZero.begin(), fromZero.end(), [] (int v) { return v != 0; }), 90);

    first.reseed (42);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ (first.next(), fromFirst[(size_t) i]);
}

//==============================================================================
TEST (WaveShapers, TableHoldsTheCurvesInChoiceOrder)
{
    TapeNoiseSource noise;
    const auto shapers = SaturationCurves::makeWaveShapers (noise);

    using namespace SaturationCurves;
    float (*const expected[]) (float) noexcept { softClip, hardClip, tube, nullptr, halfRectify, fullRectify,
                                                 chebyshev2, chebyshev4, chebyshev6, chebyshev8 };

    for (std::size_t k = 0; k < 10; ++k)
    {
        ASSERT_TRUE (static_cast<bool> (shapers[k])) << k;

        if (expected[k] == nullptr)
            continue;

        for (auto x : sweep (-6.0f, 6.0f, 120))
            EXPECT_EQ (shapers[k] (x), expected[k] (x)) << "entry " << k << " x " << x;
    }

    EXPECT_FALSE (static_cast<bool> (shapers[10]));
}

TEST (WaveShapers, TapeEntryDrawsTwiceFromTheGivenSource)
{
    TapeNoiseSource noise (7), twin (7), unrelated (7);
    const auto shapers = SaturationCurves::makeWaveShapers (noise);

    const auto expected = SaturationCurves::tape (0.5f, twin);
    EXPECT_EQ (shapers[3] (0.5f), expected);
    EXPECT_EQ (noise.next(), twin.next());

    // Another engine's source is untouched by this table.
    EXPECT_EQ (unrelated.next(), TapeNoiseSource (7).next());
}

TEST (WaveShapers, CallingEveryEntryAllocatesNothing)
{
    ASSERT_TRUE (testsupport::AllocationCounter::isInstalled());

    TapeNoiseSource noise;
    const auto shapers = SaturationCurves::makeWaveShapers (noise);

    float sink = 0.0f;
    testsupport::AllocationCounter counter;

    for (std::size_t k = 0; k < 10; ++k)
        for (auto x : { -2.0f, -0.5f, 0.0f, 0.5f, 2.0f })
            sink += shapers[k] (x);

    EXPECT_EQ (counter.getNumAllocations(), 0);
    EXPECT_TRUE (std::isfinite (sink));
}

TEST (WaveShapers, BlockPathGivesTheTableEntryTimesTheScaleBitForBit)
{
    // A sweep through every curve's bends and beyond, odd lengths (the
    // vectorised loops' tails), and the values that tell rounding apart.
    std::vector<float> inputs;
    for (int i = -4000; i <= 4000; ++i)
        inputs.push_back ((float) i * 0.00237f);
    for (float x : { 0.0f, -0.0f, 0.5f, 1.0f, -1.0f, 1.0e-40f, -1.0e-40f, 3.0e38f, -3.0e38f,
                     std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                     std::numeric_limits<float>::quiet_NaN() })
        inputs.push_back (x);

    for (std::size_t index = 0; index < SaturationCurves::numCurves; ++index)
    {
        for (float scale : { 0.7f, 0.7f * 0.1f })
        {
            TapeNoiseSource tableNoise (99), blockNoise (99);
            const auto table = SaturationCurves::makeWaveShapers (tableNoise);
            auto shaped = inputs;
            SaturationCurves::shapeAndScale (index, shaped.data(), shaped.size(), scale, blockNoise);

            for (std::size_t i = 0; i < inputs.size(); ++i)
            {
                const auto expected = table[index] (inputs[i]) * scale;
                const bool same = std::memcmp (&expected, &shaped[i], sizeof (float)) == 0
                               || (std::isnan (expected) && std::isnan (shaped[i]));
                ASSERT_TRUE (same) << "curve " << index << " at " << inputs[i] << ": "
                                   << expected << " against " << shaped[i];
            }
        }
    }
}
