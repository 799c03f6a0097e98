#include "PresetsTestSupport.h"

#include "presets/ParameterSetXml.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    class ParameterSetXml : public ::testing::Test
    {
    protected:
        ScopedTemporaryHome home;
        PresetsTestProcessor processor;

        /** Gives every parameter an awkward normalised value: thirds, tiny values
            (which the double writer puts in exponent form) and values near 1. */
        void scrambleParameters (juce::AudioProcessor& target)
        {
            const float awkward[] = { 1.0f / 3.0f, 3.0e-6f, 0.999999f, 0.1234567f, 2.0f / 7.0f, 0.5f, 1.0f, 0.0f };
            int i = 0;

            for (auto* parameter : target.getParameters())
                parameter->setValueNotifyingHost (awkward[i++ % std::size (awkward)]);
        }
    };

    juce::StringArray attributeNames (const juce::XmlElement& element)
    {
        juce::StringArray names;

        for (int i = 0; i < element.getNumAttributes(); ++i)
            names.add (element.getAttributeName (i));

        return names;
    }
}

TEST_F (ParameterSetXml, CaptureWritesEveryParameterButPresetAndPlotsInParameterOrder)
{
    processor.setPlain ("oversampling-1", 1.0f);   // "X4": one third of the range

    juce::XmlElement set ("Set");
    captureParametersToXml (processor, set);

    juce::StringArray expected;

    for (auto* parameter : processor.getParameters())
    {
        const auto id = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter)->paramID;

        if (id != "preset" && id != "input_plot" && id != "output_plot")
            expected.add (id);
    }

    EXPECT_EQ (70, set.getNumAttributes());
    EXPECT_EQ (expected, attributeNames (set));
    EXPECT_EQ (juce::String ("1.0"), set.getStringAttribute ("mix-1"));      // whole numbers keep one decimal
    EXPECT_EQ (juce::String ("0.0"), set.getStringAttribute ("bypass"));
    EXPECT_EQ (juce::String ("0.3333333432674408"), set.getStringAttribute ("oversampling-1"));  // the float, widened
}

TEST_F (ParameterSetXml, CaptureReplacesOldAttributesButKeepsTagAndChildren)
{
    juce::XmlElement set ("Kept");
    set.setAttribute ("stale", "1");
    set.createNewChildElement ("child");

    captureParametersToXml (processor, set);

    EXPECT_EQ (juce::String ("Kept"), set.getTagName());
    EXPECT_FALSE (set.hasAttribute ("stale"));
    EXPECT_EQ (1, set.getNumChildElements());
}

TEST_F (ParameterSetXml, WrittenAndReadBackReproducesEveryNormalisedValueExactly)
{
    scrambleParameters (processor);

    juce::XmlElement presets ("PRESETS");
    auto* entry = presets.createNewChildElement ("preset24");
    captureParametersToXml (processor, *entry);
    entry->setAttribute ("presetName", "round trip");

    const auto file = home.home.getChildFile ("roundtrip/presets.xml");
    ASSERT_TRUE (writePresetsFile (presets, file));

    juce::XmlElement readBack ("empty");
    ASSERT_TRUE (readPresetsFile (file, readBack));
    ASSERT_NE (nullptr, readBack.getChildElement (0));

    PresetsTestProcessor other;
    applyParametersFromXml (*readBack.getChildElement (0), other);

    for (int i = 0; i < processor.getParameters().size(); ++i)
    {
        auto* original = processor.getParameters()[i];
        const auto id = dynamic_cast<juce::AudioProcessorParameterWithID*> (original)->paramID;

        if (id == "preset" || id == "input_plot" || id == "output_plot")
            continue;

        const auto text = readBack.getChildElement (0)->getStringAttribute (id);
        EXPECT_EQ (original->getValue(), (float) text.getDoubleValue()) << id << " as " << text;
        EXPECT_EQ (original->getValue(), other.getParameters()[i]->getValue()) << id;
    }
}

TEST_F (ParameterSetXml, ApplyResetsParametersTheSetLacksAndLeavesPresetAndPlotsAlone)
{
    scrambleParameters (processor);
    processor.setPlain ("preset", 7.0f);
    processor.setPlain ("input_plot", 1.0f);
    processor.setPlain ("output_plot", 1.0f);

    juce::XmlElement set ("Set");
    set.setAttribute ("gain-2", 0.5);
    set.setAttribute ("Gain-3", 0.5);          // IDs are case-sensitive: this names nothing
    set.setAttribute ("presetName", "ignored");
    set.setAttribute ("preset", 0.0);          // never applied, even when present
    set.setAttribute ("input_plot", 0.0);

    applyParametersFromXml (set, processor);

    EXPECT_EQ (0.5f, processor.parameter ("gain-2").getValue());
    EXPECT_EQ (processor.parameter ("gain-3").getDefaultValue(), processor.parameter ("gain-3").getValue());
    EXPECT_FLOAT_EQ (100.0f, processor.plainValue ("output_mix"));
    EXPECT_FLOAT_EQ (5.0f, processor.plainValue ("numCrossovers"));
    EXPECT_FLOAT_EQ (250.0f, processor.plainValue ("frequency_crossover-1"));
    EXPECT_EQ (7.0f, processor.plainValue ("preset"));
    EXPECT_EQ (1.0f, processor.plainValue ("input_plot"));
    EXPECT_EQ (1.0f, processor.plainValue ("output_plot"));
}

