// The stand-in host with odd files and targets: audio files whose headers
// lie or whose format it cannot read, inputs and outputs that are folders,
// pipes, devices or links, runs writing one file at once, values copied from
// --list, a stored state with a damaged plug-in chunk.

#include "AudioFileInput.h"
#include "OutputFiles.h"

#include <gtest/gtest.h>

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_graphics/juce_graphics.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

namespace
{
    struct Run
    {
        int exitCode = -1;
        juce::String output;
    };

    /** Starts the host, outside sanitizer builds (which reserve more address
        space) with at most 2 GB of it, so that allocating by a lying header
        fails instead of exhausting the machine. */
    bool startHost (juce::ChildProcess& process, const juce::StringArray& arguments)
    {
       #if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        juce::StringArray command { ZELK_HOST_PROGRAM };
       #else
        juce::StringArray command { "/bin/sh", "-c", "ulimit -v 2000000 && exec \"$0\" \"$@\"", ZELK_HOST_PROGRAM };
       #endif
        command.addArray (arguments);
        return process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr);
    }

    /** A host still running after a minute (waiting on a pipe, say) is ended. */
    Run finish (juce::ChildProcess& process)
    {
        if (! process.waitForProcessToFinish (60000) && process.kill())
            return { -1, "still running after a minute" };
        return { (int) process.getExitCode(), process.readAllProcessOutput() };
    }

    Run runHost (const juce::StringArray& arguments)
    {
        juce::ChildProcess process;
        return startHost (process, arguments) ? finish (process) : Run {};
    }

    int framesIn (const juce::File& file)
    {
        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
        return reader != nullptr ? (int) reader->lengthInSamples : -1;
    }

    /** A mono 16-bit tone of 22050 frames. */
    juce::MemoryBlock makeAudioFile (juce::AudioFormat&& format)
    {
        juce::AudioBuffer<float> tone (1, 22050);
        for (int i = 0; i < tone.getNumSamples(); ++i)
            tone.setSample (0, i, 0.3f * std::sin (0.05f * (float) i));
        juce::MemoryBlock bytes;
        std::unique_ptr<juce::AudioFormatWriter> (format.createWriterFor (new juce::MemoryOutputStream (bytes, false), 44100.0, 1, 16, {}, 0))
            ->writeFromAudioSampleBuffer (tone, 0, tone.getNumSamples());
        return bytes;
    }

    /** Offset of a WAV chunk's size field. */
    size_t chunkSizeAt (const juce::MemoryBlock& bytes, const char* id)
    {
        size_t position = 12;
        while (std::memcmp (static_cast<const char*> (bytes.getData()) + position, id, 4) != 0)
            position += 8 + (juce::ByteOrder::littleEndianInt (static_cast<const char*> (bytes.getData()) + position + 4) + 1u) / 2u * 2u;
        return position + 4;
    }

    class HostFiles : public ::testing::Test
    {
    protected:
        juce::TemporaryFile folderName;
        juce::File folder = folderName.getFile();

        void SetUp() override    { folder.createDirectory(); }
        void TearDown() override { folder.deleteRecursively(); }

        juce::String path (const juce::String& name) const { return folder.getChildFile (name).getFullPathName(); }
    };
}

