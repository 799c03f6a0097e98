// presets.xml as it may be found: devices, pipes and huge files in its place,
// damage that JUCE's parser reads without complaint, a lock held by another
// process, many entries, and a second construction in the same process.
#include "PresetsTestSupport.h"

#include "presets/ParameterSetXml.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace
{
    using Clock = std::chrono::steady_clock;

    double secondsSince (Clock::time_point start)    { return std::chrono::duration<double> (Clock::now() - start).count(); }

    /** Runs `work` on a thread of its own and ends the program when it hangs. */
    void runOrEndOnHang (std::function<void()> work)
    {
        auto finished = std::make_shared<std::promise<void>>();
        auto future = finished->get_future();
        std::thread ([finished, work] { work(); finished->set_value(); }).detach();

        if (future.wait_for (std::chrono::seconds (20)) != std::future_status::ready)
        {
            std::fprintf (stderr, "hangs: the presets file was waited on\n");
            std::_Exit (1);
        }
    }

    /** Another process holding the lock on the presets file until destroyed. */
    class LockHeldByAnotherProcess
    {
    public:
        explicit LockHeldByAnotherProcess (const juce::File& lockFile)
        {
            int toChild[2], fromChild[2];
            EXPECT_EQ (0, pipe (toChild));
            EXPECT_EQ (0, pipe (fromChild));
            child = fork();

            if (child == 0)
            {
                close (toChild[1]);
                const int fd = open (lockFile.getFullPathName().toRawUTF8(), O_RDWR | O_CREAT, 0644);
                struct flock region {};
                region.l_type = F_WRLCK;
                char c = fcntl (fd, F_SETLK, &region) == 0 ? 'y' : 'n';
                (void) ! write (fromChild[1], &c, 1);
                (void) ! read (toChild[0], &c, 1);   // until the parent closes its end
                _exit (0);
            }

            close (toChild[0]);
            close (fromChild[1]);
            release = toChild[1];
            char c = 0;
            EXPECT_EQ (1, read (fromChild[0], &c, 1));
            EXPECT_EQ ('y', c);
            close (fromChild[0]);
        }

        ~LockHeldByAnotherProcess()
        {
            close (release);
            waitpid (child, nullptr, 0);
        }

    private:
        pid_t child = -1;
        int release = -1;
    };

    /** Damage that begins with, or is made of, NUL characters, around `document`:
        a leading NUL, 4 KB of zeros (as a crash leaves), zeros only, and the
        document as UTF-16 without a byte-order mark. */
    std::vector<juce::MemoryBlock> damageWithZeros (const juce::String& document)
    {
        const juce::MemoryBlock text (document.toRawUTF8(), document.getNumBytesAsUTF8());
        juce::MemoryOutputStream utf16;
        utf16.writeText (document, true, false, nullptr);
        std::vector<juce::MemoryBlock> damaged (3);
        damaged[0].setSize (1, true);
        damaged[1].setSize (4096, true);
        damaged[2].setSize (1 << 20, true);
        damaged[0].append (text.getData(), text.getSize());
        damaged[1].append (text.getData(), text.getSize());
        damaged.push_back (utf16.getMemoryBlock());
        return damaged;
    }

    class PresetsFileFaults : public ::testing::Test
    {
    protected:
        ScopedTemporaryHome home;
        juce::File file = home.presetsFile();
        juce::File aside = file.getSiblingFile ("presets-unreadable.xml");

        /** The factory entries and user entries named `names`, tagged preset24 on. */
        void writeUserEntries (const juce::StringArray& names, int firstNumber = 24)
        {
            auto document = PresetsHolder::createFactoryPresets();

            for (auto& name : names)
                document.createNewChildElement ("preset" + juce::String (firstNumber++))->setAttribute ("presetName", name);

            file.getParentDirectory().createDirectory();
            ASSERT_TRUE (writePresetsFile (document, file));
        }

        static juce::StringArray userNames (const juce::XmlElement& presets)
        {
            juce::StringArray names;

            for (auto* entry = presets.getChildElement (factoryPresetCount); entry != nullptr; entry = entry->getNextElement())
                names.add (entry->getStringAttribute ("presetName"));

            return names;
        }

        juce::StringArray userNamesOnDisk() const
        {
            juce::XmlElement document ("none");
            return readPresetsFile (file, document) ? userNames (document) : juce::StringArray ("(unreadable)");
        }
    };
}

