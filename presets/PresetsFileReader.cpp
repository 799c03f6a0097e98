#include "presets/PresetsFileReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    FileStamp stampOf (const struct stat& info)
    {
        FileStamp stamp;

        if (S_ISDIR (info.st_mode))
            stamp.kind = FileStamp::Kind::folder;
        else if (S_ISREG (info.st_mode))
            stamp.kind = FileStamp::Kind::regular;
        else
            stamp.kind = FileStamp::Kind::special;

        stamp.device = (juce::uint64) info.st_dev;
        stamp.inode = (juce::uint64) info.st_ino;
        stamp.size = (juce::int64) info.st_size;
       #if JUCE_MAC
        const auto& modified = info.st_mtimespec;
       #else
        const auto& modified = info.st_mtim;
       #endif
        stamp.modifiedNanoseconds = (juce::int64) modified.tv_sec * 1000000000 + (juce::int64) modified.tv_nsec;
        return stamp;
    }

    juce::String describeKind (FileStamp::Kind kind)
    {
        switch (kind)
        {
            case FileStamp::Kind::missing:  return "it does not exist";
            case FileStamp::Kind::folder:   return "a folder stands in its place";
            case FileStamp::Kind::special:  return "it is not a regular file but a device, pipe or socket";
            case FileStamp::Kind::regular:  break;
        }

        return {};
    }

    juce::String tooLarge (juce::int64 maximumSize)
    {
        return "it is larger than " + juce::String (maximumSize / (1024 * 1024)) + " MB, far more than a presets file holds";
    }

    /** Renames `from` to `to` unless something stands at `to` (EEXIST); 0 or
        the error. EINVAL, ENOSYS or EOPNOTSUPP: the file system or system offers
        no such rename. */
    int renameWithoutReplacing (const char* from, const char* to)
    {
       #if JUCE_LINUX
        return ::renameat2 (AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
       #elif JUCE_MAC
        return ::renamex_np (from, to, RENAME_EXCL) == 0 ? 0 : errno;
       #else
        juce::ignoreUnused (from, to);
        return ENOSYS;
       #endif
    }

    /** Closes the descriptor when it goes out of scope. */
    struct ScopedDescriptor
    {
        explicit ScopedDescriptor (int fd) : descriptor (fd) {}
        ~ScopedDescriptor()    { if (descriptor >= 0) ::close (descriptor); }
        const int descriptor;
    };
}

FileStamp FileStamp::of (const juce::File& file)
{
    struct stat info;

    if (file.getFullPathName().isEmpty() || ::stat (file.getFullPathName().toRawUTF8(), &info) != 0)
        return {};

    return stampOf (info);
}

bool FileStamp::operator== (const FileStamp& other) const noexcept
{
    return kind == other.kind && device == other.device && inode == other.inode
        && size == other.size && modifiedNanoseconds == other.modifiedNanoseconds;
}

juce::Result readRegularFile (const juce::File& file, juce::int64 maximumSize,
                              juce::MemoryBlock& bytes, FileStamp& stamp, ReadFailure& failure)
{
    const auto fail = [&failure] (ReadFailure why, const juce::String& reason)
    {
        failure = why;
        return juce::Result::fail (reason);
    };

    // The kind is checked before opening (opening a device can have effects of
    // its own), and again on what was opened, in case the path was swapped in
    // between; the non-blocking open keeps a pipe from holding the thread.
    // Only a path that names nothing is missing: one the system will not let
    // us examine (a folder without search permission) may well hold a file.
    failure = ReadFailure::none;
    stamp = {};
    struct stat info;

    if (file.getFullPathName().isEmpty())
        return fail (ReadFailure::missing, describeKind (FileStamp::Kind::missing));

    if (::stat (file.getFullPathName().toRawUTF8(), &info) != 0)
    {
        const auto error = errno;

        if (error == ENOENT || error == ENOTDIR)
            return fail (ReadFailure::missing, describeKind (FileStamp::Kind::missing));

        return fail (ReadFailure::couldNotRead, std::strerror (error));
    }

    stamp = stampOf (info);

    if (! stamp.isRegular())
        return fail (ReadFailure::notARegularFile, describeKind (stamp.kind));

    if (stamp.size > maximumSize)
        return fail (ReadFailure::tooLarge, tooLarge (maximumSize));

    const ScopedDescriptor fd (::open (file.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));

    if (fd.descriptor < 0)
        return fail (ReadFailure::couldNotRead, std::strerror (errno));

    if (::fstat (fd.descriptor, &info) != 0)
        return fail (ReadFailure::couldNotRead, std::strerror (errno));

    stamp = stampOf (info);

    if (! stamp.isRegular())
        return fail (ReadFailure::notARegularFile, describeKind (stamp.kind));

    // The file may still grow while it is read: never more than the limit is kept.
    bytes.setSize ((size_t) juce::jmin (stamp.size, maximumSize) + 1);
    size_t total = 0;

    for (;;)
    {
        if (total == bytes.getSize())
        {
            if ((juce::int64) total > maximumSize)
                return fail (ReadFailure::tooLarge, tooLarge (maximumSize));

            bytes.setSize (juce::jmin ((size_t) maximumSize + 1, total * 2 + 4096));
        }

        const auto got = ::read (fd.descriptor, static_cast<char*> (bytes.getData()) + total, bytes.getSize() - total);

        if (got == 0)
            break;

        if (got < 0)
        {
            if (errno == EINTR)
                continue;

            return fail (ReadFailure::couldNotRead, std::strerror (errno));
        }

        total += (size_t) got;
    }

    bytes.setSize (total);
    return juce::Result::ok();
}

juce::Result createFolderWithParents (const juce::File& folder)
{
    // Each round makes at least one more level unless something else is wrong.
    auto result = juce::Result::ok();

    for (int round = 0; round < 16 && ! folder.isDirectory(); ++round)
        result = folder.createDirectory();

    return folder.isDirectory() ? juce::Result::ok() : result;
}

juce::Result moveAsideWithoutReplacing (const juce::File& file, const juce::String& suffix, juce::File& keptAs)
{
    const auto* from = file.getFullPathName().toRawUTF8();

    for (int number = 1; number < 10000; ++number)
    {
        const auto candidate = file.getSiblingFile (file.getFileNameWithoutExtension() + suffix
                                                    + (number > 1 ? "(" + juce::String (number) + ")" : juce::String())
                                                    + file.getFileExtension());
        const auto* to = candidate.getFullPathName().toRawUTF8();
        auto error = renameWithoutReplacing (from, to);

        // Without such a rename here, a hard link takes the new name (which
        // some users may not make: another account's file under the system's
        // protected hard links) and the old name is then let go.
        const bool linkInstead = error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP;

        if (linkInstead)
            error = ::link (from, to) == 0 ? 0 : errno;

        if (error == EEXIST)
            continue;

        if (error != 0)
            return juce::Result::fail (std::strerror (error));

        // The file now stands under both names; should it not leave its own,
        // the new name is given up again and nothing has changed.
        if (linkInstead && ::unlink (from) != 0)
        {
            error = errno;
            ::unlink (to);
            return juce::Result::fail (std::strerror (error));
        }

        keptAs = candidate;
        return juce::Result::ok();
    }

    return juce::Result::fail ("every name for it is taken");
}
