#include "resources/tools/LayoutOnlyProcessor.h"

#include <gtest/gtest.h>

#include <juce_audio_processors/juce_audio_processors.h>

#include "engine/Conversions.h"
#include "engine/MetaAudioParameterBool.h"
#include "engine/ParameterIDs.h"
#include "engine/ParameterLayout.h"

#include <cmath>

namespace
{
    /** The smallest processor that can own a parameter store, so the layout is
        exercised exactly as a host would see it. */
    using LayoutTestProcessor = LayoutOnlyProcessor;

    class ParameterLayoutTest : public ::testing::Test
    {
    protected:
        juce::RangedAudioParameter& parameter (const juce::String& id)
        {
            auto* found = processor.parameters.getParameter (id);
            if (found == nullptr)
                throw std::runtime_error (("no parameter " + id).toStdString());
            return *found;
        }

        /** The text the host shows for a plain value. */
        juce::String textFor (const juce::String& id, float plainValue)
        {
            auto& p = parameter (id);
            return p.getText (p.convertTo0to1 (plainValue), 4);
        }

        /** The plain value the host gets for a typed text, after clamping and snapping. */
        float valueFor (const juce::String& id, const juce::String& text)
        {
            auto& p = parameter (id);
            return p.convertFrom0to1 (p.getValueForText (text));
        }

        float defaultOf (const juce::String& id)
        {
            auto& p = parameter (id);
            return p.convertFrom0to1 (p.getDefaultValue());
        }

        LayoutTestProcessor processor;
    };

    juce::StringArray expectedHostOrder()
    {
        juce::StringArray ids { "output", "output_mix", "output_plot", "input_plot",
                                "numCrossovers", "bypass", "preset", "selectedBand" };

        for (std::size_t b = 0; b < 6; ++b)
            ids.addArray (juce::StringArray { ParameterIDs::type (b), ParameterIDs::mix (b), ParameterIDs::compgain (b),
                                              ParameterIDs::gain (b), ParameterIDs::active (b), ParameterIDs::realActive (b),
                                              ParameterIDs::solo (b), ParameterIDs::frequencyLowpass (b),
                                              ParameterIDs::frequencyHighpass (b), ParameterIDs::oversampling (b) });

        for (std::size_t k = 0; k < 5; ++k)
            ids.add (ParameterIDs::frequencyCrossover (k));

        return ids;
    }

    juce::String idOf (juce::AudioProcessorParameter* p)
    {
        return dynamic_cast<juce::AudioProcessorParameterWithID*> (p)->paramID;
    }
}

//==============================================================================
TEST_F (ParameterLayoutTest, HostSeesSeventyThreeParametersInOrder)
{
    const auto& all = processor.getParameters();
    ASSERT_EQ (all.size(), 73);

    const auto expected = expectedHostOrder();
    for (int i = 0; i < all.size(); ++i)
        EXPECT_EQ (idOf (all[i]), expected[i]) << "host position " << i + 1;

    EXPECT_EQ (idOf (all[0]), "output");
    EXPECT_EQ (idOf (all[8]), "type-1");
    EXPECT_EQ (idOf (all[67]), "oversampling-6");
    EXPECT_EQ (idOf (all[72]), "frequency_crossover-5");
}

TEST_F (ParameterLayoutTest, TwelveGroupsCountFromZero)
{
    const auto groups = processor.getParameterTree().getSubgroups (false);
    ASSERT_EQ (groups.size(), 12);

    juce::StringArray expectedIds { "global" }, expectedNames { "Globals" };
    for (int b = 0; b < 6; ++b) { expectedIds.add ("band" + juce::String (b));      expectedNames.add ("Band " + juce::String (b)); }
    for (int k = 0; k < 5; ++k) { expectedIds.add ("crossover" + juce::String (k)); expectedNames.add ("Crossover " + juce::String (k)); }

    const int expectedSizes[] { 8, 10, 10, 10, 10, 10, 10, 1, 1, 1, 1, 1 };

    for (int g = 0; g < groups.size(); ++g)
    {
        EXPECT_EQ (groups[g]->getID(), expectedIds[g]);
        EXPECT_EQ (groups[g]->getName(), expectedNames[g]);
        EXPECT_EQ (groups[g]->getSeparator(), "|");
        EXPECT_EQ (groups[g]->getParameters (false).size(), expectedSizes[g]);
    }

    // Group "band2" holds the parameters of band number 3.
    const auto bandTwo = groups[3]->getParameters (false);
    EXPECT_EQ (idOf (bandTwo[0]), "type-3");
    EXPECT_EQ (bandTwo[0]->getName (100), "Band 3: Saturation Type");
    EXPECT_EQ (idOf (groups[11]->getParameters (false)[0]), "frequency_crossover-5");
}

