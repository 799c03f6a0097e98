// A band's move between curves: gains that sum to one, no jump when a fade
// is turned round, and the new curve alone once the fade has run.

#include "engine/CurveCrossfade.h"
#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

TEST (CurveCrossfade, MovesSmoothlyToTheLastCurveChosen)
{
    // Constant curves make the blend's gains visible: 1, -1, 3 and 0.
    CurveCrossfade::Curves curves;
    curves[0] = [] (float) { return 1.0f; };
    curves[1] = [] (float) { return -1.0f; };
    curves[2] = [] (float) { return 3.0f; };
    curves[3] = [] (float) { return 0.0f; };

    // A third curve waits for the running fade's end, then fades in on its own.
    struct Case { const char* name; std::vector<int> curvePerBlock; float largestStep; float last; };
    const Case cases[] = {
        { "one change",              { 0, 1, 1, 1, 1, 1 },          0.16f, -1.0f },   // 2 over 20 samples, raised cosine
        { "turned round midway",     { 0, 1, 0, 0, 0, 0 },          0.16f,  1.0f },
        { "a third curve midway",    { 0, 1, 1, 2, 2, 2, 2 },       0.32f,  3.0f },   // -1 to 3
        { "a third curve early",     { 0, 1, 3, 3, 3, 3, 3 },       0.16f,  0.0f },
        { "a new curve every block", { 0, 1, 3, 2, 0, 1, 3, 3, 3, 3, 3 }, 0.32f, 0.0f },
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
    constexpr int settleBlocks = 75;    // 0.1 s

    /** Band 1 alone at X2 on a 50 Hz sine at 0.5 (48 kHz, 64-sample blocks),
        its curve chosen per block: the largest sample-to-sample step after
        the first `settleBlocks`. */
    float largestStepWithCurves (std::function<int (int block)> typeAt, int numBlocks, float drive)
    {
        constexpr int blockSize = 64;
        MultiAudioProcessor processor;
        testsupport::setPlain (processor.apvts, "numCrossovers", 0.0f);
        testsupport::setPlain (processor.apvts, "oversampling-1", 0.0f);
        testsupport::setPlain (processor.apvts, "gain-1", drive);
        testsupport::setPlain (processor.apvts, "type-1", (float) typeAt (0));
        testsupport::prepare (processor, 48000.0, blockSize);

        juce::AudioBuffer<float> block (2, blockSize);
        juce::MidiBuffer midi;
        float previous = 0.0f, largest = 0.0f;
        for (int b = 0, n = 0; b < numBlocks; ++b)
        {
            testsupport::setPlain (processor.apvts, "type-1", (float) typeAt (b));
            for (int i = 0; i < blockSize; ++i, ++n)
                for (int ch = 0; ch < 2; ++ch)
                    block.setSample (ch, i, 0.5f * std::sin (juce::MathConstants<float>::twoPi * (float) (n % 960) / 960.0f));
            realtime::processBlockInRealtimeScope (processor, block, midi);
            for (int i = 0; i < blockSize; ++i)
            {
                if (b >= settleBlocks)
                    largest = std::max (largest, std::abs (block.getSample (0, i) - previous));
                previous = block.getSample (0, i);
            }
        }
        return largest;
    }
}

TEST (CurveCrossfade, QuickSuccessionsOfCurvesStepNoMoreThanOneCleanFade)
{
    // "Half Rectify" (5) to "Full Rectify" (6), then "Soft Clip" (1) 4 ms
    // (three blocks) later, against the first change alone, starting at four
    // points of the sine's period (15 blocks).
    for (int start = settleBlocks; start < settleBlocks + 15; start += 4)
    {
        const auto third = largestStepWithCurves ([=] (int b) { return b < start ? 5 : b < start + 3 ? 6 : 1; }, 250, 10.0f);
        const auto single = largestStepWithCurves ([=] (int b) { return b < start ? 5 : 6; }, 250, 10.0f);
        EXPECT_LE (third, 1.5f * single) << third << " against " << single << ", from block " << start;
    }

    // A random curve at every block for a second, against clean fades (each
    // run to its end) between every two curves, at drive 1.
    juce::Random random (42);
    std::vector<int> perBlock (settleBlocks + 750);
    for (auto& type : perBlock)
        type = 1 + random.nextInt (10);
    const auto everyBlock = largestStepWithCurves ([&] (int b) { return perBlock[(size_t) b]; }, (int) perBlock.size(), 1.0f);

    const auto cleanFades = [] (int b)      // every pair a, b in turn, each curve held for 16 ms
    {
        const auto pair = (b / 12 / 2) % 90, a = pair / 9, other = pair % 9;
        return 1 + ((b / 12) % 2 == 0 ? a : other + (other >= a ? 1 : 0));
    };
    const auto clean = largestStepWithCurves (cleanFades, settleBlocks + 2160, 1.0f);
    EXPECT_LE (everyBlock, clean) << everyBlock << " against " << clean;
}
