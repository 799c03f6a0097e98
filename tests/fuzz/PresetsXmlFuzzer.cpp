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
//     deleted, which removes exactly one entry;
//  4. where JUCE's parser read a document, each name it read equals the text
//     between its quotes decoded as XML decodes it, so no misread reference
//     passes: JUCE's parser cannot serve as its own oracle there.
#include "FuzzSupport.h"

#include "engine/MultiAudioProcessor.h"
#include "presets/MergedPresetsCache.h"
#include "presets/ParameterSetXml.h"
#include "presets/PresetsHolder.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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

    std::u32string toUtf32 (const juce::String& text)
    {
        std::u32string characters;
        for (auto p = text.getCharPointer(); ! p.isEmpty();)
            characters += (char32_t) p.getAndAdvance();
        return characters;
    }

    /** Each presetName the parser read, of the document element and then its
        entries, equals the text between its quotes with the five entities and
        character references decoded. The text passed the shape check, so
        outside comments and processing instructions a quote only ever opens
        an attribute value, and each '&' starts a sound reference. */
    void checkNamesAgainstTheirQuotedText (const juce::String& text, const juce::XmlElement& document)
    {
        std::vector<std::u32string> names;
        juce::Array<const juce::XmlElement*> elements { &document };
        for (auto* entry : document.getChildIterator())
            elements.add (entry);
        for (auto* element : elements)
            for (int i = 0; i < element->getNumAttributes(); ++i)
                if (element->getAttributeName (i) == "presetName")
                    names.push_back (toUtf32 (element->getAttributeValue (i)));

        const auto t = toUtf32 (text);
        const std::u32string entities[] { U"amp", U"lt", U"gt", U"quot", U"apos" };
        const auto isNameCharacter = [] (char32_t c)
            { return juce::CharacterFunctions::isLetterOrDigit ((juce::juce_wchar) c) || std::u32string_view (U"_-:.").find (c) != std::u32string_view::npos; };
        size_t nextName = 0;

        for (size_t i = 0; i < t.size(); ++i)
        {
            if (t.compare (i, 4, U"<!--") == 0 || t.compare (i, 2, U"<?") == 0)
            {
                const bool comment = t[i + 1] == U'!';
                if ((i = t.find (comment ? U"-->" : U"?>", i + (comment ? 4 : 2))) == std::u32string::npos)
                    break;   // nothing is read after a comment without its end
                continue;
            }

            if (t[i] != U'"' && t[i] != U'\'')
                continue;

            // A quoted value: of presetName when that name and '=' precede it.
            const auto end = t.find (t[i], i + 1);
            auto nameEnd = i;
            while (t[nameEnd - 1] == U'=' || juce::CharacterFunctions::isWhitespace ((juce::juce_wchar) t[nameEnd - 1]))
                --nameEnd;

            if (nameEnd > 10 && t.compare (nameEnd - 10, 10, U"presetName") == 0 && ! isNameCharacter (t[nameEnd - 11]))
            {
                std::u32string decoded;
                for (auto k = i + 1; k < end; ++k)
                {
                    if (t[k] != U'&')
                    {
                        decoded += t[k];
                        continue;
                    }

                    const auto semicolon = t.find (U';', k);
                    const auto reference = t.substr (k + 1, semicolon - k - 1);
                    k = semicolon;

                    if (reference[0] == U'#')
                    {
                        const bool hexadecimal = reference[1] == U'x';
                        char32_t code = 0;
                        for (auto digit : reference.substr (hexadecimal ? 2 : 1))
                            code = code * (hexadecimal ? 16 : 10) + (char32_t) juce::CharacterFunctions::getHexDigitValue ((juce::juce_wchar) digit);
                        decoded += code;
                        continue;
                    }

                    const auto entity = std::find (std::begin (entities), std::end (entities), reference) - std::begin (entities);
                    require (entity < 5, "a name holds an '&' that XML does not read so, yet the file was taken");
                    decoded += U"&<>\"'"[entity];
                }

                require (nextName < names.size(), "the parser read fewer names than the text holds");
                require (names[nextName++] == decoded, "a name read back differs from the text between its quotes");
            }

            i = end;
        }

        require (nextName == names.size(), "the parser read more names than the text holds");
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
    const bool isText = readPresetsText (test.presetsFile, text);
    const bool isBlank = isText && text.trim().isEmpty();
    const int expectedUserEntries = isPresetsDocument ? keptUserEntries (test.factory, read) : 0;

    if (parsed && isText)
        checkNamesAgainstTheirQuotedText (text, read);

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