TEST_F (ParameterLayoutTest, NamesCarryUntranslatedPrefixes)
{
    const std::pair<const char*, const char*> names[] {
        { "output", "Global: Gain" },
        { "output_mix", "Global: Mix" },
        { "output_plot", "Global: Display output response" },
        { "input_plot", "Global: Display input response" },
        { "numCrossovers", "Global: Number of Crossovers" },
        { "bypass", "Global: BYPASS" },
        { "preset", "Global: Preset" },
        { "selectedBand", "Global: Selected Band" },
        { "type-1", "Band 1: Saturation Type" },
        { "mix-2", "Band 2: Mix" },
        { "compgain-3", "Band 3: Compensation Gain" },
        { "gain-4", "Band 4: Gain" },
        { "active-5", "Band 5: Bypass" },
        { "real_active-6", "Band 6: Active" },
        { "solo-1", "Band 1: Solo" },
        { "frequency_lowpass-2", "Band 2: Low Pass Frequency" },
        { "frequency_highpass-3", "Band 3: High Pass Frequency" },
        { "oversampling-4", "Band 4: Oversampling" },
        { "frequency_crossover-1", "Crossover 1: Frequency" },
        { "frequency_crossover-5", "Crossover 5: Frequency" },
    };

    for (const auto& [id, name] : names)
        EXPECT_EQ (parameter (id).getName (1000), name) << id;
}

TEST_F (ParameterLayoutTest, ParameterClassesAndMetaFlag)
{
    for (auto id : { "output", "output_mix", "numCrossovers", "mix-1", "compgain-1", "gain-1",
                     "frequency_lowpass-1", "frequency_highpass-1", "frequency_crossover-1" })
    {
        auto* p = dynamic_cast<juce::AudioParameterFloat*> (&parameter (id));
        ASSERT_NE (p, nullptr) << id;
        EXPECT_EQ (p->getCategory(), juce::AudioProcessorParameter::genericParameter) << id;
        EXPECT_EQ (p->getLabel(), juce::String (juce::StringRef (id) == juce::StringRef ("output") ? "Output level" : "")) << id;
    }

    for (auto id : { "output_plot", "input_plot", "bypass", "active-1", "real_active-1", "solo-1" })
        EXPECT_NE (dynamic_cast<juce::AudioParameterBool*> (&parameter (id)), nullptr) << id;

    for (auto id : { "preset", "selectedBand" })
        EXPECT_NE (dynamic_cast<juce::AudioParameterInt*> (&parameter (id)), nullptr) << id;

    for (auto id : { "type-1", "oversampling-1" })
        EXPECT_NE (dynamic_cast<juce::AudioParameterChoice*> (&parameter (id)), nullptr) << id;

    for (std::size_t b = 0; b < 6; ++b)
    {
        EXPECT_TRUE (parameter (ParameterIDs::realActive (b)).isMetaParameter());
        EXPECT_NE (dynamic_cast<MetaAudioParameterBool*> (&parameter (ParameterIDs::realActive (b))), nullptr);
        EXPECT_FALSE (parameter (ParameterIDs::active (b)).isMetaParameter());
        EXPECT_FALSE (parameter (ParameterIDs::solo (b)).isMetaParameter());
    }

    for (auto* p : processor.getParameters())
    {
        if (! idOf (p).startsWith ("real_active-"))
        {
            EXPECT_FALSE (p->isMetaParameter()) << idOf (p);
        }
    }
}