TEST_F (PresetsFileFaults, WhatIsNoRegularFileIsNeverReadMovedOrWritten)
{
    const std::function<void (const juce::File&)> makeSpecialFiles[] = {
        [] (const juce::File& f) { f.deleteFile(); juce::File ("/dev/zero").createSymbolicLink (f, false); },
        [] (const juce::File& f) { f.deleteFile(); juce::File ("/dev/null").createSymbolicLink (f, false); },
        [] (const juce::File& f) { f.deleteFile(); mkfifo (f.getFullPathName().toRawUTF8(), 0600); },
    };

    for (auto& makeSpecialFile : makeSpecialFiles)
    {
        writeUserEntries ({ "mine" });
        PresetsTestProcessor running;   // an instance whose window is open
        makeSpecialFile (file);

        runOrEndOnHang ([this]
        {
            PresetsTestProcessor starting;
            EXPECT_EQ (factoryPresetCount, starting.presetsHolder.presets.getNumChildElements());
            EXPECT_TRUE (starting.presetsHolder.lastProblem.contains (file.getFullPathName() + " cannot be read: it is not a regular file"))
                << starting.presetsHolder.lastProblem;
        });

        runOrEndOnHang ([&running]
        {
            auto& holder = running.presetsHolder;
            EXPECT_TRUE (holder.savePreset ("new").getErrorMessage().startsWith ("it is not a regular file"));
            auto deleted = juce::Result::ok();
            holder.deletePreset (factoryPresetCount + 1, deleted);
            EXPECT_TRUE (deleted.getErrorMessage().startsWith ("it is not a regular file"));
            EXPECT_EQ (juce::StringArray ("mine"), userNames (holder.presets));
        });

        EXPECT_EQ (FileStamp::Kind::special, FileStamp::of (file).kind);
        EXPECT_FALSE (aside.exists());
        file.deleteFile();
    }
}

TEST_F (PresetsFileFaults, OversizedFileIsKeptAsideNotTakenAsEmpty)
{
    writeUserEntries ({ "mine" });
    const juce::int64 size = 2560ll * 1024 * 1024;   // sparse: nothing of it is written
    ASSERT_EQ (0, truncate (file.getFullPathName().toRawUTF8(), size));

    PresetsTestProcessor processor;

    EXPECT_EQ (size, aside.getSize());
    EXPECT_EQ (embeddedFactoryText(), contentsOf (file));
    EXPECT_TRUE (processor.presetsHolder.lastProblem.contains ("larger than 256 MB")) << processor.presetsHolder.lastProblem;
}

