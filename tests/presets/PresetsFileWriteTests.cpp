// Writing presets.xml where it is a symbolic link (as dotfile managers keep
// settings) or a file with permissions of its own.
#include "PresetsTestSupport.h"

#include "presets/ParameterSetXml.h"

#include <gtest/gtest.h>

#include <vector>
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
    ASSERT_EQ (0, ::chmod (target.getFullPathName().toRawUTF8(), 0600));
    makeLink (link, target.getFullPathName());

    PresetsTestProcessor processor;

    EXPECT_TRUE (isLink (link));
    EXPECT_EQ (0600u, permissionsOf (target));   // as private as the file kept aside
    EXPECT_EQ (juce::String ("<PRESETS><preset24 presetName=\"mine\"/>"),
               target.getSiblingFile ("presets-unreadable.xml").loadFileAsString());
    EXPECT_EQ (factoryPresetCount, processor.presetsHolder.presets.getNumChildElements());
    EXPECT_EQ (juce::String ("Mastering - Velvet"), lastPresetName (target));
}

TEST (PresetsFileWrite, TemporaryFilesAreMadePrivate)
{
    ScopedTemporaryHome home;
    juce::File temporary;
    const auto mask = ::umask (0);
    const auto descriptor = createPrivateFileBeside (home.home.getChildFile ("presets.xml"), temporary);   // as each write makes one
    ::umask (mask);
    EXPECT_EQ (0600u, permissionsOf (temporary));
    ::close (descriptor);
}
