// Writing the host's output files: the rendered audio, the stored state and
// the window's picture, by the rules of OutputTarget.h; and a new file that
// keeps a state that could not be stored where it was asked to be.
#pragma once

#include "OutputTarget.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace zelkhost
{
    /** Looks at `destination` now and writes what `write` produces there;
        for a file looked at once the run starts, use an OutputTarget made
        then. `what` names the file in messages (e.g. "the picture"). False
        with a message on failure. */
    bool writeOutputFile (const juce::File& destination, const StreamWriter& write, const juce::String& what, juce::String& error);

    /** Writes 32-bit float WAV. False with a message on failure. */
    bool writeWavFile (const OutputTarget& file, const juce::AudioBuffer<float>& audio, double sampleRate, juce::String& error);

    /** Writes the bytes as they are. False with a message on failure. */
    bool writeDataFile (const OutputTarget& file, const void* data, size_t size, juce::String& error);

    /** Writes the bytes to a file in `folder` that did not exist before
        (made exclusively): `stem` + `extension`, else `stem`-2 + `extension`
        and so on. The file in `written`; false with a message on failure. */
    bool writeNewDataFile (const juce::File& folder, const juce::String& stem, const juce::String& extension,
                           const void* data, size_t size, juce::File& written, juce::String& error);
}
