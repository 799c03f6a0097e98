// Writing presets.xml where it is a symbolic link (as dotfile managers keep
// settings) or a file with permissions of its own.
#include "PresetsTestSupport.h"

#include "presets/ParameterSetXml.h"

#include <gtest/gtest.h>

#include <csignal>
#include <vector>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    bool isLink (const juce::File& file)
    {
        struct stat info;
        return ::lstat (file.getFullPathName().toRawUTF8(), &info) == 0 && S_ISLNK (info.st_mode);
    }

    mode_t permissionsOf (const juce::File& file)
    {
        struct stat info;
        return ::stat (file.getFullPathName().toRawUTF8(), &info) == 0 ? (info.st_mode & 0777) : 0;
    }

    void makeLink (const juce::File& link, const juce::String& text)
    {
        link.getParentDirectory().createDirectory();
        ASSERT_EQ (0, ::symlink (text.toRawUTF8(), link.getFullPathName().toRawUTF8())) << link.getFullPathName();
    }

    juce::StringArray fileNamesIn (const juce::File& folder)
    {
        juce::StringArray names;

        for (const auto& child : folder.findChildFiles (juce::File::findFiles, false, "*"))
            names.add (child.getFileName());

        names.sort (false);
        return names;
    }

    juce::String lastPresetName (const juce::File& file)
    {
        juce::XmlElement document ("none");
        auto* last = readPresetsFile (file, document) ? document.getChildElement (document.getNumChildElements() - 1) : nullptr;
        return last != nullptr ? last->getStringAttribute ("presetName") : juce::String ("(none)");
    }
}

TEST (PresetsFileWrite, ALinkedPresetsFileStaysALinkThroughStartUpAndSave)
{
    ScopedTemporaryHome home;
    const auto link = home.presetsFile();
    const auto target = home.home.getChildFile ("dotfiles/zelk/presets.xml");

    auto document = PresetsHolder::createFactoryPresets();
    document.createNewChildElement ("preset24")->setAttribute ("presetName", "mine");
    ASSERT_TRUE (target.getParentDirectory().createDirectory());
    ASSERT_TRUE (writePresetsFile (document, target));
    ASSERT_EQ (0, ::chmod (target.getFullPathName().toRawUTF8(), 0600));
    makeLink (link, target.getFullPathName());

    PresetsTestProcessor processor;
    ASSERT_TRUE (processor.presetsHolder.savePreset ("saved later").wasOk());

    EXPECT_TRUE (isLink (link));
    EXPECT_EQ (0600u, permissionsOf (target));
    EXPECT_EQ (juce::String ("saved later"), lastPresetName (target));
    EXPECT_EQ (factoryPresetCount + 2, processor.presetsHolder.presets.getNumChildElements());
}