TEST_F (ParameterLayoutTest, ChoiceListsInOrder)
{
    auto& type = dynamic_cast<juce::AudioParameterChoice&> (parameter ("type-6"));
    EXPECT_EQ (type.choices, (juce::StringArray { "None", "Soft Clip", "Hard clip", "Tube", "Tape", "Half Rectify",
                                                  "Full Rectify", "Chebyshev 2", "Chebyshev 4", "Chebyshev 6", "Chebyshev 8" }));

    auto& oversampling = dynamic_cast<juce::AudioParameterChoice&> (parameter ("oversampling-6"));
    EXPECT_EQ (oversampling.choices, (juce::StringArray { "X2", "X4", "X8", "X16" }));
}

//==============================================================================
TEST_F (ParameterLayoutTest, DefaultsComeFromTheRecords)
{
    EXPECT_FLOAT_EQ (defaultOf ("output"), 0.0f);
    EXPECT_FLOAT_EQ (defaultOf ("output_mix"), 100.0f);
    EXPECT_FLOAT_EQ (defaultOf ("numCrossovers"), 5.0f);
    EXPECT_FLOAT_EQ (defaultOf ("preset"), 0.0f);
    EXPECT_FLOAT_EQ (defaultOf ("selectedBand"), 0.0f);
    for (auto id : { "output_plot", "input_plot", "bypass" })
        EXPECT_EQ (parameter (id).getDefaultValue(), 0.0f) << id;

    for (std::size_t b = 0; b < 6; ++b)
    {
        EXPECT_EQ (dynamic_cast<juce::AudioParameterChoice&> (parameter (ParameterIDs::type (b))).getIndex(), 3);
        EXPECT_FLOAT_EQ (defaultOf (ParameterIDs::mix (b)), 100.0f);
        EXPECT_NEAR (defaultOf (ParameterIDs::compgain (b)), 1.0000957f, 1.0e-6f);
        EXPECT_FLOAT_EQ (defaultOf (ParameterIDs::gain (b)), 10.0f);
        EXPECT_EQ (parameter (ParameterIDs::active (b)).getDefaultValue(), 1.0f);
        EXPECT_EQ (parameter (ParameterIDs::realActive (b)).getDefaultValue(), 1.0f);
        EXPECT_EQ (parameter (ParameterIDs::solo (b)).getDefaultValue(), 0.0f);
        EXPECT_FLOAT_EQ (defaultOf (ParameterIDs::frequencyHighpass (b)), 20.0f);
        EXPECT_EQ (dynamic_cast<juce::AudioParameterChoice&> (parameter (ParameterIDs::oversampling (b))).getIndex(), 0);
    }

    const float crossoverDefaults[] { 250.0f, 1000.0f, 2500.0f, 5000.0f, 7500.0f };
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_FLOAT_EQ (defaultOf (ParameterIDs::frequencyCrossover (k)), crossoverDefaults[k]);
}

TEST_F (ParameterLayoutTest, LowpassDefaultAboveRangeSitsAtTheTop)
{
    auto& lowpass = parameter ("frequency_lowpass-4");
    EXPECT_FLOAT_EQ (lowpass.getDefaultValue(), 1.0f);
    EXPECT_FLOAT_EQ (lowpass.convertFrom0to1 (lowpass.getValue()), 20000.0f);
}

TEST_F (ParameterLayoutTest, SkewsPutTheIntendedValueAtTheMiddle)
{
    EXPECT_NEAR (parameter ("output").getNormalisableRange().convertFrom0to1 (0.5f), -5.18f, 0.01f);
    EXPECT_NEAR (parameter ("output").getDefaultValue(), 0.6243f, 1.0e-4f);
    EXPECT_NEAR (parameter ("frequency_lowpass-1").getNormalisableRange().convertFrom0to1 (0.5f), 1000.0f, 0.5f);
    EXPECT_NEAR (parameter ("frequency_highpass-1").getNormalisableRange().convertFrom0to1 (0.5f), 1000.0f, 0.5f);
}

