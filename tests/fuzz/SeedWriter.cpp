// Writes the seed corpora of the fuzz programs: valid examples made by the
// plug-in's own code, one folder per program.
//   fuzz_seed_writer OUTPUT_FOLDER
// tests/fuzz/corpus was made with it; run it again after a format change.
#include "client/ClientTestHost.h"
#include "FuzzSupport.h"

#include "AAX_CChunkDataParser.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CString.h"
#include "ChunkSet.h"
#include "engine/MultiAudioProcessor.h"
#include "presets/ParameterSetXml.h"
#include "presets/PresetsHolder.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <tuple>
#include <vector>

namespace
{
    using Bytes = std::vector<uint8_t>;

    void writeSeed (const juce::File& root, const char* program, const char* name, const void* data, size_t size)
    {
        const auto folder = root.getChildFile (program);
        folder.createDirectory();

        if (! folder.getChildFile (name).replaceWithData (data, size))
            fuzzsupport::fail ("could not write a seed");

        std::printf ("%s/%s: %zu bytes\n", program, name, size);
    }

    void writeSeed (const juce::File& root, const char* program, const char* name, const Bytes& bytes)
    {
        writeSeed (root, program, name, bytes.data(), bytes.size());
    }

    Bytes withSelector (uint8_t selector, const Bytes& data)
    {
        Bytes bytes { selector };
        bytes.insert (bytes.end(), data.begin(), data.end());
        return bytes;
    }

    /** Moves every fifth parameter away from its default. */
    void changeSomeParameters (juce::AudioProcessor& processor)
    {
        const auto& parameters = processor.getParameters();

        for (int i = 0; i < parameters.size(); i += 5)
            parameters[i]->setValueNotifyingHost (static_cast<float> ((i % 7) + 1) / 8.0f);
    }

    Bytes controlsChunkOfEveryType()
    {
        AAX_CChunkDataParser parser;
        parser.AddFloat ("gain", 0.5f);
        parser.AddInt32 ("count", -3);
        parser.AddDouble ("frequency", 1234.5);
        parser.AddInt16 ("steps", 7);
        parser.AddString ("label", AAX_CString ("low band"));

        std::vector<uint8_t> record (kAAX_SPlugInChunkHeaderSize + static_cast<size_t> (parser.GetChunkDataSize()));
        auto* chunk = clienttest::AsChunk (record);

        if (parser.GetChunkData (chunk) != AAX_SUCCESS)
            fuzzsupport::fail ("could not write the chunk of every type");

        return clienttest::ChunkData (record);
    }

    zelkhost::StoredChunk storedChunk (const std::vector<uint8_t>& record)
    {
        const auto* chunk = reinterpret_cast<const AAX_SPlugInChunk*> (record.data());
        zelkhost::StoredChunk stored;
        stored.id = chunk->fChunkID;
        stored.version = chunk->fVersion;
        stored.name = std::string (chunk->fName, ::strnlen (chunk->fName, sizeof (chunk->fName)));
        const auto data = clienttest::ChunkData (record);
        stored.data.assign (data.begin(), data.end());
        return stored;
    }

    std::string fileText (const juce::XmlElement& presets)
    {
        return presets.toString (juce::XmlElement::TextFormat()).toStdString();
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }

    const auto root = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
    fuzzsupport::isolateUserFolders();

    fakehost::FakeHost host;
    fakehost::ScopedStartup startup { host };
    clienttest::HostedEffect instance { host };

    if (instance.initializeResult != AAX_SUCCESS)
        fuzzsupport::fail ("the effect did not initialise");

    // Saved as a host saves them: the default instance, then a changed one.
    const auto defaultControls = instance.SaveChunk (kControlsChunkID);
    const auto defaultState = instance.SaveChunk (aaxclient::kProcessorStateChunkID);
    changeSomeParameters (instance.Processor());
    const auto changedControls = instance.SaveChunk (kControlsChunkID);
    const auto changedState = instance.SaveChunk (aaxclient::kProcessorStateChunkID);

    writeSeed (root, "controls_chunk", "default", clienttest::ChunkData (defaultControls));
    writeSeed (root, "controls_chunk", "every-type", controlsChunkOfEveryType());

    writeSeed (root, "effect_chunk", "elck-default", withSelector (0, clienttest::ChunkData (defaultControls)));
    writeSeed (root, "effect_chunk", "elck-changed", withSelector (0, clienttest::ChunkData (changedControls)));
    writeSeed (root, "effect_chunk", "juce-default", withSelector (1, clienttest::ChunkData (defaultState)));
    writeSeed (root, "effect_chunk", "juce-changed", withSelector (1, clienttest::ChunkData (changedState)));

    writeSeed (root, "processor_state", "default", clienttest::ChunkData (defaultState));
    writeSeed (root, "processor_state", "changed", clienttest::ChunkData (changedState));

    // presets.xml: the factory file, the same with two user entries, and
    // a file of one short user entry.
    auto presets = PresetsHolder::createFactoryPresets();
    const auto factoryText = fileText (presets);
    writeSeed (root, "presets_xml", "factory", factoryText.data(), factoryText.size());

    for (int i = 0; i < 2; ++i)
        captureParametersToXml (instance.Processor(), *presets.createNewChildElement ("preset" + juce::String (presets.getNumChildElements() + 1)));
    const auto userText = fileText (presets);
    writeSeed (root, "presets_xml", "with-user-entries", userText.data(), userText.size());

    const std::string shortFile = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<PRESETS>\r\n"
                                  "  <mine output=\"0.25\" numCrossovers=\"0.5\" type1=\"nan\"/>\r\n</PRESETS>\r\n";
    writeSeed (root, "presets_xml", "short", shortFile.data(), shortFile.size());

    // The host's state file: both chunks of the changed instance, and none.
    zelkhost::ChunkSet chunks;
    chunks.chunks.push_back (storedChunk (changedControls));
    chunks.chunks.push_back (storedChunk (changedState));
    const auto stateFile = chunks.serialise();
    writeSeed (root, "host_state_file", "two-chunks", stateFile.data(), stateFile.size());
    const auto emptyFile = zelkhost::ChunkSet().serialise();
    writeSeed (root, "host_state_file", "empty", emptyFile.data(), emptyFile.size());

    // The host's audio input: a short tone as 16-bit mono WAV, 32-bit float
    // stereo WAV and 24-bit AIFF.
    juce::AudioBuffer<float> tone (2, 64);
    for (int i = 0; i < tone.getNumSamples(); ++i)
        for (int channel = 0; channel < 2; ++channel)
            tone.setSample (channel, i, 0.5f * std::sin (0.3f * (float) (i + channel)));
    juce::WavAudioFormat wav;
    juce::AiffAudioFormat aiff;
    for (const auto& [format, name, channels, bits] : { std::tuple<juce::AudioFormat*, const char*, unsigned, int> { &wav, "wav-16-mono", 1, 16 },
                                                         { &wav, "wav-float-stereo", 2, 32 }, { &aiff, "aiff-24-stereo", 2, 24 } })
    {
        juce::MemoryBlock file;
        std::unique_ptr<juce::AudioFormatWriter> (format->createWriterFor (new juce::MemoryOutputStream (file, false), 44100.0, channels, bits, {}, 0))
            ->writeFromAudioSampleBuffer (tone, 0, tone.getNumSamples());
        writeSeed (root, "audio_file", name, file.getData(), file.getSize());
    }

    instance.Close();
    return 0;
}