TEST_F (PresetsFileFaults, SaveAndDeleteKeepAnUnreadableFileAsideAsStartUpDoes)
{
    juce::String fiveEntriesAndAStrayQuote ("<PRESETS>");
    for (int i = 1; i <= 5; ++i)
        fiveEntriesAndAStrayQuote << "<preset" << (23 + i) << " presetName=\"u" << i << (i == 3 ? "\"\"/>" : "\"/>");
    fiveEntriesAndAStrayQuote << "</PRESETS>";

    juce::MemoryBlock garbage (100000);
    juce::Random (1).fillBitsRandomly (garbage.getData(), garbage.getSize());

    auto damagedFiles = damageWithZeros (embeddedFactoryText().replace ("</PRESETS>", "<preset24 presetName=\"a\"/></PRESETS>"));
    damagedFiles.push_back (juce::MemoryBlock (fiveEntriesAndAStrayQuote.toRawUTF8(), fiveEntriesAndAStrayQuote.getNumBytesAsUTF8()));
    damagedFiles.push_back (garbage);

    for (const auto& damaged : damagedFiles)
    {
        for (const bool save : { true, false })
        {
            file.getParentDirectory().deleteRecursively();
            writeUserEntries ({ "a", "b" });
            PresetsTestProcessor running;
            ASSERT_TRUE (file.replaceWithData (damaged.getData(), damaged.getSize()));

            auto result = juce::Result::ok();
            if (save)
                result = running.presetsHolder.savePreset ("c");
            else
                running.presetsHolder.deletePreset (factoryPresetCount + 1, result);

            juce::MemoryBlock kept;
            EXPECT_TRUE (result.wasOk()) << result.getErrorMessage();
            EXPECT_TRUE (aside.loadFileAsData (kept) && kept == damaged);
            EXPECT_EQ (juce::StringArray (save ? juce::StringArray ({ "a", "b", "c" }) : juce::StringArray ("b")), userNamesOnDisk());
            EXPECT_TRUE (running.presetsHolder.lastProblem.contains (aside.getFullPathName()));
        }
    }
}

TEST_F (PresetsFileFaults, ZerosAreDamageNotAnEmptyFile)
{
    for (const auto& damaged : damageWithZeros (embeddedFactoryText().replace ("</PRESETS>", "<preset24 presetName=\"mine\"/></PRESETS>")))
    {
        file.getParentDirectory().deleteRecursively();
        file.getParentDirectory().createDirectory();
        ASSERT_TRUE (file.replaceWithData (damaged.getData(), damaged.getSize()));

        PresetsTestProcessor processor;

        juce::MemoryBlock kept;
        EXPECT_TRUE (aside.loadFileAsData (kept) && kept == damaged) << damaged.getSize();
        EXPECT_EQ (embeddedFactoryText(), contentsOf (file));
        EXPECT_TRUE (processor.presetsHolder.lastProblem.contains ("a NUL character")) << processor.presetsHolder.lastProblem;
    }
}

TEST_F (PresetsFileFaults, DamageTheXmlParserReadsLeniently)
{
    // Each is what a file holds after the factory entries; -1: it must be kept aside whole.
    const std::pair<juce::String, int> cases[] = {
        { "<preset24 presetName=Mine1 gain-1=\"0.5\"/>", -1 },
        { "<preset24 broken=x\" presetName=\"b\"/>", -1 },
        { "<preset24 presetName=\"a\"/>stray text", -1 },
        { "<preset24 presetName=\"a\"><inner/></preset24>", -1 },
        { "<preset24 presetName=\"a\">words</preset24>", -1 },
        { "<preset24 presetName=\"a\"/></wrong><preset25 presetName=\"b\"/>", -1 },
        { "<![CDATA[x]]>", -1 },
        { "<preset24 a\r\n =\t'1' presetName='a'/><!-- note --><any.tag_2 presetName=\"&lt;b&gt;\" ></any.tag_2 >", 2 },
    };

    const auto factory = embeddedFactoryText();
    const auto entriesStart = factory.lastIndexOf ("</PRESETS>");

    for (const auto& [userPart, userEntries] : cases)
    {
        file.getParentDirectory().deleteRecursively();
        file.getParentDirectory().createDirectory();
        const auto text = factory.substring (0, entriesStart) + userPart + factory.substring (entriesStart) + "<!-- end -->";
        file.replaceWithText (text);

        PresetsTestProcessor processor;

        EXPECT_EQ (factoryPresetCount + juce::jmax (0, userEntries), processor.presetsHolder.presets.getNumChildElements()) << userPart;
        EXPECT_EQ (userEntries < 0 ? text : juce::String(), contentsOf (aside)) << userPart;
    }

    // Documents the parser misreads (an entity that refers to itself, one expanded 500-fold,
    // a bare '&' swallowing the entries up to the next ';'): kept aside whole, at once.
    const juce::String misread[] {
        "<!DOCTYPE P [<!ENTITY a \"x&a;\">]><PRESETS><preset24 presetName=\"&a;\"/></PRESETS>",
        "<!DOCTYPE PRESETS [<!ENTITY big \"" + juce::String::repeatedString ("x", 100000) + "\">]><PRESETS><preset24 presetName=\""
            + juce::String::repeatedString ("&big;", 500) + "\"/></PRESETS>",
        "<PRESETS><preset24 presetName=\"Rock & Roll\"/><preset25 presetName=\"Two\"/><preset26 presetName=\"Three\"/>"
            "<preset27 presetName=\"A;B\"/><preset28 presetName=\"Last\"/></PRESETS>",
    };

    for (const auto& text : misread)
    {
        aside.deleteFile();
        file.replaceWithText (text);
        const auto start = Clock::now();
        PresetsTestProcessor processor;
        EXPECT_LT (secondsSince (start), 2.0);
        EXPECT_EQ (text, contentsOf (aside));
    }

    // Unreadable too when the damage follows the document element.
    file.replaceWithText ("<PRESETS><preset24 presetName=\"a\"/></PRESETS><preset25 presetName=\"b\"/>");
    PresetsTestProcessor processor;
    EXPECT_TRUE (processor.presetsHolder.lastProblem.contains ("line 1: something after the end of the document element"))
        << processor.presetsHolder.lastProblem;
}