TEST_F (ParameterLayoutTest, LevelRangeSpansPlusMinus24DecibelsAroundUnity)
{
    const auto& range = parameter ("compgain-2").getNormalisableRange();
    EXPECT_NEAR (range.start, 0.0630957f, 1.0e-6f);
    EXPECT_NEAR (range.end, 15.8489f, 1.0e-4f);
    EXPECT_FLOAT_EQ (range.interval, 0.001f);
    EXPECT_NEAR (range.skew, 0.2454237f, 1.0e-6f);
    EXPECT_FALSE (range.symmetricSkew);

    auto centred = range;
    centred.setSkewForCentre (1.0f);
    EXPECT_NEAR (centred.skew, range.skew, 1.0e-6f);

    // 1.0 is off the 0.001 grid counted from the start, so it snaps just above.
    EXPECT_NEAR (parameter ("compgain-2").getDefaultValue(), 0.5000126f, 2.0e-6f);
}

TEST_F (ParameterLayoutTest, EveryLayoutOwnsItsOwnParameters)
{
    LayoutTestProcessor other;
    parameter ("gain-1").setValueNotifyingHost (0.0f);

    EXPECT_FLOAT_EQ (defaultOf ("gain-1"), 10.0f);
    EXPECT_FLOAT_EQ (other.parameters.getRawParameterValue ("gain-1")->load(), 10.0f);
    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue ("gain-1")->load(), 0.0f);
}

//==============================================================================
TEST_F (ParameterLayoutTest, NumberTexts)
{
    EXPECT_EQ (textFor ("output", -96.0f), "-96.00");
    EXPECT_EQ (textFor ("output", 0.0f), "0.00");
    EXPECT_EQ (textFor ("output_mix", 50.0f), "50.00");
    EXPECT_EQ (textFor ("output_mix", 100.0f), "100.00");
    EXPECT_EQ (textFor ("mix-1", 100.0f), "100.00%");
    EXPECT_EQ (textFor ("mix-1", 12.345f), "12.35%");

    EXPECT_NEAR (valueFor ("output", "  -12.5 dB"), -12.5f, 1.0e-4f);
    EXPECT_FLOAT_EQ (valueFor ("output_mix", "42.5 %"), 42.5f);
    EXPECT_FLOAT_EQ (valueFor ("output_mix", "42.5% wet"), 100.0f);     // refused: the value held
    EXPECT_FLOAT_EQ (valueFor ("mix-3", "75%"), 75.0f);
    EXPECT_FLOAT_EQ (valueFor ("output", "loud"), 0.0f);       // refused: the value held
    EXPECT_FLOAT_EQ (valueFor ("mix-3", "half"), 100.0f);
}

TEST_F (ParameterLayoutTest, TextsAreNeverShortened)
{
    auto& lowpass = parameter ("frequency_lowpass-1");
    EXPECT_EQ (lowpass.getText (lowpass.convertTo0to1 (440.0f), 2), "440.00 Hz");
    auto& mix = parameter ("mix-1");
    EXPECT_EQ (mix.getText (1.0f, 1), "100.00%");
    EXPECT_EQ (parameter ("solo-1").getText (0.0f, 3), "bypassed");
}

TEST_F (ParameterLayoutTest, DecibelTexts)
{
    EXPECT_EQ (textFor ("compgain-1", 1.0f), "0.00 dB");
    EXPECT_EQ (textFor ("compgain-1", 0.0f), "-24.00 dB");       // clamped to the range start
    EXPECT_EQ (textFor ("compgain-1", 100.0f), "24.00 dB");
    EXPECT_EQ (textFor ("gain-1", 10.0f), "20.00");
    EXPECT_EQ (textFor ("gain-1", 0.0f), "-100.00");

    EXPECT_EQ (Conversions::decibelTextWithUnit (0.0f, 0), "-100.00 dB");
    EXPECT_EQ (Conversions::decibelTextWithUnit (-1.0f, 0), "-100.00 dB");
    EXPECT_EQ (Conversions::decibelTextWithUnit (1.0e-7f, 0), "-100.00 dB");   // floored, not -140
    EXPECT_EQ (Conversions::decibelTextWithoutUnit (0.5f, 0), "-6.02");
}

