// zelk_host: the stand-in host. Loads the plug-in bundle, registers it and
// renders audio through an instance of it offline:
//   zelk_host [--bundle PATH] [--input in.wav] [--output out.wav] [--block N]
//             [--load-state FILE] [--save-state FILE] [ID=VALUE ...]
//   zelk_host --gui [--input in.wav] [ID=VALUE ...]      shows the plug-in's window
//   zelk_host --snapshot FILE.png [--input in.wav] [...] writes a picture of it
// With no input it renders a built-in test signal.

#include "AAX_Errors.h"
#include "ChunkSet.h"
#include "DescriptionPrinter.h"
#include "EffectInstance.h"
#include "OfflineRender.h"
#include "ParameterAssignments.h"
#include "ParameterCatalogue.h"
#include "PluginSession.h"
#include "ViewSession.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <iostream>

namespace
{
    const char* const usage =
        "usage: zelk_host [options] [ID=VALUE ...]\n"
        "  --input FILE      audio file to process (WAV or AIFF); default: a built-in test signal\n"
        "  --output FILE     where to write the processed audio as WAV (default: out.wav)\n"
        "  --block N         host block size in samples, 1 to 65536 (default: 512)\n"
        "  --rate HZ         sample rate of the built-in test signal (default: 48000)\n"
        "  --seconds S       length of the built-in test signal (default: 2)\n"
        "  --list            list the parameter IDs with their ranges and exit\n"
        "  --describe        print what the plug-in registers with the host and exit\n"
        "  --bundle PATH     the plug-in bundle to load (default: next to zelk_host)\n"
        "  --load-state FILE restore a stored host state (the plug-in's chunks) before\n"
        "                    applying the ID=VALUE assignments\n"
        "  --save-state FILE store the host state after the assignments, before rendering\n"
        "                    (with --gui: when the window is closed)\n"
        "  --gui             show the plug-in's window while the input plays in a loop in\n"
        "                    real time, until the window is closed (needs a display)\n"
        "  --snapshot FILE   open the window off screen with both spectra on, play about a\n"
        "                    second of the input and write the window as a PNG picture\n"
        "  ID=VALUE          set a parameter in its own units before rendering,\n"
        "                    e.g. type-2=7 numCrossovers=3 output=-6\n"
        "                    (sent to the plug-in as host automation of the normalised value)\n";

    int fail (const juce::String& message)
    {
        std::cerr << "zelk_host: " << message << std::endl;
        return 1;
    }

    bool parsePositive (const juce::String& text, double low, double high, double& value)
    {
        const auto trimmed = text.trim();
        if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789."))
            return false;
        value = trimmed.getDoubleValue();
        return value >= low && value <= high;
    }

    void listParameters (juce::AudioProcessor& processor)
    {
        for (auto* parameter : processor.getParameters())
            if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            {
                const auto& range = ranged->getNormalisableRange();
                std::cout << ranged->getParameterID() << "\t" << ranged->getName (100) << "\t"
                          << range.start << " .. " << range.end << "\tdefault "
                          << range.convertFrom0to1 (ranged->getDefaultValue()) << "\n";
            }
    }

    bool readAudio (const juce::File& file, juce::AudioBuffer<float>& audio, double& sampleRate, juce::String& error)
    {
        if (! file.existsAsFile())
        {
            error = "input file " + file.getFullPathName() + " does not exist";
            return false;
        }

        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
        if (reader == nullptr)
        {
            error = "cannot read " + file.getFullPathName() + " as audio (WAV or AIFF expected)";
            return false;
        }
        if (reader->numChannels < 1 || reader->numChannels > 2)
        {
            error = file.getFileName() + " has " + juce::String (reader->numChannels) + " channels; mono and stereo are supported";
            return false;
        }
        if (reader->lengthInSamples > (juce::int64) std::numeric_limits<int>::max())
        {
            error = file.getFileName() + " is too long";
            return false;
        }

        audio.setSize ((int) reader->numChannels, (int) reader->lengthInSamples);
        if (! reader->read (&audio, 0, (int) reader->lengthInSamples, 0, true, true))
        {
            error = "reading " + file.getFullPathName() + " failed";
            return false;
        }
        sampleRate = reader->sampleRate;
        return true;
    }