TEST_F (HostFiles, EveryOutputRefusesAFolderWritesAPipeOrDeviceAndFollowsALink)
{
    // The test's own null device where it may make and open one: a host replacing devices would harm only that.
    const auto device = ::mknod (path ("null").toRawUTF8(), S_IFCHR | 0666, makedev (1, 3)) == 0
                         && ::close (::open (path ("null").toRawUTF8(), O_WRONLY)) == 0 ? path ("null") : juce::String ("/dev/null");
    folder.getChildFile ("folder").createDirectory();
    std::filesystem::create_symlink (path ("old").toStdString(), path ("link").toStdString());
    ASSERT_EQ (::mkfifo (path ("pipe").toRawUTF8(), 0600), 0);
    const int pipe = ::open (path ("pipe").toRawUTF8(), O_RDONLY | O_NONBLOCK);

    for (const auto& [option, tag] : { std::pair ("--output", "RIFF"), std::pair ("--save-state", "ZLKS"), std::pair ("--snapshot", "\x89PNG") })
    {
        auto runWith = [&, option = option] (const juce::String& target) { return runHost ({ "--seconds", "0.05", "--output", path ("out.wav"), option, target }); };
        const auto refused = runWith (path ("folder"));
        EXPECT_TRUE (refused.exitCode != 0 && refused.output.contains ("it is a folder")) << refused.output;

        std::string received;
        std::atomic<bool> ended { false };
        std::thread reader ([&] {
            for (char buffer[4096];;)
                if (const auto count = ::read (pipe, buffer, sizeof (buffer)); count > 0) received.append (buffer, (size_t) count);
                else if (ended) break;
                else std::this_thread::sleep_for (std::chrono::milliseconds (2));
        });
        EXPECT_EQ (runWith (path ("pipe")).exitCode, 0) << option;
        ended = true;
        reader.join();
        ASSERT_EQ (received.substr (0, 4), tag) << option;
        if (tag == std::string ("RIFF"))   // a complete header
        {
            EXPECT_EQ (juce::ByteOrder::littleEndianInt (received.data() + 4) + 8, received.size());
        }

        folder.getChildFile ("old").replaceWithText ("old");
        EXPECT_EQ (runWith (device).exitCode + runWith (path ("link")).exitCode, 0) << option;
        juce::MemoryBlock written;
        EXPECT_TRUE (folder.getChildFile ("old").loadFileAsData (written) && written.getSize() > 4 && std::memcmp (written.getData(), tag, 4) == 0) << option;
    }
    EXPECT_TRUE (folder.getChildFile ("folder").isDirectory() && std::filesystem::is_fifo (path ("pipe").toStdString())
                 && std::filesystem::is_character_file (device.toStdString()) && std::filesystem::is_symlink (path ("link").toStdString()));
    ::close (pipe);
}

TEST_F (HostFiles, OnlyRegularFilesAreReadAsInputs)
{
    ASSERT_EQ (::mkfifo (path ("pipe").toRawUTF8(), 0600), 0);
    folder.getChildFile ("huge.zlks").create();
    ASSERT_EQ (::truncate (path ("huge.zlks").toRawUTF8(), 1 << 30), 0);
    ASSERT_EQ (runHost ({ "--seconds", "0.01", "--output", path ("out.wav"), "--save-state", path ("state.zlks") }).exitCode, 0);
    std::filesystem::create_symlink (path ("state.zlks").toStdString(), path ("link.zlks").toStdString());

    const std::vector<std::pair<juce::StringArray, juce::String>> cases {
        { { "--load-state", "/dev/zero" }, "/dev/zero: it is a device" },
        { { "--load-state", path ("pipe") }, path ("pipe") + ": it is a pipe" },
        { { "--load-state", folder.getFullPathName() }, folder.getFullPathName() + ": it is a folder" },
        { { "--load-state", path ("huge.zlks") }, path ("huge.zlks") + ": it is 1073741824 bytes, more than" },
        { { "--load-state", path ("link.zlks") }, "wrote" },
        { { "--input", "/dev/zero" }, "/dev/zero: it is a device" },
        { { "--input", path ("pipe") }, path ("pipe") + ": it is a pipe" },
    };
    for (auto [arguments, message] : cases)
    {
        arguments.addArray ({ "--seconds", "0.01", "--output", path ("out.wav") });
        const auto run = runHost (arguments);
        EXPECT_TRUE (run.output.contains (message) && (run.exitCode == 0) == (message == "wrote")) << run.output;
    }
}

