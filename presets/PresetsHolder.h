#pragma once

#include "presets/ParameterSetXml.h"
#include "presets/PresetsFileLock.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_data_structures/juce_data_structures.h>

#include <optional>

/** The user's presets file, presets.xml, and its contents in memory.

    Every construction installs the file from the embedded factory presets when it
    is missing, or rewrites it as the factory entries followed by the user's own
    entries (renumbered "preset24", "preset25", ...) when it exists, and keeps what
    it wrote in `presets`. A preset's ID everywhere in the plug-in is its 1-based
    position among the children of `presets`.

    Faults never stop the processor from being built: whatever happens to the file,
    `presets` holds at least the factory entries afterwards. Only a file of no
    bytes or nothing but white space counts as empty. A regular file that was read
    and is no presets document (it does not parse, has a shape the store never
    writes, holds a NUL character, or is larger than maximumPresetsFileSize) is
    damaged: it is moved aside (see `unreadableFileFor`, never replacing a file
    of that name) instead of being overwritten, at start-up as before a save or
    delete, and only with the turn at the lock held. A file the system will not
    let us open or read (another account's, too many files open, an I/O error)
    is left untouched, and nothing writes it until it reads again: start-up
    goes on with the factory entries, saving and deleting refuse. Anything else
    standing where the file belongs (a folder, device, pipe or socket) is never
    read, moved or written. Every such finding is written to juce::Logger and
    kept in `lastProblem`.

    Saving and deleting run on the message thread; a host may construct the
    processor on any thread. Every change of the file (the install or
    merge at construction, saving, deleting) takes its turn with other threads and
    processes under PresetsFileLock, waiting no longer than a user would notice.
    When the turn is not had in time, or the lock file cannot be used, saving
    and deleting refuse, and start-up goes on with the file as it reads without
    writing it; only where the file system has no locks at all do changes go
    ahead without one.

    Within one process, a construction that finds the file as the last one left
    it takes the merged presets from MergedPresetsCache instead of reading and
    writing the file again. Start-up, saving and deleting take time in proportion
    to the number of entries.
*/
class PresetsHolder
{
public:
    /** `relativePath` is the processor's name + "/presets.xml"; the file lies in the
        maker's folder "Velkor Audio Tools" inside the user's application-support
        folder (the user's config folder outside macOS). */
    PresetsHolder (juce::AudioProcessor& owner, const juce::String& relativePath);

    /** Applies entry `presetId` to the processor unless it is already the current
        one or names no entry; `currentIndex` becomes `presetId` in every case. */
    void loadPreset (int presetId);

    /** loadPreset that applies the entry also when it is the current one: the
        user chose it again, to go back to it. */
    void applyPreset (int presetId);

    //==============================================================================
    /*  The host state names the current entry by its ID, the value of the
        parameter "preset", and beside it by its name, the root property
        `entryNameProperty`: IDs are positions, which change when an entry
        before it is deleted (here or by another instance, whose deletion a
        later start-up takes in), so a restored ID may have come to name
        another entry. The name tells whether it still names the entry saved.

        A state may be saved and restored on any thread; the name travels
        between those threads and the message thread, where the entries are,
        under `entryLock`. */

    /** The root property of the host state that holds the entry's name. */
    static const juce::Identifier entryNameProperty;

    /** Any thread: puts into `state`, a copy of the parameter store's tree
        about to be saved, the name of the entry its "preset" names, when that
        is the entry last made current or restored; removes the property
        otherwise (no entry, or "preset" changed since without a window to
        follow it), so that such a state is read by its ID alone. */
    void addEntryNameTo (juce::ValueTree& state) const;

    /** Any thread: restores `state` into `store` and hands the entry name it
        carries to the message thread, whose `followPresetParameter` finds the
        entry it means. The listeners of "preset" hear of the restore even when
        its value stays the same, since it may name another entry now. */
    void restoreState (juce::AudioProcessorValueTreeState& store, const juce::ValueTree& state);

    /** Message thread, when "preset" has taken the value `presetId` other than
        through a choice in the preset list: makes the entry it names the
        current one and returns the value "preset" is to hold. That is
        `presetId`, unless a state restored with an entry name set it: then
        `presetId` when that entry still has the name, else the entry of that
        name nearest it, else 0 (none). A state without a name is read by its
        ID alone. `currentIndex` is the returned ID when it names an entry,
        else 0. */
    int followPresetParameter (int presetId);

