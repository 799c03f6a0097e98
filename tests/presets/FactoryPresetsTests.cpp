#include "PresetsTestSupport.h"

#include "presets/ParameterSetXml.h"
#include "resources/tools/FactoryPresetTable.h"
#include "resources/tools/LayoutOnlyProcessor.h"

#include <gtest/gtest.h>

namespace
{
    const juce::XmlElement& factoryPresets()
    {
        static const auto document = PresetsHolder::createFactoryPresets();
        return document;
    }

    juce::StringArray attributeNames (const juce::XmlElement& element)
    {
        juce::StringArray names;

        for (int i = 0; i < element.getNumAttributes(); ++i)
            names.add (element.getAttributeName (i));

        return names;
    }

    juce::StringArray expectedFullEntryAttributes()
    {
        juce::StringArray names { "output", "output_plot", "input_plot", "numCrossovers", "bypass" };

        for (int band = 1; band <= 6; ++band)
            for (auto* prefix : { "type", "mix", "compgain", "gain", "active", "solo",
                                  "frequency_lowpass", "frequency_highpass", "oversampling" })
                names.add (juce::String (prefix) + "-" + juce::String (band));

        for (int crossover = 1; crossover <= 5; ++crossover)
            names.add ("frequency_crossover-" + juce::String (crossover));

        names.add ("presetName");
        return names;
    }

    float decibels (float gain)    { return 20.0f * std::log10 (gain); }
}

TEST (FactoryPresets, HoldTheTwentyThreeEntriesWithTheirNamesInOrder)
{
    const juce::StringArray names { "Load preset...", "Bass - Clarity", "Bass - Fuzz", "Bass - Growl", "Dums - Lift",
                                    "Drums - Presence", "Drums - Punch", "Drums - Sizzle", "Guitar - Crush",
                                    "Guitar - Metal", "Guitar - Presence", "Guitar - Slide", "Guitar - Warm",
                                    "Guitar - Overdrive", "Vocal - Lift", "Vocal - Presence", "Vocal -Overdrive",
                                    "Vocal - Sizzle", "Vocal - Subtle", "Mastering - Garage", "Mastering - Emphasis",
                                    "Mastering - Shimmer", "Mastering - Velvet" };

    ASSERT_EQ (factoryPresetCount, factoryPresets().getNumChildElements());
    EXPECT_TRUE (factoryPresets().hasTagName ("PRESETS"));

    for (int i = 0; i < factoryPresetCount; ++i)
    {
        const auto* entry = factoryPresets().getChildElement (i);
        EXPECT_EQ ("preset" + juce::String (i + 1), entry->getTagName());
        EXPECT_EQ (names[i], entry->getStringAttribute ("presetName"));
    }
}

TEST (FactoryPresets, AttributeSetsAreExactlyTheStoredOnes)
{
    EXPECT_EQ (juce::StringArray ({ "bypass", "presetName" }), attributeNames (*factoryPresets().getChildElement (0)));
    EXPECT_EQ (juce::String ("0.0"), factoryPresets().getChildElement (0)->getStringAttribute ("bypass"));

    const auto expected = expectedFullEntryAttributes();
    ASSERT_EQ (65, expected.size());

    for (int i = 1; i < factoryPresetCount; ++i)
        EXPECT_EQ (expected, attributeNames (*factoryPresets().getChildElement (i))) << "entry " << i + 1;
}

TEST (FactoryPresets, ValuesAreNormalisedFloatsWrittenAsCaptureWritesThem)
{
    for (auto* entry : factoryPresets().getChildIterator())
    {
        for (int i = 0; i < entry->getNumAttributes(); ++i)
        {
            if (entry->getAttributeName (i) == "presetName")
                continue;

            const auto text = entry->getAttributeValue (i);
            const auto value = (float) text.getDoubleValue();

            juce::XmlElement rewritten ("x");
            rewritten.setAttribute ("v", (double) value);

            EXPECT_EQ (text, rewritten.getStringAttribute ("v")) << entry->getTagName() << " " << entry->getAttributeName (i);
            EXPECT_TRUE (value >= 0.0f && value <= 1.0f) << entry->getTagName() << " " << entry->getAttributeName (i);
        }
    }
}

TEST (FactoryPresets, EmbeddedTextIsTheCrLfFileTheGeneratorMakesFromItsTable)
{
    LayoutOnlyProcessor processor;
    const auto generated = FactoryPresetTable::toFileText (FactoryPresetTable::makeFactoryPresets (processor));

    EXPECT_EQ (generated, embeddedFactoryText()) << "regenerate resources/FactoryPresets.cpp";
    EXPECT_TRUE (embeddedFactoryText().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<PRESETS>\r\n"));
    EXPECT_FALSE (embeddedFactoryText().replace ("\r\n", "").containsAnyOf ("\r\n"));

    const auto checkedInXml = juce::File (ZELK_SOURCE_DIR).getChildFile ("resources/FactoryPresets.xml");
    EXPECT_EQ (generated, checkedInXml.loadFileAsString()) << "regenerate resources/FactoryPresets.xml";
}

TEST (FactoryPresets, LoadedEntriesGiveTheTableSettingsThroughTheParameters)
{
    LayoutOnlyProcessor processor;
    auto plain = [&] (const juce::String& id) { return processor.parameters.getRawParameterValue (id)->load(); };

    const auto& table = FactoryPresetTable::presets();
    ASSERT_EQ ((size_t) factoryPresetCount - 1, table.size());

    for (size_t p = 0; p < table.size(); ++p)
    {
        const auto& preset = table[p];
        SCOPED_TRACE (preset.name);
        applyParametersFromXml (*factoryPresets().getChildElement ((int) p + 1), processor);

        EXPECT_EQ ((float) preset.crossoverCount, plain ("numCrossovers"));   // read by truncation: must be whole
        EXPECT_NEAR (preset.outputDecibels, plain ("output"), 0.05f);
        EXPECT_EQ (0.0f, plain ("bypass"));

        for (size_t k = 0; k < 5; ++k)
        {
            EXPECT_EQ (preset.crossoversHz[k], plain (ParameterIDs::frequencyCrossover (k)));

            if (k > 0)
            {
                EXPECT_LT (plain (ParameterIDs::frequencyCrossover (k - 1)), plain (ParameterIDs::frequencyCrossover (k)));
            }
        }

        for (size_t b = 0; b < 6; ++b)
        {
            const auto& band = b < preset.bands.size() ? preset.bands[b] : FactoryPresetTable::clean;
            EXPECT_EQ ((float) band.type, plain (ParameterIDs::type (b)));
            EXPECT_NEAR (band.mixPercent, plain (ParameterIDs::mix (b)), 0.01f);
            EXPECT_NEAR (band.levelDecibels, decibels (plain (ParameterIDs::compgain (b))), 0.02f);
            EXPECT_NEAR (band.driveDecibels, decibels (plain (ParameterIDs::gain (b))), 0.01f);
            EXPECT_EQ (band.processing ? 1.0f : 0.0f, plain (ParameterIDs::active (b)));
            EXPECT_EQ (0.0f, plain (ParameterIDs::solo (b)));
            EXPECT_EQ (band.lowpassHz, plain (ParameterIDs::frequencyLowpass (b)));
            EXPECT_EQ (band.highpassHz, plain (ParameterIDs::frequencyHighpass (b)));
            EXPECT_EQ ((float) band.oversampling, plain (ParameterIDs::oversampling (b)));
        }
    }
}
