// Checking and reading the host's input files (the audio input and the
// stored state): only a regular file, or a symbolic link to one, is read. A
// folder, pipe, device or socket is refused, checked before the file is
// opened and again on the opened file (opened without waiting, should a pipe
// have been put there meanwhile), so that the host never waits for a writer
// nor reads without end; so is a file larger than the reader can sensibly
// hold.
//
// Header only: the audio file fuzzer compiles the audio input without the
// rest of the host.
#pragma once

#include <juce_core/juce_core.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkhost
{
    namespace inputfiles
    {
        inline juce::String whyNotAFile (const struct stat& status)
        {
            if (S_ISDIR (status.st_mode))  return "it is a folder";
            if (S_ISFIFO (status.st_mode)) return "it is a pipe, not a regular file";
            if (S_ISCHR (status.st_mode) || S_ISBLK (status.st_mode)) return "it is a device, not a regular file";
            if (S_ISSOCK (status.st_mode)) return "it is a socket, not a regular file";
            if (! S_ISREG (status.st_mode)) return "it is not a regular file";
            return {};
        }

        inline juce::String whyTooLarge (const struct stat& status, juce::int64 largestSize)
        {
            if ((juce::int64) status.st_size <= largestSize)
                return {};
            return "it is " + juce::String ((juce::int64) status.st_size) + " bytes, more than the "
                   + juce::String (largestSize) + " bytes it can be at most";
        }
    }

    /** Why `file` cannot be read as an input file, e.g. "it does not exist"
        or "it is a pipe, not a regular file"; empty when it can. */
    inline juce::String inputFileProblem (const juce::File& file,
                                          juce::int64 largestSize = std::numeric_limits<juce::int64>::max())
    {
        struct stat status {};
        if (::stat (file.getFullPathName().toRawUTF8(), &status) != 0)
            return errno == ENOENT ? juce::String ("it does not exist") : juce::String (std::strerror (errno));

        const auto kind = inputfiles::whyNotAFile (status);
        return kind.isNotEmpty() ? kind : inputfiles::whyTooLarge (status, largestSize);
    }

    /** Opens `file` for reading after the checks above, so that a pipe put
        there meanwhile cannot make it wait, and checks the opened file
        again. The handle (the caller closes it) and the file's size, or -1
        with the reason in `problem`. */
    inline int openInputFile (const juce::File& file, juce::int64 largestSize, juce::int64& size, juce::String& problem)
    {
        problem = inputFileProblem (file, largestSize);
        if (problem.isNotEmpty())
            return -1;

        const int handle = ::open (file.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat status {};
        if (handle < 0 || ::fstat (handle, &status) != 0)
            problem = juce::String (std::strerror (errno));
        else if (const auto kind = inputfiles::whyNotAFile (status); kind.isNotEmpty())
            problem = kind;
        else
            problem = inputfiles::whyTooLarge (status, largestSize);

        if (problem.isEmpty())
        {
            size = (juce::int64) status.st_size;
            return handle;
        }
        if (handle >= 0)
            ::close (handle);
        return -1;
    }

    /** Reads the whole of `file`, opened as above. False with the reason in
        `problem`. */
    inline bool readInputFile (const juce::File& file, juce::int64 largestSize, juce::MemoryBlock& bytes, juce::String& problem)
    {
        juce::int64 size = 0;
        const int handle = openInputFile (file, largestSize, size, problem);

        // Never more than the limit, even from a file that grows while it is read.
        juce::MemoryOutputStream read (bytes, false);
        char buffer[65536];
        while (problem.isEmpty())
        {
            const auto count = ::read (handle, buffer, sizeof (buffer));
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0)
                problem = juce::String (std::strerror (errno));
            else if (count == 0)
                break;
            else if ((juce::int64) (read.getDataSize() + (size_t) count) > largestSize)
                problem = "it grew beyond the " + juce::String (largestSize) + " bytes it can be at most while it was read";
            else
                read.write (buffer, (size_t) count);
        }
        read.flush();

        if (handle >= 0)
            ::close (handle);
        return problem.isEmpty();
    }
}
