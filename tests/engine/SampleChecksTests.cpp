// The block-wide finiteness checks find a bad sample at any position of any
// length (vectorised loops handle the tail apart), and leave the rest alone.

#include "engine/SampleChecks.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

TEST (SampleChecks, FindAndSilenceEveryNonFiniteSampleAtEveryPosition)
{
    const float bad[] { std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
                        std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity() };
    const float good[] { 0.25f, -0.0f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                         std::numeric_limits<float>::denorm_min() };

    for (int length : { 1, 3, 8, 13, 37 })
    {
        std::vector<float> clean ((size_t) length);
        for (int i = 0; i < length; ++i)
            clean[(size_t) i] = good[i % 5];

        float* channel = clean.data();
        EXPECT_TRUE (SampleChecks::allFinite ({ &channel, 1, (size_t) length })) << length;

        for (int position = 0; position < length; ++position)
            for (auto value : bad)
            {
                auto samples = clean;
                samples[(size_t) position] = value;
                float* channels[] { clean.data(), samples.data() };
                EXPECT_FALSE (SampleChecks::allFinite ({ channels, 2, (size_t) length })) << length << ", " << position;

                SampleChecks::replaceNonFinite (samples.data(), length);
                auto expected = clean;
                expected[(size_t) position] = 0.0f;
                EXPECT_EQ (samples, expected) << length << ", " << position;
            }
    }
}