TEST_F (HostFiles, RunsWritingTheSameFileAtOnceEachLeaveAWholeOne)
{
    juce::OwnedArray<juce::ChildProcess> runs;
    for (int i = 0; i < 18; ++i)
        ASSERT_TRUE (startHost (*runs.add (new juce::ChildProcess()), { i < 12 ? "--output" : "--snapshot", path (i < 12 ? "same.wav" : "same.png") }));
    for (auto* run : runs)
        EXPECT_EQ (finish (*run).exitCode, 0);
    EXPECT_EQ (framesIn (folder.getChildFile ("same.wav")), 96000);
    EXPECT_TRUE (juce::ImageFileFormat::loadFrom (folder.getChildFile ("same.png")).isValid());
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 2) << "temporary files left behind";
}

TEST_F (HostFiles, AudioIsReadByContentWithinTheFileAndRefusalsSayWhy)
{
    const auto wav = makeAudioFile (juce::WavAudioFormat());
    const auto aiff = makeAudioFile (juce::AiffAudioFormat());
    const auto data = chunkSizeAt (wav, "data"), format = chunkSizeAt (wav, "fmt ");
    auto patched = [&] (std::initializer_list<std::pair<size_t, uint8_t>> bytes, size_t size = 0)
    {
        auto copy = wav;
        for (auto [offset, value] : bytes)
            copy[offset] = (char) value;
        copy.setSize (size > 0 ? size : copy.getSize());
        return copy;
    };

    struct Case { const char* name; juce::MemoryBlock bytes; int frames; const char* message; };
    const std::vector<Case> cases {
        { "aiff.wav", aiff, 22050, "wrote" },
        { "wav.aif", wav, 22050, "wrote" },
        { "huge.wav", patched ({ { data, 0xF0 }, { data + 1, 0xFF }, { data + 2, 0xFF }, { data + 3, 0xFF } }), 22050, "truncated" },
        { "cut.wav", patched ({}, data + 4 + 2001), 1000, "truncated" },
        { "format-cut.wav", patched ({}, format + 4 + 6), -1, "'fmt ' chunk claims 16 bytes" },
        { "double.wav", patched ({ { format + 4, 3 }, { format + 18, 64 } }), -1, "64-bit floating-point samples, which are not supported: convert" },
        { "adpcm.wav", patched ({ { format + 4, 2 } }), -1, "encoding 0x0002 (compressed or unusual), which is not supported: convert" },
    };

    for (const auto& [name, bytes, frames, message] : cases)
    {
        folder.getChildFile (name).replaceWithData (bytes.getData(), bytes.getSize());
        const auto out = folder.getChildFile ("out-" + juce::String (name) + ".wav");
        const auto run = runHost ({ "--input", path (name), "--output", out.getFullPathName(), "bypass=1" });
        EXPECT_EQ (run.exitCode == 0, frames > 0) << name;
        EXPECT_TRUE (run.output.contains (message)) << name << ": " << run.output;
        EXPECT_EQ (framesIn (out), frames) << name;
    }
}

TEST_F (HostFiles, RangesPrintedByListAreAccepted)
{
    const auto list = runHost ({ "--list" });
    juce::StringArray assignments[3];   // minimums, maximums, defaults
    for (const auto& line : juce::StringArray::fromLines (list.output))
    {
        const auto columns = juce::StringArray::fromTokens (line, "\t", {});
        const auto range = juce::StringArray::fromTokens (columns[2], " ", {});
        if (columns.size() == 4)
            for (const auto& [index, value] : { std::pair (0, range[0]), std::pair (1, range[2]), std::pair (2, columns[3].substring (8)) })
                assignments[index].add (columns[0] + "=" + value);
    }
    ASSERT_EQ (assignments[2].size(), 73) << list.output;

    // Plain decimals, as no exponent form here is shorter.
    for (const auto* line : { "output_mix\tGlobal: Mix\t0 .. 100\tdefault 100", "gain-1\tBand 1: Gain\t0 .. 50\tdefault 10",
                              "frequency_lowpass-1\tBand 1: Low Pass Frequency\t20 .. 20000\tdefault 20000",
                              "compgain-1\tBand 1: Compensation Gain\t0.063095726 .. 15.848933\tdefault 1.000096" })
        EXPECT_TRUE (list.output.contains (line)) << line;
    EXPECT_FALSE (list.output.contains ("e+")) << list.output;

    // One float step beyond a range end is rounding too.
    for (const auto& maximum : juce::StringArray (assignments[1]))
        if (maximum.startsWith ("compgain-1="))
            assignments[1].add ("compgain-1=" + juce::String (std::nextafter (std::strtof (maximum.toRawUTF8() + 11, nullptr), 1.0e9f), 9));

    for (auto& values : assignments)
    {
        values.addArray ({ "--seconds", "0.01", "--output", path ("out.wav") });
        const auto run = runHost (values);
        EXPECT_EQ (run.exitCode, 0) << run.output;
    }
}

