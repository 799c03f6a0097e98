#include "presets/PresetsHolder.h"

#include "presets/MergedPresetsCache.h"
#include "presets/ParameterSetXml.h"
#include "presets/PresetsFileLock.h"
#include "presets/PresetsFileWriter.h"
#include "resources/FactoryPresets.h"

#include <cstdlib>
#include <limits>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace
{
    const juce::String makerFolderName { "Velkor Audio Tools" };
    const juce::String presetParameterID { "preset" };
    const juce::String unreadableSuffix { "-unreadable" };

    juce::PropertiesFile::Options makeOptions()
    {
        juce::PropertiesFile::Options options;
        options.osxLibrarySubFolder = "Application Support/" + makerFolderName;
        return options;
    }

   #if ! JUCE_MAC && ! JUCE_WINDOWS
    /** The user's config folder: $XDG_CONFIG_HOME when it holds an absolute path,
        else ~/.config. */
    juce::File userConfigFolder()
    {
        const auto configHome = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});

        if (juce::File::isAbsolutePath (configHome))
            return juce::File (configHome);

        return juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config");
    }
   #endif

    bool isPresetsDocument (const juce::XmlElement& document)
    {
        return document.getTagName().equalsIgnoreCase ("PRESETS");
    }

    /** The factory entries followed by the user's own entries of `userFile`, in
        their order, renumbered after the last factory entry. An entry whose tag
        names a factory entry (in any letter case) gives way to the embedded one.
        Only the factory tags are compared: two user entries that share a tag, as a
        hand-edited file may have, are both kept.

        Entries are moved, not copied, and the lists are built from the front
        (JUCE's child lists are singly linked: appending walks the whole list),
        so the time grows with the number of entries, not its square. */
    juce::XmlElement mergeUserEntries (juce::XmlElement factory, juce::XmlElement userFile)
    {
        std::vector<std::unique_ptr<juce::XmlElement>> factoryEntries, userEntries;
        juce::StringArray factoryTags;

        for (auto* list : { &factory, &userFile })
        {
            while (auto* entry = list->getFirstChildElement())
            {
                list->removeChildElement (entry, false);   // the first: found at once
                std::unique_ptr<juce::XmlElement> owned (entry);

                if (list == &factory)
                {
                    factoryTags.add (owned->getTagName());
                    factoryEntries.push_back (std::move (owned));
                }
                else if (! owned->isTextElement() && ! factoryTags.contains (owned->getTagName(), true))
                {
                    userEntries.push_back (std::move (owned));
                }
            }
        }

        const auto firstUserNumber = (int) factoryEntries.size() + 1;
        juce::StringArray newTags;

        for (size_t i = 0; i < userEntries.size(); ++i)
            newTags.add ("preset" + juce::String (firstUserNumber + (int) i));

        const auto pooledTags = poolTagNames (newTags);

        for (auto i = userEntries.size(); i-- > 0;)
        {
            userEntries[i]->setTagName (newTags[(int) i]);
            factory.prependChildElement (userEntries[i].release());
        }

        for (auto i = factoryEntries.size(); i-- > 0;)
            factory.prependChildElement (factoryEntries[i].release());

        return factory;
    }

    bool haveSameAttributes (const juce::XmlElement& a, const juce::XmlElement& b)
    {
        // The name tells most entries apart at once; the full comparison below
        // walks the attribute lists by index and is kept for the few left.
        if (a.getStringAttribute ("presetName") != b.getStringAttribute ("presetName")
             || a.getNumAttributes() != b.getNumAttributes())
            return false;

        for (int i = 0; i < a.getNumAttributes(); ++i)
            if (a.getAttributeName (i) != b.getAttributeName (i) || a.getAttributeValue (i) != b.getAttributeValue (i))
                return false;

        return true;
    }

    /** The value "preset" holds in a saved state; 0 when it holds none. */
    int presetIdIn (const juce::ValueTree& state)
    {
        const auto child = state.getChildWithProperty ("id", presetParameterID);
        return child.isValid() ? juce::roundToInt (juce::jlimit (-1.0e6, 1.0e6, (double) child["value"])) : 0;
    }

    juce::String entryName (const juce::XmlElement& entry)
    {
        return entry.getStringAttribute ("presetName");
    }

    struct FoundEntry
    {
        juce::XmlElement* entry = nullptr;
        int position = -1;
    };

    /** The entry of `presets` that is `wanted`: same attributes, preferably the same
        tag too (a later start-up may have renumbered it), and among equals the one
        nearest the wanted entry's old 0-based position. */
    FoundEntry findEntry (const juce::XmlElement& presets, const juce::XmlElement& wanted, int oldPosition)
    {
        FoundEntry best;
        auto bestScore = std::numeric_limits<int>::max();
        int position = 0;

        for (auto* entry : presets.getChildIterator())
        {
            if (haveSameAttributes (*entry, wanted))
            {
                const auto tagPenalty = entry->getTagName() == wanted.getTagName() ? 0 : 1000000;
                const auto score = tagPenalty + std::abs (position - oldPosition);

                if (score < bestScore)
                {
                    best = { entry, position };
                    bestScore = score;
                }
            }

            ++position;
        }

        return best;
    }
}

