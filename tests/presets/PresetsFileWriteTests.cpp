// Writing presets.xml where it is a symbolic link (as dotfile managers keep
// settings) or a file with permissions of its own.
#include "PresetsTestSupport.h"

#include "presets/ParameterSetXml.h"

#include <gtest/gtest.h>

#include <functional>
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
    // The permissions a file newly made by this process gets.
    ScopedTemporaryHome probeHome;
    const auto probe = probeHome.home.getChildFile ("probe");
    ASSERT_TRUE (probe.create().wasOk());
    const auto defaultPermissions = permissionsOf (probe);

    struct Case
    {
        const char* what;
        std::function<void (const juce::File& path, const juce::File& home)> prepare;
        const char* written;      // relative to home; nullptr when the write is refused
        mode_t permissions;       // of the written file; 0: the default ones
        const char* reason;       // of a refusal
    };

    const auto existingFile = [] (const juce::File& file, mode_t permissions)
    {
        ASSERT_TRUE (file.getParentDirectory().createDirectory());
        ASSERT_TRUE (file.replaceWithText ("old"));
        ASSERT_EQ (0, ::chmod (file.getFullPathName().toRawUTF8(), permissions));
    };

    const Case cases[] = {
        { "a regular file", [&] (auto& path, auto&) { existingFile (path, 0600); }, "cfg/presets.xml", 0600, "" },
        { "a missing file", [] (auto&, auto&) {}, "cfg/presets.xml", 0, "" },
        { "a chain of relative and absolute links",
          [&] (auto& path, auto& home)
          {
              existingFile (home.getChildFile ("real/presets.xml"), 0640);
              makeLink (path, "hop.xml");
              makeLink (path.getSiblingFile ("hop.xml"), home.getChildFile ("real/presets.xml").getFullPathName());
          },
          "real/presets.xml", 0640, "" },
        { "a link into a linked folder, with ..",
          [&] (auto& path, auto& home)
          {
              existingFile (home.getChildFile ("deep/store/presets.xml"), 0600);
              makeLink (home.getChildFile ("shortcut"), "deep/store");
              makeLink (path, "../shortcut/../store/presets.xml");
          },
          "deep/store/presets.xml", 0600, "" },
        { "a link to a file not made yet, in a folder not made yet",
          [] (auto& path, auto&) { makeLink (path, "../elsewhere/new/presets.xml"); },
          "elsewhere/new/presets.xml", 0, "" },
        { "links that lead round in a loop",
          [] (auto& path, auto&)
          {
              makeLink (path, "other.xml");
              makeLink (path.getSiblingFile ("other.xml"), "presets.xml");
          },
          nullptr, 0, "loop" },
        { "a link to a folder",
          [] (auto& path, auto& home)
          {
              ASSERT_TRUE (home.getChildFile ("folder").createDirectory());
              makeLink (path, "../folder");
          },
          nullptr, 0, "folder" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ScopedTemporaryHome home;
        const auto path = home.home.getChildFile ("cfg/presets.xml");
        c.prepare (path, home.home);
        const bool wasLink = isLink (path);

        juce::XmlElement presets ("PRESETS");
        presets.createNewChildElement ("preset1")->setAttribute ("presetName", "new");
        FileStamp stamp;
        const auto result = writePresetsFileReportingFailure (presets, path, stamp);

        EXPECT_EQ (wasLink, isLink (path));

        if (c.written == nullptr)
        {
            EXPECT_TRUE (result.getErrorMessage().contains (c.reason)) << result.getErrorMessage();
            continue;
        }

        ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
        const auto written = home.home.getChildFile (c.written);
        EXPECT_FALSE (isLink (written));
        EXPECT_EQ (juce::String ("new"), lastPresetName (written));
        EXPECT_EQ (c.permissions != 0 ? c.permissions : defaultPermissions, permissionsOf (written));
        EXPECT_EQ (stamp, FileStamp::of (path));   // "unchanged since written" holds through the link
        EXPECT_EQ (1, written.getParentDirectory().getNumberOfChildFiles (juce::File::findFiles)) << "a temporary file left";
    }
}
