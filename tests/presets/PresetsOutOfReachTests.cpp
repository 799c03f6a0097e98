// presets.xml or its lock file out of an instance's reach: files of another
// account (as a run under sudo leaves them), or a process out of file
// descriptors or disk space. Each instance runs in a child process, this program
// again with ZELK_OUT_OF_REACH set, which drops to another account when run as
// root (root reads everything) or lowers its limit of open files or file size.
#include "PresetsTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace
{
    constexpr uid_t otherAccount = 65534;   // "nobody"

    juce::String environment (const char* name)    { return juce::String (std::getenv (name)); }
}

TEST (PresetsOutOfReach, ChildStartsSavesAndDeletes)
{
    if (std::getenv ("ZELK_OUT_OF_REACH") == nullptr)
        GTEST_SKIP() << "run by PresetsOutOfReach.TheFileIsLeftAsItIs";

    rlimit usual {}, usualSize {};
    ASSERT_EQ (0, getrlimit (RLIMIT_NOFILE, &usual));
    ASSERT_EQ (0, getrlimit (RLIMIT_FSIZE, &usualSize));

    if (environment ("ZELK_OUT_OF_REACH") == "descriptors")
    {
        // Sanitizer runtimes need descriptors of their own the first time they
        // check an object's type: an instance elsewhere, which reports a
        // problem too, meets every type first.
        const auto elsewhere = environment ("HOME") + "/elsewhere";
        juce::File (elsewhere + "/Velkor Audio Tools/ZELK-MULTI/presets.xml").createDirectory();
        setenv ("XDG_CONFIG_HOME", elsewhere.toRawUTF8(), 1);
        std::make_unique<PresetsTestProcessor>().reset();
        setenv ("XDG_CONFIG_HOME", (environment ("HOME") + "/.config").toRawUTF8(), 1);

        const int lowestFree = open ("/dev/null", O_RDONLY);
        close (lowestFree);
        const rlimit none { (rlim_t) lowestFree, usual.rlim_max };
        ASSERT_EQ (0, setrlimit (RLIMIT_NOFILE, &none));
    }
    else if (environment ("ZELK_OUT_OF_REACH") == "file size")
    {
        // Every write stops part-way: the first one comes up short, the next fails.
        std::signal (SIGXFSZ, SIG_IGN);
        const rlimit small { 40, usualSize.rlim_max };
        ASSERT_EQ (0, setrlimit (RLIMIT_FSIZE, &small));
    }
    else if (geteuid() == 0)
    {
        ASSERT_TRUE (setgroups (0, nullptr) == 0 && setgid (otherAccount) == 0 && setuid (otherAccount) == 0);
    }

    juce::String problem;
    auto saved = juce::Result::ok(), deleted = juce::Result::ok();
    int entries = 0;
    {
        PresetsTestProcessor processor;
        auto& holder = processor.presetsHolder;
        problem = holder.lastProblem;
        saved = holder.savePreset ("new");
        holder.deletePreset (holder.presets.getNumChildElements(), deleted);
        entries = holder.presets.getNumChildElements();
    }
    setrlimit (RLIMIT_NOFILE, &usual);
    setrlimit (RLIMIT_FSIZE, &usualSize);

    EXPECT_EQ (environment ("ZELK_OUT_OF_REACH_ENTRIES").getIntValue(), entries);

    for (const auto& text : { problem, saved.getErrorMessage(), deleted.getErrorMessage() })
        EXPECT_TRUE (text.contains (environment ("ZELK_OUT_OF_REACH_REASON"))) << text;

    EXPECT_EQ (environment ("ZELK_OUT_OF_REACH_REASON").isEmpty(), saved.wasOk() && deleted.wasOk());
}

