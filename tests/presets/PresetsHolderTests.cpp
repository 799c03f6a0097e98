#include "PresetsTestSupport.h"

#include "presets/ParameterSetXml.h"

#include <gtest/gtest.h>

namespace
{
    const juce::String declaration ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n");

    class PresetsHolderTest : public ::testing::Test
    {
    protected:
        ScopedTemporaryHome home;
        juce::File file = home.presetsFile();

        /** Writes presets.xml as the factory entries (optionally altered) followed
            by user entries with the given tags, each named after its tag. */
        void writeFile (const juce::StringArray& userTags,
                        std::function<void (juce::XmlElement&)> alterFactory = {})
        {
            auto document = PresetsHolder::createFactoryPresets();

            if (alterFactory)
                alterFactory (document);

            for (auto& tag : userTags)
                addUserEntry (document, tag, "user " + tag);

            file.getParentDirectory().createDirectory();
            ASSERT_TRUE (document.writeTo (file, juce::XmlElement::TextFormat()));
        }

        static void addUserEntry (juce::XmlElement& document, const juce::String& tag, const juce::String& name)
        {
            auto* entry = document.createNewChildElement (tag);
            entry->setAttribute ("gain-1", 0.25);
            entry->setAttribute ("presetName", name);
        }

        /** What the preset bar does on "Save preset": re-read, append, write. */
        static void saveLikeThePresetBar (PresetsTestProcessor& processor, const juce::String& name)
        {
            auto& holder = processor.presetsHolder;
            readPresetsFile (holder.presetsFile, holder.presets);
            auto* entry = holder.presets.createNewChildElement ("preset" + juce::String (holder.presets.getNumChildElements() + 1));
            captureParametersToXml (processor, *entry);
            entry->setAttribute ("presetName", name);
            holder.currentIndex = holder.presets.getNumChildElements();
            writePresetsFile (holder.presets, holder.presetsFile);
        }

        static juce::StringArray tagsAndNamesAfterFactory (const juce::XmlElement& presets)
        {
            juce::StringArray result;

            for (int i = factoryPresetCount; i < presets.getNumChildElements(); ++i)
            {
                auto* entry = presets.getChildElement (i);
                result.add (entry->getTagName() + "=" + entry->getStringAttribute ("presetName"));
            }

            return result;
        }

        juce::XmlElement parsedFile() const
        {
            juce::XmlElement document ("none");
            readPresetsFile (file, document);
            return document;
        }

        static bool startsWithFactoryEntries (const juce::XmlElement& presets)
        {
            const auto factory = PresetsHolder::createFactoryPresets();

            for (int i = 0; i < factoryPresetCount; ++i)
                if (presets.getChildElement (i) == nullptr
                     || ! presets.getChildElement (i)->isEquivalentTo (factory.getChildElement (i), false))
                    return false;

            return true;
        }
    };
}

//==============================================================================
// Start-up: installing and merging the file

TEST_F (PresetsHolderTest, FirstStartCreatesTheFolderAndWritesTheFactoryFileExactly)
{
    ASSERT_FALSE (file.getParentDirectory().exists());

    PresetsTestProcessor processor;
    const auto& holder = processor.presetsHolder;

    EXPECT_EQ (file, holder.presetsFile);
    ASSERT_TRUE (file.existsAsFile());
    EXPECT_EQ (embeddedFactoryText(), contentsOf (file));
    EXPECT_TRUE (contentsOf (file).startsWith (declaration));
    EXPECT_FALSE (contentsOf (file).replace ("\r\n", "").containsAnyOf ("\r\n"));

    EXPECT_EQ (factoryPresetCount, holder.presets.getNumChildElements());
    EXPECT_EQ (juce::String ("PRESETS"), holder.presets.getTagName());
    EXPECT_EQ (0, holder.currentIndex);
    EXPECT_EQ (file.getLastModificationTime(), holder.lastModified);
    EXPECT_NE (0, holder.lastModified.toMilliseconds());
    EXPECT_EQ (&processor, holder.processor);
}

