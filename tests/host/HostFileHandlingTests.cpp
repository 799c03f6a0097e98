// The stand-in host with odd files and targets: audio files whose headers
// lie or whose format it cannot read, outputs that are folders or pipes,
// values copied from --list, a stored state with a damaged plug-in chunk.

#include <gtest/gtest.h>

#include <juce_audio_formats/juce_audio_formats.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace
{
    struct Run
    {
        int exitCode = -1;
        juce::String output;
    };

    /** Runs the host, outside sanitizer builds (which reserve more address
        space) with at most 2 GB of it, so that allocating by a lying header
        fails instead of exhausting the machine. */
    Run runHost (const juce::StringArray& arguments)
    {
       #if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        juce::StringArray command { ZELK_HOST_PROGRAM };
       #else
        juce::StringArray command { "/bin/sh", "-c", "ulimit -v 2000000 && exec \"$0\" \"$@\"", ZELK_HOST_PROGRAM };
       #endif
        command.addArray (arguments);
        juce::ChildProcess process;
        Run run;
        if (process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        {
            run.output = process.readAllProcessOutput();
            process.waitForProcessToFinish (60000);
            run.exitCode = (int) process.getExitCode();
        }
        return run;
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

TEST_F (HostFiles, AFolderIsRefusedAndAPipeIsWrittenNotReplaced)
{
    folder.getChildFile ("folder").createDirectory();
    for (const auto* option : { "--output", "--save-state" })
    {
        const auto run = runHost ({ "--seconds", "0.05", "--output", path ("out.wav"), option, path ("folder") });
        EXPECT_NE (run.exitCode, 0);
        EXPECT_TRUE (run.output.contains ("it is a folder")) << run.output;
        EXPECT_TRUE (folder.getChildFile ("folder").isDirectory());
    }

    // Both outputs fit in a pipe's buffer: the host need not wait for a reader.
    int pipes[2] {};
    for (int i = 0; i < 2; ++i)
    {
        ASSERT_EQ (::mkfifo (path (juce::String (i)).toRawUTF8(), 0600), 0);
        pipes[i] = ::open (path (juce::String (i)).toRawUTF8(), O_RDONLY | O_NONBLOCK);
    }
    const auto run = runHost ({ "--seconds", "0.05", "--output", path ("0"), "--save-state", path ("1") });
    EXPECT_EQ (run.exitCode, 0) << run.output;

    char received[65536];
    const auto audioBytes = ::read (pipes[0], received, sizeof (received));
    EXPECT_EQ (std::string (received, 4) + juce::String ((int) juce::ByteOrder::littleEndianInt (received + 4) + 8).toStdString(),
               "RIFF" + std::to_string (audioBytes));   // a complete header
    EXPECT_GT (::read (pipes[1], received, sizeof (received)), 0);
    EXPECT_EQ (std::string (received, 4), "ZLKS");
    for (int i = 0; i < 2; ++i)
    {
        ::close (pipes[i]);
        EXPECT_TRUE (std::filesystem::is_fifo (path (juce::String (i)).toStdString()));
    }
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
