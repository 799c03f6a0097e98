// What starts again starts from the current input only (band chains, the
// crossover tree, the dry all-passes), and a curve change or band start moves
// the level at once, without overshoot.

#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <functional>

using testsupport::setPlain;

namespace
{
    using Edit = std::function<void (MultiAudioProcessor&)>;

    Edit set (const char* id, float value)   { return [=] (MultiAudioProcessor& p) { setPlain (p.apvts, id, value); }; }
    Edit both (Edit a, Edit b)                { return [=] (MultiAudioProcessor& p) { a (p); b (p); }; }
    Edit crossover (int index, bool add)      { return [=] (MultiAudioProcessor& p) { p.setCrossoverActive (index, add, 0.6f); }; }

    struct Case { const char* name; float crossovers; Edit before, after; };

    float peak (const std::vector<float>& x, size_t from, size_t to)
    {
        float p = 0.0f;
        for (size_t i = from; i < to; ++i)
            p = std::max (p, std::abs (x[i]));
        return p;
    }

    std::vector<float> render (MultiAudioProcessor& p, size_t length, std::function<float (size_t)> signal)
    {
        std::vector<float> x (length);
        for (size_t i = 0; i < length; ++i)
            x[i] = signal (i);
        return testsupport::render (p, x, 256);
    }
}

TEST (BandRestart, WhatStartsAgainCarriesNothingOfTheOldSignal)
{
    // Loud noise while the old state builds up (before and after the first
    // edit), silence from the block where the second edit starts something.
    const Case cases[] = {
        { "type None, then Tube",      0, set ("type-1", 0),         set ("type-1", 3) },
        { "active off, then on",       0, set ("active-1", 0),       set ("active-1", 1) },
        { "real_active off, then on",  0, set ("real_active-1", 0),  set ("real_active-1", 1) },
        { "X2, X4, then X2",           0, set ("oversampling-1", 1), set ("oversampling-1", 0) },
        { "X16, then X8",              0, set ("oversampling-1", 3), set ("oversampling-1", 2) },
        { "5, 4, then 5 crossovers",   5, set ("numCrossovers", 4),  set ("numCrossovers", 5) },
        { "3, 1, then 2 crossovers",   3, set ("numCrossovers", 1),  set ("numCrossovers", 2) },
        { "removed, then added",       5, crossover (1, false),      crossover (1, true) },
        { "removed and added at once", 3, set ("mix-2", 50),         both (crossover (0, false), crossover (2, true)) },
        { "dry input heard again",     5, set ("output_mix", 100),   set ("output_mix", 50) },
        { "bypass on, then off",       5, set ("bypass", 1),         set ("bypass", 0) },
    };
    juce::Random random (9);
    const auto loud = [&] (size_t) { return random.nextFloat() - 0.5f; };

    for (const auto& c : cases)
    {
        MultiAudioProcessor processor;
        setPlain (processor.apvts, "numCrossovers", c.crossovers);
        setPlain (processor.apvts, "output_mix", 50.0f);
        testsupport::prepare (processor, 48000.0, 256);

        render (processor, 24000, loud);
        c.before (processor);
        render (processor, 24000, loud);
        if (juce::String (c.name).startsWith ("dry"))
            render (processor, 48000, [] (size_t) { return 0.0f; }); // the bands' tails die away, the dry chain rests
        c.after (processor);
        const auto silence = render (processor, 9600, [] (size_t) { return 0.0f; });
        EXPECT_LT (peak (silence, 0, silence.size()), 1.0e-6f) << c.name;
    }
}

TEST (BandRestart, CurveChangesAndBandStartsMoveTheLevelWithoutOvershoot)
{
    // A 0.1 sine at drive 1 (unless a case sets it): the envelope (peak per 1 ms) after the edit stays
    // within 0.5 dB of the larger of the steady levels before and after.
    const Case cases[] = {
        { "Tube to Chebyshev 8",      0, set ("type-1", 3),                             set ("type-1", 10) },
        { "Chebyshev 8 to Tube",      0, set ("type-1", 10),                            set ("type-1", 3) },
        { "None to Chebyshev 8",      0, set ("type-1", 0),                             set ("type-1", 10) },
        { "Chebyshev 6 to Chebyshev 8",  0, set ("type-1", 9),                          set ("type-1", 10) },
        { "the same at drive 10",        0, both (set ("type-1", 9), set ("gain-1", 10)), set ("type-1", 10) },
        { "Chebyshev 2 to Tube",         0, set ("type-1", 7),                            set ("type-1", 3) },
        { "Chebyshev 8 switched on",  0, both (set ("type-1", 10), set ("active-1", 0)), set ("active-1", 1) },
        { "Chebyshev 6 band 2 on",    1, both (set ("type-2", 9), set ("active-2", 0)),  set ("active-2", 1) },
        { "on after a drive change",  0, both (set ("active-1", 0), set ("gain-1", 50)), both (set ("gain-1", 1), set ("active-1", 1)) },
    };
    const auto sine = [] (size_t i) { return 0.1f * std::sin (juce::MathConstants<float>::twoPi * (float) (i % 48) / 48.0f); };
    constexpr size_t window = 48, length = 19200;

    for (const auto& c : cases)
    {
        MultiAudioProcessor processor;
        setPlain (processor.apvts, "numCrossovers", c.crossovers);
        setPlain (processor.apvts, "frequency_crossover-1", 200.0f);
        for (size_t b = 0; b < 6; ++b)
            setPlain (processor.apvts, ParameterIDs::gain (b), 1.0f);
        c.before (processor);
        testsupport::prepare (processor, 48000.0, 256);

        const auto oldLevel = peak (render (processor, length, sine), length - 10 * window, length);
        c.after (processor);
        const auto after = render (processor, length, sine);
        const auto steady = std::max (oldLevel, peak (after, length - 10 * window, length));
        for (size_t from = 0; from < length; from += window)
            ASSERT_LT (juce::Decibels::gainToDecibels (peak (after, from, from + window) / steady), 0.5f)
                << c.name << " at " << from;
    }
}
