#include "presets/PresetsFileLock.h"

#include "presets/PresetsFileReader.h"

#include <cerrno>
#include <fcntl.h>
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

    /** Errors that say the lock is taken, as opposed to locks not working here. */
    bool isContention (int error)
    {
        return error == EAGAIN || error == EACCES || error == EINTR;
    }
}

PresetsFileLock::PresetsFileLock (const juce::File& presetsFile, int timeoutMilliseconds)
{
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

    const auto lockFile = lockFileFor (presetsFile);
    const auto folder = lockFile.getParentDirectory();

    if (presetsFile.getFullPathName().isEmpty())
        return;

    if (createFolderWithParents (folder).failed())
        return;

    descriptor = ::open (lockFile.getFullPathName().toRawUTF8(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);

    if (descriptor < 0)
        return;

    for (;;)
    {
        auto region = wholeFile (F_WRLCK);

        if (::fcntl (descriptor, F_SETLK, &region) == 0)
        {
            state = State::held;
            return;
        }

        if (! isContention (errno))
            break;

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

juce::String PresetsFileLock::describeHeldElsewhere (const juce::File& presetsFile)
{
    return "another program holds its lock file " + lockFileFor (presetsFile).getFullPathName();
}