TEST_F (ParameterLayoutTest, DecibelParser)
{
    EXPECT_NEAR (Conversions::gainFromDecibelText ("-6 dB"), 0.5012f, 1.0e-4f);
    EXPECT_EQ (Conversions::gainFromDecibelText ("-120 dB"), 0.0f);
    EXPECT_EQ (Conversions::gainFromDecibelText ("-100 dB"), 0.0f);
    EXPECT_GT (Conversions::gainFromDecibelText ("-99.9"), 0.0f);
    EXPECT_FLOAT_EQ (Conversions::gainFromDecibelText ("20"), 10.0f);
    EXPECT_TRUE (std::isnan (Conversions::gainFromDecibelText ("no number")));

    EXPECT_NEAR (valueFor ("compgain-1", "-6 dB"), 0.501f, 1.0e-3f);
    EXPECT_NEAR (valueFor ("compgain-1", "-120 dB"), 0.0630957f, 1.0e-6f);    // clamped to the start
    EXPECT_NEAR (valueFor ("compgain-1", "???"), 1.0000957f, 1.0e-6f);        // refused: the value held
    EXPECT_FLOAT_EQ (valueFor ("gain-1", "20"), 10.0f);
    EXPECT_FLOAT_EQ (valueFor ("gain-1", "-100"), 0.0f);
    EXPECT_FLOAT_EQ (valueFor ("gain-1", "60"), 50.0f);
}

TEST_F (ParameterLayoutTest, FilterFrequencyTexts)
{
    EXPECT_EQ (textFor ("frequency_lowpass-1", 999.0f), "999.00 Hz");
    EXPECT_EQ (textFor ("frequency_lowpass-1", 1000.0f), "1.00 kHz");
    EXPECT_EQ (textFor ("frequency_lowpass-1", 20000.0f), "20.00 kHz");
    EXPECT_EQ (textFor ("frequency_highpass-1", 20.0f), "20.00 Hz");
    EXPECT_EQ (Conversions::frequencyText (999.99f, 0), "999.99 Hz");
    EXPECT_EQ (Conversions::frequencyText (1234.5f, 0), "1.23 kHz");
}

TEST_F (ParameterLayoutTest, CrossoverFrequencyTexts)
{
    EXPECT_EQ (textFor ("frequency_crossover-1", 250.0f), "250 Hz");
    EXPECT_EQ (textFor ("frequency_crossover-1", 2500.0f), "2.50 kHz");
    EXPECT_EQ (textFor ("frequency_crossover-5", 7500.0f), "7.50 kHz");
    EXPECT_EQ (textFor ("frequency_crossover-2", 1000.0f), "1.00 kHz");
    EXPECT_EQ (Conversions::crossoverFrequencyText (123.4567f, 0), "123.457 Hz");
    EXPECT_EQ (Conversions::crossoverFrequencyText (20.0f, 0), "20 Hz");
}

TEST_F (ParameterLayoutTest, FrequencyParser)
{
    EXPECT_FLOAT_EQ (Conversions::frequencyFromText ("1.5 kHz"), 1500.0f);
    EXPECT_FLOAT_EQ (Conversions::frequencyFromText ("440 Hz"), 440.0f);
    EXPECT_FLOAT_EQ (Conversions::frequencyFromText ("440.00 Hz"), 440.0f);
    EXPECT_FLOAT_EQ (Conversions::frequencyFromText ("440"), 440.0f);          // a bare number is hertz
    EXPECT_FLOAT_EQ (Conversions::frequencyFromText (" 2000 "), 2000.0f);
    EXPECT_FLOAT_EQ (Conversions::frequencyFromText ("2.5 KHZ"), 2500.0f);
    for (auto* noNumber : { "Hz", "", " kHz" })
        EXPECT_TRUE (std::isnan (Conversions::frequencyFromText (noNumber))) << noNumber;

    // Any other unit is refused, whatever its letter case or length.
    for (auto* otherUnit : { "440 \xc2\xb5s", "500 mHz", "1.5 MHz", "1,5 kHz", "20 dB", "2 kHzz" })
        EXPECT_TRUE (std::isnan (Conversions::frequencyFromText (juce::String (juce::CharPointer_UTF8 (otherUnit))))) << otherUnit;

    EXPECT_FLOAT_EQ (valueFor ("frequency_lowpass-1", "2.5 kHz"), 2500.0f);
    EXPECT_FLOAT_EQ (valueFor ("frequency_lowpass-1", "2.5 KHZ"), 2500.0f);
    EXPECT_FLOAT_EQ (valueFor ("frequency_highpass-1", "nothing"), 20.0f);   // refused: the value held
    EXPECT_FLOAT_EQ (valueFor ("frequency_crossover-1", "1.234 kHz"), 1230.0f);
    EXPECT_FLOAT_EQ (valueFor ("frequency_crossover-1", "50 kHz"), 20000.0f);
}

