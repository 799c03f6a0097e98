// presets.xml as the plug-in finds it on disk: the input is the file's bytes.
//
// Each input is written as a presets file and then
//  1. read with readPresetsFile, and its first entries applied to the
//     processor: every parameter stays inside 0..1;
//  2. met by the start-up merge of a new PresetsHolder:
//     - the presets in memory begin with the factory entries and keep every
//       user entry that does not share a factory entry's tag;
//     - the file on disk then reads back to exactly those presets;
//     - a non-blank file that is no presets document (or has a shape the
//       store never writes) is kept, byte for byte, as presets-unreadable.xml;
//  3. its user entries are loaded (parameters stay inside 0..1) and one is
//     deleted, which removes exactly one entry.
#include "FuzzSupport.h"

#include "engine/MultiAudioProcessor.h"
#include "presets/MergedPresetsCache.h"
#include "presets/ParameterSetXml.h"
#include "presets/PresetsHolder.h"

#include <algorithm>
#include <cstring>

namespace
{
    using fuzzsupport::fail;
    using fuzzsupport::require;

    const juce::String relativePath { "fuzz/presets.xml" };
    constexpr int entriesApplied = 3;

    struct Fixture
    {
        MultiAudioProcessor processor;
        juce::XmlElement factory { PresetsHolder::createFactoryPresets() };
        juce::File presetsFile { PresetsHolder::locatePresetsFile (processor.presetsHolder.options, relativePath) };
    };

    /** The store reports every unreadable file to the log: thousands a second here. */
    struct SilentLogger : juce::Logger
    {
        void logMessage (const juce::String&) override {}
    };

    Fixture& fixture()
    {
        static auto* made = []
        {
            fuzzsupport::isolateUserFolders();
            fuzzsupport::initialiseJuce();
            static SilentLogger silent;
            juce::Logger::setCurrentLogger (&silent);
            return new Fixture();
        }();

        return *made;
    }

    void checkParameters (juce::AudioProcessor& processor)
    {
        for (auto* parameter : processor.getParameters())
            require (fuzzsupport::isNormalised (parameter->getValue()), "a parameter left 0..1 after applying a preset");
    }

    /** Entries of a user's presets document that the merge must keep. */
    int keptUserEntries (const juce::XmlElement& factory, const juce::XmlElement& document)
    {
        int kept = 0;

        for (auto* entry : document.getChildIterator())
        {
            if (entry->isTextElement())
                continue;

            bool namesFactoryEntry = false;
            for (auto* factoryEntry : factory.getChildIterator())
                namesFactoryEntry = namesFactoryEntry || factoryEntry->getTagName().equalsIgnoreCase (entry->getTagName());

            kept += namesFactoryEntry ? 0 : 1;
        }

        return kept;
    }

    bool startsWithFactoryEntries (const juce::XmlElement& presets, const juce::XmlElement& factory)
    {
        if (presets.getNumChildElements() < factory.getNumChildElements())
            return false;

        for (int i = 0; i < factory.getNumChildElements(); ++i)
            if (! presets.getChildElement (i)->isEquivalentTo (factory.getChildElement (i), false))
                return false;

        return true;
    }
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    fixture();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;

    auto& test = fixture();
    auto& processor = test.processor;
    const auto folder = test.presetsFile.getParentDirectory();

    folder.deleteRecursively();
    require (folder.createDirectory().wasOk(), "could not make the presets folder");
    // (replaceWithData would delete the file for empty data instead.)
    require (test.presetsFile.create().wasOk() && (size == 0 || test.presetsFile.replaceWithData (data, size)),
             "could not write the presets file");

    // 1. The reader alone, and entries applied straight from what it read.
    juce::XmlElement read ("PRESETS");
    const bool parsed = readPresetsFile (test.presetsFile, read);

    if (parsed)
    {
        int applied = 0;
        for (auto* entry : read.getChildIterator())
        {
            if (applied++ == entriesApplied)
                break;

            applyParametersFromXml (*entry, processor);
            checkParameters (processor);
        }
    }

    const bool isPresetsDocument = parsed && read.getTagName().equalsIgnoreCase ("PRESETS");
    juce::String text;
    const bool isBlank = readPresetsText (test.presetsFile, text) && text.trim().isEmpty();
    const int expectedUserEntries = isPresetsDocument ? keptUserEntries (test.factory, read) : 0;

    // 2. The start-up merge, as a process meets the file the first time (a
    // file written within the same clock tick as the last one, of the same
    // size, could otherwise be taken for the file last merged).
    MergedPresetsCache::forgetAll();
    PresetsHolder holder (processor, relativePath);
    const int factoryCount = test.factory.getNumChildElements();

    require (startsWithFactoryEntries (holder.presets, test.factory), "the presets do not begin with the factory entries");
    require (holder.presets.getNumChildElements() == factoryCount + expectedUserEntries, "the merge lost or invented user entries");

    juce::XmlElement onDisk ("PRESETS");
    require (readPresetsFile (test.presetsFile, onDisk), "the merged presets file does not read back");
    require (onDisk.isEquivalentTo (&holder.presets, false), "the presets file on disk differs from the presets in memory");

    if (! isPresetsDocument && ! isBlank)
    {
        juce::MemoryBlock kept;
        const auto unreadable = folder.getChildFile ("presets-unreadable.xml");
        require (unreadable.loadFileAsData (kept), "an unreadable presets file was not kept aside");
        require (kept.getSize() == size && (size == 0 || std::memcmp (kept.getData(), data, size) == 0),
                 "the unreadable presets file kept aside differs from the original");
    }

    // 3. User entries loaded, then one deleted.
    for (int id = factoryCount + 1; id <= std::min (holder.presets.getNumChildElements(), factoryCount + entriesApplied); ++id)
    {
        holder.loadPreset (id);
        checkParameters (processor);
    }

    if (expectedUserEntries > 0)
    {
        const int before = holder.presets.getNumChildElements();
        require (holder.deletePreset (factoryCount + 1), "deleting a user entry failed");
        require (holder.presets.getNumChildElements() == before - 1, "deleting a user entry did not remove exactly one entry");
    }

    fuzzsupport::dispatchPendingMessages();
    return 0;
}