TEST_F (PresetsHolderTest, FileLiesUnderHomeConfigWhenConfigHomeIsUnsetOrRelative)
{
    const auto expected = home.home.getChildFile (".config/Velkor Audio Tools/ZELK-MULTI/presets.xml");

    home.unsetConfigHome();
    EXPECT_EQ (expected, PresetsHolder::locatePresetsFile ({}, "ZELK-MULTI/presets.xml"));

    home.setConfigHomeText ("relative/config");
    EXPECT_EQ (expected, PresetsHolder::locatePresetsFile ({}, "ZELK-MULTI/presets.xml"));

    home.setConfigHome (home.home.getChildFile ("elsewhere"));
    EXPECT_EQ (home.home.getChildFile ("elsewhere/Velkor Audio Tools/ZELK-MULTI/presets.xml"),
               PresetsHolder::locatePresetsFile ({}, "ZELK-MULTI/presets.xml"));
}

TEST_F (PresetsHolderTest, EditedFactoryEntryIsRestoredAndUserEntriesKeepOrderAndNumbers)
{
    writeFile ({ "preset24", "preset25", "preset26", "preset27", "preset28", "preset29", "preset30" },
               [] (juce::XmlElement& document)
               {
                   document.getChildElement (4)->setAttribute ("gain-1", 0.999);
                   document.getChildElement (4)->setAttribute ("presetName", "my drums");
               });

    PresetsTestProcessor processor;
    const auto& presets = processor.presetsHolder.presets;

    EXPECT_TRUE (startsWithFactoryEntries (presets));
    EXPECT_EQ (juce::StringArray ({ "preset24=user preset24", "preset25=user preset25", "preset26=user preset26",
                                    "preset27=user preset27", "preset28=user preset28", "preset29=user preset29",
                                    "preset30=user preset30" }),
               tagsAndNamesAfterFactory (presets));
    EXPECT_TRUE (parsedFile().isEquivalentTo (&presets, false));
}

TEST_F (PresetsHolderTest, UserEntriesAreRenumberedAfterTheFactoryEntriesWithoutGaps)
{
    writeFile ({ "preset44", "preset45", "preset45" });

    PresetsTestProcessor processor;

    EXPECT_EQ (juce::StringArray ({ "preset24=user preset44", "preset25=user preset45", "preset26=user preset45" }),
               tagsAndNamesAfterFactory (processor.presetsHolder.presets));
    EXPECT_EQ (juce::StringArray ({ "preset24=user preset44", "preset25=user preset45", "preset26=user preset45" }),
               tagsAndNamesAfterFactory (parsedFile()));

    const auto* entry = processor.presetsHolder.presets.getChildElement (23);
    ASSERT_EQ (2, entry->getNumAttributes());
    EXPECT_EQ (juce::String ("gain-1"), entry->getAttributeName (0));
    EXPECT_EQ (juce::String ("0.25"), entry->getAttributeValue (0));
}

TEST_F (PresetsHolderTest, EntriesTaggedLikeFactoryEntriesGiveWayWhileOtherUserEntriesAreAllKept)
{
    // A hand-edited file: factory tags in another case, and user tags out of order.
    file.getParentDirectory().createDirectory();
    file.replaceWithText ("<presets><PRESET5 presetName=\"edited\"/><preset25 presetName=\"b\"/>"
                          "<preset24 presetName=\"a\"/><preset1 presetName=\"x\"/><custom presetName=\"c\"/></presets>");

    PresetsTestProcessor processor;
    const auto& presets = processor.presetsHolder.presets;

    EXPECT_TRUE (startsWithFactoryEntries (presets));
    EXPECT_EQ (juce::StringArray ({ "preset24=b", "preset25=a", "preset26=c" }), tagsAndNamesAfterFactory (presets));
}