TEST_F (HostFiles, ADamagedPluginChunkIsNamedWithTheReason)
{
    auto run = runHost ({ "--seconds", "0.01", "--output", path ("out.wav"), "--save-state", path ("state"), "gain-1=20" });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    // The state file: "ZLKS", version, count, then per chunk its ID, version,
    // 32-byte name, size and data. The 'juce' chunk's data is scrambled.
    juce::MemoryBlock state;
    folder.getChildFile ("state").loadFileAsData (state);
    for (size_t position = 12; position + 44 <= state.getSize();)
    {
        const auto size = juce::ByteOrder::littleEndianInt (static_cast<char*> (state.getData()) + position + 40);
        for (size_t i = 0; i < size && juce::ByteOrder::littleEndianInt (static_cast<char*> (state.getData()) + position) == 0x6A756365u; ++i)
            state[position + 44 + i] ^= 0x5A;
        position += 44 + size;
    }
    folder.getChildFile ("state").replaceWithData (state.getData(), state.getSize());

    run = runHost ({ "--seconds", "0.01", "--output", path ("never.wav"), "--load-state", path ("state") });
    EXPECT_NE (run.exitCode, 0);
    EXPECT_TRUE (run.output.contains ("chunk 'juce' (\"JUCE Plug-in State\")") && run.output.contains ("its data is damaged")) << run.output;
    EXPECT_FALSE (folder.getChildFile ("never.wav").exists());
}

TEST_F (HostFiles, WhatIsPutAtTheOutputWhileItIsMadeIsLeftAlone)
{
    // The writer runs between the decision on what stands at the destination and the rename into place.
    const auto destination = folder.getChildFile ("out.wav");
    const auto target = destination.getFullPathName().toStdString();
    const std::vector<std::pair<juce::String, std::function<void()>>> cases {
        { "a symbolic link", [&] { std::filesystem::create_symlink (path ("elsewhere").toStdString(), target); } },
        { "a pipe", [&] { ::mkfifo (target.c_str(), 0600); } },
        { "a folder", [&] { destination.createDirectory(); } },
        { "", [&] { destination.replaceWithText ("another run's"); } },   // a whole file: replaced as usual
    };
    for (const auto& [kind, putThere] : cases)
    {
        juce::String error;
        const bool written = zelkhost::writeOutputFile (destination, [&, &putThere = putThere] (juce::OutputStream& out) {
            putThere();
            return out.writeText ("ours", false, false, nullptr);
        }, "the output", error);
        EXPECT_EQ (written, kind.isEmpty()) << kind;
        EXPECT_TRUE (kind.isEmpty() ? destination.loadFileAsString() == "ours"
                                    : error.contains (kind + " was put there while it was being written")) << error;
        std::filesystem::remove_all (target);
    }
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 0) << "temporary files left behind";
}