TEST_F (ParameterLayoutTest, SwitchTexts)
{
    struct SwitchCase { const char* id; const char* on; const char* off; };
    const SwitchCase cases[] { { "output_plot", "displayed", "hidden" },
                               { "input_plot", "displayed", "hidden" },
                               { "active-2", "processing", "bypassed" },
                               { "real_active-2", "active", "deactivated" },
                               { "solo-2", "solo", "bypassed" } };

    for (const auto& c : cases)
    {
        auto& p = parameter (c.id);
        EXPECT_EQ (p.getText (1.0f, 100), c.on) << c.id;
        EXPECT_EQ (p.getText (0.0f, 100), c.off) << c.id;
        EXPECT_EQ (p.getText (0.5f, 100), c.on) << c.id;
        EXPECT_EQ (p.getValueForText (c.on), 1.0f) << c.id;
        EXPECT_EQ (p.getValueForText (c.off), 0.0f) << c.id;
        // Any other text is refused: it reads as the value held.
        EXPECT_EQ (p.getValueForText (juce::String (c.on).toUpperCase()), p.getValue()) << c.id;
        EXPECT_EQ (p.getValueForText (juce::String (c.on) + " "), p.getValue()) << c.id;
    }

    // A capitalised on-text leaves band processing on.
    EXPECT_EQ (parameter ("active-1").getValueForText ("Processing"), 1.0f);
}

//==============================================================================
TEST (LogarithmicRange, MapsNormalisedPositions)
{
    const auto range = Conversions::makeLogarithmicRange<float> (20.0f, 20000.0f);
    EXPECT_EQ (range.start, 20.0f);
    EXPECT_EQ (range.end, 20000.0f);
    EXPECT_EQ (range.interval, 0.0f);
    EXPECT_EQ (range.skew, 1.0f);
    EXPECT_FALSE (range.symmetricSkew);

    EXPECT_FLOAT_EQ (range.convertFrom0to1 (0.0f), 20.0f);
    EXPECT_NEAR (range.convertFrom0to1 (0.5f), 672.0f, 0.1f);
    EXPECT_NEAR (range.convertFrom0to1 (1.0f), 21535.0f, 1.0f);    // beyond the end until snapped

    EXPECT_NEAR (range.convertTo0to1 (20000.0f), 0.98933f, 1.0e-5f);
    EXPECT_NEAR (range.convertTo0to1 (1000.0f), 0.5573f, 1.0e-4f);
    EXPECT_NEAR (range.convertTo0to1 (250.0f), 0.3577f, 1.0e-4f);
    EXPECT_FLOAT_EQ (range.convertTo0to1 (20.0f), 0.0f);
    EXPECT_FLOAT_EQ (range.convertTo0to1 (-5000.0f), 0.0f);          // no logarithm there: the bottom
}

TEST (LogarithmicRange, SnapsToAGridThatCoarsensWithFrequency)
{
    const auto range = Conversions::makeLogarithmicRange<float> (20.0f, 20000.0f);

    EXPECT_EQ (range.snapToLegalValue (range.convertFrom0to1 (0.5f)), 672.0f);
    EXPECT_EQ (range.snapToLegalValue (range.convertFrom0to1 (1.0f)), 20000.0f);
    EXPECT_EQ (range.snapToLegalValue (999.6f), 1000.0f);
    EXPECT_EQ (range.snapToLegalValue (1000.4f), 1000.0f);
    EXPECT_EQ (range.snapToLegalValue (1234.0f), 1230.0f);
    EXPECT_EQ (range.snapToLegalValue (2999.0f), 3000.0f);
    EXPECT_EQ (range.snapToLegalValue (3001.0f), 3000.0f);
    EXPECT_EQ (range.snapToLegalValue (4567.0f), 4600.0f);
    EXPECT_EQ (range.snapToLegalValue (10.0f), 20.0f);
    EXPECT_EQ (range.snapToLegalValue (25000.0f), 20000.0f);

    // Nonsense never escapes the range.
    EXPECT_EQ (range.snapToLegalValue (std::nanf ("")), 20.0f);
    EXPECT_EQ (range.snapToLegalValue (1.0e30f), 20000.0f);
    EXPECT_EQ (range.snapToLegalValue (-1.0e30f), 20.0f);
    EXPECT_EQ (range.snapToLegalValue (std::numeric_limits<float>::infinity()), 20000.0f);
}

