#include "presets/PresetsFileLock.h"

#include "presets/PresetsFileReader.h"
#include "presets/PresetsFileWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    std::mutex& turnsOfThisProcess()
    {
        static std::mutex mutex;
        return mutex;
    }

    /** The whole file, for writing. */
    struct flock wholeFile (short type)
    {
        struct flock region {};
        region.l_type = type;
        region.l_whence = SEEK_SET;
        return region;
    }

    constexpr const char* symbolicLinkReason = "a symbolic link stands in its place";

    bool isSymbolicLink (const juce::File& file)
    {
        struct stat info;
        return ::lstat (file.getFullPathName().toRawUTF8(), &info) == 0 && S_ISLNK (info.st_mode);
    }

    /** Errors that say the lock is taken, as opposed to locks not working here. */
    bool isContention (int error)
    {
        return error == EAGAIN || error == EACCES || error == EINTR;
    }
}

PresetsFileLock::PresetsFileLock (const juce::File& presetsFile, int timeoutMilliseconds)
    : lockFile (lockFileFor (presetsFile))
{
    // Every path to one file takes one lock: through a link, the lock sits
    // beside the file that writing replaces. Links leading round in a loop
    // keep it beside the link, where the write then fails of itself.
    juce::File replaced;

    if (isSymbolicLink (presetsFile) && findFileToReplace (presetsFile, replaced).wasOk())
        lockFile = lockFileFor (replaced);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMilliseconds);
    // Polled like the file lock below rather than a timed wait: the thread
    // sanitizer cannot follow std::timed_mutex's timed lock and would report
    // every unlock as one of an unlocked mutex.
    threadTurn = std::unique_lock<std::mutex> (turnsOfThisProcess(), std::try_to_lock);

    while (! threadTurn.owns_lock() && std::chrono::steady_clock::now() < deadline)
    {
        juce::Thread::sleep (1);
        threadTurn.try_lock();
    }

    if (! threadTurn.owns_lock())
    {
        state = State::heldElsewhere;
        return;
    }

    if (presetsFile.getFullPathName().isEmpty())
        return;

    lockFileAt (deadline);
}

void PresetsFileLock::setUnusable (const juce::String& reason)
{
    state = State::unusable;
    unusableReason = reason;

    if (descriptor >= 0)
        ::close (descriptor);

    descriptor = -1;
}

void PresetsFileLock::lockFileAt (std::chrono::steady_clock::time_point deadline)
{
    const auto folder = createFolderWithParents (lockFile.getParentDirectory());

    if (folder.failed())
        return setUnusable ("its folder cannot be created: " + folder.getErrorMessage());

    // Only a regular file is opened: a device or pipe at its path may do
    // something on being opened, and a folder cannot be locked. Nor is a
    // link followed: opening would create or lock whatever file it names.
    struct stat found;

    if (::lstat (lockFile.getFullPathName().toRawUTF8(), &found) == 0)
    {
        if (S_ISLNK (found.st_mode))
            return setUnusable (symbolicLinkReason);

        if (S_ISDIR (found.st_mode))
            return setUnusable ("a folder stands in its place");

        if (! S_ISREG (found.st_mode))
            return setUnusable ("it is not a regular file but a device, pipe or socket");
    }

    descriptor = ::open (lockFile.getFullPathName().toRawUTF8(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW, 0644);

    if (descriptor < 0)
        return setUnusable (errno == ELOOP ? juce::String (symbolicLinkReason) : juce::String (std::strerror (errno)));

    struct stat opened;

    if (::fstat (descriptor, &opened) != 0)
        return setUnusable (std::strerror (errno));

    if (! S_ISREG (opened.st_mode))
        return setUnusable ("it is not a regular file");

    for (;;)
    {
        auto region = wholeFile (F_WRLCK);

        if (::fcntl (descriptor, F_SETLK, &region) == 0)
        {
            state = State::held;
            return;
        }

        const auto error = errno;

        if (error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP)
            break;   // the file system has no record locks: nobody can hold one

        if (! isContention (error))
            return setUnusable (std::strerror (error));

        if (std::chrono::steady_clock::now() >= deadline)
        {
            state = State::heldElsewhere;
            break;
        }

        juce::Thread::sleep (5);
    }

    ::close (descriptor);
    descriptor = -1;
}

PresetsFileLock::~PresetsFileLock()
{
    if (descriptor >= 0)
    {
        auto region = wholeFile (F_UNLCK);
        ::fcntl (descriptor, F_SETLK, &region);
        ::close (descriptor);
    }
}

juce::File PresetsFileLock::lockFileFor (const juce::File& presetsFile)
{
    return presetsFile.getSiblingFile ("." + presetsFile.getFileName() + ".lock");
}

juce::String PresetsFileLock::describeRefusal() const
{
    switch (state)
    {
        case State::heldElsewhere:  return "another program holds its lock file " + lockFile.getFullPathName();
        case State::unusable:       return "its lock file " + lockFile.getFullPathName() + " cannot be used (" + unusableReason + ")";
        case State::held:
        case State::unavailable:    break;
    }

    return {};
}
