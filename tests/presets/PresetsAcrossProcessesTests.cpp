// Twenty processes starting at once on one damaged presets.xml: the damaged
// file is kept aside exactly once and the file becomes the factory set. The
// processes are this program, run with ZELK_PRESETS_CHILD naming a start file.
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
    EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
}

TEST (PresetsAcrossProcesses, DamagedFileIsKeptAsideOnce)
{
    if (std::getenv ("ZELK_PRESETS_CHILD") != nullptr)
        GTEST_SKIP();

    ScopedTemporaryHome home;
    const auto file = home.presetsFile();
    const juce::String damaged ("<PRESETS>\r\n  <preset24 gain-1=\"0.5\" presetName=\"mine\"/>\r\n  <preset25 gain-1=");
    const auto program = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName();

    for (int round = 0; round < 5; ++round)   // the processes do not always meet in the same instant
    {
        file.getParentDirectory().deleteRecursively();
        file.getParentDirectory().createDirectory();
        file.replaceWithText (damaged);

        const auto go = home.home.getChildFile ("go" + juce::String (round));
        setenv ("ZELK_PRESETS_CHILD", go.getFullPathName().toRawUTF8(), 1);
        std::vector<std::unique_ptr<juce::ChildProcess>> children;
        for (int i = 0; i < 20; ++i)
        {
            children.push_back (std::make_unique<juce::ChildProcess>());
            ASSERT_TRUE (children.back()->start (juce::StringArray { program, "--gtest_filter=PresetsAcrossProcesses.ChildBuildsOneHolder" }));
        }
        unsetenv ("ZELK_PRESETS_CHILD");
        juce::Thread::sleep (100);
        go.create();

        for (auto& child : children)
        {
            const auto output = child->readAllProcessOutput();
            EXPECT_TRUE (child->waitForProcessToFinish (60000) && child->getExitCode() == 0) << output;
        }

        const auto kept = file.getParentDirectory().findChildFiles (juce::File::findFiles, false, "presets-unreadable*");
        ASSERT_EQ (kept.size(), 1) << "round " << round;
        EXPECT_EQ (damaged, contentsOf (kept[0])) << "round " << round;
        EXPECT_EQ (embeddedFactoryText(), contentsOf (file)) << "round " << round;
    }
}
