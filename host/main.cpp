// zelk_host: the stand-in host. Renders audio through the plug-in offline:
//   zelk_host [--input in.wav] [--output out.wav] [--block N] [ID=VALUE ...]
// With no input it renders a built-in test signal.

#include "OfflineRender.h"
#include "ParameterAssignments.h"

#include "engine/MultiAudioProcessor.h"

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
        "  ID=VALUE          set a parameter in its own units before rendering,\n"
        "                    e.g. type-2=7 numCrossovers=3 output=-6\n";

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
}

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;

    juce::String inputPath, outputPath = "out.wav";
    double blockSize = 512, rate = 48000, seconds = 2;
    bool list = false;
    juce::StringArray assignments;

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
        else if (arg == "--input")               { if (! next (inputPath)) return fail ("--input needs a file"); }
        else if (arg == "--output")              { if (! next (outputPath)) return fail ("--output needs a file"); }
        else if (arg == "--block")               { if (! next (value) || ! parsePositive (value, 1, 65536, blockSize) || blockSize != std::floor (blockSize))
                                                       return fail ("--block needs a whole number from 1 to 65536"); }
        else if (arg == "--rate")                { if (! next (value) || ! parsePositive (value, 8000, 384000, rate))
                                                       return fail ("--rate needs a sample rate from 8000 to 384000"); }
        else if (arg == "--seconds")             { if (! next (value) || ! parsePositive (value, 0.001, 600, seconds))
                                                       return fail ("--seconds needs a length from 0.001 to 600"); }
        else if (arg.startsWith ("-"))           return fail ("unknown option " + arg + "\n" + usage);
        else                                     assignments.add (arg);
    }

    MultiAudioProcessor processor;

    if (list)
    {
        listParameters (processor);
        return 0;
    }

    std::vector<ParameterAssignment> parsed;
    for (auto& text : assignments)
    {
        ParameterAssignment assignment;
        juce::String error;
        if (! parseParameterAssignment (text, processor, assignment, error))
            return fail (error);
        parsed.push_back (assignment);
    }

    juce::AudioBuffer<float> audio;
    juce::String error;
    if (inputPath.isNotEmpty())
    {
        if (! readAudio (juce::File::getCurrentWorkingDirectory().getChildFile (inputPath), audio, rate, error))
            return fail (error);
    }
    else
    {
        audio = makeTestSignal (rate, seconds, 2);
    }

    for (auto& assignment : parsed)
        applyParameterAssignment (assignment, processor);

    OfflineRender render { rate, (int) blockSize };
    if (! render.run (processor, audio, error))
        return fail (error);

    const auto output = juce::File::getCurrentWorkingDirectory().getChildFile (outputPath);
    if (! writeAudio (output, audio, rate, error))
        return fail (error);

    std::cout << "wrote " << output.getFullPathName() << " (" << audio.getNumChannels() << " channels, "
              << audio.getNumSamples() << " samples at " << rate << " Hz)" << std::endl;
    return 0;
}