    /** Deletes entry `presetId` from the file without losing entries that other
        instances saved since this one last read it: the file is read again
        (unless it is as this holder last read or wrote it), the entry found
        there by its contents (an entry with the same tag and attributes, the
        one nearest its old position) and removed, and the result written and
        kept in `presets`. When the file is damaged it is moved aside first, and
        the entry is removed from `presets` and that written; when it cannot be
        opened or read nothing is changed. Returns false when there was nothing to delete (an unknown
        ID, or an entry another instance already removed). `currentIndex` is
        left to the caller. */
    bool deletePreset (int presetId);

    /** deletePreset that also tells whether the file could be written. When it
        could not, or the change was refused (no turn at the lock, or no regular
        file where presets.xml belongs), the entry is still in `presets` and
        `writeResult` gives the reason. */
    bool deletePreset (int presetId, juce::Result& writeResult);

    /** Appends the processor's live settings as a new last entry named `name`,
        after reading the file again (unless it is as this holder last read or
        wrote it) so that entries other instances saved meanwhile are kept,
        makes it the current entry and writes the file. When the file cannot be
        written, `presets` is left as the file holds it (as it
        was before when the file cannot be read either), `currentIndex` keeps its
        value, and the result gives the reason. The same holds when the change is
        refused: no turn at the lock (held elsewhere, or its file cannot be used),
        a file that cannot be opened or read, or no regular file where presets.xml
        belongs. A damaged file is moved aside first, as at start-up. */
    juce::Result savePreset (const juce::String& name);

    /** The file's modification time, or 0 when it cannot be examined. */
    juce::Time readModificationTime() const;

    /** The path of presets.xml for the given relative path (see the constructor). */
    static juce::File locatePresetsFile (const juce::PropertiesFile::Options& options,
                                         const juce::String& relativePath);

    /** The embedded factory presets as a "PRESETS" element. */
    static juce::XmlElement createFactoryPresets();

    /** The name a damaged presets file is moved to: "presets-unreadable.xml"
        beside it, or "presets-unreadable(2).xml" and so on when that is taken. */
    static juce::File unreadableFileFor (const juce::File& presetsFile);

    juce::PropertiesFile::Options options;
    juce::AudioProcessor* processor;
    juce::XmlElement presets { "PRESETS" };
    juce::File presetsFile;
    int currentIndex = 0;
    juce::Time lastModified;

    /** What the last start-up, save or delete found wrong with the file, naming
        the file and the reason; empty when it found nothing wrong. */
    juce::String lastProblem;

private:
    /** Installs or merges the file at start-up and returns the presets. */
    juce::XmlElement startUp();

    /** The start-up merge of the file `contents`, written when `turn` permits. */
    juce::XmlElement installOrMerge (PresetsFileContents contents, const PresetsFileLock& turn);

    /** Before a save or delete, with `turn` taken: brings `presets` up to the
        file (unless the file is as this holder last saw it) and moves an
        damaged file aside; refuses without the turn, when the file cannot be
        opened or read, or when no regular file stands where presets.xml
        belongs. */
    juce::Result prepareChange (const PresetsFileLock& turn);

    /** Writes `toWrite`, remembering the stamp of what was written. */
    juce::Result writePresets (const juce::XmlElement& toWrite);

    /** Reports a change that is not made and returns it as failed. */
    juce::Result refuse (const juce::String& reason);

    /** Moves a damaged file aside; false (and a report) when that fails. */
    bool keepUnreadableFileAside (const juce::String& reason);

    void report (const juce::String& problem);

    /** The stamp of the file when it last held exactly `presets`. */
    FileStamp heldStamp;

    /** The permission bits of a damaged file just kept aside, for the file
        written in its place; -1 when none was. */
    int permissionsOfKeptAsideFile = -1;

    /** Message thread: `currentIndex` and its entry's name become what a saved
        state carries; a restored name not yet followed is dropped. */
    void noteCurrentEntry();

    /** What a saved state carries beside "preset": the ID of the current or
        restored entry and, when it names an entry, that entry's name;
        `restoredNamePending` while a restored name awaits the message thread. */
    mutable juce::CriticalSection entryLock;
    int namedEntryId = 0;
    std::optional<juce::String> namedEntryName;
    bool restoredNamePending = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetsHolder)
};
