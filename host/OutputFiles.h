// Writing the host's output files: the rendered audio and the stored state.
//
// What stands at the destination decides how it is written:
// - a new path or a regular file: the data goes to a hidden file beside it,
//   which is renamed into place once complete, so a failure never leaves a
//   partial file and never harms the old one;
// - a named pipe, a device or a socket: written to directly, never replaced;
// - a folder: refused.
// A symbolic link is followed to what it points at.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace zelkhost
{
    /** Writes 32-bit float WAV. False with a message on failure. */
    bool writeWavFile (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, juce::String& error);

    /** Writes the bytes as they are; `what` names the file in messages
        (e.g. "the state file"). False with a message on failure. */
    bool writeDataFile (const juce::File& file, const void* data, size_t size, const juce::String& what, juce::String& error);
}
