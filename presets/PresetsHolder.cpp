#include "presets/PresetsHolder.h"

#include "presets/ParameterSetXml.h"
#include "resources/FactoryPresets.h"

#include <cstdlib>
#include <limits>

namespace
{
    /** Every read-change-write of presets.xml, in any process, takes its turn
        under an advisory lock on a file beside it, so that no process writes
        over what another has just written. Where locks are not available the
        change goes ahead without one. */
    class ScopedFileTurn
    {
    public:
        explicit ScopedFileTurn (const juce::File& presetsFile)
            : lock (presetsFile.getSiblingFile ("." + presetsFile.getFileName() + ".lock").getFullPathName()),
              locked (presetsFile.getFullPathName().isNotEmpty() && lock.enter (10000))
        {
        }

        ~ScopedFileTurn()
        {
            if (locked)
                lock.exit();
        }

    private:
        juce::InterProcessLock lock;
        const bool locked;
    };

    const juce::String makerFolderName { "Velkor Audio Tools" };

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

    /** True for a file that holds nothing but white space, which cannot carry a
        user's entries and may simply be replaced. A file that cannot be opened is
        not blank: its contents are unknown. */
    bool isBlankFile (const juce::File& file)
    {
        juce::String text;
        return readPresetsText (file, text) && text.trim().isEmpty();
    }

    bool isPresetsDocument (const juce::XmlElement* document)
    {
        return document != nullptr && document->getTagName().equalsIgnoreCase ("PRESETS");
    }

    /** The factory entries followed by the user's own entries of `userFile`, in
        their order, renumbered after the last factory entry. An entry whose tag
        names a factory entry (in any letter case) gives way to the embedded one.
        Only the factory tags are compared: two user entries that share a tag, as a
        hand-edited file may have, are both kept. */
    juce::XmlElement mergeUserEntries (juce::XmlElement factory, const juce::XmlElement& userFile)
    {
        juce::StringArray factoryTags;

        for (auto* entry : factory.getChildIterator())
            factoryTags.add (entry->getTagName());

        for (auto* entry : userFile.getChildIterator())
        {
            if (entry->isTextElement() || factoryTags.contains (entry->getTagName(), true))
                continue;

            auto* copy = factory.createNewChildElement ("preset" + juce::String (factory.getNumChildElements() + 1));

            for (int i = 0; i < entry->getNumAttributes(); ++i)
                copy->setAttribute (juce::Identifier (entry->getAttributeName (i)), entry->getAttributeValue (i));
        }

        return factory;
    }

    bool haveSameAttributes (const juce::XmlElement& a, const juce::XmlElement& b)
    {
        if (a.getNumAttributes() != b.getNumAttributes())
            return false;

        for (int i = 0; i < a.getNumAttributes(); ++i)
            if (a.getAttributeName (i) != b.getAttributeName (i) || a.getAttributeValue (i) != b.getAttributeValue (i))
                return false;

        return true;
    }

    /** The entry of `presets` that is `wanted`: same attributes, preferably the same
        tag too (a later start-up may have renumbered it), and among equals the one
        nearest the wanted entry's old 0-based position. */
    juce::XmlElement* findEntry (const juce::XmlElement& presets, const juce::XmlElement& wanted, int oldPosition)
    {
        juce::XmlElement* best = nullptr;
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
                    best = entry;
                    bestScore = score;
                }
            }

            ++position;
        }

        return best;
    }
}

PresetsHolder::PresetsHolder (juce::AudioProcessor& owner, const juce::String& relativePath)
    : options (makeOptions()),
      processor (&owner),
      presetsFile (locatePresetsFile (options, relativePath))
{
    bool fileWritten = false;
    juce::XmlElement intended ("PRESETS");
    {
        // Processes starting at the same time take turns, so that each one
        // finds the file as the one before it left it (a damaged file is
        // moved aside once, not once per process).
        const ScopedFileTurn turn (presetsFile);
        intended = installOrMergeFile (fileWritten);
    }

    // What is in memory must begin with the factory entries even when the file
    // could not be written or read back.
    if (! (fileWritten && readPresetsFile (presetsFile, presets)))
        presets = intended;

    lastModified = readModificationTime();
}

juce::XmlElement PresetsHolder::installOrMergeFile (bool& fileWritten)
{
    auto factory = createFactoryPresets();
    fileWritten = false;

    // A folder standing where the file belongs is left alone.
    if (presetsFile.getFullPathName().isEmpty() || presetsFile.isDirectory())
        return factory;

    if (! presetsFile.existsAsFile())
    {
        fileWritten = writePresetsFile (factory, presetsFile);
        return factory;
    }

    const auto userFile = parsePresetsFile (presetsFile);

    if (! isPresetsDocument (userFile.get()))
    {
        // A file that cannot be read as presets may still hold a user's entries
        // (a damaged or hand-edited file): it is kept under another name, and
        // when even that fails it stays untouched.
        if (! isBlankFile (presetsFile) && ! presetsFile.moveFileTo (unreadableFileFor (presetsFile)))
            return factory;

        fileWritten = writePresetsFile (factory, presetsFile);
        return factory;
    }

    auto merged = mergeUserEntries (std::move (factory), *userFile);
    fileWritten = writePresetsFile (merged, presetsFile);
    return merged;
}

void PresetsHolder::loadPreset (int presetId)
{
    if (presetId >= 1 && presetId <= presets.getNumChildElements() && presetId != currentIndex)
    {
        const juce::XmlElement entry (*presets.getChildElement (presetId - 1));
        applyParametersFromXml (entry, *processor);
    }

    currentIndex = presetId;
}

bool PresetsHolder::deletePreset (int presetId)
{
    auto ignored = juce::Result::ok();
    return deletePreset (presetId, ignored);
}

bool PresetsHolder::deletePreset (int presetId, juce::Result& writeResult)
{
    writeResult = juce::Result::ok();

    if (presetId < 1 || presetId > presets.getNumChildElements())
        return false;

    const juce::XmlElement before (presets);
    const juce::XmlElement doomed (*presets.getChildElement (presetId - 1));
    juce::XmlElement onDisk ("PRESETS");
    const ScopedFileTurn turn (presetsFile);

    if (readPresetsFile (presetsFile, onDisk))
    {
        presets = onDisk;
        auto* entry = findEntry (presets, doomed, presetId - 1);

        if (entry == nullptr)
            return false;

        presets.removeChildElement (entry, true);
    }
    else
    {
        presets.removeChildElement (presets.getChildElement (presetId - 1), true);
    }

    writeResult = writePresetsFileReportingFailure (presets, presetsFile);

    if (writeResult.failed())
        showFileContents (before);

    return true;
}

juce::Result PresetsHolder::savePreset (const juce::String& name)
{
    const juce::XmlElement before (presets);
    const ScopedFileTurn turn (presetsFile);
    readPresetsFile (presetsFile, presets);

    const auto newId = presets.getNumChildElements() + 1;
    auto* entry = presets.createNewChildElement ("preset" + juce::String (newId));
    captureParametersToXml (*processor, *entry);
    entry->setAttribute ("presetName", name);

    const auto result = writePresetsFileReportingFailure (presets, presetsFile);

    if (result.wasOk())
        currentIndex = newId;
    else
        showFileContents (before);

    return result;
}

void PresetsHolder::showFileContents (const juce::XmlElement& fallback)
{
    if (! readPresetsFile (presetsFile, presets))
        presets = fallback;
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
    return file.getSiblingFile (file.getFileNameWithoutExtension() + "-unreadable" + file.getFileExtension())
               .getNonexistentSibling (true);
}
