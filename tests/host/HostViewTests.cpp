// The stand-in host showing the plug-in's window: a picture of it without a
// display, and a real window that ends the program cleanly when closed,
// destroyed or cut off from the display, keeping the state it was asked to store.

#include "X11WindowCloser.h"

#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <filesystem>
#include <sys/stat.h>

namespace
{
    struct Run
    {
        int exitCode = -1;
        juce::String output;
    };

    /** Runs zelk_host with DISPLAY removed from its environment, or kept;
        in `workingFolder` when one is given. */
    juce::ChildProcess* startHost (juce::ChildProcess& process, const juce::StringArray& arguments, bool withDisplay,
                                   const juce::File& workingFolder = {})
    {
        juce::StringArray command;
        if (! withDisplay)
            command.addArray ({ "/usr/bin/env", "-u", "DISPLAY" });
        if (workingFolder != juce::File())
            command.addArray ({ "/bin/sh", "-c", "cd \"$0\" && exec \"$@\"", workingFolder.getFullPathName() });
        command.add (ZELK_HOST_PROGRAM);
        command.addArray (arguments);
        return process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr) ? &process : nullptr;
    }

    Run finish (juce::ChildProcess& process)
    {
        Run run;
        run.output = process.readAllProcessOutput();
        process.waitForProcessToFinish (60000);
        run.exitCode = (int) process.getExitCode();
        return run;
    }

    /** As finish(), for a host that should end within `milliseconds`: one
        still running then is ended and reported. */
    Run finishWithin (juce::ChildProcess& process, int milliseconds)
    {
        // One wait only: JUCE's ChildProcess forgets the exit status on a second.
        if (! process.waitForProcessToFinish (milliseconds) && process.kill())
            return { -1, "still running after " + juce::String (milliseconds) + " ms" };
        return { (int) process.getExitCode(), process.readAllProcessOutput() };
    }

    /** Pixels of the picture's plot area in the colour of a spectrum curve. */
    int curvePixels (const juce::Image& picture, juce::Colour curve)
    {
        int count = 0;
        for (int y = 30 + 50; y < 30 + 278; ++y)     // the plot area below its "In" and "Out" buttons
            for (int x = 0; x < picture.getWidth(); ++x)
            {
                const auto pixel = picture.getPixelAt (x, y);
                count += std::abs (pixel.getRed() - curve.getRed()) < 30 && std::abs (pixel.getGreen() - curve.getGreen()) < 30
                         && std::abs (pixel.getBlue() - curve.getBlue()) < 30;
            }
        return count;
    }

    class HostView : public ::testing::Test
    {
    protected:
        juce::TemporaryFile folderName;
        juce::File folder;

        void SetUp() override { folder = folderName.getFile(); folder.createDirectory(); }
        void TearDown() override { folder.deleteRecursively(); }
    };
}

TEST_F (HostView, SnapshotWithoutADisplayShowsTheSpectra)
{
    const auto picture = folder.getChildFile ("window.png");
    juce::ChildProcess process;
    ASSERT_NE (startHost (process, { "--snapshot", picture.getFullPathName(), "numCrossovers=3" }, false), nullptr);
    const auto run = finish (process);
    ASSERT_EQ (run.exitCode, 0) << run.output;

    const auto image = juce::ImageFileFormat::loadFrom (picture);
    ASSERT_TRUE (image.isValid());
    EXPECT_EQ (image.getWidth(), 950);
    EXPECT_EQ (image.getHeight(), 525);
    EXPECT_GT (curvePixels (image, juce::Colour (0xff8acc25)), 200) << "output spectrum (0xccadff2f on black)";
    EXPECT_GT (curvePixels (image, juce::Colour (0xffa8a8a8)), 200) << "input spectrum (0xccd3d3d3 on black)";
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFiles, "*"), 1) << "nothing but the picture";
}

TEST_F (HostView, WindowNeedsADisplay)
{
    const auto state = folder.getChildFile ("state.zlks");
    juce::ChildProcess process;
    ASSERT_NE (startHost (process, { "--gui", "--save-state", state.getFullPathName() }, false), nullptr);
    const auto run = finish (process);
    EXPECT_NE (run.exitCode, 0);
    EXPECT_TRUE (run.output.contains ("display")) << run.output;
    EXPECT_FALSE (state.exists());

    juce::ChildProcess both;
    ASSERT_NE (startHost (both, { "--gui", "--snapshot", folder.getChildFile ("x.png").getFullPathName() }, true), nullptr);
    EXPECT_NE (finish (both).exitCode, 0);
}

