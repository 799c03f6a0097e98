#pragma once

#include <juce_core/juce_core.h>

#include <mutex>

/** A turn at changing presets.xml: an advisory lock on ".presets.xml.lock"
    beside the file, taken for the lifetime of the object.

    Every read-change-write of the file takes a turn, in this process and in
    others: a POSIX record lock on the lock file (the kind JUCE's
    InterProcessLock takes, so earlier versions of the plug-in wait for it too)
    and, since such locks belong to the whole process, a mutex for the threads
    of this one.

    The wait is bounded (the message thread must not freeze): when the turn is
    not had in time the state is `heldElsewhere`, and the caller must not write.
    When locks cannot be had at all (the lock file cannot be created, as in a
    folder that is not writable, or the file system has no locks) the state is
    `unavailable` and the caller may go on without one: no other process of
    the user can hold such a lock either, every write replaces the file in one
    step, and a write into a folder that refuses the lock file fails with its
    own reason. */
class PresetsFileLock
{
public:
    enum class State { held, heldElsewhere, unavailable };

    /** Waits at most `timeoutMilliseconds` for the turn. Creates the file's
        folder when it is missing, so that the lock file has a place. */
    PresetsFileLock (const juce::File& presetsFile, int timeoutMilliseconds);
    ~PresetsFileLock();

    State getState() const noexcept    { return state; }

    /** ".presets.xml.lock" beside the presets file. */
    static juce::File lockFileFor (const juce::File& presetsFile);

    /** Why there is no turn: "another program holds its lock file ...". */
    static juce::String describeHeldElsewhere (const juce::File& presetsFile);

    /** How long the message thread waits for a turn before giving up. */
    static constexpr int messageThreadTimeoutMilliseconds = 300;

private:
    std::unique_lock<std::mutex> threadTurn;
    int descriptor = -1;
    State state = State::unavailable;

    JUCE_DECLARE_NON_COPYABLE (PresetsFileLock)
};