TEST_F (HostFiles, APipePutAtTheInputWhileItIsCheckedIsNotWaitedFor)
{
    // The input turns from a WAV file into a pipe without a writer and back
    // as fast as it can; a reader that opened it blocking would wait for ever.
    const auto wav = makeAudioFile (juce::WavAudioFormat());
    folder.getChildFile ("file").replaceWithData (wav.getData(), wav.getSize());
    ASSERT_EQ (::mkfifo (path ("pipe").toRawUTF8(), 0600), 0);

    std::atomic<bool> stop { false }, finished { false };
    std::thread swapper ([&] {
        for (int i = 0; ! stop; ++i)
            if (::link (path (i % 2 == 0 ? "pipe" : "file").toRawUTF8(), path ("next").toRawUTF8()) == 0)
                ::rename (path ("next").toRawUTF8(), path ("input").toRawUTF8());
    });
    std::thread reader ([&] {
        for (const auto end = juce::Time::getMillisecondCounter() + 1500; juce::Time::getMillisecondCounter() < end;)
        {
            zelkhost::AudioFileContents contents;
            juce::String error;
            if (! zelkhost::readAudioFile (folder.getChildFile ("input"), contents, error))
            {
                EXPECT_TRUE (error.contains ("it is a pipe") || error.contains ("does not exist")) << error;
            }
        }
        finished = true;
    });

    for (int waited = 0; ! finished && waited < 20000; waited += 10)
        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    EXPECT_TRUE (finished) << "the reader waited on the pipe";
    stop = true;
    swapper.join();
    while (! finished)   // a waiting reader is let go
        ::close (::open (path ("pipe").toRawUTF8(), O_WRONLY | O_NONBLOCK));
    reader.join();
}

TEST_F (HostFiles, AFileItsUserMayNotWriteIsRefusedAndAReplacedOneKeepsItsPermissions)
{
    // An ordinary user with umask 027: tests running as root drop to "nobody", since root may write anything (as cp does).
    const bool root = ::geteuid() == 0;
    if (root && ! juce::File ("/usr/bin/setpriv").existsAsFile())
        GTEST_SKIP() << "needs setpriv to run the host as an ordinary user";
    const auto own = [root] (const juce::String& name) { return ! root || ::chown (name.toRawUTF8(), 65534, 65534) == 0; };
    ASSERT_TRUE (own (folder.getFullPathName()));

    struct Case { const char* name; mode_t before; const char* option; bool asRoot; mode_t after; };   // after 0: refused
    const Case cases[] { { "read-only.wav", 0444, "--output", false, 0 }, { "read-only.zlks", 0444, "--save-state", false, 0 },
                         { "private.wav", 0600, "--output", false, 0600 }, { "private.zlks", 0600, "--save-state", false, 0600 },
                         { "new.zlks", 0, "--save-state", false, 0640 }, { "root-writes.wav", 0444, "--output", true, 0444 } };
    for (const auto& c : cases)
    {
        if (c.asRoot && ! root)
            continue;
        ASSERT_TRUE (c.before == 0 || (folder.getChildFile (c.name).replaceWithText ("mine") && ::chmod (path (c.name).toRawUTF8(), c.before) == 0 && own (path (c.name))));
        juce::StringArray command { "/usr/bin/env", "HOME=" + folder.getFullPathName(), "XDG_CONFIG_HOME=" + folder.getFullPathName() };
        if (root && ! c.asRoot)
            command.addArray ({ "/usr/bin/setpriv", "--reuid", "65534", "--regid", "65534", "--clear-groups" });
        command.addArray ({ "/bin/sh", "-c", "umask 027 && exec \"$0\" --seconds 0.01 --output \"$@\"", ZELK_HOST_PROGRAM });
        command.addArray (juce::String (c.option) == "--output" ? juce::StringArray { path (c.name) } : juce::StringArray { path ("out.wav"), c.option, path (c.name) });
        juce::ChildProcess host;
        ASSERT_TRUE (host.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr));
        const auto run = finish (host);
        EXPECT_EQ ((int) std::filesystem::status (path (c.name).toStdString()).permissions(), (int) (c.after != 0 ? c.after : c.before)) << c.name;
        EXPECT_TRUE (c.after != 0 ? run.exitCode == 0 : run.exitCode != 0 && run.output.contains (path (c.name) + ": Permission denied")
                                                        && folder.getChildFile (c.name).loadFileAsString() == "mine") << c.name << ": " << run.output;
    }
}
