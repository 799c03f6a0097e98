// The host's audio input: a WAV or AIFF file, recognised by its content.
//
// The file's chunks are checked against the file's real size before anything
// is read, so a header never decides an allocation: only the sample frames
// the file holds are read (a truncated file gives a warning), and a file
// whose format cannot be read is refused with the reason and, where there is
// one, what to do about it.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace zelkhost
{
    struct AudioFileContents
    {
        juce::AudioBuffer<float> audio;
        double sampleRate = 0.0;
        juce::String warning;   ///< empty, or what the user should know (e.g. a truncated file)
    };

    /** Reads a mono or stereo WAV or AIFF file; false with a message when it
        cannot be used. */
    bool readAudioFile (const juce::File& file, AudioFileContents& contents, juce::String& error);
}
