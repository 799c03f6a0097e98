// The stand-in host with odd files and targets: audio files whose headers
// lie or whose format it cannot read, outputs that are folders or pipes,
// values copied from --list, a stored state with a damaged plug-in chunk.

#include <gtest/gtest.h>

#include <juce_audio_formats/juce_audio_formats.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <map>

namespace
{
    struct Run
    {
        int exitCode = -1;
        juce::String output;
    };

   #if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    constexpr bool limitMemory = false;   // the sanitizers reserve more address space than any limit allows
   #else
    constexpr bool limitMemory = true;
   #endif

    /** Runs the host with at most 2 GB of address space, so that a host
        allocating by a lying header fails instead of exhausting the machine. */
    Run runHost (const juce::StringArray& arguments)
    {
        juce::StringArray command;
        if (limitMemory)
            command = { "/bin/sh", "-c", "ulimit -v 2000000 && exec \"$0\" \"$@\"" };
        command.add (ZELK_HOST_PROGRAM);
        command.addArray (arguments);

        juce::ChildProcess process;
        Run run;
        if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
            return run;
        run.output = process.readAllProcessOutput();
        process.waitForProcessToFinish (60000);
        run.exitCode = (int) process.getExitCode();
        return run;
    }

    juce::AudioBuffer<float> readWav (const juce::File& file)
    {
        juce::WavAudioFormat wav;
        auto stream = file.createInputStream();
        std::unique_ptr<juce::AudioFormatReader> reader (stream != nullptr ? wav.createReaderFor (stream.release(), true) : nullptr);
        juce::AudioBuffer<float> buffer;
        if (reader != nullptr)
        {
            buffer.setSize ((int) reader->numChannels, (int) reader->lengthInSamples);
            reader->read (&buffer, 0, (int) reader->lengthInSamples, 0, true, true);
        }
        return buffer;
    }

    /** A mono tone in the given format (WAV or AIFF), 16-bit. */
    juce::MemoryBlock makeAudioFile (juce::AudioFormat& format, int frames)
    {
        juce::AudioBuffer<float> tone (1, frames);
        for (int i = 0; i < frames; ++i)
            tone.setSample (0, i, 0.3f * std::sin (0.05f * (float) i));

        juce::MemoryBlock bytes;
        {
            std::unique_ptr<juce::AudioFormatWriter> writer (format.createWriterFor (new juce::MemoryOutputStream (bytes, false),
                                                                                    44100.0, 1, 16, {}, 0));
            writer->writeFromAudioSampleBuffer (tone, 0, frames);
        }
        return bytes;
    }

    /** Offset of a chunk's size field in a RIFF file (-1 when absent). */
    int findChunk (const juce::MemoryBlock& bytes, const char* id)
    {
        for (size_t position = 12; position + 8 <= bytes.getSize();)
        {
            const auto* data = static_cast<const char*> (bytes.getData()) + position;
            const auto size = juce::ByteOrder::littleEndianInt (data + 4);
            if (std::memcmp (data, id, 4) == 0)
                return (int) position + 4;
            position += 8 + size + (size & 1);
        }
        return -1;
    }

    void setLittleEndian (juce::MemoryBlock& bytes, int offset, uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes[(size_t) offset + (size_t) i] = (char) ((value >> (8 * i)) & 0xFF);
    }

    bool isFifo (const juce::File& file)
    {
        struct stat info {};
        return ::lstat (file.getFullPathName().toRawUTF8(), &info) == 0 && S_ISFIFO (info.st_mode);
    }

    class HostFiles : public ::testing::Test
    {
    protected:
        juce::TemporaryFile folderName;
        juce::File folder;

        void SetUp() override
        {
            folder = folderName.getFile();
            folder.createDirectory();
        }
        void TearDown() override { folder.deleteRecursively(); }

        juce::File file (const juce::String& name) const { return folder.getChildFile (name); }
        juce::String path (const juce::String& name) const { return file (name).getFullPathName(); }
    };
}

