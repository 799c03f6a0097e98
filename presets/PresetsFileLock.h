#pragma once

#include <juce_core/juce_core.h>

#include <chrono>
#include <mutex>

/** A turn at changing presets.xml: an advisory lock on ".presets.xml.lock"
    beside the file, taken for the lifetime of the object. Where presets.xml is
    a symbolic link, the lock file sits beside the file the chain of links leads
    to (the one a write replaces), so that every path to one file takes one lock.

    Every read-change-write of the file takes a turn, in this process and in
    others: a POSIX record lock on the lock file (the kind JUCE's
    InterProcessLock takes, so earlier versions of the plug-in wait for it too)
    and, since such locks belong to the whole process, a mutex for the threads
    of this one.

    The wait is bounded (the message thread must not freeze): when the turn is
    not had in time the state is `heldElsewhere`. When the lock file cannot be
    used (it cannot be created or opened, as when another account owns it or a
    folder or symbolic link stands at its path, or this process has too many
    files open) the state is `unusable`: another process may well hold the lock
    meanwhile, so either way the caller must not change the file. Only where
    the file system itself has no record locks is the state `unavailable`, and
    the caller may go on without one: no other process of the user can hold
    such a lock either, and every write replaces the file in one step. */
class PresetsFileLock
{
public:
    enum class State { held, heldElsewhere, unusable, unavailable };

    /** Waits at most `timeoutMilliseconds` for the turn. Creates the file's
        folder when it is missing, so that the lock file has a place. */
    PresetsFileLock (const juce::File& presetsFile, int timeoutMilliseconds);
    ~PresetsFileLock();

    State getState() const noexcept    { return state; }

    /** Whether the file may be changed: with the turn held, or where there are
        no locks at all. */
    bool permitsChanges() const noexcept    { return state == State::held || state == State::unavailable; }

    /** Why changes are not permitted, naming the lock file: "another program
        holds its lock file ..." or "its lock file ... cannot be used (...)";
        empty when they are. */
    juce::String describeRefusal() const;

    /** ".presets.xml.lock" beside `presetsFile`, following no link. */
    static juce::File lockFileFor (const juce::File& presetsFile);

    /** How long the message thread waits for a turn before giving up. */
    static constexpr int messageThreadTimeoutMilliseconds = 300;

private:
    /** Takes the record lock on `lockFile`, trying until `deadline`. */
    void lockFileAt (std::chrono::steady_clock::time_point deadline);

    void setUnusable (const juce::String& reason);

    std::unique_lock<std::mutex> threadTurn;
    int descriptor = -1;
    State state = State::unavailable;
    juce::File lockFile;
    juce::String unusableReason;

    JUCE_DECLARE_NON_COPYABLE (PresetsFileLock)
};