TEST_F (PresetsHolderTest, EmptyFileIsReplacedByTheFactoryFile)
{
    file.getParentDirectory().createDirectory();
    file.create();

    PresetsTestProcessor processor;

    EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
    EXPECT_EQ (embeddedFactoryText(), contentsOf (file));
    EXPECT_EQ (1, file.getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles)); // beside the hidden install lock
}

TEST_F (PresetsHolderTest, FileThatDoesNotParseIsKeptAsideNotOverwritten)
{
    const juce::String damaged ("<PRESETS>\r\n  <preset24 gain-1=\"0.5\" presetName=\"mine\"/>\r\n  <preset25 gain-1=");
    file.getParentDirectory().createDirectory();
    file.replaceWithText (damaged);

    {
        PresetsTestProcessor processor;
        EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
    }

    const auto aside = file.getSiblingFile ("presets-unreadable.xml");
    EXPECT_EQ (damaged, contentsOf (aside));
    EXPECT_EQ (embeddedFactoryText(), contentsOf (file));

    // A second damaged file does not overwrite the first one kept aside.
    file.replaceWithText ("<settings><x/></settings>");
    PresetsTestProcessor processor;

    EXPECT_EQ (damaged, contentsOf (aside));
    EXPECT_EQ (juce::String ("<settings><x/></settings>"), contentsOf (file.getSiblingFile ("presets-unreadable(2).xml")));
    EXPECT_EQ (embeddedFactoryText(), contentsOf (file));
}

TEST_F (PresetsHolderTest, FileThatWouldLoopTheXmlParserIsKeptAside)
{
    // A processing instruction followed by text inside an element sends the
    // library's XML parser round for ever; start-up must still finish.
    const juce::String looping ("<PRESETS><?x?>a</PRESETS>");
    file.getParentDirectory().createDirectory();
    file.replaceWithText (looping);

    PresetsTestProcessor processor;

    EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
    EXPECT_EQ (looping, contentsOf (file.getSiblingFile ("presets-unreadable.xml")));
    EXPECT_EQ (embeddedFactoryText(), contentsOf (file));
}

TEST_F (PresetsHolderTest, EightBitTextKeepsTheUserEntries)
{
    // A hand-edited file saved as Latin-1: not UTF-8, but its entries still count.
    const char latin1[] = "<?xml version=\"1.0\"?>\n<PRESETS><preset24 gain-1=\"0.5\" presetName=\"Caf\xe9\"/></PRESETS>";
    file.getParentDirectory().createDirectory();
    ASSERT_TRUE (file.replaceWithData (latin1, sizeof (latin1) - 1));

    PresetsTestProcessor processor;
    const auto& presets = processor.presetsHolder.presets;

    EXPECT_TRUE (startsWithFactoryEntries (presets));
    ASSERT_EQ (factoryPresetCount + 1, presets.getNumChildElements());
    EXPECT_EQ (juce::String (juce::CharPointer_UTF8 ("Caf\xc3\xa9")),
               presets.getChildElement (factoryPresetCount)->getStringAttribute ("presetName"));
}

TEST_F (PresetsHolderTest, FolderWhereTheFileBelongsIsLeftAloneAndFactoryPresetsServe)
{
    for (const bool folderHasContents : { false, true })
    {
        file.deleteRecursively();
        ASSERT_TRUE (file.createDirectory());

        if (folderHasContents)
            file.getChildFile ("something").replaceWithText ("keep me");

        PresetsTestProcessor processor;

        EXPECT_TRUE (file.isDirectory());
        EXPECT_EQ (juce::String (folderHasContents ? "keep me" : ""), contentsOf (file.getChildFile ("something")));
        EXPECT_TRUE (startsWithFactoryEntries (processor.presetsHolder.presets));
        EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
        EXPECT_EQ (0, processor.presetsHolder.lastModified.toMilliseconds());
    }
}