TEST_F (HostFiles, AFolderIsRefusedAndAPipeIsWrittenNotReplaced)
{
    file ("folder").createDirectory();
    auto run = runHost ({ "--seconds", "0.05", "--output", path ("folder") });
    EXPECT_NE (run.exitCode, 0);
    EXPECT_TRUE (run.output.contains ("folder")) << run.output;
    run = runHost ({ "--seconds", "0.05", "--output", path ("out.wav"), "--save-state", path ("folder") });
    EXPECT_NE (run.exitCode, 0);
    EXPECT_TRUE (run.output.contains ("folder")) << run.output;
    EXPECT_TRUE (file ("folder").isDirectory());
    EXPECT_FALSE (file ("out.wav").exists());

    // Both outputs fit in a pipe's buffer, so the host never waits for the reader.
    ASSERT_EQ (::mkfifo (path ("audio.pipe").toRawUTF8(), 0600), 0);
    ASSERT_EQ (::mkfifo (path ("state.pipe").toRawUTF8(), 0600), 0);
    const int audioPipe = ::open (path ("audio.pipe").toRawUTF8(), O_RDONLY | O_NONBLOCK);
    const int statePipe = ::open (path ("state.pipe").toRawUTF8(), O_RDONLY | O_NONBLOCK);
    run = runHost ({ "--seconds", "0.05", "--output", path ("audio.pipe"), "--save-state", path ("state.pipe") });
    EXPECT_EQ (run.exitCode, 0) << run.output;

    char received[65536];
    const auto audioBytes = ::read (audioPipe, received, sizeof (received));
    ASSERT_GT (audioBytes, 2 * 2400 * 4);
    EXPECT_EQ (std::string (received, 4), "RIFF");
    EXPECT_EQ ((ssize_t) juce::ByteOrder::littleEndianInt (received + 4) + 8, audioBytes);   // header completed
    EXPECT_GT (::read (statePipe, received, sizeof (received)), 0);
    EXPECT_EQ (std::string (received, 4), "ZLKS");
    ::close (audioPipe);
    ::close (statePipe);
    EXPECT_TRUE (isFifo (file ("audio.pipe")));
    EXPECT_TRUE (isFifo (file ("state.pipe")));
}

TEST_F (HostFiles, HeadersThatClaimMoreThanTheFileHolds)
{
    juce::WavAudioFormat wav;
    auto original = makeAudioFile (wav, 22050);
    const int dataSize = findChunk (original, "data");
    ASSERT_GT (dataSize, 0);

    // A data chunk claiming 4 GiB: rendered as far as the file goes, with a warning.
    auto huge = original;
    setLittleEndian (huge, dataSize, 0xFFFFFFF0u);
    file ("huge.wav").replaceWithData (huge.getData(), huge.getSize());

    // A file cut off inside its data.
    auto cut = original;
    cut.setSize ((size_t) dataSize + 4 + 2 * 1000 + 1);
    file ("cut.wav").replaceWithData (cut.getData(), cut.getSize());

    for (const auto& [name, frames] : std::map<juce::String, int> { { "huge.wav", 22050 }, { "cut.wav", 1000 } })
    {
        const auto run = runHost ({ "--input", path (name), "--output", path ("out-" + name), "bypass=1" });
        ASSERT_EQ (run.exitCode, 0) << name << ": " << run.output;
        EXPECT_TRUE (run.output.contains ("truncated")) << run.output;
        EXPECT_EQ (readWav (file ("out-" + name)).getNumSamples(), frames) << name;
    }

    // A format chunk that runs past the end of the file cannot be read at all.
    juce::MemoryBlock formatCut (original.getData(), (size_t) findChunk (original, "fmt ") + 4 + 6);
    file ("format-cut.wav").replaceWithData (formatCut.getData(), formatCut.getSize());
    const auto run = runHost ({ "--input", path ("format-cut.wav"), "--output", path ("never.wav") });
    EXPECT_NE (run.exitCode, 0);
    EXPECT_TRUE (run.output.contains ("'fmt ' chunk")) << run.output;
    EXPECT_FALSE (file ("never.wav").exists());
}

