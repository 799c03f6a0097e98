// A band's move between curves: gains that sum to one, no jump when a fade
// is turned round or other curves follow fast, the new curve alone once faded.

#include "engine/CurveCrossfade.h"
#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

TEST (CurveCrossfade, MovesSmoothlyToTheLastCurveChosen)
{
    // Constant curves make the blend's gains visible: 1, -1, 3 and 0.
    CurveCrossfade::Curves curves;
    curves[0] = [] (float) { return 1.0f; };
    curves[1] = [] (float) { return -1.0f; };
    curves[2] = [] (float) { return 3.0f; };
    curves[3] = [] (float) { return 0.0f; };

    struct Case { const char* name; std::vector<int> curvePerBlock; float largestStep; float last; };
    const Case cases[] = {
        { "one change",           { 0, 1, 1, 1, 1, 1 },    0.16f, -1.0f },   // 2 over 20 samples, raised cosine
        { "turned round midway",  { 0, 1, 0, 0, 0, 0 },    0.16f,  1.0f },
        { "a third curve midway", { 0, 1, 1, 2, 2, 2, 2 }, 0.32f,  3.0f },   // waits for the fade's end, then -1 to 3
        { "a third curve early",  { 0, 1, 3, 3, 3, 3, 3 }, 0.16f,  0.0f },
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

namespace
{
    /** Band 1 alone at X2 on a 50 Hz sine at 0.5 in 64-sample blocks, its
        type chosen per block: the largest sample-to-sample step after 0.1 s. */
    float largestStep (std::function<int (int block)> typeAt, int numBlocks, float drive)
    {
        MultiAudioProcessor processor;
        testsupport::setPlain (processor.apvts, "numCrossovers", 0.0f);
        testsupport::setPlain (processor.apvts, "oversampling-1", 0.0f);
        testsupport::setPlain (processor.apvts, "gain-1", drive);
        testsupport::prepare (processor, 48000.0, 64);

        std::vector<float> sine (64);
        float previous = 0.0f, largest = 0.0f;
        for (int b = 0; b < numBlocks; ++b)
        {
            testsupport::setPlain (processor.apvts, "type-1", (float) typeAt (b));
            for (int i = 0; i < 64; ++i)
                sine[(size_t) i] = 0.5f * std::sin (juce::MathConstants<float>::twoPi * (float) ((b * 64 + i) % 960) / 960.0f);
            for (auto y : testsupport::render (processor, sine, 64))
            {
                const auto step = std::abs (y - std::exchange (previous, y));
                largest = b < 75 ? 0.0f : std::max (largest, step);
            }
        }
        return largest;
    }
}

TEST (CurveCrossfade, QuickSuccessionsOfCurvesStepNoMoreThanOneCleanFade)
{
    // "Half Rectify" to "Full Rectify", then "Soft Clip" 4 ms later, against
    // the first change alone, from four points of the sine's period.
    for (int start = 75; start < 90; start += 4)
        EXPECT_LE (largestStep ([=] (int b) { return b < start ? 5 : b < start + 3 ? 6 : 1; }, 250, 10.0f),
                   1.5f * largestStep ([=] (int b) { return b < start ? 5 : 6; }, 250, 10.0f)) << "from block " << start;

    // A random curve at every block for a second, against clean fades between
    // every two curves (each held 16 ms), at drive 1.
    juce::Random random (42);
    std::vector<int> perBlock (825);
    for (auto& type : perBlock)
        type = 1 + random.nextInt (10);
    const auto cleanFades = [] (int b) { const auto a = b / 24 % 90 / 9, other = b / 24 % 9; return 1 + (b / 12 % 2 == 0 ? a : other + (other >= a)); };
    EXPECT_LE (largestStep ([&] (int b) { return perBlock[(size_t) b]; }, 825, 1.0f), largestStep (cleanFades, 2235, 1.0f));
}