TEST_F (HostView, ClosingTheWindowOrEndingItFromOutsideEndsTheHostAndStoresTheState)
{
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
        GTEST_SKIP() << "no display (the test stages run under xvfb-run)";

    using Way = hosttest::X11WindowCloser::Way;
    const auto state = folder.getChildFile ("state.zlks");
    for (const auto way : { Way::close, Way::destroy, Way::killClient })
    {
        state.deleteFile();
        hosttest::X11WindowCloser user;
        juce::ChildProcess process;
        ASSERT_NE (startHost (process, { "--gui", "--save-state", state.getFullPathName(), "type-1=7" }, true), nullptr);
        ASSERT_TRUE (user.closeWindowTitled ("ZELK-MULTI", 20000, way));
        const auto run = finishWithin (process, 15000);
        EXPECT_TRUE (run.exitCode == 0 && state.existsAsFile()) << "way " << (int) way << ": " << run.output;
    }

    // The stored state is one the host can load again.
    juce::ChildProcess again;
    ASSERT_NE (startHost (again, { "--load-state", state.getFullPathName(), "--seconds", "0.1",
                                   "--output", folder.getChildFile ("out.wav").getFullPathName() }, false), nullptr);
    const auto rerun = finish (again);
    EXPECT_EQ (rerun.exitCode, 0) << rerun.output;
}

TEST_F (HostView, AStateThatCannotBeWrittenIsRefusedBeforeTheWindowOpensAndKeptWhenWritingFailsOnClosing)
{
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
        GTEST_SKIP() << "no display (the test stages run under xvfb-run)";

    juce::ChildProcess refused;
    ASSERT_NE (startHost (refused, { "--gui", "--save-state", "nodir/mix.zlks" }, true, folder), nullptr);
    const auto refusal = finishWithin (refused, 10000);
    EXPECT_TRUE (refusal.exitCode == 1 && refusal.output.contains ("nodir/mix.zlks: its folder")) << refusal.output;

    // The folder goes while the window is open: the state is kept in a new file beside the host.
    folder.getChildFile ("zelk-state-recovered.zlks").replaceWithText ("an earlier one");
    folder.getChildFile ("gone").createDirectory();
    hosttest::X11WindowCloser user;
    juce::ChildProcess process;
    ASSERT_NE (startHost (process, { "--gui", "--save-state", "gone/mix.zlks" }, true, folder), nullptr);
    ASSERT_TRUE (user.waitForWindowTitled ("ZELK-MULTI", 20000) && folder.getChildFile ("gone").deleteRecursively());
    ASSERT_TRUE (user.closeWindowTitled ("ZELK-MULTI", 20000));
    const auto run = finishWithin (process, 10000);
    const auto kept = folder.getChildFile ("zelk-state-recovered-2.zlks");
    EXPECT_TRUE (run.exitCode == 1 && run.output.contains ("kept in " + kept.getFullPathName())) << run.output;
    EXPECT_TRUE (kept.loadFileAsString().startsWith ("ZLKS") && folder.getChildFile ("zelk-state-recovered.zlks").loadFileAsString() == "an earlier one");
}

// An output swapped during a long render (the state, stored before it, is no longer looked at) or while
// the window is open is left alone; the run fails without waiting on a pipe, keeping a state in a new file.
TEST_F (HostView, WhatIsPutAtAnOutputWhileTheHostRunsIsLeftAlone)
{
    const auto state = folder.getChildFile ("mix.zlks"), recovered = folder.getChildFile ("zelk-state-recovered.zlks");
    const auto stored = [&] { for (int i = 0; i < 20000 && ! state.existsAsFile(); ++i) juce::Thread::sleep (1); return state.existsAsFile(); };
    folder.getChildFile ("elsewhere").replaceWithText ("another folder's file");
    for (const bool window : { false, true })
        for (const juce::String kind : { "a symbolic link", "a pipe" })
        {
            if (window && juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
                GTEST_SKIP() << "no display (the test stages run under xvfb-run)";
            const auto swapped = folder.getChildFile (window ? "mix.zlks" : "out.wav").getFullPathName().toStdString();
            hosttest::X11WindowCloser user;
            juce::ChildProcess process;
            ASSERT_NE (startHost (process, window ? juce::StringArray { "--gui", "--save-state", "mix.zlks" }
                                                  : juce::StringArray { "--rate", "8000", "--seconds", "600", "--save-state", "mix.zlks" }, window, folder), nullptr);
            ASSERT_TRUE (window ? user.waitForWindowTitled ("ZELK-MULTI", 20000) : stored());
            kind == "a pipe" ? (void) ::mkfifo (swapped.c_str(), 0600) : std::filesystem::create_symlink ("elsewhere", swapped);
            ASSERT_TRUE (! window || user.closeWindowTitled ("ZELK-MULTI", 20000));
            const auto run = finishWithin (process, 60000);
            EXPECT_TRUE (run.exitCode == 1 && run.output.contains (kind + " was put there while it was being written")
                         && std::filesystem::symlink_status (swapped).type() == (kind == "a pipe" ? std::filesystem::file_type::fifo : std::filesystem::file_type::symlink)
                         && recovered.loadFileAsString().startsWith ("ZLKS") == window) << run.output;
            for (const auto& leftOver : { swapped, state.getFullPathName().toStdString(), recovered.getFullPathName().toStdString() })
                std::filesystem::remove (leftOver);
        }
    EXPECT_TRUE (folder.getChildFile ("elsewhere").loadFileAsString() == "another folder's file" && folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*") == 1);
}