TEST_F (ParameterSetXml, ApplyNotifiesTheParameterStoreInParameterOrder)
{
    struct Recorder : juce::AudioProcessorValueTreeState::Listener
    {
        juce::StringArray ids;
        void parameterChanged (const juce::String& id, float) override { ids.add (id); }
    } recorder;

    processor.parameters.addParameterListener ("gain-1", &recorder);
    processor.parameters.addParameterListener ("frequency_crossover-2", &recorder);
    processor.parameters.addParameterListener ("output", &recorder);

    juce::XmlElement set ("Set");
    set.setAttribute ("output", 0.25);
    set.setAttribute ("gain-1", 0.75);
    set.setAttribute ("frequency_crossover-2", 0.5);

    applyParametersFromXml (set, processor);

    EXPECT_EQ (juce::StringArray ({ "output", "gain-1", "frequency_crossover-2" }), recorder.ids);
    EXPECT_FLOAT_EQ (processor.parameter ("gain-1").convertFrom0to1 (0.75f), processor.plainValue ("gain-1"));

    processor.parameters.removeParameterListener ("gain-1", &recorder);
    processor.parameters.removeParameterListener ("frequency_crossover-2", &recorder);
    processor.parameters.removeParameterListener ("output", &recorder);
}

TEST_F (ParameterSetXml, ApplyTurnsDamagedValueTextsIntoSafeValues)
{
    juce::XmlElement set ("Set");
    set.setAttribute ("gain-1", "not a number");
    set.setAttribute ("gain-2", "nan");
    set.setAttribute ("gain-3", "inf");
    set.setAttribute ("gain-4", "-1e400");
    set.setAttribute ("gain-5", "1e9999999999");   // an exponent beyond int range
    set.setAttribute ("mix-1", "7.5");            // beyond the normalised range
    set.setAttribute ("mix-2", "-3");

    applyParametersFromXml (set, processor);

    const auto gainDefault = processor.parameter ("gain-2").getDefaultValue();
    for (auto id : { "gain-1", "gain-2", "gain-3", "gain-4", "gain-5" })
        EXPECT_EQ (gainDefault, processor.parameter (id).getValue()) << id;

    EXPECT_EQ (1.0f, processor.parameter ("mix-1").getValue());
    EXPECT_EQ (0.0f, processor.parameter ("mix-2").getValue());

    for (auto* parameter : processor.getParameters())
        EXPECT_TRUE (std::isfinite (parameter->getValue()));
}

TEST_F (ParameterSetXml, ReadLeavesTheElementAloneWhenTheFileIsMissingOrBroken)
{
    juce::XmlElement into ("PRESETS");
    into.createNewChildElement ("preset1")->setAttribute ("presetName", "kept");

    const auto broken = home.home.getChildFile ("broken.xml");
    broken.replaceWithText ("<PRESETS><preset1 bypass=");

    EXPECT_FALSE (readPresetsFile (home.home.getChildFile ("missing.xml"), into));
    EXPECT_FALSE (readPresetsFile (broken, into));
    EXPECT_FALSE (readPresetsFile (home.home, into));                 // a folder
    EXPECT_FALSE (readPresetsFile (juce::File(), into));

    ASSERT_EQ (1, into.getNumChildElements());
    EXPECT_EQ (juce::String ("kept"), into.getChildElement (0)->getStringAttribute ("presetName"));
}

TEST_F (ParameterSetXml, ReadCopiesTagAttributesAndChildren)
{
    const auto file = home.home.getChildFile ("other.xml");
    file.replaceWithText ("<Other a=\"1\"><x b=\"2\"/><y/></Other>");

    juce::XmlElement into ("PRESETS");
    into.createNewChildElement ("old");

    ASSERT_TRUE (readPresetsFile (file, into));
    EXPECT_EQ (juce::String ("Other"), into.getTagName());
    EXPECT_EQ (juce::String ("1"), into.getStringAttribute ("a"));
    ASSERT_EQ (2, into.getNumChildElements());
    EXPECT_EQ (juce::String ("2"), into.getChildElement (0)->getStringAttribute ("b"));
}

TEST_F (ParameterSetXml, WriteCreatesFoldersAndUsesCrLfLayout)
{
    juce::XmlElement presets ("PRESETS");
    presets.createNewChildElement ("preset1")->setAttribute ("presetName", "a");

    const auto file = home.home.getChildFile ("a/b/c/presets.xml");
    ASSERT_TRUE (writePresetsFile (presets, file));

    EXPECT_EQ (juce::String ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<PRESETS>\r\n  <preset1 presetName=\"a\"/>\r\n</PRESETS>\r\n"),
               contentsOf (file));
}

TEST_F (ParameterSetXml, WriteIntoAnImpossiblePathFailsQuietly)
{
    const auto blocker = home.home.getChildFile ("plain-file");
    blocker.replaceWithText ("x");

    EXPECT_FALSE (writePresetsFile (juce::XmlElement ("PRESETS"), blocker.getChildFile ("sub/presets.xml")));
    EXPECT_EQ (juce::String ("x"), contentsOf (blocker));
}

TEST_F (ParameterSetXml, WriteNeverReplacesAFolderOrWritesWithoutAPath)
{
    const auto folder = home.home.getChildFile ("presets.xml");
    ASSERT_TRUE (folder.createDirectory());

    EXPECT_FALSE (writePresetsFile (juce::XmlElement ("PRESETS"), folder));
    EXPECT_TRUE (folder.isDirectory());
    EXPECT_FALSE (writePresetsFile (juce::XmlElement ("PRESETS"), juce::File()));
}
