// Many processes starting at once on one damaged presets.xml: the damaged file
// is kept aside exactly once and the file ends up as the factory set. The
// processes are this test program itself, run with ZELK_PRESETS_CHILD set.
#include "PresetsTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace
{
    constexpr const char* childVariable = "ZELK_PRESETS_CHILD";
    constexpr int processCount = 20;
}

// Only in the child processes: waits until the parent says go, then builds
// one presets holder.
TEST (PresetsAcrossProcesses, ChildBuildsOneHolder)
{
    const auto* goFile = std::getenv (childVariable);
    if (goFile == nullptr)
        GTEST_SKIP() << "runs only as a child of PresetsAcrossProcesses.DamagedFileIsKeptAsideOnce";

    const juce::File go (goFile);
    for (const auto end = juce::Time::getMillisecondCounter() + 10000; ! go.exists() && juce::Time::getMillisecondCounter() < end;)
        std::this_thread::yield();

    PresetsTestProcessor processor;
    EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
}

TEST (PresetsAcrossProcesses, DamagedFileIsKeptAsideOnce)
{
    if (std::getenv (childVariable) != nullptr)
        GTEST_SKIP();

    ScopedTemporaryHome home;
    const auto file = home.presetsFile();
    const auto folder = file.getParentDirectory();
    const juce::String damaged ("<PRESETS>\r\n  <preset24 gain-1=\"0.5\" presetName=\"mine\"/>\r\n  <preset25 gain-1=");
    const auto program = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName();

    // A few rounds, as the processes do not always meet in the same instant.
    for (int round = 0; round < 5; ++round)
    {
        folder.deleteRecursively();
        folder.createDirectory();
        file.replaceWithText (damaged);

        const auto go = home.home.getChildFile ("go" + juce::String (round));
        setenv (childVariable, go.getFullPathName().toRawUTF8(), 1);

        std::vector<std::unique_ptr<juce::ChildProcess>> children;
        for (int i = 0; i < processCount; ++i)
        {
            children.push_back (std::make_unique<juce::ChildProcess>());
            ASSERT_TRUE (children.back()->start (juce::StringArray { program, "--gtest_filter=PresetsAcrossProcesses.ChildBuildsOneHolder" }));
        }
        unsetenv (childVariable);
        juce::Thread::sleep (100);
        go.create();

        for (auto& child : children)
        {
            const auto output = child->readAllProcessOutput();
            ASSERT_TRUE (child->waitForProcessToFinish (60000));
            EXPECT_EQ (child->getExitCode(), 0u) << output;
        }

        const auto kept = folder.findChildFiles (juce::File::findFiles, false, "presets-unreadable*");
        ASSERT_EQ (kept.size(), 1) << "round " << round;
        EXPECT_EQ (damaged, contentsOf (kept[0])) << "round " << round;
        EXPECT_EQ (embeddedFactoryText(), contentsOf (file)) << "round " << round;
    }
}
