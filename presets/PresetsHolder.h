#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_data_structures/juce_data_structures.h>

/** The user's presets file, presets.xml, and its contents in memory.

    Every construction installs the file from the embedded factory presets when it
    is missing, or rewrites it as the factory entries followed by the user's own
    entries (renumbered "preset24", "preset25", ...) when it exists, and then reads
    it into `presets`. A preset's ID everywhere in the plug-in is its 1-based
    position among the children of `presets`.

    Faults never stop the processor from being built: whatever happens to the file,
    `presets` holds at least the factory entries afterwards. A file that exists but
    cannot be read as a presets document is moved aside (see
    `unreadableFileFor`) instead of being overwritten, and a folder standing where
    the file belongs is left alone.

    All of it runs on the message thread. Every change of the file (the install or
    merge at construction, saving, deleting) re-reads it first and takes its turn
    with other processes under an advisory lock on ".presets.xml.lock" beside it.
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

    /** Deletes entry `presetId` from the file without losing entries that other
        instances saved since this one last read it: the file is read again, the
        entry found there by its contents (an entry with the same tag and
        attributes, the one nearest its old position) and removed, and the result
        written and kept in `presets`. When the file cannot be read the entry is
        removed from `presets` and that is written. Returns false when there was
        nothing to delete (an unknown ID, or an entry another instance already
        removed). `currentIndex` is left to the caller. */
    bool deletePreset (int presetId);

    /** deletePreset that also tells whether the file could be written. When it
        could not, `presets` is left as the file holds it (the entry is still
        there) and `writeResult` gives the reason. */
    bool deletePreset (int presetId, juce::Result& writeResult);

    /** Appends the processor's live settings as a new last entry named `name`,
        after reading the file again so that entries other instances saved
        meanwhile are kept, makes it the current entry and writes the file. When
        the file cannot be written, `presets` is left as the file holds it (as it
        was before when the file cannot be read either), `currentIndex` keeps its
        value, and the result gives the reason. */
    juce::Result savePreset (const juce::String& name);

    /** The file's modification time, or 0 when it cannot be examined. */
    juce::Time readModificationTime() const;

    /** The path of presets.xml for the given relative path (see the constructor). */
    static juce::File locatePresetsFile (const juce::PropertiesFile::Options& options,
                                         const juce::String& relativePath);

    /** The embedded factory presets as a "PRESETS" element. */
    static juce::XmlElement createFactoryPresets();

    /** The name a presets file that cannot be read is moved to: "presets-unreadable.xml"
        beside it, or "presets-unreadable(2).xml" and so on when that is taken. */
    static juce::File unreadableFileFor (const juce::File& presetsFile);

    juce::PropertiesFile::Options options;
    juce::AudioProcessor* processor;
    juce::XmlElement presets { "PRESETS" };
    juce::File presetsFile;
    int currentIndex = 0;
    juce::Time lastModified;

private:
    /** After a failed write: `presets` becomes what the file holds, or
        `fallback` when the file cannot be read. */
    void showFileContents (const juce::XmlElement& fallback);

    /** Installs or merges the file and returns what it should now contain. Sets
        `fileWritten` to whether the file on disk was brought to that content. */
    juce::XmlElement installOrMergeFile (bool& fileWritten);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetsHolder)
};