const juce::Identifier PresetsHolder::entryNameProperty { "presetName" };

PresetsHolder::PresetsHolder (juce::AudioProcessor& owner, const juce::String& relativePath)
    : options (makeOptions()),
      processor (&owner),
      presetsFile (locatePresetsFile (options, relativePath))
{
    presets = startUp();
    lastModified = readModificationTime();
}

juce::XmlElement PresetsHolder::startUp()
{
    if (presetsFile.getFullPathName().isEmpty())
        return createFactoryPresets();

    // A file as this process last merged and wrote it needs neither again.
    const auto takeCached = [this] (const FileStamp& stamp)
    {
        auto cached = MergedPresetsCache::find (presetsFile, stamp);

        if (cached != nullptr)
            heldStamp = stamp;

        return cached;
    };

    if (auto cached = takeCached (FileStamp::of (presetsFile)))
        return *cached;

    // Processes starting at the same time take turns, so that each one finds
    // the file as the one before it left it (a damaged file is moved aside
    // once, not once per process).
    const PresetsFileLock turn (presetsFile, PresetsFileLock::messageThreadTimeoutMilliseconds);

    if (! turn.permitsChanges())
        report ("The presets file " + presetsFile.getFullPathName() + " is used as it reads, without bringing it up to date: "
                + turn.describeRefusal() + ".");
    else if (auto cached = takeCached (FileStamp::of (presetsFile)))   // merged by another thread meanwhile
        return *cached;

    return installOrMerge (readPresetsDocument (presetsFile), turn);
}

juce::XmlElement PresetsHolder::installOrMerge (PresetsFileContents contents, const PresetsFileLock& turn)
{
    using Kind = PresetsFileContents::Kind;
    auto merged = createFactoryPresets();

    if (contents.kind == Kind::document && ! isPresetsDocument (*contents.document))
    {
        contents.kind = Kind::unreadable;
        contents.reason = "its document element is <" + contents.document->getTagName() + ">, not <PRESETS>";
    }

    const auto leaveAsItIs = [&] (const juce::String& why)
    {
        report ("The presets file " + presetsFile.getFullPathName() + " cannot be read: " + contents.reason
                + ". It was left as it is" + (why.isEmpty() ? juce::String() : " (" + why + ")")
                + "; the factory presets serve meanwhile.");
        return merged;
    };

    switch (contents.kind)
    {
        case Kind::document:
            merged = mergeUserEntries (std::move (merged), std::move (*contents.document));
            break;

        case Kind::notARegularFile:
        case Kind::inaccessible:
            // Whatever it holds is out of reach now but may not stay so (a
            // file of another account, too many files open): it is neither
            // moved nor written over.
            return leaveAsItIs ({});

        case Kind::unreadable:
            // It may still hold a user's entries (a damaged or hand-edited file):
            // it is kept under another name, and only with the turn held, so
            // that no other process takes it for its own meanwhile; when even
            // that fails it stays untouched.
            if (turn.getState() != PresetsFileLock::State::held)
                return leaveAsItIs (turn.permitsChanges() ? juce::String ("no lock can be had to keep it aside under")
                                                          : turn.describeRefusal());

            if (! keepUnreadableFileAside (contents.reason))
                return merged;

            break;

        case Kind::missing:
        case Kind::blank:
            break;
    }

    if (! turn.permitsChanges())
        return merged;

    const auto written = writePresets (merged);

    if (written.wasOk())
        MergedPresetsCache::remember (presetsFile, heldStamp, std::make_shared<const juce::XmlElement> (merged));
    else if (contents.kind == Kind::unreadable)
        report ("The damaged presets file " + presetsFile.getFullPathName() + " was kept aside, but no new one could be written in its place: "
                + written.getErrorMessage() + ".");
    else
        report ("The presets file " + presetsFile.getFullPathName() + " could not be written: " + written.getErrorMessage()
                + ". It was left as it was.");

    return merged;
}

void PresetsHolder::loadPreset (int presetId)
{
    if (presetId != currentIndex)
        applyPreset (presetId);

    currentIndex = presetId;
    noteCurrentEntry();
}

void PresetsHolder::applyPreset (int presetId)
{
    if (presetId >= 1 && presetId <= presets.getNumChildElements())
    {
        const juce::XmlElement entry (*presets.getChildElement (presetId - 1));
        applyParametersFromXml (entry, *processor);
    }

    currentIndex = presetId;
    noteCurrentEntry();
}

