#include "presets/PresetsFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
    /** Links followed before a chain counts as a loop: the system's own limit
        on Linux, and more than any chain set up on purpose. */
    constexpr int maximumLinksFollowed = 40;

    juce::Result failWithErrno()
    {
        return juce::Result::fail (std::strerror (errno));
    }

    /** The folder part of an absolute path, as the system reads it (nothing is
        simplified: "a/link/.." is not "a" when "link" is a link). */
    std::string folderOf (const std::string& path)
    {
        const auto slash = path.find_last_of ('/');
        return slash == 0 || slash == std::string::npos ? std::string ("/") : path.substr (0, slash);
    }

    std::string nameOf (const std::string& path)
    {
        const auto slash = path.find_last_of ('/');
        return slash == std::string::npos ? path : path.substr (slash + 1);
    }

    juce::Result readLink (const std::string& link, std::string& text)
    {
        for (std::vector<char> buffer (256);; buffer.resize (buffer.size() * 2))
        {
            const auto length = ::readlink (link.c_str(), buffer.data(), buffer.size());

            if (length < 0)
                return failWithErrno();

            if ((size_t) length < buffer.size())
            {
                text.assign (buffer.data(), (size_t) length);
                return juce::Result::ok();
            }
        }
    }

    /** The temporary file of one write: closed, and removed unless kept. */
    struct TemporaryFileGuard
    {
        TemporaryFileGuard (int fd, const juce::File& f) : descriptor (fd), file (f) {}

        ~TemporaryFileGuard()
        {
            if (descriptor >= 0)
                ::close (descriptor);

            if (! kept)
                ::unlink (file.getFullPathName().toRawUTF8());
        }

        juce::Result close()
        {
            const auto closed = ::close (descriptor);
            descriptor = -1;

            // EINTR leaves the descriptor closed on Linux; whatever was not
            // written has been reported by the sync before.
            return closed == 0 || errno == EINTR ? juce::Result::ok() : failWithErrno();
        }

        void keep()    { kept = true; }

        int descriptor;
        const juce::File file;
        bool kept = false;
    };

    /** Writes every byte or fails: a short write (a disk filling up, a file
        size limit reached) goes on with the rest, and the next write then says
        why no more fit. */
    juce::Result writeWhole (int descriptor, const void* data, size_t size)
    {
        for (size_t done = 0; done < size;)
        {
            const auto count = ::write (descriptor, static_cast<const char*> (data) + done, size - done);

            if (count < 0 && errno == EINTR)
                continue;

            if (count < 0)
                return failWithErrno();

            if (count == 0)
                return juce::Result::fail ("the disk took no more bytes");

            done += (size_t) count;
        }

        return juce::Result::ok();
    }

    juce::Result givePermissions (int descriptor, mode_t permissions)
    {
        // File systems that keep no permissions per file (FAT) refuse any
        // change; the file then stays as private as it was made.
        if (::fchmod (descriptor, permissions) == 0 || errno == EPERM || errno == EOPNOTSUPP || errno == ENOTSUP)
            return juce::Result::ok();

        return failWithErrno();
    }

    juce::Result syncFile (int descriptor)
    {
        while (::fsync (descriptor) != 0)
            if (errno != EINTR)
                return failWithErrno();

        return juce::Result::ok();
    }

    /** Makes the rename last through a power cut. Its failure is not the
        write's: the new file is in place and every reader sees it. */
    void syncFolder (const juce::File& folder)
    {
        const auto descriptor = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

        if (descriptor >= 0)
        {
            ::fsync (descriptor);
            ::close (descriptor);
        }
    }

    /** What open (path, O_CREAT, 0666) gives a new file: 0666 less the umask,
        read where the system tells it without changing it (umask() would change
        it for every thread for a moment), else JUCE's own 0644. */
    mode_t defaultPermissionsForNewFile()
    {
        if (auto* status = std::fopen ("/proc/self/status", "re"))
        {
            char line[256];
            unsigned int mask = 0;
            bool found = false;

            while (! found && std::fgets (line, sizeof (line), status) != nullptr)
                found = std::sscanf (line, "Umask: %o", &mask) == 1;

            std::fclose (status);

            if (found)
                return (mode_t) (0666 & ~mask);
        }

        return 0644;
    }
}