TEST_F (PresetsHolderTest, UnwritableLocationStillGivesTheFactoryPresets)
{
    // A plain file where a folder of the path should be: nothing can be created below it.
    const auto blocker = home.home.getChildFile ("not-a-folder");
    blocker.replaceWithText ("x");
    home.setConfigHome (blocker);

    PresetsTestProcessor processor;
    const auto& holder = processor.presetsHolder;

    EXPECT_EQ (blocker.getChildFile ("Velkor Audio Tools/ZELK-MULTI/presets.xml"), holder.presetsFile);
    EXPECT_FALSE (holder.presetsFile.exists());
    EXPECT_TRUE (startsWithFactoryEntries (holder.presets));
    EXPECT_EQ (factoryPresetCount, holder.presets.getNumChildElements());
    EXPECT_EQ (0, holder.lastModified.toMilliseconds());
}

TEST_F (PresetsHolderTest, SavesOfOneInstanceSurviveStartUpsAndSavesOfAnother)
{
    PresetsTestProcessor first;
    saveLikeThePresetBar (first, "from first");

    PresetsTestProcessor second;
    EXPECT_EQ (juce::StringArray ({ "preset24=from first" }), tagsAndNamesAfterFactory (second.presetsHolder.presets));

    saveLikeThePresetBar (second, "from second");
    saveLikeThePresetBar (first, "first again");

    PresetsTestProcessor third;
    EXPECT_EQ (juce::StringArray ({ "preset24=from first", "preset25=from second", "preset26=first again" }),
               tagsAndNamesAfterFactory (third.presetsHolder.presets));
    EXPECT_EQ (26, first.presetsHolder.currentIndex);
}

//==============================================================================
// Loading

TEST_F (PresetsHolderTest, LoadingTheFirstEntryRestoresDefaultsButNotPresetOrPlots)
{
    PresetsTestProcessor processor;
    processor.setPlain ("bypass", 1.0f);
    processor.setPlain ("gain-3", 33.0f);
    processor.setPlain ("numCrossovers", 2.0f);
    processor.setPlain ("output_mix", 40.0f);
    processor.setPlain ("preset", 12.0f);
    processor.setPlain ("input_plot", 1.0f);
    processor.setPlain ("output_plot", 1.0f);

    processor.presetsHolder.loadPreset (1);

    EXPECT_EQ (1, processor.presetsHolder.currentIndex);
    EXPECT_EQ (0.0f, processor.plainValue ("bypass"));

    for (auto* parameter : processor.getParameters())
    {
        const auto id = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter)->paramID;

        if (id != "preset" && id != "input_plot" && id != "output_plot")
        {
            EXPECT_EQ (parameter->getDefaultValue(), parameter->getValue()) << id;
        }
    }

    EXPECT_EQ (12.0f, processor.plainValue ("preset"));
    EXPECT_EQ (1.0f, processor.plainValue ("input_plot"));
    EXPECT_EQ (1.0f, processor.plainValue ("output_plot"));
}

TEST_F (PresetsHolderTest, LoadingAFactoryEntryResetsTheParametersItLacks)
{
    PresetsTestProcessor processor;
    processor.setPlain ("output_mix", 30.0f);
    processor.setPlain ("real_active-2", 0.0f);
    processor.setPlain ("real_active-6", 0.0f);
    processor.setPlain ("selectedBand", 4.0f);

    processor.presetsHolder.loadPreset (2);

    EXPECT_EQ (100.0f, processor.plainValue ("output_mix"));
    EXPECT_EQ (1.0f, processor.plainValue ("real_active-2"));
    EXPECT_EQ (1.0f, processor.plainValue ("real_active-6"));
    EXPECT_EQ (0.0f, processor.plainValue ("selectedBand"));

    const auto* entry = processor.presetsHolder.presets.getChildElement (1);
    EXPECT_EQ ((float) entry->getDoubleAttribute ("gain-2"), processor.parameter ("gain-2").getValue());
    EXPECT_EQ ((float) entry->getDoubleAttribute ("frequency_crossover-1"), processor.parameter ("frequency_crossover-1").getValue());
}

