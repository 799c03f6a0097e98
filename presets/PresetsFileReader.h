#pragma once

#include <juce_core/juce_core.h>

/** What the file system says about one path, without opening it: its kind and,
    for a regular file, what identifies one version of it.

    Two stamps of regular files are equal only for the same file (device and
    inode) with the same size and modification time to the nanosecond. Every
    write of presets.xml replaces the file by a new one (see writePresetsFile),
    so a stamp that still matches one taken earlier means the file has been
    neither replaced nor written since. Links are followed. */
struct FileStamp
{
    enum class Kind { missing, regular, folder, special };

    static FileStamp of (const juce::File& file);

    bool isRegular() const noexcept    { return kind == Kind::regular; }

    bool operator== (const FileStamp& other) const noexcept;
    bool operator!= (const FileStamp& other) const noexcept    { return ! operator== (other); }

    Kind kind = Kind::missing;
    juce::uint64 device = 0, inode = 0;
    juce::int64 size = 0, modifiedNanoseconds = 0;
};

/** Why a file was not read, for callers that treat the cases differently. */
enum class ReadFailure
{
    none,
    missing,            ///< nothing at the path
    notARegularFile,    ///< a folder, device, pipe or socket: not opened
    tooLarge,           ///< larger than the limit: not read
    couldNotRead,       ///< the system refused to examine, open or read it (permission, too many open files, I/O error)
    damaged             ///< read, but its bytes are no text of the kind expected (left to readers of text to say)
};

/** Reads the whole of `file` when it is a regular file (or a link to one) of at
    most `maximumSize` bytes. Anything else is not opened for reading at all: a
    pipe is never waited on and a device never read from. The result's error
    message says why, for a user to read ("it is larger than 256 MB", "Permission
    denied"), and `failure` which case it was. `stamp` receives the stamp of what
    was read. */
juce::Result readRegularFile (const juce::File& file, juce::int64 maximumSize,
                              juce::MemoryBlock& bytes, FileStamp& stamp, ReadFailure& failure);

/** The largest presets file that is read: far above any that the plug-in writes
    (a thousand entries take under 2 MB). */
constexpr juce::int64 maximumPresetsFileSize = 256 * 1024 * 1024;

/** Creates `folder` with any missing parents. Other processes making the same
    folders at the same moment are no failure (JUCE's createDirectory gives up
    when a parent appears between its check and its own mkdir). */
juce::Result createFolderWithParents (const juce::File& folder);

/** Moves `file` to the first free name of "NAME-SUFFIX.EXT", "NAME-SUFFIX(2).EXT",
    "NAME-SUFFIX(3).EXT" ... beside it, without ever replacing anything that
    stands at a name (a plain rename would delete it): by a rename that refuses
    to replace (renameat2 with RENAME_NOREPLACE), or, only where the file system
    offers none, by a hard link that takes the name and the old name then let
    go. Where it offers neither this fails, and the file stays where it is.
    `keptAs` receives the name used. */
juce::Result moveAsideWithoutReplacing (const juce::File& file, const juce::String& suffix, juce::File& keptAs);
