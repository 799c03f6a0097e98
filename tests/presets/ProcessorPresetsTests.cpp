#include "PresetsTestSupport.h"

#include "engine/MultiAudioProcessor.h"
#include "presets/ParameterSetXml.h"

#include <gtest/gtest.h>

#include <tuple>

// The stores inside the plug-in's own processor, which builds them before its
// parameter store and hands them to the preset bar.

TEST (ProcessorPresets, ConstructionInstallsThePresetsFileAndAnEmptyABSet)
{
    ScopedTemporaryHome home;
    MultiAudioProcessor processor;

    EXPECT_EQ (home.presetsFile(), processor.presetsHolder.presetsFile);
    EXPECT_EQ (embeddedFactoryText(), contentsOf (home.presetsFile()));
    EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
    EXPECT_EQ (0, processor.abStateHolder.storedSet.getNumAttributes());
}

TEST (ProcessorPresets, LoadingAFactoryPresetReachesTheRecords)
{
    ScopedTemporaryHome home;
    MultiAudioProcessor processor;

    processor.presetsHolder.loadPreset (2);   // "Bass - Clarity": two crossovers, tube on band 2

    EXPECT_EQ (2u, processor.crossoverCount);
    EXPECT_FLOAT_EQ (150.0f, processor.crossovers[0].frequency);
    EXPECT_FLOAT_EQ (1200.0f, processor.crossovers[1].frequency);
    EXPECT_EQ (0, processor.bands[0].type);
    EXPECT_EQ (3, processor.bands[1].type);

    processor.presetsHolder.loadPreset (1);   // "Load preset...": back to the defaults

    EXPECT_EQ (5u, processor.crossoverCount);
    EXPECT_EQ (3, processor.bands[0].type);
}

TEST (ProcessorPresets, ABSwapRestoresTheLiveSettings)
{
    ScopedTemporaryHome home;
    MultiAudioProcessor processor;
    processor.presetsHolder.loadPreset (9);

    juce::XmlElement before ("Live");
    captureParametersToXml (processor, before);

    // "A/B" twice: the first press stores the live settings and applies the
    // empty set (defaults), the second swaps them back.
    for (int press = 0; press < 2; ++press)
    {
        juce::XmlElement live ("Temp");
        captureParametersToXml (processor, live);
        applyParametersFromXml (processor.abStateHolder.storedSet, processor);
        processor.abStateHolder.storedSet = live;
    }

    juce::XmlElement after ("Live");
    captureParametersToXml (processor, after);
    EXPECT_TRUE (before.isEquivalentTo (&after, false));
}

// The host state names the entry beside "preset" once the window followed it, also when saved
// again before a window followed the restore; a state without the name is read by its ID alone.
TEST (ProcessorPresets, TheHostStateNamesThePresetEntryBesideItsID)
{
    ScopedTemporaryHome home;
    const auto startWith = [&] (const char* names)
    {
        auto presets = PresetsHolder::createFactoryPresets();
        for (auto& name : juce::StringArray::fromTokens (names, false))
            presets.createNewChildElement ("preset" + juce::String (presets.getNumChildElements() + 1))->setAttribute ("presetName", name);
        writePresetsFile (presets, home.presetsFile());
        return std::make_unique<MultiAudioProcessor>();
    };

    auto saving = startWith ("A B C");
    juce::MemoryBlock project, unnamed;
    saving->apvts.getParameter ("preset")->setValueNotifyingHost (0.025f);   // 25
    saving->getStateInformation (unnamed);
    saving->presetsHolder.followPresetParameter (25);   // as the window follows it
    saving->getStateInformation (project);

    auto reopened = startWith ("B C");
    for (auto [state, name, id] : { std::tuple { &project, "B", 24 }, { &unnamed, "", 25 } })
    {
        juce::MemoryBlock again;
        reopened->setStateInformation (state->getData(), (int) state->getSize());
        reopened->getStateInformation (again);
        EXPECT_EQ (juce::ValueTree::readFromData (again.getData(), again.getSize())[PresetsHolder::entryNameProperty].toString(), name);
        EXPECT_EQ (reopened->presetsHolder.followPresetParameter (25), id);
    }
}