TEST_F (PresetsHolderTest, LoadingTheCurrentOrAnUnknownIdAppliesNothing)
{
    PresetsTestProcessor processor;
    auto& holder = processor.presetsHolder;

    holder.loadPreset (2);
    processor.setPlain ("gain-2", 40.0f);

    holder.loadPreset (2);                            // already current
    EXPECT_FLOAT_EQ (40.0f, processor.plainValue ("gain-2"));

    holder.loadPreset (0);
    EXPECT_EQ (0, holder.currentIndex);
    EXPECT_FLOAT_EQ (40.0f, processor.plainValue ("gain-2"));

    for (const int unknown : { -1, factoryPresetCount + 1, 100000 })
    {
        holder.loadPreset (unknown);
        EXPECT_EQ (unknown, holder.currentIndex);
        EXPECT_FLOAT_EQ (40.0f, processor.plainValue ("gain-2"));
    }

    holder.loadPreset (2);                            // no longer current: applied again
    EXPECT_NE (40.0f, processor.plainValue ("gain-2"));
}

//==============================================================================
// Deleting

TEST_F (PresetsHolderTest, DeleteKeepsEntriesAnotherInstanceSavedMeanwhile)
{
    writeFile ({ "preset24", "preset25" });
    PresetsTestProcessor first;
    PresetsTestProcessor second;
    saveLikeThePresetBar (second, "from second");

    EXPECT_TRUE (first.presetsHolder.deletePreset (24));

    const auto expected = juce::StringArray ({ "preset25=user preset25", "preset26=from second" });
    EXPECT_EQ (expected, tagsAndNamesAfterFactory (parsedFile()));
    EXPECT_EQ (expected, tagsAndNamesAfterFactory (first.presetsHolder.presets));
}

TEST_F (PresetsHolderTest, DeleteFindsItsEntryAfterAnotherInstanceShiftedIt)
{
    writeFile ({ "preset24", "preset25", "preset26" });
    PresetsTestProcessor first;
    PresetsTestProcessor second;

    EXPECT_TRUE (second.presetsHolder.deletePreset (24));
    EXPECT_TRUE (first.presetsHolder.deletePreset (25));          // "user preset25", now at 24 in the file

    EXPECT_EQ (juce::StringArray ({ "preset26=user preset26" }), tagsAndNamesAfterFactory (parsedFile()));

    // "user preset25" is ID 24 in the second instance's stale list; it is gone
    // from the file already, so nothing more is removed.
    EXPECT_FALSE (second.presetsHolder.deletePreset (24));
    EXPECT_EQ (juce::StringArray ({ "preset26=user preset26" }), tagsAndNamesAfterFactory (parsedFile()));
    EXPECT_EQ (juce::StringArray ({ "preset26=user preset26" }), tagsAndNamesAfterFactory (second.presetsHolder.presets));
}

TEST_F (PresetsHolderTest, DeleteOfAnUnknownIdChangesNothing)
{
    writeFile ({ "preset24" });
    PresetsTestProcessor processor;
    const auto before = contentsOf (file);

    for (const int unknown : { 0, -1, 25 })
        EXPECT_FALSE (processor.presetsHolder.deletePreset (unknown));

    EXPECT_EQ (before, contentsOf (file));
    EXPECT_EQ (24, processor.presetsHolder.presets.getNumChildElements());
}

TEST_F (PresetsHolderTest, DeleteWithTheFileGoneWritesWhatIsInMemory)
{
    writeFile ({ "preset24", "preset25" });
    PresetsTestProcessor processor;
    file.deleteFile();

    EXPECT_TRUE (processor.presetsHolder.deletePreset (24));
    EXPECT_EQ (juce::StringArray ({ "preset25=user preset25" }), tagsAndNamesAfterFactory (parsedFile()));
}
