#include "OutputFiles.h"
#include "Utf8Check.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace zelkhost
{
    namespace
    {
        namespace fs = std::filesystem;

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

        /** Writes all the bytes to an open file; false with errno set. */
        bool writeAll (int handle, const void* bytes, size_t size)
        {
            const auto* data = static_cast<const char*> (bytes);
            while (size > 0)
            {
                const auto done = ::write (handle, data, size);
                if (done < 0 && errno == EINTR)
                    continue;
                if (done <= 0)
                {
                    if (done == 0)
                        errno = EIO;
                    return false;
                }
                data += done;
                size -= static_cast<size_t> (done);
            }
            return true;
        }

        /** A new, empty file beside `file`, hidden and named for this run
            alone (the process and a counter), made exclusively. An invalid
            File with the reason when none can be made. */
        juce::File makeHiddenSibling (const juce::File& file, juce::String& problem)
        {
            static std::atomic<unsigned int> serial { 0 };

            auto name = file.getFileName();
            while (name.getNumBytesAsUTF8() > 200)    // room for the additions within a file name's 255 bytes
                name = name.dropLastCharacters (1);

            for (int attempt = 0; attempt < 100; ++attempt)
            {
                const auto candidate = file.getSiblingFile ("." + name + "." + juce::String (::getpid()) + "-"
                                                            + juce::String (++serial) + ".partial");
                const int handle = ::open (candidate.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                if (handle >= 0)
                {
                    ::close (handle);
                    return candidate;
                }
                if (errno != EEXIST)
                {
                    problem = whyNotCreated (candidate, errno);
                    return {};
                }
            }
            problem = "no unused temporary name beside it";
            return {};
        }

        /** What stands at `file` now when a rename may not replace it (only
            a regular file or nothing may be): something put there while the
            data was being made is left alone. Empty when it may. */
        juce::String kindNotToReplace (const juce::File& file)
        {
            std::error_code failed;
            switch (fs::symlink_status (file.getFullPathName().toStdString(), failed).type())
            {
                case fs::file_type::symlink:   return "a symbolic link";
                case fs::file_type::directory: return "a folder";
                case fs::file_type::fifo:      return "a pipe";
                case fs::file_type::character:
                case fs::file_type::block:     return "a device";
                case fs::file_type::socket:    return "a socket";
                default:                       return {};
            }
        }

        bool writeThroughHiddenSibling (const juce::File& file, const StreamWriter& write, const juce::String& failure, juce::String& error)
        {
            juce::String problem;
            const auto temporary = makeHiddenSibling (file, problem);
            if (temporary == juce::File())
            {
                error = failure + ": " + problem;
                return false;
            }

            bool written = false;
            {
                juce::FileOutputStream stream (temporary);
                written = stream.openedOk() && write (stream);
                stream.flush();
                written = written && stream.getStatus().wasOk();
            }

            if (const auto kind = written ? kindNotToReplace (file) : juce::String(); kind.isNotEmpty())
            {
                error = failure + ": " + kind + " was put there while it was being written; it is left as it is, and nothing was written";
                temporary.deleteFile();
                return false;
            }

            // rename() replaces the old file in one step: there is always a whole one.
            if (written && std::rename (temporary.getFullPathName().toRawUTF8(), file.getFullPathName().toRawUTF8()) == 0)
                return true;

            error = failure + (written ? ": " + errorText (errno) : juce::String());
            temporary.deleteFile();
            return false;
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
                error = failure + ": " + errorText (errno);
                return false;
            }

            const bool written = writeAll (handle, bytes.getData(), bytes.getDataSize());
            const auto code = errno;
            if (::close (handle) != 0 || ! written)
            {
                error = failure + ": " + errorText (written ? errno : code);
                return false;
            }
            return true;
        }

        /** The path a write goes to: the destination with every symbolic
            link followed, also one that points at nothing yet. False with
            the reason when a link cannot be followed (links that form a
            loop, one that cannot be read) or leads to a name that is not
            UTF-8 text (see Utf8Check.h). */
        bool resolvePath (const juce::File& destination, fs::path& path, juce::String& problem)
        {
            path = destination.getFullPathName().toStdString();
            std::error_code failure;
            for (int links = 0; links < 40 && ! failure; ++links)
            {
                const auto resolved = fs::weakly_canonical (path, failure);
                if (failure)
                    break;
                if (! fs::is_symlink (fs::symlink_status (resolved, failure)))
                {
                    path = resolved;
                    if (zelkhost::firstInvalidUtf8Byte (path.c_str(), path.native().size()) < 0)
                        return true;
                    problem = "a symbolic link leads to a name that is not valid UTF-8";
                    return false;
                }
                const auto target = fs::read_symlink (resolved, failure);
                path = target.is_absolute() ? target : resolved.parent_path() / target;
            }
            problem = "its symbolic links cannot be followed: "
                      + (failure ? juce::String (failure.message()) : juce::String (std::strerror (ELOOP)));
            return false;
        }

        /** Where a write goes, what stands there and how to name it in a message. */
        struct Destination
        {
            explicit Destination (const juce::File& destination, const juce::String& what)
            {
                fs::path path;
                const auto resolved = resolvePath (destination, path, problem);
                std::error_code failed;
                file = juce::File (juce::String (path.string()));
                type = resolved ? fs::status (path, failed).type() : fs::file_type::none;
                failure = "cannot write " + what + (what.isEmpty() ? "" : " ") + (resolved ? file : destination).getFullPathName();
            }

            bool isFolder() const { return type == fs::file_type::directory; }

            bool takesDataDirectly() const
            {
                return type == fs::file_type::fifo || type == fs::file_type::character
                    || type == fs::file_type::block || type == fs::file_type::socket;
            }

            /** Why nothing is written there; empty when it can be. */
            juce::String refusal() const
            {
                if (problem.isNotEmpty())
                    return failure + ": " + problem;
                return isFolder() ? failure + ": it is a folder; give a file name" : juce::String();
            }

            juce::File file;
            fs::file_type type = fs::file_type::none;
            juce::String failure, problem;
        };
    }

    bool writeOutputFile (const juce::File& destination, const StreamWriter& write, const juce::String& what, juce::String& error)
    {
        const Destination target (destination, what);
        if (const auto refusal = target.refusal(); refusal.isNotEmpty())
        {
            error = refusal;
            return false;
        }
        return target.takesDataDirectly() ? writeDirectly (target.file, write, target.failure, error)
                                           : writeThroughHiddenSibling (target.file, write, target.failure, error);
    }

    bool checkOutputFile (const juce::File& destination, const juce::String& what, juce::String& error)
    {
        const Destination target (destination, what);
        if (const auto refusal = target.refusal(); refusal.isNotEmpty())
        {
            error = refusal;
            return false;
        }

        if (target.takesDataDirectly())
        {
            if (::access (target.file.getFullPathName().toRawUTF8(), W_OK) == 0)
                return true;
            error = target.failure + ": " + errorText (errno);
            return false;
        }

        juce::String problem;
        const auto trial = makeHiddenSibling (target.file, problem);
        if (trial == juce::File())
        {
            error = target.failure + ": " + problem;
            return false;
        }
        trial.deleteFile();
        return true;
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

            const bool complete = writeAll (handle, data, size);
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
