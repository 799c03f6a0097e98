// zelk_host: the stand-in host. Loads the plug-in bundle, registers it and
// renders audio through an instance of it offline:
//   zelk_host [--bundle PATH] [--input in.wav] [--output out.wav] [--block N]
//             [--load-state FILE] [--save-state FILE] [ID=VALUE ...]
//   zelk_host --gui [--input in.wav] [ID=VALUE ...]      shows the plug-in's window
//   zelk_host --snapshot FILE.png [--input in.wav] [...] writes a picture of it
// With no input it renders a built-in test signal.

#include "AAX_Errors.h"
#include "AudioFileInput.h"
#include "ChunkSet.h"
#include "DescriptionPrinter.h"
#include "EffectInstance.h"
#include "OfflineRender.h"
#include "OutputFiles.h"
#include "ParameterAssignments.h"
#include "ParameterCatalogue.h"
#include "PluginSession.h"
#include "StoredState.h"
#include "Utf8Check.h"
#include "ViewSession.h"
#include "XErrorHandler.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <unistd.h>

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
                          << exactValueText (range.start) << " .. " << exactValueText (range.end) << "\tdefault "
                          << exactValueText (range.convertFrom0to1 (ranged->getDefaultValue())) << "\n";
            }
    }

    juce::String resultText (const char* what, AAX_Result result)
    {
        return juce::String (what) + " failed (result " + juce::String (result) + ")";
    }

    /** Why argument `index` cannot be taken as text (see Utf8Check.h);
        empty when it can. */
    juce::String argumentProblem (int index, char* argv[])
    {
        const auto bad = zelkhost::firstInvalidUtf8Byte (argv[index], std::strlen (argv[index]));
        if (bad < 0)
            return {};
        const auto previous = index > 1 ? juce::String (juce::CharPointer_UTF8 (argv[index - 1])) : juce::String();
        const auto after = previous.startsWith ("-") ? " (after " + previous + ")" : juce::String();
        return "argument " + juce::String (index) + after + " is not valid UTF-8: byte " + juce::String (bad + 1) + " is 0x"
               + juce::String::toHexString ((int) (uint8_t) argv[index][bad]).toUpperCase()
               + "; paths and values are taken only as UTF-8 text, so that no file is written under another name";
    }

    /** Whether the working folder's name is UTF-8 text, as relative paths
        are taken from it (a folder that cannot be named at all fails later,
        with its own reason). */
    bool workingFolderIsText()
    {
        std::string name (4096, '\0');
        while (::getcwd (name.data(), name.size()) == nullptr)
            if (errno != ERANGE || name.size() > (1u << 20))
                return true;
            else
                name.resize (name.size() * 2);
        return zelkhost::firstInvalidUtf8Byte (name.c_str(), std::strlen (name.c_str())) < 0;
    }
}

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;

    // The host kit's record of every call is for tests; with a window open
    // for hours it would only grow.
    zelkhost::callRecordsKept = false;

    juce::String inputPath, outputPath = "out.wav", bundlePath, loadStatePath, saveStatePath;
    double blockSize = 512, rate = 48000, seconds = 2;
    bool list = false, describe = false;
    juce::StringArray assignments;
    std::unique_ptr<ViewSession> view;
    juce::String snapshotPath;
    bool outputGiven = false;

    for (int i = 1; i < argc; ++i)
        if (const auto problem = argumentProblem (i, argv); problem.isNotEmpty())
            return fail (problem);

    for (int i = 1; i < argc; ++i)
    {
        const juce::String arg = juce::CharPointer_UTF8 (argv[i]);
        auto next = [&] (juce::String& into) {
            if (i + 1 >= argc)
                return false;
            into = juce::CharPointer_UTF8 (argv[++i]);
            return true;
        };
        // An empty path names no file: it is refused, never taken as "not given".
        auto nextPath = [&] (juce::String& into) { return next (into) && into.isNotEmpty(); };
        auto needs = [&] (const juce::String& message) { return fail (message + (argv[i][0] == '\0' ? " (an empty path names none)" : "")); };
        juce::String value;

        if (arg == "--help" || arg == "-h")      { std::cout << usage; return 0; }
        else if (arg == "--list")                list = true;
        else if (arg == "--describe")            describe = true;
        else if (arg == "--gui")                 { if (view != nullptr) return fail ("--gui and --snapshot exclude each other");
                                                   view = std::make_unique<ViewSession> (ViewSession::Mode::window); }
        else if (arg == "--snapshot")            { if (view != nullptr || ! nextPath (snapshotPath))
                                                       return needs ("--snapshot needs a file, and excludes --gui");
                                                   view = std::make_unique<ViewSession> (ViewSession::Mode::snapshot); }
        else if (arg == "--input")               { if (! nextPath (inputPath)) return needs ("--input needs a file"); }
        else if (arg == "--output")              { if (! nextPath (outputPath)) return needs ("--output needs a file");
                                                   outputGiven = true; }
        else if (arg == "--bundle")              { if (! nextPath (bundlePath)) return needs ("--bundle needs a path"); }
        else if (arg == "--load-state")          { if (! nextPath (loadStatePath)) return needs ("--load-state needs a file"); }
        else if (arg == "--save-state")          { if (! nextPath (saveStatePath)) return needs ("--save-state needs a file"); }
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

    for (const auto* path : { &inputPath, &outputPath, &bundlePath, &loadStatePath, &saveStatePath, &snapshotPath })
        if (path->isNotEmpty() && ! juce::File::isAbsolutePath (*path) && ! workingFolderIsText())
            return fail ("the working folder's path is not valid UTF-8, so " + *path + " cannot be found from it; give absolute paths");

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

    // Every file the run writes is looked at before anything runs: one that
    // cannot be written is refused, and so are two options naming one file.
    // Each is written at the end only if what was found then still stands there.
    const auto here = juce::File::getCurrentWorkingDirectory();
    struct Output { juce::String option, path, what; std::unique_ptr<zelkhost::OutputTarget> target; };
    Output outputs[] {
        { outputGiven ? "--output" : "the output (" + outputPath + " unless --output is given)", view == nullptr ? outputPath : juce::String(), "", {} },
        { "--save-state", saveStatePath, "the state file", {} },
        { "--snapshot", snapshotPath, "the picture", {} },
    };
    const auto& outputTarget = outputs[0].target;
    const auto& stateTarget = outputs[1].target;
    const auto& snapshotTarget = outputs[2].target;
    for (auto& output : outputs)
        if (! describe && output.path.isNotEmpty())
        {
            output.target = std::make_unique<zelkhost::OutputTarget> (here.getChildFile (output.path), output.what);
            if (const auto& refusal = output.target->refusal(); refusal.isNotEmpty())
                return fail (refusal);
        }
    for (auto* first = std::begin (outputs); first != std::end (outputs); ++first)
        for (auto* second = first + 1; second != std::end (outputs); ++second)
            if (first->target != nullptr && second->target != nullptr && first->target->sharesFileWith (*second->target))
                return fail (first->option + " and " + second->option + " both name " + first->target->file().getFullPathName()
                             + ": one would be written over the other; give each its own file");

    juce::String error;
    zelkhost::ChunkSet storedState;
    if (loadStatePath.isNotEmpty() && ! zelkhost::readStateFile (here.getChildFile (loadStatePath), storedState, error))
        return fail (error);

    juce::AudioBuffer<float> audio;
    if (! describe)
    {
        if (inputPath.isNotEmpty())
        {
            zelkhost::AudioFileContents input;
            if (! zelkhost::readAudioFile (here.getChildFile (inputPath), input, error))
                return fail (error);
            if (input.warning.isNotEmpty())
                std::cerr << "zelk_host: warning: " << input.warning << std::endl;
            audio = std::move (input.audio);
            rate = input.sampleRate;
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

        if (loadStatePath.isNotEmpty() && ! zelkhost::restoreState (*instance, session.host().services(), std::move (storedState), error))
            return fail (error);

        for (const auto& [id, normalised] : automation)
            if (const auto result = instance->automate (id, normalised); result != AAX_SUCCESS)
                return fail (resultText (("setting " + id).c_str(), result));

        // After a window session the state is the user's work: when its file
        // cannot be written after all, it is kept in a new file instead.
        const auto saveState = [&]
        {
            zelkhost::ChunkSet state;
            if (const auto result = instance->saveChunks (state); result != AAX_SUCCESS)
                return fail (resultText ("saving the state", result));
            const bool written = view != nullptr
                ? zelkhost::writeStateFileOrKeepIt (*stateTarget, { here, juce::File::getSpecialLocation (juce::File::tempDirectory) }, state, error)
                : zelkhost::writeStateFile (*stateTarget, state, error);
            return written ? 0 : fail (error);
        };

        if (saveStatePath.isNotEmpty() && view == nullptr)
            if (const auto failed = saveState())
                return failed;

        if (const auto result = instance->startProcessing(); result != AAX_SUCCESS)
            return fail (resultText ("preparing the plug-in", result));

        if (view != nullptr)
        {
            // A lost display ends the process at once: the state is stored
            // first, and once stored, the status stays what it was.
            zelkhost::setDisplayLossAction ([&] { return saveStatePath.isNotEmpty() ? saveState() : 0; });
            const auto status = view->run (*instance, audio, rate, (int) blockSize, snapshotTarget.get(), error)
                                    ? (saveStatePath.isNotEmpty() ? saveState() : 0) : fail (error);
            zelkhost::setDisplayLossAction ([status] { return status; });
            if (status != 0)
                return status;
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

    if (! zelkhost::writeWavFile (*outputTarget, audio, rate, error))
        return fail (error);
    const auto output = here.getChildFile (outputPath);

    std::cout << "wrote " << output.getFullPathName() << " (" << audio.getNumChannels() << " channels, "
              << audio.getNumSamples() << " samples at " << rate << " Hz)" << std::endl;
    return 0;
}