TEST (PresetsFileWrite, LinksAreFollowedToTheFileTheyLeadToAndPermissionsKept)
{
    struct Link { const char* path; const char* text; };   // relative to home; a text "/x" is home's x

    struct Case
    {
        const char* what;
        std::vector<Link> links;
        const char* existing;   // a file there before, of mode `permissions`
        mode_t permissions;     // of the file written; 0: the default ones
        const char* written;    // nullptr when the write is refused
        const char* reason;     // of the refusal
    };

    const Case cases[] = {
        { "a regular file", {}, "cfg/presets.xml", 0600, "cfg/presets.xml", "" },
        { "a missing file", {}, nullptr, 0, "cfg/presets.xml", "" },
        { "a chain of links", { { "cfg/presets.xml", "hop.xml" }, { "cfg/hop.xml", "/real/presets.xml" } },
          "real/presets.xml", 0640, "real/presets.xml", "" },
        { "a link through a linked folder and ..", { { "shortcut", "deep/store" }, { "cfg/presets.xml", "../shortcut/../store/presets.xml" } },
          "deep/store/presets.xml", 0600, "deep/store/presets.xml", "" },
        { "a link to a file in a folder not made yet", { { "cfg/presets.xml", "../elsewhere/new/presets.xml" } },
          nullptr, 0, "elsewhere/new/presets.xml", "" },
        { "links that lead round in a loop", { { "cfg/presets.xml", "other.xml" }, { "cfg/other.xml", "presets.xml" } },
          nullptr, 0, nullptr, "loop" },
    };

    const auto mask = ::umask (022);
    ::umask (mask);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ScopedTemporaryHome home;
        const auto path = home.home.getChildFile ("cfg/presets.xml");

        if (c.existing != nullptr)
        {
            const auto existing = home.home.getChildFile (c.existing);
            ASSERT_TRUE (existing.create().wasOk());
            ASSERT_EQ (0, ::chmod (existing.getFullPathName().toRawUTF8(), c.permissions));
        }

        for (const auto& link : c.links)
            makeLink (home.home.getChildFile (link.path),
                      link.text[0] == '/' ? home.home.getFullPathName() + link.text : juce::String (link.text));

        juce::XmlElement presets ("PRESETS");
        presets.createNewChildElement ("preset1")->setAttribute ("presetName", "new");
        FileStamp stamp;
        const auto result = writePresetsFileReportingFailure (presets, path, stamp);

        EXPECT_EQ (! c.links.empty(), isLink (path));
        EXPECT_TRUE (result.getErrorMessage().contains (c.reason)) << result.getErrorMessage();

        if (c.written == nullptr)
            continue;

        const auto written = home.home.getChildFile (c.written);
        EXPECT_FALSE (isLink (written));
        EXPECT_EQ (juce::String ("new"), lastPresetName (written));
        EXPECT_EQ (c.permissions != 0 ? c.permissions : (0666 & ~mask), permissionsOf (written));
        EXPECT_EQ (stamp, FileStamp::of (path));   // "unchanged since written" holds through links
        EXPECT_EQ (1, written.getParentDirectory().getNumberOfChildFiles (juce::File::findFiles)) << "a temporary file left";
    }
}

TEST (PresetsFileWrite, ADamagedLinkedFileIsKeptAsideBesideWhatTheLinkLeadsTo)
{
    ScopedTemporaryHome home;
    const auto link = home.presetsFile();
    const auto target = home.home.getChildFile ("dotfiles/zelk/presets.xml");
    ASSERT_TRUE (target.getParentDirectory().createDirectory());
    ASSERT_TRUE (target.replaceWithText ("<PRESETS><preset24 presetName=\"mine\"/>"));
    makeLink (link, target.getFullPathName());

    PresetsTestProcessor processor;

    EXPECT_TRUE (isLink (link));
    EXPECT_EQ (juce::String ("<PRESETS><preset24 presetName=\"mine\"/>"),
               target.getSiblingFile ("presets-unreadable.xml").loadFileAsString());
    EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
    EXPECT_EQ (juce::String ("Mastering - Velvet"), lastPresetName (target));
}

TEST (PresetsFileWrite, TheTemporaryFileIsMadeForItsOwnerAloneWhateverTheUmask)
{
    ScopedTemporaryHome home;
    const auto target = home.home.getChildFile ("presets.xml");
    const auto mask = ::umask (0);
    juce::File first, second;
    const int descriptors[] { createPrivateFileBeside (target, first), createPrivateFileBeside (target, second) };
    ::umask (mask);

    for (const auto descriptor : descriptors)
    {
        struct stat info {};
        EXPECT_EQ (0, ::fstat (descriptor, &info));
        EXPECT_EQ (0600u, info.st_mode & 0777);
        ::close (descriptor);
    }

    EXPECT_NE (first, second);
    EXPECT_EQ (target.getParentDirectory(), first.getParentDirectory());
}

TEST (PresetsFileWrite, ANewFileInPlaceOfADamagedOneKeepsItsPermissions)
{
    for (const mode_t permissions : { 0600u, 0640u })
    {
        for (const bool save : { false, true })
        {
            ScopedTemporaryHome home;
            const auto file = home.presetsFile();
            std::unique_ptr<PresetsTestProcessor> running;

            if (save)
                running = std::make_unique<PresetsTestProcessor>();

            ASSERT_TRUE (file.getParentDirectory().createDirectory());
            ASSERT_TRUE (file.replaceWithText ("<PRESETS><preset24 presetName=\"mine\"/>"));
            ASSERT_EQ (0, ::chmod (file.getFullPathName().toRawUTF8(), permissions));

            if (save)
                EXPECT_TRUE (running->presetsHolder.savePreset ("new").wasOk());
            else
                PresetsTestProcessor starting;

            SCOPED_TRACE (save ? "save" : "start-up");
            EXPECT_EQ (permissions, permissionsOf (file.getSiblingFile ("presets-unreadable.xml")));
            EXPECT_EQ (permissions, permissionsOf (file));
        }
    }
}

