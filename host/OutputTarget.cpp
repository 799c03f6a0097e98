#include "OutputTarget.h"
#include "Utf8Check.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zelkhost
{
    namespace
    {
        namespace fs = std::filesystem;

        juce::String errorText (int code) { return juce::String (std::strerror (code)); }

        juce::String kindInWords (mode_t mode)
        {
            switch (mode & S_IFMT)
            {
                case S_IFLNK:  return "a symbolic link";
                case S_IFDIR:  return "a folder";
                case S_IFIFO:  return "a pipe";
                case S_IFCHR:
                case S_IFBLK:  return "a device";
                case S_IFSOCK: return "a socket";
                case S_IFREG:  return "another file";
                default:       return "something that is not a regular file";
            }
        }

        juce::String putThereMeanwhile (mode_t mode)
        {
            return kindInWords (mode) + " was put there while it was being written; it is left as it is, and nothing was written";
        }

        /** The permission bits a new file gets: 0666 less the umask, read
            without changing it (changing it, even for a moment, would touch
            files other threads make meanwhile). */
        mode_t newFilePermissions()
        {
            static const mode_t permissions = []
            {
                std::ifstream status ("/proc/self/status");
                for (std::string line; std::getline (status, line);)
                    if (line.rfind ("Umask:", 0) == 0)
                        return (mode_t) (0666 & ~std::strtoul (line.c_str() + 6, nullptr, 8));
                const auto mask = ::umask (022);   // no /proc: read it the old way, at the start of the run
                ::umask (mask);
                return (mode_t) (0666 & ~mask);
            }();
            return permissions;
        }

        /** A stream into an open file, as a format writer needs it: it may
            go back to complete a header. Keeps the first failure's errno. */
        class HandleStream final : public juce::OutputStream
        {
        public:
            explicit HandleStream (int fileHandle) : handle (fileHandle) {}

            void flush() override {}
            bool setPosition (juce::int64 position) override { return ::lseek (handle, (off_t) position, SEEK_SET) >= 0 || failed(); }
            juce::int64 getPosition() override               { return ::lseek (handle, 0, SEEK_CUR); }
            bool write (const void* data, size_t size) override { return writeAllBytes (handle, data, size) || failed(); }

            int errorCode = 0;

        private:
            bool failed()
            {
                if (errorCode == 0)
                    errorCode = errno;
                return false;
            }

            const int handle;
        };

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
                    if (firstInvalidUtf8Byte (path.c_str(), path.native().size()) < 0)
                        return true;
                    problem = "a symbolic link leads to a name that is not valid UTF-8";
                    return false;
                }
                const auto target = fs::read_symlink (resolved, failure);
                path = target.is_absolute() ? target : resolved.parent_path() / target;
            }
            problem = "its symbolic links cannot be followed: " + (failure ? juce::String (failure.message()) : errorText (ELOOP));
            return false;
        }
    }

    bool writeAllBytes (int handle, const void* bytes, size_t size)
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

    OutputTarget::OutputTarget (const juce::File& destination, const juce::String& what)
    {
        newFilePermissions();   // read once, while the run has one thread
        const auto prefix = "cannot write " + what + (what.isEmpty() ? "" : " ");

        fs::path path;
        juce::String reason;
        if (! resolvePath (destination, path, reason))
        {
            failure = prefix + destination.getFullPathName();
            problem = failure + ": " + reason;
            return;
        }
        resolved = juce::File (juce::String (path.string()));
        failure = prefix + resolved.getFullPathName();
        name = path.filename().string();
        const auto folder = path.parent_path();

        struct stat status {};
        folderHandle = name.empty() ? -1 : ::open (folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (name.empty())
            reason = "it is a folder; give a file name";
        else if (folderHandle < 0 && errno == ENOENT)
            reason = "its folder " + juce::String (folder.string()) + " does not exist";
        else if (folderHandle < 0)
            reason = juce::String (folder.string()) + (errno == ENOTDIR ? juce::String (" is not a folder") : ": " + errorText (errno));
        else if (::fstat (folderHandle, &status) != 0)
            reason = errorText (errno);
        if (reason.isNotEmpty())
        {
            problem = failure + ": " + reason;
            return;
        }
        folderDevice = status.st_dev;
        folderInode = status.st_ino;

        // What stands there is held (without opening it for anything): its
        // inode number cannot go to another file while the run lasts, so
        // that a pipe put in place of a pipe is told from it.
        struct stat entry {};
        entryHandle = ::openat (folderHandle, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        found = entryHandle >= 0 && ::fstat (entryHandle, &entry) == 0;
        device = entry.st_dev;
        inode = entry.st_ino;
        kind = entry.st_mode & S_IFMT;

        // As cp and a shell's redirection: the file itself must be writable
        // for this user, and replacing it or making it needs its folder.
        if (! found && errno != ENOENT)
            reason = errorText (errno);
        else if (found && S_ISDIR (kind))
            reason = "it is a folder; give a file name";
        else if (found && S_ISLNK (kind))
            reason = "it changed while its links were being followed";
        else if (found && ::faccessat (folderHandle, name.c_str(), W_OK, AT_EACCESS) != 0)
            reason = errorText (errno);
        else if (! takesDataDirectly() && ::faccessat (folderHandle, ".", W_OK | X_OK, AT_EACCESS) != 0)
            reason = "its folder " + juce::String (folder.string()) + " cannot be written: " + errorText (errno);
        if (reason.isNotEmpty())
            problem = failure + ": " + reason;
    }

    OutputTarget::~OutputTarget()
    {
        for (const auto handle : { entryHandle, folderHandle })
            if (handle >= 0)
                ::close (handle);
    }

    bool OutputTarget::takesDataDirectly() const
    {
        return found && (S_ISFIFO (kind) || S_ISCHR (kind) || S_ISBLK (kind) || S_ISSOCK (kind));
    }

    bool OutputTarget::sharesFileWith (const OutputTarget& other) const
    {
        if (problem.isNotEmpty() || other.problem.isNotEmpty() || takesDataDirectly() || other.takesDataDirectly())
            return false;
        if (found && other.found && device == other.device && inode == other.inode)
            return true;
        return folderDevice == other.folderDevice && folderInode == other.folderInode && name == other.name;
    }

    bool OutputTarget::write (const StreamWriter& writer, juce::String& error) const
    {
        if (problem.isNotEmpty())
        {
            error = problem;
            return false;
        }
        return takesDataDirectly() ? writeDirectly (writer, error) : writeThroughHiddenFile (writer, error);
    }

    juce::String OutputTarget::takeOnWhatStandsThere (const std::string& hidden) const
    {
        struct stat status {};
        if (::fstatat (folderHandle, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
            return errno != ENOENT ? errorText (errno)
                                   : ::fchmodat (folderHandle, hidden.c_str(), newFilePermissions(), 0) == 0 ? juce::String() : errorText (errno);

        // Another regular file (another run's, just renamed into place) is
        // replaced as the one found would have been: renaming over it cannot
        // reach any other file. Anything else is left alone.
        if (! S_ISREG (status.st_mode))
            return putThereMeanwhile (status.st_mode);
        if (::faccessat (folderHandle, name.c_str(), W_OK, AT_EACCESS) != 0)
            return errorText (errno);

        // Its owner too where this user may give it (root may, as cp keeps
        // it), else at least its group where this user is in it.
        if ((status.st_uid != ::geteuid() || status.st_gid != ::getegid())
            && ::fchownat (folderHandle, hidden.c_str(), status.st_uid, status.st_gid, AT_SYMLINK_NOFOLLOW) != 0)
            (void) ::fchownat (folderHandle, hidden.c_str(), (uid_t) -1, status.st_gid, AT_SYMLINK_NOFOLLOW);
        return ::fchmodat (folderHandle, hidden.c_str(), status.st_mode & 0777, 0) == 0 ? juce::String() : errorText (errno);
    }

    bool OutputTarget::writeThroughHiddenFile (const StreamWriter& writer, juce::String& error) const
    {
        static std::atomic<unsigned int> serial { 0 };

        auto shortName = juce::String (name);
        while (shortName.getNumBytesAsUTF8() > 200)    // room for the additions within a file name's 255 bytes
            shortName = shortName.dropLastCharacters (1);

        // Private while it is written; it takes its permissions just before the rename.
        std::string hidden;
        int handle = -1;
        for (int attempt = 0; attempt < 100 && handle < 0; ++attempt)
        {
            hidden = ("." + shortName + "." + juce::String (::getpid()) + "-" + juce::String (++serial) + ".partial").toStdString();
            handle = ::openat (folderHandle, hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (handle < 0 && errno != EEXIST)
            {
                struct stat folder {};
                const bool folderGone = errno == ENOENT && ::fstat (folderHandle, &folder) == 0 && folder.st_nlink == 0;
                error = failure + ": " + (folderGone ? juce::String ("its folder was removed") : errorText (errno));
                return false;
            }
        }
        if (handle < 0)
        {
            error = failure + ": no unused temporary name beside it";
            return false;
        }

        HandleStream stream (handle);
        bool written = writer (stream) && stream.errorCode == 0;
        auto reason = written || stream.errorCode == 0 ? juce::String() : errorText (stream.errorCode);
        if (::close (handle) != 0 && written)
        {
            written = false;
            reason = errorText (errno);
        }

        // The last look, as close to the rename as it can be: a link put
        // there after it is replaced by the rename, never followed.
        if (written)
            reason = takeOnWhatStandsThere (hidden);
        if (written && reason.isEmpty() && ::renameat (folderHandle, hidden.c_str(), folderHandle, name.c_str()) == 0)
            return true;   // rename() replaces the old file in one step: there is always a whole one

        if (written && reason.isEmpty())
            reason = errorText (errno);
        error = failure + (reason.isNotEmpty() ? ": " + reason : juce::String());
        ::unlinkat (folderHandle, hidden.c_str(), 0);
        return false;
    }

    /** A pipe or device takes the whole file in order: it cannot go back to
        complete a header, so the file is made in memory first. It is opened
        without waiting and checked to be the one found at the start before
        anything is written. */
    bool OutputTarget::writeDirectly (const StreamWriter& writer, juce::String& error) const
    {
        juce::MemoryOutputStream bytes;
        if (! writer (bytes))
        {
            error = failure;
            return false;
        }

        const auto isWhatWasFound = [this] (const struct stat& status) {
            return status.st_dev == device && status.st_ino == inode && (status.st_mode & S_IFMT) == kind;
        };

        for (;;)
        {
            struct stat status {};
            const int handle = ::openat (folderHandle, name.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
            if (handle >= 0)
            {
                const bool same = ::fstat (handle, &status) == 0 && isWhatWasFound (status);
                const int flags = ::fcntl (handle, F_GETFL);
                const bool written = same && flags != -1 && ::fcntl (handle, F_SETFL, flags & ~O_NONBLOCK) == 0
                                     && writeAllBytes (handle, bytes.getData(), bytes.getDataSize());
                const auto code = errno;
                if (::close (handle) == 0 && written)
                    return true;
                error = failure + ": " + (same ? errorText (written ? errno : code) : putThereMeanwhile (status.st_mode));
                return false;
            }

            const auto code = errno;
            if (::fstatat (folderHandle, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && ! isWhatWasFound (status))
            {
                error = failure + ": " + putThereMeanwhile (status.st_mode);
                return false;
            }
            if (code != ENXIO || ! S_ISFIFO (kind))
            {
                error = failure + ": " + errorText (code);
                return false;
            }
            std::this_thread::sleep_for (std::chrono::milliseconds (10));   // the pipe found at the start has no reader yet
        }
    }
}
