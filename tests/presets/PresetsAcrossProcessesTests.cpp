// Processes meeting on one presets.xml: twenty starting at once on a damaged
// file keep it aside exactly once and leave the factory set; a dozen saving at
// once keep every entry, also through two links to one file. The processes are this
// program, run with ZELK_PRESETS_CHILD naming a start file (and ZELK_PRESETS_CHILD_SAVES
// how often to save).
#include "PresetsTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

TEST (PresetsAcrossProcesses, ChildBuildsOneHolder)
{
    const auto* goFile = std::getenv ("ZELK_PRESETS_CHILD");
    if (goFile == nullptr)
        GTEST_SKIP() << "a child of PresetsAcrossProcesses.DamagedFileIsKeptAsideOnce";

    for (const auto end = juce::Time::getMillisecondCounter() + 10000; ! juce::File (goFile).exists() && juce::Time::getMillisecondCounter() < end;)
        std::this_thread::yield();
    PresetsTestProcessor processor;
    const auto saves = juce::String (std::getenv ("ZELK_PRESETS_CHILD_SAVES")).getIntValue();
    for (int save = 0; save < saves; ++save)
    {
        // A save meeting another one's turn is refused at once; the user tries again.
        auto saved = juce::Result::fail ("not tried");
        for (int attempt = 0; attempt < 100 && saved.failed(); ++attempt)
            saved = processor.presetsHolder.savePreset ("child " + juce::String ((int) getpid()));
        EXPECT_TRUE (saved.wasOk()) << saved.getErrorMessage();
    }
    if (saves == 0)
    {
        EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
    }
}

namespace
{
    /** Starts `count` children that wait for `go` to exist, creates it and waits for them.
        Each saves `saves` times, with XDG_CONFIG_HOME taken in turn from `configHomes` when
        any are given (and left as the last child's). */
    void runChildrenAtOnce (const juce::File& go, int count, int saves, const juce::StringArray& configHomes = {})
    {
        const auto program = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName();
        setenv ("ZELK_PRESETS_CHILD", go.getFullPathName().toRawUTF8(), 1);
        setenv ("ZELK_PRESETS_CHILD_SAVES", juce::String (saves).toRawUTF8(), 1);

        std::vector<std::unique_ptr<juce::ChildProcess>> children;
        for (int i = 0; i < count; ++i)
        {
            if (! configHomes.isEmpty())
                setenv ("XDG_CONFIG_HOME", configHomes[i % configHomes.size()].toRawUTF8(), 1);
            children.push_back (std::make_unique<juce::ChildProcess>());
            ASSERT_TRUE (children.back()->start (juce::StringArray { program, "--gtest_filter=PresetsAcrossProcesses.ChildBuildsOneHolder" }));
        }
        unsetenv ("ZELK_PRESETS_CHILD");
        unsetenv ("ZELK_PRESETS_CHILD_SAVES");
        juce::Thread::sleep (100);
        go.create();

        for (auto& child : children)
        {
            const auto output = child->readAllProcessOutput();
            EXPECT_TRUE (child->waitForProcessToFinish (60000) && child->getExitCode() == 0) << output;
            EXPECT_FALSE (output.contains ("FAILED")) << output;
        }
    }
}

TEST (PresetsAcrossProcesses, DamagedFileIsKeptAsideOnce)
{
    if (std::getenv ("ZELK_PRESETS_CHILD") != nullptr)
        GTEST_SKIP();

    ScopedTemporaryHome home;
    const auto file = home.presetsFile();
    const juce::String damaged ("<PRESETS>\r\n  <preset24 gain-1=\"0.5\" presetName=\"mine\"/>\r\n  <preset25 gain-1=");
    for (int round = 0; round < 5; ++round)   // the processes do not always meet in the same instant
    {
        file.getParentDirectory().deleteRecursively();
        file.getParentDirectory().createDirectory();
        file.replaceWithText (damaged);

        runChildrenAtOnce (home.home.getChildFile ("go" + juce::String (round)), 20, 0);

        const auto kept = file.getParentDirectory().findChildFiles (juce::File::findFiles, false, "presets-unreadable*");
        ASSERT_EQ (kept.size(), 1) << "round " << round;
        EXPECT_EQ (damaged, contentsOf (kept[0])) << "round " << round;
        EXPECT_EQ (embeddedFactoryText(), contentsOf (file)) << "round " << round;
    }
}

TEST (PresetsAcrossProcesses, SavesAtOnceKeepEveryEntry)
{
    if (std::getenv ("ZELK_PRESETS_CHILD") != nullptr)
        GTEST_SKIP();

    ScopedTemporaryHome home;
    runChildrenAtOnce (home.home.getChildFile ("go"), 12, 1);

    PresetsTestProcessor processor;
    EXPECT_EQ (factoryPresetCount + 12, processor.presetsHolder.presets.getNumChildElements());

    // Two config folders whose presets.xml are links to that file: one lock between them.
    const juce::StringArray configHomes { home.home.getChildFile ("one").getFullPathName(), home.home.getChildFile ("two").getFullPathName() };
    for (const auto& configHome : configHomes)
    {
        const auto link = juce::File (configHome).getChildFile ("Velkor Audio Tools/ZELK-MULTI/presets.xml");
        ASSERT_TRUE (link.getParentDirectory().createDirectory() && home.presetsFile().createSymbolicLink (link, false));
    }
    runChildrenAtOnce (home.home.getChildFile ("go through links"), 4, 15, configHomes);   // each save reported done

    home.setConfigHome (home.home.getChildFile (".config"));
    PresetsTestProcessor later;
    EXPECT_EQ (factoryPresetCount + 12 + 4 * 15, later.presetsHolder.presets.getNumChildElements());
}