// A disk that fills up while presets.xml is written, made real with a file size
// limit: write() comes up short, then fails. Run in a child process (this
// program again, with ZELK_FILE_SIZE_LIMITS set), whose output goes to a pipe,
// which no such limit affects.
TEST (PresetsFileWrite, ChildWritesUnderFileSizeLimits)
{
    const auto* limits = std::getenv ("ZELK_FILE_SIZE_LIMITS");
    if (limits == nullptr)
        GTEST_SKIP() << "run by PresetsFileWrite.AWriteThatStopsPartWayLeavesTheFileAsItWas";

    std::signal (SIGXFSZ, SIG_IGN);
    rlimit usual {};
    ASSERT_EQ (0, getrlimit (RLIMIT_FSIZE, &usual));
    const auto file = juce::File (std::getenv ("XDG_CONFIG_HOME")).getChildFile ("Velkor Audio Tools/ZELK-MULTI/presets.xml");
    const auto before = contentsOf (file);

    for (const auto& limit : juce::StringArray::fromTokens (limits, ",", {}))
    {
        SCOPED_TRACE ("limit " + limit.toStdString());
        const rlimit lowered { (rlim_t) limit.getLargeIntValue(), usual.rlim_max };
        ASSERT_EQ (0, setrlimit (RLIMIT_FSIZE, &lowered));
        juce::String problem;
        auto saved = juce::Result::ok();
        {
            PresetsTestProcessor processor;
            problem = processor.presetsHolder.lastProblem;
            saved = processor.presetsHolder.savePreset ("new");
        }
        ASSERT_EQ (0, setrlimit (RLIMIT_FSIZE, &usual));

        EXPECT_TRUE (problem.contains ("could not be brought up to date: File too large")) << problem;
        EXPECT_EQ (juce::String ("File too large"), saved.getErrorMessage());
        EXPECT_EQ (before, contentsOf (file));
        EXPECT_EQ (juce::StringArray ({ ".presets.xml.lock", "presets.xml" }), fileNamesIn (file.getParentDirectory()));
    }
}

TEST (PresetsFileWrite, AWriteThatStopsPartWayLeavesTheFileAsItWas)
{
    if (std::getenv ("ZELK_FILE_SIZE_LIMITS") != nullptr)
        GTEST_SKIP();

    ScopedTemporaryHome home;
    const auto file = home.presetsFile();
    auto document = PresetsHolder::createFactoryPresets();
    document.createNewChildElement ("preset30")->setAttribute ("presetName", "mine");   // a start-up renumbers it, so writes
    ASSERT_TRUE (file.getParentDirectory().createDirectory());
    ASSERT_TRUE (writePresetsFile (document, file));
    const auto size = file.getSize();

    // Nothing fits; a few blocks; all but the last byte, so the one write comes up short.
    const auto limits = juce::StringArray { "0", "8192", juce::String (size - 1) }.joinIntoString (",");
    setenv ("ZELK_FILE_SIZE_LIMITS", limits.toRawUTF8(), 1);
    juce::ChildProcess child;
    const auto program = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName();
    ASSERT_TRUE (child.start (juce::StringArray { program, "--gtest_filter=PresetsFileWrite.ChildWritesUnderFileSizeLimits" }));
    const auto output = child.readAllProcessOutput();
    unsetenv ("ZELK_FILE_SIZE_LIMITS");

    EXPECT_TRUE (child.waitForProcessToFinish (60000) && child.getExitCode() == 0 && output.contains ("[       OK ]")) << output;
    EXPECT_EQ (size, file.getSize());
}
