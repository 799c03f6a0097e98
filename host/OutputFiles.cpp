#include "OutputFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace zelkhost
{
    namespace
    {
        namespace fs = std::filesystem;

        using StreamWriter = std::function<bool (juce::OutputStream&)>;

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

        bool writeThroughHiddenSibling (const juce::File& file, const StreamWriter& write, const juce::String& failure, juce::String& error)
        {
            const auto temporary = file.getSiblingFile ("." + file.getFileName() + ".partial");
            temporary.deleteFile();

            bool written = false;
            {
                juce::FileOutputStream stream (temporary);
                written = stream.openedOk() && write (stream);
                stream.flush();
                written = written && stream.getStatus().wasOk();
            }

            if (! written || ! temporary.moveFileTo (file))
            {
                temporary.deleteFile();
                error = failure;
                return false;
            }
            return true;
        }

        /** A pipe or device takes the whole file in order: it cannot go back
            to complete a header, so the file is made in memory first. */
        bool writeDirectly (const juce::File& file, const StreamWriter& write, const juce::String& failure, juce::String& error)
        {
            juce::MemoryOutputStream bytes;
            if (! write (bytes))
            {
                error = failure;
                return false;
            }

            const int handle = ::open (file.getFullPathName().toRawUTF8(), O_WRONLY | O_CLOEXEC);
            if (handle < 0)
            {
                error = failure + ": " + juce::String (std::strerror (errno));
                return false;
            }

            const auto* data = static_cast<const char*> (bytes.getData());
            size_t remaining = bytes.getDataSize();
            while (remaining > 0)
            {
                const auto done = ::write (handle, data, remaining);
                if (done < 0 && errno == EINTR)
                    continue;
                if (done <= 0)
                {
                    error = failure + ": " + juce::String (std::strerror (errno));
                    ::close (handle);
                    return false;
                }
                data += done;
                remaining -= static_cast<size_t> (done);
            }

            if (::close (handle) != 0)
            {
                error = failure + ": " + juce::String (std::strerror (errno));
                return false;
            }
            return true;
        }

        bool writeOutputFile (const juce::File& destination, const StreamWriter& write, const juce::String& what, juce::String& error)
        {
            std::error_code problem;
            auto path = fs::weakly_canonical (fs::path (destination.getFullPathName().toStdString()), problem);
            if (problem)
                path = destination.getFullPathName().toStdString();

            const juce::File file (juce::String (path.string()));
            const auto failure = "cannot write " + what + (what.isEmpty() ? "" : " ") + file.getFullPathName();

            switch (fs::status (path, problem).type())
            {
                case fs::file_type::directory:
                    error = failure + ": it is a folder; give a file name";
                    return false;

                case fs::file_type::fifo:
                case fs::file_type::character:
                case fs::file_type::block:
                case fs::file_type::socket:
                    return writeDirectly (file, write, failure, error);

                default:
                    return writeThroughHiddenSibling (file, write, failure, error);
            }
        }
    }

    bool writeWavFile (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, juce::String& error)
    {
        return writeOutputFile (file, [&] (juce::OutputStream& out)
        {
            juce::WavAudioFormat wav;
            auto stream = std::make_unique<StreamReference> (out);
            std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate,
                                                                                  (unsigned int) audio.getNumChannels(), 32, {}, 0));
            if (writer == nullptr)
                return false;

            stream.release(); // the writer owns it now
            return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
        }, {}, error);
    }

    bool writeDataFile (const juce::File& file, const void* data, size_t size, const juce::String& what, juce::String& error)
    {
        return writeOutputFile (file, [&] (juce::OutputStream& out) { return out.write (data, size); }, what, error);
    }
}