    // Writes next to the destination first and renames it into place, so a
    // failure never leaves a partial output file.
    bool writeAudio (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, juce::String& error)
    {
        const auto temporary = file.getSiblingFile ("." + file.getFileName() + ".partial");
        temporary.deleteFile();

        {
            std::unique_ptr<juce::FileOutputStream> stream (temporary.createOutputStream());
            if (stream == nullptr || stream->failedToOpen())
            {
                error = "cannot write " + file.getFullPathName();
                return false;
            }

            juce::WavAudioFormat wav;
            std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate,
                                                                                  (unsigned int) audio.getNumChannels(),
                                                                                  32, {}, 0));
            if (writer == nullptr)
            {
                temporary.deleteFile();
                error = "cannot create a WAV writer for " + file.getFullPathName();
                return false;
            }
            stream.release(); // the writer owns the stream now

            if (! writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples()))
            {
                writer.reset();
                temporary.deleteFile();
                error = "writing " + file.getFullPathName() + " failed";
                return false;
            }
        }

        if (! temporary.moveFileTo (file))
        {
            temporary.deleteFile();
            error = "cannot move the rendered audio to " + file.getFullPathName();
            return false;
        }
        return true;
    }
    // The host state: the plug-in's chunks in the host's state file format.
    bool readState (const juce::File& file, zelkhost::ChunkSet& state, juce::String& error)
    {
        juce::MemoryBlock bytes;
        if (! file.existsAsFile() || ! file.loadFileAsData (bytes))
        {
            error = "state file " + file.getFullPathName() + " does not exist or cannot be read";
            return false;
        }

        const auto* data = static_cast<const char*> (bytes.getData());
        std::string reason;
        if (! zelkhost::ChunkSet::deserialise (std::vector<char> (data, data + bytes.getSize()), state, reason))
        {
            error = "cannot use " + file.getFullPathName() + ": " + juce::String (reason);
            return false;
        }
        return true;
    }

    bool writeState (const juce::File& file, const zelkhost::ChunkSet& state, juce::String& error)
    {
        const auto bytes = state.serialise();
        const auto temporary = file.getSiblingFile ("." + file.getFileName() + ".partial");
        if (! temporary.replaceWithData (bytes.data(), bytes.size()) || ! temporary.moveFileTo (file))
        {
            temporary.deleteFile();
            error = "cannot write the state file " + file.getFullPathName();
            return false;
        }
        return true;
    }

    juce::String resultText (const char* what, AAX_Result result)
    {
        return juce::String (what) + " failed (result " + juce::String (result) + ")";
    }
}

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;

    juce::String inputPath, outputPath = "out.wav", bundlePath, loadStatePath, saveStatePath;
    double blockSize = 512, rate = 48000, seconds = 2;
    bool list = false, describe = false;
    juce::StringArray assignments;
    std::unique_ptr<ViewSession> view;
    juce::String snapshotPath;

    for (int i = 1; i < argc; ++i)
    {
        const juce::String arg = juce::CharPointer_UTF8 (argv[i]);
        auto next = [&] (juce::String& into) {
            if (i + 1 >= argc)
                return false;
            into = juce::CharPointer_UTF8 (argv[++i]);
            return true;
        };
        juce::String value;

        if (arg == "--help" || arg == "-h")      { std::cout << usage; return 0; }
        else if (arg == "--list")                list = true;
        else if (arg == "--describe")            describe = true;
        else if (arg == "--gui")                 { if (view != nullptr) return fail ("--gui and --snapshot exclude each other");
                                                   view = std::make_unique<ViewSession> (ViewSession::Mode::window); }
        else if (arg == "--snapshot")            { if (view != nullptr || ! next (snapshotPath))
                                                       return fail ("--snapshot needs a file, and excludes --gui");
                                                   view = std::make_unique<ViewSession> (ViewSession::Mode::snapshot); }
        else if (arg == "--input")               { if (! next (inputPath)) return fail ("--input needs a file"); }
        else if (arg == "--output")              { if (! next (outputPath)) return fail ("--output needs a file"); }
        else if (arg == "--bundle")              { if (! next (bundlePath)) return fail ("--bundle needs a path"); }
        else if (arg == "--load-state")          { if (! next (loadStatePath)) return fail ("--load-state needs a file"); }
        else if (arg == "--save-state")          { if (! next (saveStatePath)) return fail ("--save-state needs a file"); }
        else if (arg == "--block")               { if (! next (value) || ! parsePositive (value, 1, 65536, blockSize) || blockSize != std::floor (blockSize))
                                                       return fail ("--block needs a whole number from 1 to 65536"); }
        else if (arg == "--rate")                { if (! next (value) || ! parsePositive (value, 8000, 384000, rate))
                                                       return fail ("--rate needs a sample rate from 8000 to 384000"); }
        else if (arg == "--seconds")             { if (! next (value) || ! parsePositive (value, 0.001, 600, seconds))
                                                       return fail ("--seconds needs a length from 0.001 to 600"); }
        else if (arg.startsWith ("-"))           return fail ("unknown option " + arg + "\n" + usage);
        else                                     assignments.add (arg);
    }

    zelkhost::ParameterCatalogue catalogue;

    if (list)
    {
        listParameters (catalogue);
        return 0;
    }

    // Everything the user typed is checked before the plug-in is loaded.
    std::vector<std::pair<std::string, double>> automation;
    for (auto& text : assignments)
    {
        ParameterAssignment assignment;
        juce::String error;
        if (! parseParameterAssignment (text, catalogue, assignment, error))
            return fail (error);
        automation.emplace_back (assignment.id.toStdString(), normalisedValueOf (assignment, catalogue));
    }

    const auto here = juce::File::getCurrentWorkingDirectory();
    juce::String error;
    zelkhost::ChunkSet storedState;
    if (loadStatePath.isNotEmpty() && ! readState (here.getChildFile (loadStatePath), storedState, error))
        return fail (error);

    juce::AudioBuffer<float> audio;
    if (! describe)
    {
        if (inputPath.isNotEmpty())
        {
            if (! readAudio (here.getChildFile (inputPath), audio, rate, error))
                return fail (error);
        }
        else
        {
            audio = makeTestSignal (rate, seconds, 2);
        }
    }

    if (view != nullptr && ! view->prepare (error))
        return fail (error);

    zelkhost::PluginSession session;
    std::string reason;
    const auto bundle = bundlePath.isNotEmpty() ? here.getChildFile (bundlePath).getFullPathName().toStdString()
                                                : zelkhost::PluginSession::defaultBundlePath();
    if (bundle.empty())
        return fail ("no plug-in bundle found next to zelk_host; give one with --bundle");
    if (! session.open (bundle, reason))
        return fail (reason);

    if (describe)
    {
        zelkhost::printDescription (session.registration().description, std::cout);
        return 0;
    }

    {
        zelkhost::InstanceOptions options;
        options.sampleRate = (float) rate;
        options.maximumBlockSize = (int) blockSize;
        if (view != nullptr)
            view->configure (options);

        auto instance = zelkhost::EffectInstance::create (session.host(), session.effect(), audio.getNumChannels(), options, reason);
        if (instance == nullptr)
            return fail (reason);

        if (loadStatePath.isNotEmpty())
            if (const auto result = instance->restoreChunks (storedState); result != AAX_SUCCESS)
                return fail (resultText ("restoring the state", result));

        for (const auto& [id, normalised] : automation)
            if (const auto result = instance->automate (id, normalised); result != AAX_SUCCESS)
                return fail (resultText (("setting " + id).c_str(), result));

        const auto saveState = [&]
        {
            zelkhost::ChunkSet state;
            if (const auto result = instance->saveChunks (state); result != AAX_SUCCESS)
                return fail (resultText ("saving the state", result));
            return writeState (here.getChildFile (saveStatePath), state, error) ? 0 : fail (error);
        };

        if (saveStatePath.isNotEmpty() && view == nullptr)
            if (const auto failed = saveState())
                return failed;

        if (const auto result = instance->startProcessing(); result != AAX_SUCCESS)
            return fail (resultText ("preparing the plug-in", result));

        if (view != nullptr)
        {
            if (! view->run (*instance, audio, rate, (int) blockSize, here.getChildFile (snapshotPath), error))
                return fail (error);
            if (saveStatePath.isNotEmpty())
                if (const auto failed = saveState())
                    return failed;
            instance->uninitialize();
            if (snapshotPath.isNotEmpty())
                std::cout << "wrote " << here.getChildFile (snapshotPath).getFullPathName() << std::endl;
            return 0;
        }

        OfflineRender render { (int) blockSize };
        if (! render.run (*instance, audio, error))
            return fail (error);

        instance->uninitialize();
    }

    const auto output = here.getChildFile (outputPath);
    if (! writeAudio (output, audio, rate, error))
        return fail (error);

    std::cout << "wrote " << output.getFullPathName() << " (" << audio.getNumChannels() << " channels, "
              << audio.getNumSamples() << " samples at " << rate << " Hz)" << std::endl;
    return 0;
}