juce::Result findFileToReplace (const juce::File& file, juce::File& target)
{
    auto path = file.getFullPathName().toStdString();

    for (int followed = 0;; ++followed)
    {
        struct stat info;

        if (::lstat (path.c_str(), &info) != 0 || ! S_ISLNK (info.st_mode))
            break;

        if (followed == maximumLinksFollowed)
            return juce::Result::fail ("its symbolic links lead round in a loop");

        std::string text;
        const auto read = readLink (path, text);

        if (read.failed())
            return read;

        path = ! text.empty() && text[0] == '/' ? text : folderOf (path) + "/" + text;
    }

    const auto name = nameOf (path);

    if (name.empty() || name == "." || name == "..")
        return juce::Result::fail ("its symbolic link leads to a folder, not a file");

    // The temporary file must go into the very folder the final rename
    // lands in; JUCE's paths drop ".." by the letters alone.
    if (auto* canonical = ::realpath (folderOf (path).c_str(), nullptr))
    {
        target = juce::File (juce::String::fromUTF8 (canonical) + "/" + juce::String::fromUTF8 (name.c_str()));
        std::free (canonical);
        return juce::Result::ok();
    }

    // A missing folder is made below, where a file in the way is reported.
    if (errno != ENOENT && errno != ENOTDIR)
        return failWithErrno();

    target = juce::File (juce::String::fromUTF8 (path.c_str()));
    return juce::Result::ok();
}

bool writePresetsFile (const juce::XmlElement& presets, const juce::File& file)
{
    return writePresetsFileReportingFailure (presets, file).wasOk();
}

juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file)
{
    FileStamp written;
    return writePresetsFileReportingFailure (presets, file, written);
}

juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file, FileStamp& written,
                                               int permissionsForNewFile)
{
    // Without a path the temporary file would land in the root folder, and a
    // folder in the file's place would be removed by the final rename when
    // empty: neither is a presets file to replace.
    if (file.getFullPathName().isEmpty())
        return juce::Result::fail ("it has no path");

    juce::File target;
    const auto found = findFileToReplace (file, target);

    if (found.failed())
        return found;

    struct stat info;
    const bool exists = ::stat (target.getFullPathName().toRawUTF8(), &info) == 0;

    if (exists && S_ISDIR (info.st_mode))
        return juce::Result::fail ("a folder stands in its place");

    if (! exists)
    {
        const auto folder = createFolderWithParents (target.getParentDirectory());

        if (folder.failed())
            return juce::Result::fail ("its folder cannot be created (" + folder.getErrorMessage() + ")");
    }

    // The whole document is in memory before the file is touched, in the
    // bytes XmlElement::writeTo (File) would write.
    juce::MemoryOutputStream document;
    presets.writeTo (document, juce::XmlElement::TextFormat());

    const auto permissions = exists ? (mode_t) (info.st_mode & 0777)
                                    : permissionsForNewFile >= 0 ? (mode_t) (permissionsForNewFile & 0777)
                                                                 : defaultPermissionsForNewFile();
    juce::File temporaryFile;
    const auto descriptor = createPrivateFileBeside (target, temporaryFile);

    if (descriptor < 0)
        return failWithErrno();

    TemporaryFileGuard temporary (descriptor, temporaryFile);

    auto result = writeWhole (temporary.descriptor, document.getData(), document.getDataSize());

    if (result.wasOk())
        result = givePermissions (temporary.descriptor, permissions);

    if (result.wasOk())
        result = syncFile (temporary.descriptor);

    if (result.wasOk())
        result = temporary.close();

    if (result.failed())
        return result;

    // Renaming keeps the stamp.
    written = FileStamp::of (temporaryFile);

    if (::rename (temporaryFile.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) != 0)
        return failWithErrno();

    temporary.keep();
    syncFolder (target.getParentDirectory());
    return juce::Result::ok();
}

int createPrivateFileBeside (const juce::File& target, juce::File& created)
{
    // As JUCE's TemporaryFile names it ("presets_temp....xml"), but made with
    // mkostemps: created exclusively, with mode 0600 given to open itself.
    const auto extension = target.getFileExtension().toStdString();
    auto name = (target.getParentDirectory().getFullPathName() + "/" + target.getFileNameWithoutExtension()).toStdString()
                    + "_tempXXXXXX" + extension;
    std::vector<char> buffer (name.begin(), name.end());
    buffer.push_back (0);
    const auto descriptor = ::mkostemps (buffer.data(), (int) extension.size(), O_CLOEXEC);

    if (descriptor >= 0)
        created = juce::File (juce::String::fromUTF8 (buffer.data()));

    return descriptor;
}