TEST_F (HostFiles, FormatsAreRecognisedByContentAndRefusalsSayWhy)
{
    juce::WavAudioFormat wav;
    juce::AiffAudioFormat aiff;
    const auto wavBytes = makeAudioFile (wav, 4410);
    const auto aiffBytes = makeAudioFile (aiff, 4410);
    file ("wave.aif").replaceWithData (wavBytes.getData(), wavBytes.getSize());
    file ("aiff.wav").replaceWithData (aiffBytes.getData(), aiffBytes.getSize());
    file ("noextension").replaceWithData (aiffBytes.getData(), aiffBytes.getSize());

    for (const auto* name : { "wave.aif", "aiff.wav", "noextension" })
    {
        const auto run = runHost ({ "--input", path (name), "--output", path ("out.wav"), "bypass=1" });
        ASSERT_EQ (run.exitCode, 0) << name << ": " << run.output;
        EXPECT_EQ (readWav (file ("out.wav")).getNumSamples(), 4410) << name;
    }

    // The same file declared as 64-bit float, and as a compressed encoding.
    const int formatSize = findChunk (wavBytes, "fmt ");
    auto asDouble = wavBytes;
    asDouble[(size_t) formatSize + 4] = 3;      // IEEE float
    asDouble[(size_t) formatSize + 4 + 14] = 64;
    file ("double.wav").replaceWithData (asDouble.getData(), asDouble.getSize());
    auto compressed = wavBytes;
    compressed[(size_t) formatSize + 4] = 2;    // ADPCM
    file ("adpcm.wav").replaceWithData (compressed.getData(), compressed.getSize());

    for (const auto& [name, reason] : std::map<juce::String, juce::String> { { "double.wav", "64-bit floating-point" }, { "adpcm.wav", "0x0002" } })
    {
        const auto run = runHost ({ "--input", path (name), "--output", path ("never.wav") });
        EXPECT_NE (run.exitCode, 0) << name;
        EXPECT_TRUE (run.output.contains (reason) && run.output.contains ("convert")) << run.output;
    }
    EXPECT_FALSE (file ("never.wav").exists());
}

TEST_F (HostFiles, RangesFromTheListAreAccepted)
{
    const auto list = runHost ({ "--list" });
    ASSERT_EQ (list.exitCode, 0) << list.output;

    juce::StringArray minimums, maximums, defaults;
    float compensationMaximum = 0.0f;
    for (const auto& line : juce::StringArray::fromLines (list.output))
    {
        const auto columns = juce::StringArray::fromTokens (line, "\t", {});
        if (columns.size() < 4)
            continue;
        const auto range = juce::StringArray::fromTokens (columns[2], " ", {});
        minimums.add (columns[0] + "=" + range[0]);
        maximums.add (columns[0] + "=" + range[2]);
        defaults.add (columns[0] + "=" + columns[3].fromFirstOccurrenceOf ("default ", false, false));
        if (columns[0] == "compgain-2")
            compensationMaximum = std::strtof (range[2].toRawUTF8(), nullptr);
    }
    ASSERT_EQ (minimums.size(), 73);

    // One float step beyond a range end is float rounding too.
    maximums.add ("compgain-2=" + juce::String (std::nextafter (compensationMaximum, 100.0f), 9));

    for (auto assignments : { minimums, maximums, defaults })
    {
        assignments.addArray ({ "--seconds", "0.01", "--output", path ("out.wav") });
        const auto run = runHost (assignments);
        EXPECT_EQ (run.exitCode, 0) << run.output;
    }
}

TEST_F (HostFiles, ADamagedPluginChunkIsNamedWithTheReason)
{
    auto run = runHost ({ "--seconds", "0.01", "--output", path ("out.wav"), "--save-state", path ("state.zlks"), "gain-1=20" });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    // The stored state: "ZLKS", version, count, then per chunk ID, version,
    // 32-byte name, size and data. The 'juce' chunk's data is scrambled.
    juce::MemoryBlock state;
    ASSERT_TRUE (file ("state.zlks").loadFileAsData (state));
    bool scrambled = false;
    for (size_t position = 12; position + 44 <= state.getSize() && ! scrambled;)
    {
        const auto* chunk = static_cast<const char*> (state.getData()) + position;
        const auto size = juce::ByteOrder::littleEndianInt (chunk + 40);
        if (juce::ByteOrder::littleEndianInt (chunk) == 0x6A756365u)
        {
            for (size_t i = position + 44; i < position + 44 + size; ++i)
                state[i] = (char) (state[i] ^ 0x5A);
            scrambled = true;
        }
        position += 44 + size;
    }
    ASSERT_TRUE (scrambled);
    file ("state.zlks").replaceWithData (state.getData(), state.getSize());

    run = runHost ({ "--seconds", "0.01", "--output", path ("never.wav"), "--load-state", path ("state.zlks") });
    EXPECT_NE (run.exitCode, 0);
    EXPECT_TRUE (run.output.contains ("chunk 'juce'") && run.output.contains ("damaged")) << run.output;
    EXPECT_FALSE (file ("never.wav").exists());
}
