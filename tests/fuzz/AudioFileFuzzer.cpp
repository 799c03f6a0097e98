// The stand-in host's audio input: the input is a WAV or AIFF file's bytes.
//
// Reading never looks outside the file (the sanitizers watch) nor allocates
// by what a header claims (libFuzzer's memory limit watches): a file read
// gives no more samples than it has bytes, and a file refused says why.
#include "AudioFileInput.h"
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;

    static const auto file = juce::File::createTempFile (".audio");
    file.replaceWithData (data, size);

    zelkhost::AudioFileContents contents;
    juce::String error;

    if (! zelkhost::readAudioFile (file, contents, error))
    {
        fuzzsupport::require (error.isNotEmpty(), "a refused file gave no reason");
        return 0;
    }

    const auto samples = (size_t) contents.audio.getNumSamples() * (size_t) contents.audio.getNumChannels();
    fuzzsupport::require (samples > 0 && samples <= size, "more samples than the file has bytes");
    return 0;
}