//==============================================================================
void PresetsHolder::addEntryNameTo (juce::ValueTree& state) const
{
    const juce::ScopedLock sl (entryLock);

    if (namedEntryName.has_value() && namedEntryId == presetIdIn (state))
        state.setProperty (entryNameProperty, *namedEntryName, nullptr);
    else
        state.removeProperty (entryNameProperty, nullptr);
}

void PresetsHolder::restoreState (juce::AudioProcessorValueTreeState& store, const juce::ValueTree& state)
{
    std::optional<juce::String> name;

    if (state.hasProperty (entryNameProperty))
        name = state[entryNameProperty].toString();

    store.replaceState (state);

    auto* preset = store.getParameter (presetParameterID);

    if (preset == nullptr)
        return;

    const auto value = preset->getValue();

    {
        const juce::ScopedLock sl (entryLock);
        namedEntryId = juce::roundToInt (preset->convertFrom0to1 (value));
        namedEntryName = std::move (name);
        restoredNamePending = true;
    }

    // Set after the name is handed over, so whoever follows "preset" finds it
    // (a window open meanwhile may already have followed the new value alone).
    preset->sendValueChangedMessageToListeners (value);
}

int PresetsHolder::followPresetParameter (int presetId)
{
    const juce::ScopedLock sl (entryLock);
    auto id = presetId;

    // A name restored with the value it was saved beside: the entry with that
    // name, preferably at its ID, else the one nearest it.
    if (std::exchange (restoredNamePending, false) && namedEntryId == presetId && namedEntryName.has_value())
    {
        id = 0;
        int position = 1;

        for (auto* entry : presets.getChildIterator())
        {
            if (entryName (*entry) == *namedEntryName && (id == 0 || std::abs (position - presetId) < std::abs (id - presetId)))
                id = position;

            ++position;
        }
    }

    currentIndex = id >= 1 && id <= presets.getNumChildElements() ? id : 0;
    namedEntryId = id;
    namedEntryName.reset();

    if (currentIndex > 0)
        namedEntryName = entryName (*presets.getChildElement (currentIndex - 1));

    return id;
}

void PresetsHolder::noteCurrentEntry()
{
    const juce::ScopedLock sl (entryLock);
    restoredNamePending = false;
    namedEntryId = currentIndex;
    namedEntryName.reset();

    if (currentIndex >= 1 && currentIndex <= presets.getNumChildElements())
        namedEntryName = entryName (*presets.getChildElement (currentIndex - 1));
}

bool PresetsHolder::deletePreset (int presetId)
{
    auto ignored = juce::Result::ok();
    return deletePreset (presetId, ignored);
}

bool PresetsHolder::deletePreset (int presetId, juce::Result& writeResult)
{
    writeResult = juce::Result::ok();
    lastProblem.clear();

    if (presetId < 1 || presetId > presets.getNumChildElements())
        return false;

    const juce::XmlElement doomed (*presets.getChildElement (presetId - 1));
    const PresetsFileLock turn (presetsFile, PresetsFileLock::messageThreadTimeoutMilliseconds);
    writeResult = prepareChange (turn);

    if (writeResult.failed())
        return true;

    const auto found = findEntry (presets, doomed, presetId - 1);

    if (found.entry == nullptr)
        return false;

    presets.removeChildElement (found.entry, false);
    std::unique_ptr<juce::XmlElement> removed (found.entry);
    writeResult = writePresets (presets);

    if (writeResult.failed())
        presets.insertChildElement (removed.release(), found.position);

    return true;
}

juce::Result PresetsHolder::savePreset (const juce::String& name)
{
    lastProblem.clear();
    const PresetsFileLock turn (presetsFile, PresetsFileLock::messageThreadTimeoutMilliseconds);
    const auto prepared = prepareChange (turn);

    if (prepared.failed())
        return prepared;

    const auto newId = presets.getNumChildElements() + 1;
    auto* entry = presets.createNewChildElement ("preset" + juce::String (newId));
    captureParametersToXml (*processor, *entry);
    entry->setAttribute ("presetName", name);

    const auto result = writePresets (presets);

    if (result.wasOk())
    {
        currentIndex = newId;
        noteCurrentEntry();
    }
    else
    {
        presets.removeChildElement (entry, true);
    }

    return result;
}