TEST_F (PresetsFileFaults, NamesTheStoreWritesAsReferencesReadBackWhole)
{
    // The writer stores '&', '<', '>', '"', line ends, control characters and beyond ASCII as references.
    const juce::StringArray names { "Rock & Roll <\"live\">", juce::CharPointer_UTF8 ("Caf\xc3\xa9 \xf0\x9f\x98\x80"),
                                    "two\r\nlines\tand\x01\x1f", "&amp; &#38; A;B" };
    writeUserEntries (names);
    PresetsTestProcessor processor;
    EXPECT_EQ (names, userNames (processor.presetsHolder.presets));
}

TEST_F (PresetsFileFaults, EncodingsTheStoreAcceptsStillRead)
{
    const juce::String text (juce::CharPointer_UTF8 ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<PRESETS>\r\n  <preset24 presetName=\"Caf\xc3\xa9\"/>\r\n</PRESETS>\r\n"));
    juce::MemoryOutputStream utf8Bom, utf16Bom;
    utf8Bom << "\xef\xbb\xbf" << text;
    utf16Bom.writeText (text, true, true, nullptr);

    for (auto* bytes : { &utf8Bom, &utf16Bom })
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithData (bytes->getData(), bytes->getDataSize());
        PresetsTestProcessor processor;
        EXPECT_EQ (juce::StringArray (juce::CharPointer_UTF8 ("Caf\xc3\xa9")), userNames (processor.presetsHolder.presets));
    }
}

TEST_F (PresetsFileFaults, ALockHeldElsewhereNeitherFreezesNorIsIgnored)
{
    writeUserEntries ({ "mine" }, 30);   // a start-up would renumber it, so would write
    const auto before = contentsOf (file);
    const auto lockFile = file.getSiblingFile (".presets.xml.lock");
    {
        LockHeldByAnotherProcess other (lockFile);

        auto start = Clock::now();
        PresetsTestProcessor processor;
        auto& holder = processor.presetsHolder;
        EXPECT_LT (secondsSince (start), 5.0);   // not the ten seconds a blocking wait took
        EXPECT_EQ (juce::StringArray ("mine"), userNames (holder.presets));
        EXPECT_TRUE (holder.lastProblem.contains ("another program holds its lock file " + lockFile.getFullPathName()));

        start = Clock::now();
        const auto saved = holder.savePreset ("new");
        auto deleted = juce::Result::ok();
        holder.deletePreset (factoryPresetCount + 1, deleted);
        EXPECT_LT (secondsSince (start), 5.0);

        for (auto& result : { saved, deleted })
            EXPECT_TRUE (result.getErrorMessage().startsWith ("another program holds its lock file " + lockFile.getFullPathName()))
                << result.getErrorMessage();

        EXPECT_EQ (before, contentsOf (file));
        EXPECT_EQ (juce::StringArray ("mine"), userNames (holder.presets));
    }

    PresetsTestProcessor processor;
    EXPECT_TRUE (processor.presetsHolder.savePreset ("new").wasOk());
    EXPECT_EQ (juce::StringArray ({ "mine", "new" }), userNamesOnDisk());
}