TEST (PresetsOutOfReach, TheFileIsLeftAsItIs)
{
    if (std::getenv ("ZELK_OUT_OF_REACH") != nullptr)
        GTEST_SKIP();

    const juce::String document ("<PRESETS><preset30 presetName=\"mine\"/></PRESETS>");   // a start-up would rewrite it
    const auto whole = embeddedFactoryText().replace ("</PRESETS>", "<preset30 presetName=\"mine\"/></PRESETS>");
    struct Case { const char* how; const char* outOfReach; juce::String contents; const char* reason; int entries; bool keptAside = false; };
    const Case cases[] = {
        { "file size",   nullptr,             whole,                            "File too large",                      factoryPresetCount + 1 },
        // Another account's damaged file in the user's folder: not to be hard-linked, but renamed.
        { "account",     nullptr,             document.dropLastCharacters (10), "",                                    factoryPresetCount, true },
        { "account",     "presets.xml",       document,                         "Permission denied",                   factoryPresetCount },
        { "descriptors", nullptr,             document,                         "Too many open files",                 factoryPresetCount },
        { "account",     ".presets.xml.lock", document,                         "cannot be used (Permission denied)",  factoryPresetCount + 1 },
        { "account",     ".presets.xml.lock", document.dropLastCharacters (10), "cannot be used (Permission denied)",  factoryPresetCount },
    };

    ScopedTemporaryHome home;
    const auto file = home.presetsFile();
    const auto folder = file.getParentDirectory();
    const auto program = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName();

    for (const auto& c : cases)
    {
        folder.deleteRecursively();
        folder.createDirectory();
        file.replaceWithText (c.contents);

        if (c.outOfReach != nullptr)
        {
            folder.getChildFile (c.outOfReach).create();
            chmod (folder.getChildFile (c.outOfReach).getFullPathName().toRawUTF8(), 0);
        }
        if (geteuid() == 0 && juce::String (c.how) == "account")   // the user's own folder, a file of another account in it
        {
            ASSERT_EQ (0, chown (folder.getFullPathName().toRawUTF8(), otherAccount, otherAccount));
        }

        const auto before = FileStamp::of (file);
        setenv ("ZELK_OUT_OF_REACH", c.how, 1);
        setenv ("ZELK_OUT_OF_REACH_REASON", c.reason, 1);
        setenv ("ZELK_OUT_OF_REACH_ENTRIES", juce::String (c.entries).toRawUTF8(), 1);
        juce::ChildProcess child;
        ASSERT_TRUE (child.start (juce::StringArray { program, "--gtest_filter=PresetsOutOfReach.ChildStartsSavesAndDeletes" }));
        const auto output = child.readAllProcessOutput();
        unsetenv ("ZELK_OUT_OF_REACH");

        EXPECT_TRUE (child.waitForProcessToFinish (60000) && child.getExitCode() == 0 && ! output.contains ("FAILED")) << output;
        EXPECT_TRUE (folder.findChildFiles (juce::File::findFiles, false, "presets_temp*").isEmpty()) << c.reason;

        if (c.keptAside)   // then saved to, and the entry deleted
        {
            EXPECT_EQ (c.contents, contentsOf (folder.getChildFile ("presets-unreadable.xml")));
            EXPECT_EQ (embeddedFactoryText(), contentsOf (file));
            continue;
        }

        EXPECT_EQ (before, FileStamp::of (file)) << c.reason;
        EXPECT_EQ (c.contents, contentsOf (file)) << c.reason;
        EXPECT_TRUE (folder.findChildFiles (juce::File::findFiles, false, "presets-unreadable*").isEmpty()) << c.reason;

        if (c.outOfReach != nullptr)
            chmod (folder.getChildFile (c.outOfReach).getFullPathName().toRawUTF8(), 0644);

        if (c.contents == document)   // within reach again, every entry is there
        {
            PresetsTestProcessor later;
            EXPECT_EQ (juce::String ("mine"), later.presetsHolder.presets.getChildElement (factoryPresetCount)->getStringAttribute ("presetName"));
        }
    }
}
