// A band's move between curves: gains that sum to one, no jump when a fade
// is turned round, and the new curve alone once the fade has run.

#include "engine/CurveCrossfade.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST (CurveCrossfade, MovesSmoothlyToTheLastCurveChosen)
{
    // Constant curves make the blend's gains visible: 1, -1 and 3.
    CurveCrossfade::Curves curves;
    curves[0] = [] (float) { return 1.0f; };
    curves[1] = [] (float) { return -1.0f; };
    curves[2] = [] (float) { return 3.0f; };

    struct Case { const char* name; std::vector<int> curvePerBlock; float largestStep; float last; };
    const Case cases[] = {
        { "one change",           { 0, 1, 1, 1, 1, 1 },    0.16f, -1.0f },   // 2 over 20 samples, raised cosine
        { "turned round midway",  { 0, 1, 0, 0, 0, 0 },    0.16f,  1.0f },
        { "a third curve midway", { 0, 1, 1, 2, 2, 2, 2 }, 0.35f,  3.0f },   // on from the curve heard more
    };

    for (const auto& c : cases)
    {
        CurveCrossfade fade;
        fade.prepare (1000.0);                      // 10 samples, 20 at twice the rate
        fade.start (c.curvePerBlock.front());

        std::vector<float> out;
        for (auto curve : c.curvePerBlock)
        {
            std::vector<float> block (8, 0.0f);
            fade.select (curve, 2);
            if (fade.isFading())
                fade.shapeFading (juce::dsp::AudioBlock<float> (std::array<float*, 1> { block.data() }.data(), 1, block.size()),
                                  curves, 1.0f, 1.0f);
            else
                for (auto& x : block)
                    x = curves[(size_t) curve] (x);
            out.insert (out.end(), block.begin(), block.end());
        }

        float largestStep = 0.0f;
        for (size_t i = 1; i < out.size(); ++i)
            largestStep = std::max (largestStep, std::abs (out[i] - out[i - 1]));
        EXPECT_LE (largestStep, c.largestStep) << c.name;
        EXPECT_FLOAT_EQ (out.back(), c.last) << c.name;
        EXPECT_FALSE (fade.isFading()) << c.name;
    }
}
