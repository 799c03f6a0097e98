#include "OutputFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zelkhost
{
    namespace
    {
        /** Lets a format writer, which deletes its stream, write into a
            stream owned elsewhere. */
        class StreamReference final : public juce::OutputStream
        {
        public:
            explicit StreamReference (juce::OutputStream& streamToUse) : target (streamToUse) {}

            void flush() override                               { target.flush(); }
            bool setPosition (juce::int64 position) override    { return target.setPosition (position); }
            juce::int64 getPosition() override                  { return target.getPosition(); }
            bool write (const void* data, size_t size) override { return target.write (data, size); }

        private:
            juce::OutputStream& target;
        };

        juce::String errorText (int code) { return juce::String (std::strerror (code)); }

        /** Why `file` could not be created (`code` from open), in words. */
        juce::String whyNotCreated (const juce::File& file, int code)
        {
            const auto folder = file.getParentDirectory();
            if (! folder.exists())
                return "its folder " + folder.getFullPathName() + " does not exist";
            if (! folder.isDirectory())
                return folder.getFullPathName() + " is not a folder";
            return errorText (code);
        }
    }

    bool writeOutputFile (const juce::File& destination, const StreamWriter& write, const juce::String& what, juce::String& error)
    {
        return OutputTarget (destination, what).write (write, error);
    }

    bool writeWavFile (const OutputTarget& file, const juce::AudioBuffer<float>& audio, double sampleRate, juce::String& error)
    {
        return file.write ([&] (juce::OutputStream& out)
        {
            juce::WavAudioFormat wav;
            auto stream = std::make_unique<StreamReference> (out);
            std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate,
                                                                                  (unsigned int) audio.getNumChannels(), 32, {}, 0));
            if (writer == nullptr)
                return false;

            stream.release(); // the writer owns it now
            return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
        }, error);
    }

    bool writeDataFile (const OutputTarget& file, const void* data, size_t size, juce::String& error)
    {
        return file.write ([&] (juce::OutputStream& out) { return out.write (data, size); }, error);
    }

    bool writeNewDataFile (const juce::File& folder, const juce::String& stem, const juce::String& extension,
                           const void* data, size_t size, juce::File& written, juce::String& error)
    {
        for (int number = 1; number <= 10000; ++number)
        {
            const auto candidate = folder.getChildFile (stem + (number > 1 ? "-" + juce::String (number) : juce::String()) + extension);
            const int handle = ::open (candidate.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (handle < 0 && errno == EEXIST)
                continue;
            if (handle < 0)
            {
                error = "cannot write " + candidate.getFullPathName() + ": " + whyNotCreated (candidate, errno);
                return false;
            }

            const bool complete = writeAllBytes (handle, data, size);
            const auto code = errno;
            if (::close (handle) != 0 || ! complete)
            {
                error = "cannot write " + candidate.getFullPathName() + ": " + errorText (complete ? errno : code);
                candidate.deleteFile();
                return false;
            }
            written = candidate;
            return true;
        }
        error = "no unused name for " + stem + extension + " in " + folder.getFullPathName();
        return false;
    }
}