juce::Result PresetsHolder::prepareChange (const PresetsFileLock& turn)
{
    using Kind = PresetsFileContents::Kind;

    if (turn.getState() == PresetsFileLock::State::heldElsewhere)
        return refuse (turn.describeRefusal() + ", so nothing was changed; try again in a moment");

    if (! turn.permitsChanges())
        return refuse (turn.describeRefusal() + ", so nothing was changed");

    // Unchanged since this holder read or wrote it: what is held is what it holds.
    const auto stamp = FileStamp::of (presetsFile);

    if (stamp.isRegular() && stamp == heldStamp)
        return juce::Result::ok();

    auto contents = readPresetsDocument (presetsFile);

    if (contents.kind == Kind::document && ! isPresetsDocument (*contents.document))
    {
        contents.kind = Kind::unreadable;
        contents.reason = "its document element is <" + contents.document->getTagName() + ">, not <PRESETS>";
    }

    switch (contents.kind)
    {
        case Kind::document:
            presets = std::move (*contents.document);
            heldStamp = contents.stamp;
            return juce::Result::ok();

        case Kind::notARegularFile:
            return refuse (contents.reason + ", so it was left as it is");

        case Kind::inaccessible:
            return refuse ("it cannot be read (" + contents.reason + "), so nothing was changed");

        case Kind::unreadable:
            if (turn.getState() != PresetsFileLock::State::held)
                return refuse ("it cannot be read (" + contents.reason + ") and, without a lock on it, is not moved aside, so it was left as it is");

            if (! keepUnreadableFileAside (contents.reason))
                return refuse ("it cannot be read (" + contents.reason + ") nor kept aside, so it was left as it is");

            return juce::Result::ok();

        case Kind::missing:
        case Kind::blank:
            break;
    }

    // Written anew from what is held.
    return juce::Result::ok();
}

juce::Result PresetsHolder::writePresets (const juce::XmlElement& toWrite)
{
    FileStamp written;
    const auto result = writePresetsFileReportingFailure (toWrite, presetsFile, written, permissionsOfKeptAsideFile);
    heldStamp = result.wasOk() ? written : FileStamp();
    permissionsOfKeptAsideFile = -1;
    return result;
}

bool PresetsHolder::keepUnreadableFileAside (const juce::String& reason)
{
    // A linked file is kept aside beside the file it leads to, so that the
    // link stays and the next write puts a new file where it points.
    juce::File damaged (presetsFile), aside;
    auto moved = presetsFile.isSymbolicLink() ? findFileToReplace (presetsFile, damaged) : juce::Result::ok();

    if (moved.wasOk())
        moved = moveAsideWithoutReplacing (damaged, unreadableSuffix, aside);

    if (moved.wasOk())
    {
        // The new file goes where the damaged one stood, as private as it was.
        struct stat kept;
        permissionsOfKeptAsideFile = ::stat (aside.getFullPathName().toRawUTF8(), &kept) == 0 ? (int) (kept.st_mode & 0777) : -1;
        report ("The presets file " + presetsFile.getFullPathName() + " could not be read: " + reason
                + ". It was kept as " + aside.getFullPathName() + ".");
        return true;
    }

    report ("The presets file " + presetsFile.getFullPathName() + " could not be read: " + reason
            + ", nor be kept as " + unreadableFileFor (damaged).getFullPathName() + " (" + moved.getErrorMessage()
            + "). It was left as it is.");
    return false;
}

juce::Result PresetsHolder::refuse (const juce::String& reason)
{
    report ("The presets file " + presetsFile.getFullPathName() + " was not changed: " + reason + ".");
    return juce::Result::fail (reason);
}

void PresetsHolder::report (const juce::String& problem)
{
    lastProblem = problem;
    juce::Logger::writeToLog (problem);
}

juce::Time PresetsHolder::readModificationTime() const
{
    if (presetsFile.getFullPathName().isEmpty() || ! presetsFile.existsAsFile())
        return {};

    return presetsFile.getLastModificationTime();
}

juce::File PresetsHolder::locatePresetsFile (const juce::PropertiesFile::Options& fileOptions,
                                             const juce::String& relativePath)
{
   #if JUCE_MAC
    // The default file for empty names is the maker's folder itself; its parent
    // is the user's Application Support folder.
    const auto supportFolder = fileOptions.getDefaultFile().getParentDirectory();
   #elif JUCE_WINDOWS
    const auto supportFolder = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
   #else
    const auto supportFolder = userConfigFolder();
   #endif

   #if ! JUCE_MAC
    juce::ignoreUnused (fileOptions);
   #endif

    return supportFolder.getChildFile (makerFolderName).getChildFile (relativePath);
}

juce::XmlElement PresetsHolder::createFactoryPresets()
{
    if (auto parsed = juce::parseXML (juce::String::fromUTF8 (factoryPresetsXml, factoryPresetsXmlSize)))
        return *parsed;

    jassertfalse; // the embedded resource is generated and always parses
    return juce::XmlElement ("PRESETS");
}

juce::File PresetsHolder::unreadableFileFor (const juce::File& file)
{
    return file.getSiblingFile (file.getFileNameWithoutExtension() + unreadableSuffix + file.getFileExtension())
               .getNonexistentSibling (true);
}