TEST_F (PresetsFileFaults, AFolderOrLinkAtTheLockPathLeavesTheFileAsItIs)
{
    // No lock can be taken on a folder; through a link, the file it names would be made or locked.
    const auto lockFile = file.getSiblingFile (".presets.xml.lock"), elsewhere = home.home.getChildFile ("elsewhere");
    for (const int at : { 0, 1, 2, 3, 4, 5 })   // a folder, a link to nothing, a link to a file; each with a sound, then a damaged file
    {
        const bool damaged = at % 2 == 1, link = at >= 2;
        file.getParentDirectory().deleteRecursively();
        elsewhere.deleteFile();
        writeUserEntries ({ "mine" }, 30);   // a start-up would renumber it, so would write
        if (damaged)
            file.replaceWithText ("<PRESETS><preset30 presetName=\"mine\"/>");
        ASSERT_TRUE (link ? (at < 4 || elsewhere.replaceWithText ("mine")) && elsewhere.createSymbolicLink (lockFile, false) : lockFile.createDirectory().wasOk());
        const auto before = FileStamp::of (file), elsewhereBefore = FileStamp::of (elsewhere);
        const auto bytes = contentsOf (file);

        PresetsTestProcessor processor;
        const auto saved = processor.presetsHolder.savePreset ("new");

        EXPECT_TRUE (saved.getErrorMessage().contains (juce::String (".presets.xml.lock cannot be used (a ") + (link ? "symbolic link" : "folder") + " stands in its place)"))
            << saved.getErrorMessage();
        EXPECT_EQ (before, FileStamp::of (file));
        EXPECT_EQ (bytes, contentsOf (file));
        EXPECT_FALSE (aside.exists());
        EXPECT_EQ (elsewhereBefore, FileStamp::of (elsewhere));
    }
}

TEST_F (PresetsFileFaults, LaterConstructionsTakeTheMergedPresetsWhileTheFileIsUnchanged)
{
    writeUserEntries ({ "mine" }, 30);
    PresetsTestProcessor registration;
    const auto merged = FileStamp::of (file);

    // Other contents of the same size and time: only a construction that reads
    // the file again sees them.
    const auto offset = contentsOf (file).indexOf ("\"mine\"");
    const int fd = open (file.getFullPathName().toRawUTF8(), O_WRONLY);
    ASSERT_EQ (4, pwrite (fd, "MINE", 4, offset + 1));
    close (fd);
    const timespec times[] { { 0, UTIME_OMIT }, { merged.modifiedNanoseconds / 1000000000, merged.modifiedNanoseconds % 1000000000 } };
    ASSERT_EQ (0, utimensat (AT_FDCWD, file.getFullPathName().toRawUTF8(), times, 0));

    PresetsTestProcessor instance;
    EXPECT_EQ (juce::StringArray ("mine"), userNames (instance.presetsHolder.presets));
    EXPECT_EQ (merged, FileStamp::of (file));

    // A save (which writes what the holder has, since the file looks unchanged)
    // is met by the next construction, on any thread.
    ASSERT_TRUE (registration.presetsHolder.savePreset ("saved").wasOk());
    std::vector<std::thread> threads;

    for (int i = 0; i < 4; ++i)
        threads.emplace_back ([] { PresetsTestProcessor another; EXPECT_EQ (juce::StringArray ({ "mine", "saved" }), userNames (another.presetsHolder.presets)); });

    for (auto& thread : threads)
        thread.join();
}
