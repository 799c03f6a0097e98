// The stand-in host as a user runs it: renders, refuses bad input with a
// message and a non-zero status, and never leaves a partial output file.

#include "ChunkSet.h"

#include <gtest/gtest.h>

#include <juce_audio_formats/juce_audio_formats.h>

#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
    struct Run
    {
        int exitCode = -1;
        juce::String output;
    };

    Run runCommand (const juce::StringArray& command)
    {
        juce::ChildProcess process;
        Run run;
        if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
            return run;
        run.output = process.readAllProcessOutput();
        process.waitForProcessToFinish (60000);
        run.exitCode = (int) process.getExitCode();
        return run;
    }

    Run runHost (const juce::StringArray& arguments)
    {
        juce::StringArray command { ZELK_HOST_PROGRAM };
        command.addArray (arguments);
        return runCommand (command);
    }

    juce::AudioBuffer<float> readWav (const juce::File& file, double* sampleRate = nullptr)
    {
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (file.createInputStream().release(), true));
        if (reader == nullptr)
            return {};
        juce::AudioBuffer<float> buffer ((int) reader->numChannels, (int) reader->lengthInSamples);
        reader->read (&buffer, 0, (int) reader->lengthInSamples, 0, true, true);
        if (sampleRate != nullptr)
            *sampleRate = reader->sampleRate;
        return buffer;
    }

    void writeWav (const juce::File& file, const juce::AudioBuffer<float>& buffer, double sampleRate)
    {
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (file.createOutputStream().release(), sampleRate,
                                                                              (unsigned int) buffer.getNumChannels(), 32, {}, 0));
        ASSERT_NE (writer, nullptr);
        writer->writeFromAudioSampleBuffer (buffer, 0, buffer.getNumSamples());
    }

    class HostCommandLine : public ::testing::Test
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

        // Nothing but the files a test put there: no partial output left behind.
        int numFilesIn() const { return folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, "*")
                                        + folder.getNumberOfChildFiles (juce::File::findFiles, ".*"); }
    };
}

TEST_F (HostCommandLine, RendersTheBuiltInSignalWithoutInput)
{
    const auto out = file ("out.wav");
    const auto run = runHost ({ "--output", out.getFullPathName(), "--seconds", "0.5" });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    double rate = 0;
    const auto audio = readWav (out, &rate);
    EXPECT_EQ (audio.getNumChannels(), 2);
    EXPECT_EQ (audio.getNumSamples(), 24000);
    EXPECT_EQ (rate, 48000.0);
    EXPECT_GT (audio.getRMSLevel (0, 0, audio.getNumSamples()), 0.01f);
}

