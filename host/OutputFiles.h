// Writing the host's output files: the rendered audio, the stored state and
// the window's picture.
//
// What stands at the destination decides how it is written:
// - a new path or a regular file: the data goes to a hidden file beside it,
//   made for this run alone, which is renamed into place once complete, so
//   a failure never leaves a partial file and never harms the old one, and
//   runs writing the same file at once each leave a whole one; should
//   something else (a link, a pipe, a folder) have been put there meanwhile,
//   it is left alone and nothing is written;
// - a named pipe, a device or a socket: written to directly, never replaced;
// - a folder: refused.
// A symbolic link is followed to what it points at, which is written or
// replaced; the link stays. Links that cannot be followed (a loop) are
// refused with the reason, and so is a link that leads to a name that is
// not UTF-8 text (see Utf8Check.h).
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <functional>

namespace zelkhost
{
    /** Puts a file's whole contents into a stream; false on failure. */
    using StreamWriter = std::function<bool (juce::OutputStream&)>;

    /** Writes what `write` produces to `destination` by the rules above;
        `what` names the file in messages (e.g. "the picture"). False with a
        message on failure. */
    bool writeOutputFile (const juce::File& destination, const StreamWriter& write, const juce::String& what, juce::String& error);

    /** Writes 32-bit float WAV. False with a message on failure. */
    bool writeWavFile (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, juce::String& error);

    /** Writes the bytes as they are; `what` names the file in messages
        (e.g. "the state file"). False with a message on failure. */
    bool writeDataFile (const juce::File& file, const void* data, size_t size, const juce::String& what, juce::String& error);

    /** Whether writeOutputFile could write `destination` now: false with
        the reason when it is a folder, its folder is missing or not
        writable, or a pipe or device there cannot be written. Leaves
        nothing behind. */
    bool checkOutputFile (const juce::File& destination, const juce::String& what, juce::String& error);

    /** Writes the bytes to a file in `folder` that did not exist before
        (made exclusively): `stem` + `extension`, else `stem`-2 + `extension`
        and so on. The file in `written`; false with a message on failure. */
    bool writeNewDataFile (const juce::File& folder, const juce::String& stem, const juce::String& extension,
                           const void* data, size_t size, juce::File& written, juce::String& error);
}