TEST (LogarithmicRange, FunctionsFollowTheRangeLimits)
{
    auto range = Conversions::makeLogarithmicRange<float> (20.0f, 20000.0f);
    range.start = 100.0f;
    range.end = 10000.0f;

    EXPECT_FLOAT_EQ (range.convertFrom0to1 (0.0f), 100.0f);
    EXPECT_EQ (range.snapToLegalValue (50.0f), 100.0f);
    EXPECT_EQ (range.snapToLegalValue (15000.0f), 10000.0f);
}

TEST_F (ParameterLayoutTest, CrossoverParameterOnlyTakesGridFrequencies)
{
    auto& crossover = parameter ("frequency_crossover-3");

    for (int step = 0; step <= 1000; ++step)
    {
        const auto hz = crossover.convertFrom0to1 (static_cast<float> (step) / 1000.0f);
        ASSERT_GE (hz, 20.0f);
        ASSERT_LE (hz, 20000.0f);

        const auto gridStep = hz <= 1000.0f ? 1.0f : (hz <= 3000.0f ? 10.0f : 100.0f);
        ASSERT_EQ (std::fmod (hz, gridStep), 0.0f) << hz;
    }

    // Every position above the end's own comes back as the end.
    EXPECT_EQ (crossover.convertFrom0to1 (0.99f), 20000.0f);
    crossover.setValueNotifyingHost (0.995f);
    EXPECT_EQ (processor.parameters.getRawParameterValue ("frequency_crossover-3")->load(), 20000.0f);
}

TEST_F (ParameterLayoutTest, TextNamingNoFiniteNumberIsRefused)
{
    // It reads as the value the parameter holds.
    for (auto* p : processor.getParameters())
    {
        if (dynamic_cast<juce::AudioParameterFloat*> (p) == nullptr)
            continue;
        p->setValueNotifyingHost (0.3f);
        for (auto* text : { "nan Hz", "inf kHz", "-inf dB", "1e39 Hz" })
            EXPECT_EQ (p->getValueForText (text), p->getValue()) << p->getName (50) << ": " << text;
    }
}

TEST_F (ParameterLayoutTest, EveryParameterRefusesTextThatNamesNothing)
{
    for (auto* p : processor.getParameters())
    {
        p->setValueNotifyingHost (0.3f);
        for (auto* text : { "", "abc", "nan", "-inf" })
            EXPECT_EQ (p->getValueForText (text), p->getValue()) << p->getName (50) << ": " << text;
    }
}

TEST_F (ParameterLayoutTest, EveryStepsTextReadsBackAsThatStep)
{
    for (auto* p : processor.getParameters())
    {
        if (dynamic_cast<juce::AudioParameterFloat*> (p) != nullptr)
            continue;
        const auto steps = p->getNumSteps();
        for (int step = 0; step < steps; ++step)
        {
            const auto value = (float) step / (float) (steps - 1);
            EXPECT_EQ (p->getValueForText (p->getText (value, 0)), value) << p->getName (50) << ": " << step;
        }
    }
}

TEST (SwitchFromText, ReadsWhatJuceReadsAndRefusesTheRest)
{
    const struct { const char* text; int on; } cases[] = {
        { "On", 1 }, { "yes", 1 }, { "TRUE", 1 }, { "off", 0 }, { "No", 0 }, { "False", 0 }, { "7 dB", 1 },
        { " -3", 1 }, { "+0", 0 }, { "0.9", 0 }, { "00", 0 }, { "0x1", 0 }, { "999999999999999999999999", 1 },
        { "", -1 }, { "onn", -1 }, { " on", -1 }, { "+", -1 }, { "- 1", -1 }, { ".5", -1 }, { "inf", -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (Conversions::switchFromText (c.text), c.on < 0 ? std::nullopt : std::optional<bool> (c.on == 1)) << c.text;
}