TEST_F (HostCommandLine, ProcessesAnInputFileWithParameterAssignments)
{
    juce::AudioBuffer<float> input (1, 4410);
    for (int i = 0; i < input.getNumSamples(); ++i)
        input.setSample (0, i, 0.4f * std::sin (0.05f * (float) i));
    writeWav (file ("in.wav"), input, 44100.0);

    // With "bypass" on the plug-in hands the audio back untouched.
    auto run = runHost ({ "--input", file ("in.wav").getFullPathName(), "--output", file ("same.wav").getFullPathName(),
                          "--block", "100", "bypass=1" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    const auto same = readWav (file ("same.wav"));
    ASSERT_EQ (same.getNumChannels(), 1);
    ASSERT_EQ (same.getNumSamples(), input.getNumSamples());
    for (int i = 0; i < input.getNumSamples(); ++i)
        ASSERT_EQ (same.getSample (0, i), input.getSample (0, i));

    run = runHost ({ "--input", file ("in.wav").getFullPathName(), "--output", file ("quiet.wav").getFullPathName(),
                     "output_mix=0", "output=-20", "numCrossovers=3", "type-2=7" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    const auto quiet = readWav (file ("quiet.wav"));
    EXPECT_NEAR (quiet.getRMSLevel (0, 0, quiet.getNumSamples()) / input.getRMSLevel (0, 0, input.getNumSamples()), 0.1f, 0.005f);
}

TEST_F (HostCommandLine, BadInputGivesAMessageAndNoOutput)
{
    const auto out = file ("out.wav");
    file ("garbage.wav").replaceWithText ("this is not audio");

    const std::vector<std::pair<juce::StringArray, juce::String>> cases {
        { { "--input", file ("missing.wav").getFullPathName() }, "does not exist" },
        { { "--input", file ("garbage.wav").getFullPathName() }, "cannot read" },
        { { "nonsense=1" }, "unknown parameter ID \"nonsense\"" },
        { { "type-2=11" }, "outside its range" },
        { { "type-2=2.5" }, "whole number" },
        { { "gain-1=loud" }, "is not a number" },
        { { "bypass=2" }, "switch" },
        { { "numCrossovers" }, "ID=VALUE" },
        { { "--block", "0" }, "--block" },
        { { "--frobnicate" }, "unknown option" },
    };

    for (const auto& [arguments, message] : cases)
    {
        auto args = arguments;
        args.addArray ({ "--output", out.getFullPathName() });
        const auto run = runHost (args);
        EXPECT_NE (run.exitCode, 0) << args.joinIntoString (" ");
        EXPECT_TRUE (run.output.contains (message)) << args.joinIntoString (" ") << " said: " << run.output;
        EXPECT_FALSE (out.exists()) << args.joinIntoString (" ");
    }
    EXPECT_EQ (numFilesIn(), 1); // only garbage.wav
}

TEST_F (HostCommandLine, AFailedRunLeavesAnExistingOutputAlone)
{
    const auto out = file ("out.wav");
    out.replaceWithText ("previous result");
    const auto run = runHost ({ "--output", out.getFullPathName(), "type-1=99" });
    EXPECT_NE (run.exitCode, 0);
    EXPECT_EQ (out.loadFileAsString(), "previous result");
}

TEST_F (HostCommandLine, AnUnwritableDestinationIsReported)
{
    const auto out = file ("no/such/folder/out.wav");
    const auto run = runHost ({ "--output", out.getFullPathName(), "--seconds", "0.1" });
    EXPECT_NE (run.exitCode, 0);
    EXPECT_TRUE (run.output.contains ("cannot write")) << run.output;
    EXPECT_EQ (numFilesIn(), 0);
}

TEST_F (HostCommandLine, DescribesWhatThePluginRegisters)
{
    const auto run = runHost ({ "--describe" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("manufacturer: Velkor Audio Tools")) << run.output;
    EXPECT_TRUE (run.output.contains ("effects: 1")) << run.output;
    EXPECT_TRUE (run.output.contains ("name: Multiband Saturator")) << run.output;
    EXPECT_TRUE (run.output.contains ("name: ZELK-MULTI")) << run.output;
    EXPECT_TRUE (run.output.contains ("mono in, mono out")) << run.output;
    EXPECT_TRUE (run.output.contains ("stereo in, stereo out")) << run.output;
}

TEST_F (HostCommandLine, AStoredStateRendersLikeTheSettingItWasStoredFrom)
{
    const auto state = file ("setting.zelk");
    auto run = runHost ({ "--output", file ("direct.wav").getFullPathName(), "--seconds", "0.25", "--save-state", state.getFullPathName(),
                          "numCrossovers=2", "type-1=2", "gain-1=8", "output=-3" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    ASSERT_TRUE (state.existsAsFile());

    run = runHost ({ "--output", file ("restored.wav").getFullPathName(), "--seconds", "0.25", "--load-state", state.getFullPathName() });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    run = runHost ({ "--output", file ("default.wav").getFullPathName(), "--seconds", "0.25" });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    const auto direct = readWav (file ("direct.wav"));
    const auto restored = readWav (file ("restored.wav"));
    const auto fresh = readWav (file ("default.wav"));
    ASSERT_EQ (direct.getNumSamples(), restored.getNumSamples());
    bool differsFromDefault = false;
    for (int ch = 0; ch < direct.getNumChannels(); ++ch)
        for (int i = 0; i < direct.getNumSamples(); ++i)
        {
            ASSERT_EQ (direct.getSample (ch, i), restored.getSample (ch, i)) << "channel " << ch << " sample " << i;
            differsFromDefault = differsFromDefault || direct.getSample (ch, i) != fresh.getSample (ch, i);
        }
    EXPECT_TRUE (differsFromDefault);

    // Assignments given with a stored state apply on top of it.
    run = runHost ({ "--output", file ("bypassed.wav").getFullPathName(), "--seconds", "0.25", "--load-state", state.getFullPathName(), "bypass=1" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    run = runHost ({ "--output", file ("plain.wav").getFullPathName(), "--seconds", "0.25", "bypass=1" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    const auto bypassed = readWav (file ("bypassed.wav"));
    const auto plain = readWav (file ("plain.wav"));
    for (int i = 0; i < plain.getNumSamples(); ++i)
        ASSERT_EQ (bypassed.getSample (0, i), plain.getSample (0, i)) << "sample " << i;
}

// The largest controls chunk a state may hold, filled with what the plug-in
// cannot use (zeros) or with one entry over and over: loaded within bounded
// memory, the peak of the host's own process, as a user's machine sees it.
TEST_F (HostCommandLine, TheLargestControlsChunkLoadsInBoundedMemory)
{
    const auto state = file ("saved.zelk");
    ASSERT_EQ (runHost ({ "--output", file ("out.wav").getFullPathName(), "--seconds", "0.01", "--save-state", state.getFullPathName() }).exitCode, 0);

    for (const auto* kind : { "zeros", "entries" })
    {
        {   // Built and let go before the host starts: a child's peak counts what it shares at the fork.
            juce::MemoryBlock saved;
            ASSERT_TRUE (state.loadFileAsData (saved));
            zelkhost::ChunkSet chunks;
            std::string error;
            ASSERT_TRUE (zelkhost::ChunkSet::deserialise (static_cast<const char*> (saved.getData()), saved.getSize(), chunks, error)) << error;

            for (auto& chunk : chunks.chunks)
                if (zelkhost::fourCharText (chunk.id) == "elck")
                {
                    const std::vector<char> entry { 'd', '_', 'x', 0, 0, 0, 0, 0, 0, 0, 0, 0 };
                    chunk.data.assign (zelkhost::ChunkSet::largestChunk, 0);
                    std::fill_n (chunk.data.begin(), 4, 1);
                    for (auto at = 4u; juce::String (kind) == "entries" && at + entry.size() <= chunk.data.size(); at += (unsigned) entry.size())
                        std::copy (entry.begin(), entry.end(), chunk.data.begin() + at);
                }
            const auto bytes = chunks.serialise();
            ASSERT_TRUE (state.replaceWithData (bytes.data(), bytes.size()));
        }

        const auto out = file ("long.wav").getFullPathName();
        const auto pid = ::fork();
        ASSERT_GE (pid, 0);
        if (pid == 0)
        {
            ::execl (ZELK_HOST_PROGRAM, ZELK_HOST_PROGRAM, "--output", out.toRawUTF8(), "--seconds", "0.01",
                     "--load-state", state.getFullPathName().toRawUTF8(), (char*) nullptr);
            ::_exit (127);
        }
        int status = 0;
        struct rusage usage {};
        ASSERT_EQ (::wait4 (pid, &status, 0, &usage), pid);
        EXPECT_TRUE (WIFEXITED (status) && WEXITSTATUS (status) == 0) << kind;
       #if ! defined (__SANITIZE_ADDRESS__) && ! defined (__SANITIZE_THREAD__)
        EXPECT_LT (usage.ru_maxrss, 200 * 1024) << kind << ": kilobytes at the peak";
       #endif
    }
}

TEST_F (HostCommandLine, ABrokenStateOrBundleGivesAMessageAndNoOutput)
{
    const auto out = file ("out.wav");
    file ("garbage.zelk").replaceWithText ("ZLKS and then nothing useful");

    const std::vector<std::pair<juce::StringArray, juce::String>> cases {
        { { "--load-state", file ("missing.zelk").getFullPathName() }, "does not exist" },
        { { "--load-state", file ("garbage.zelk").getFullPathName() }, "cannot use" },
        { { "--bundle", file ("missing.so").getFullPathName() }, "cannot load the plug-in bundle" },
        { { "--bundle", file ("garbage.zelk").getFullPathName() }, "cannot load the plug-in bundle" },
        { { "--save-state", file ("no/folder/state.zelk").getFullPathName() }, "cannot write the state file" },
    };

    for (const auto& [arguments, message] : cases)
    {
        auto args = arguments;
        args.addArray ({ "--output", out.getFullPathName(), "--seconds", "0.1" });
        const auto run = runHost (args);
        EXPECT_NE (run.exitCode, 0) << args.joinIntoString (" ");
        EXPECT_TRUE (run.output.contains (message)) << args.joinIntoString (" ") << " said: " << run.output;
        EXPECT_FALSE (out.exists()) << args.joinIntoString (" ");
    }
    EXPECT_EQ (numFilesIn(), 1); // only garbage.zelk
}

TEST_F (HostCommandLine, PathsAreTakenAsTheBytesGivenOrRefused)
{
    file ("sub").createDirectory();
    std::filesystem::create_symlink ("loop2", file ("loop1").getFullPathName().toStdString());
    std::filesystem::create_symlink ("loop1", file ("loop2").getFullPathName().toStdString());

    // Paths as printf formats: bytes that are not UTF-8 cannot pass through a juce::String.
    const std::vector<std::tuple<const char*, const char*, juce::String>> cases {
        { "--output", "sub/\\300\\256\\300\\256/zz.wav", "is 0xC0;" },   // an overlong "..", JUCE reads it as ".."
        { "--save-state", "s\\357", "is 0xEF;" },                    // JUCE reads both as "s\x0f"
        { "--save-state", "s\\377", "is 0xFF;" },
        { "--snapshot", "\\340\\200\\256", "is 0xE0;" },            // an overlong "." in three bytes
        { "--output", "\\355\\240\\200.wav", "is 0xED;" },          // a surrogate
        { "--output", "\\364\\220\\200\\200.wav", "is 0xF4;" },     // beyond U+10FFFF
        { "--output", "\\303\\251\\360\\235\\204\\236.wav", "wrote" },  // taken as given
        { "--output", "loop1", "its symbolic links cannot be followed" },
        { "--save-state", "loop2", "its symbolic links cannot be followed" },
        { "--snapshot", "loop1", "its symbolic links cannot be followed" },
    };
    auto runWith = [&] (const char* option, const char* path) {
        return runCommand ({ "/bin/sh", "-c", "p=$(printf \"$3\"); [ -n \"$p\" ] && p=\"$1/$p\"; "
                                           "exec \"$0\" --seconds 0.01 --output \"$1/out.wav\" \"$2\" \"$p\"",
                             ZELK_HOST_PROGRAM, folder.getFullPathName(), option, path });
    };
    for (const auto& [option, path, message] : cases)
    {
        const auto run = runWith (option, path);
        EXPECT_TRUE ((run.exitCode == 0) == (message == "wrote") && run.output.contains (message)) << option << " " << path << ": " << run.output;
    }
    for (const auto* option : { "--input", "--output", "--bundle", "--load-state", "--save-state", "--snapshot" })
    {
        const auto run = runWith (option, "");
        EXPECT_TRUE (run.exitCode != 0 && run.output.contains (juce::String (option) + " needs a") && run.output.contains ("an empty path names none"))
            << option << ": " << run.output;
    }

    // Nothing written under another name, and the links are still links.
    EXPECT_TRUE (std::filesystem::exists (folder.getFullPathName().toStdString() + "/\xC3\xA9\xF0\x9D\x84\x9E.wav"));
    EXPECT_TRUE (std::filesystem::is_symlink (file ("loop1").getFullPathName().toStdString()));
    EXPECT_EQ (std::distance (std::filesystem::recursive_directory_iterator (folder.getFullPathName().toStdString()), {}), 4);
}

TEST_F (HostCommandLine, TwoOptionsNamingOneFileAreRefusedBeforeAnythingRuns)
{
    file ("mine").replaceWithText ("mine");
    std::filesystem::create_symlink ("mine", file ("link").getFullPathName().toStdString());
    std::filesystem::create_hard_link (file ("mine").getFullPathName().toStdString(), file ("hard").getFullPathName().toStdString());
    const std::pair<juce::StringArray, juce::String> cases[] {
        { { "--output", "new", "--save-state", "new" }, "--output and --save-state both name " + file ("new").getFullPathName() },
        { { "--output", "link", "--save-state", "mine" }, "--output and --save-state both name " + file ("mine").getFullPathName() },
        { { "--save-state", "hard", "--snapshot", "mine" }, "--save-state and --snapshot both name" },
        { { "--save-state", "out.wav" }, "the output (out.wav unless --output is given) and --save-state both name" },
        { { "--output", "/dev/null", "--save-state", "/dev/null" }, "wrote /dev/null" },   // nothing is written over
    };
    for (const auto& [arguments, message] : cases)
    {
        juce::StringArray command { "/bin/sh", "-c", "cd \"$1\" && shift && exec \"$0\" --seconds 0.01 \"$@\"", ZELK_HOST_PROGRAM, folder.getFullPathName() };
        command.addArray (arguments);
        const auto run = runCommand (command);
        EXPECT_TRUE ((run.exitCode == 0) == message.startsWith ("wrote") && run.output.contains (message)) << run.output;
    }
    EXPECT_TRUE (file ("mine").loadFileAsString() == "mine" && numFilesIn() == 3);
}
