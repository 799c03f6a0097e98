// What starts again starts clean: a band's chain when it starts processing or
// changes its oversampling factor, the crossover tree when the routing
// changes, the dry input's all-passes when the dry input is heard again. And
// a curve change or a band start moves the level at once, without overshoot.

#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using testsupport::setPlain;

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 256;

    std::vector<float> noise (size_t length, float amplitude)
    {
        juce::Random random (99);
        std::vector<float> x (length);
        for (auto& v : x)
            v = amplitude * (2.0f * random.nextFloat() - 1.0f);
        return x;
    }

    std::vector<float> sine (size_t length, float amplitude)
    {
        std::vector<float> x (length);
        for (size_t i = 0; i < length; ++i)
            x[i] = amplitude * (float) std::sin (juce::MathConstants<double>::twoPi * 1000.0 * (double) i / sampleRate);
        return x;
    }

    float peak (const std::vector<float>& x, size_t from = 0, size_t to = SIZE_MAX)
    {
        float p = 0.0f;
        for (size_t i = from; i < std::min (to, x.size()); ++i)
            p = std::max (p, std::abs (x[i]));
        return p;
    }

    using Edit = std::function<void (MultiAudioProcessor&)>;

    Edit set (const juce::String& id, float value)
    {
        return [id, value] (MultiAudioProcessor& p) { setPlain (p.apvts, id, value); };
    }

    struct RestartCase
    {
        const char* name;
        float crossovers;
        Edit stop, start;
    };
}

TEST (BandRestart, WhatStartsAgainCarriesNothingOfTheOldSignal)
{
    // Loud input while the old state builds up, then silence from the block
    // where the band (or routing) starts again: only silence may come out.
    const RestartCase cases[] = {
        { "type None, then Tube",           0.0f, set ("type-1", 0.0f),         set ("type-1", 3.0f) },
        { "active off, then on",            0.0f, set ("active-1", 0.0f),       set ("active-1", 1.0f) },
        { "real_active off, then on",       0.0f, set ("real_active-1", 0.0f),  set ("real_active-1", 1.0f) },
        { "X2, X4, then X2",                0.0f, set ("oversampling-1", 1.0f), set ("oversampling-1", 0.0f) },
        { "X16, then X8",                   0.0f, set ("oversampling-1", 3.0f), set ("oversampling-1", 2.0f) },
        { "5, 4, then 5 crossovers",        5.0f, set ("numCrossovers", 4.0f),  set ("numCrossovers", 5.0f) },
        { "3, 1, then 2 crossovers",        3.0f, set ("numCrossovers", 1.0f),  set ("numCrossovers", 2.0f) },
        { "crossover removed, then added",  5.0f, [] (MultiAudioProcessor& p) { p.setCrossoverActive (1, false, 0.0f); },
                                                  [] (MultiAudioProcessor& p) { p.setCrossoverActive (1, true, 0.45f); } },
    };

    const auto loud = noise (24000, 0.5f);
    const std::vector<float> silence (9600, 0.0f);

    for (const auto& c : cases)
    {
        MultiAudioProcessor processor;
        setPlain (processor.apvts, "numCrossovers", c.crossovers);
        testsupport::prepare (processor, sampleRate, blockSize);

        testsupport::render (processor, loud, blockSize);
        c.stop (processor);
        testsupport::render (processor, loud, blockSize);
        c.start (processor);
        EXPECT_LT (peak (testsupport::render (processor, silence, blockSize)), 1.0e-6f) << c.name;
    }
}

TEST (BandRestart, DryAllPassesStartCleanWhenTheDryInputIsHeardAgain)
{
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "output_mix", 50.0f);
    testsupport::prepare (processor, sampleRate, blockSize);
    testsupport::render (processor, noise (24000, 0.5f), blockSize);

    setPlain (processor.apvts, "output_mix", 100.0f); // the dry chain rests after the mixer's ramp
    testsupport::render (processor, std::vector<float> (48000, 0.0f), blockSize);

    setPlain (processor.apvts, "output_mix", 50.0f);
    EXPECT_LT (peak (testsupport::render (processor, std::vector<float> (9600, 0.0f), blockSize)), 1.0e-6f);
}

TEST (BandRestart, CurveChangesAndBandStartsMoveTheLevelWithoutOvershoot)
{
    // A 0.1 sine at drive 1 through one band: the envelope (peak per 1 ms)
    // after the edit never rises 0.5 dB above the larger steady level.
    const RestartCase cases[] = {
        { "Tube to Chebyshev 8",           0.0f, set ("type-1", 3.0f),        set ("type-1", 10.0f) },
        { "Chebyshev 8 to Tube",           0.0f, set ("type-1", 10.0f),       set ("type-1", 3.0f) },
        { "None to Chebyshev 8",           0.0f, set ("type-1", 0.0f),        set ("type-1", 10.0f) },
        { "Chebyshev 8 switched on",       0.0f, [] (MultiAudioProcessor& p) { setPlain (p.apvts, "type-1", 10.0f);
                                                                               setPlain (p.apvts, "active-1", 0.0f); },
                                                 set ("active-1", 1.0f) },
        { "Chebyshev 6 band 2 of 2 on",    1.0f, [] (MultiAudioProcessor& p) { setPlain (p.apvts, "type-2", 9.0f);
                                                                               setPlain (p.apvts, "frequency_crossover-1", 200.0f);
                                                                               setPlain (p.apvts, "active-2", 0.0f); },
                                                 set ("active-2", 1.0f) },
    };

    const auto input = sine (19200, 0.1f);
    constexpr size_t window = 48;

    for (const auto& c : cases)
    {
        MultiAudioProcessor processor;
        setPlain (processor.apvts, "numCrossovers", c.crossovers);
        for (size_t b = 0; b < 6; ++b)
            setPlain (processor.apvts, ParameterIDs::gain (b), 1.0f);
        c.stop (processor);
        testsupport::prepare (processor, sampleRate, blockSize);

        const auto before = testsupport::render (processor, input, blockSize);
        c.start (processor);
        const auto after = testsupport::render (processor, input, blockSize);

        const auto oldLevel = peak (before, before.size() - 10 * window);
        const auto newLevel = peak (after, after.size() - 10 * window);
        float worst = 0.0f;
        for (size_t from = 0; from + window <= after.size(); from += window)
            worst = std::max (worst, peak (after, from, from + window));

        EXPECT_LT (juce::Decibels::gainToDecibels (worst / std::max (oldLevel, newLevel)), 0.5f)
            << c.name << ": " << oldLevel << " -> " << newLevel << ", envelope up to " << worst;
    }
}
