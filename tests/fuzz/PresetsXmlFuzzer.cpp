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
//  4. where JUCE's parser read a document, it read as many names as the text
//     holds presetName attributes, and each equals the text between its
//     quotes decoded as XML decodes it (the five entities and character
//     references), so that no misread reference passes: JUCE's parser cannot
//     serve as its own oracle there.
#include "FuzzSupport.h"

#include "engine/MultiAudioProcessor.h"
#include "presets/MergedPresetsCache.h"
#include "presets/ParameterSetXml.h"
#include "presets/PresetsHolder.h"

#include <algorithm>
#include <cstring>
#include <optional>
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

    /** The text between quotes as XML reads it: "&amp;" "&lt;" "&gt;" "&quot;"
        "&apos;" and character references ("&#233;", "&#xE9;", with any number
        of digits) decoded. Nothing for any other '&', or a reference to NUL, a
        surrogate or beyond U+10FFFF. */
    std::optional<std::u32string> decodeQuotedText (std::u32string_view raw)
    {
        std::u32string decoded;

        for (size_t i = 0; i < raw.size();)
        {
            if (raw[i] != U'&')
            {
                decoded += raw[i++];
                continue;
            }

            const auto semicolon = raw.find (U';', i);
            if (semicolon == std::u32string_view::npos)
                return std::nullopt;

            const auto name = raw.substr (i + 1, semicolon - i - 1);
            i = semicolon + 1;

            if (name == U"amp")         decoded += U'&';
            else if (name == U"lt")     decoded += U'<';
            else if (name == U"gt")     decoded += U'>';
            else if (name == U"quot")   decoded += U'"';
            else if (name == U"apos")   decoded += U'\'';
            else if (name.size() >= 2 && name[0] == U'#')
            {
                const bool hexadecimal = name[1] == U'x';
                const auto digits = name.substr (hexadecimal ? 2 : 1);
                char32_t code = 0;

                for (auto c : digits)
                {
                    const int value = c >= U'0' && c <= U'9' ? (int) (c - U'0')
                                    : hexadecimal && c >= U'a' && c <= U'f' ? (int) (c - U'a' + 10)
                                    : hexadecimal && c >= U'A' && c <= U'F' ? (int) (c - U'A' + 10) : -1;
                    if (value < 0)
                        return std::nullopt;

                    code = std::min<char32_t> (code * (hexadecimal ? 16 : 10) + (char32_t) value, 0x110000);
                }

                if (digits.empty() || code == 0 || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff)
                    return std::nullopt;

                decoded += code;
            }
            else
            {
                return std::nullopt;
            }
        }

        return decoded;
    }

    /** The text between the quotes of every presetName attribute in `text`, in
        order, found by walking its markup: comments and processing
        instructions are skipped, and in tags quoted values are stepped over.
        Meant for text of the shape the store takes (nothing but these, tags
        and white space); nothing when the walk ends inside markup. */
    std::optional<std::vector<std::u32string_view>> quotedPresetNames (std::u32string_view text)
    {
        constexpr std::u32string_view attribute = U"presetName";
        constexpr auto npos = std::u32string_view::npos;
        const auto startsAt = [text] (size_t i, std::u32string_view part)    { return text.substr (i, part.size()) == part; };
        const auto isQuote = [text] (size_t i)    { return i < text.size() && (text[i] == U'"' || text[i] == U'\''); };
        const auto skipSpaces = [text] (size_t i)
        {
            while (i < text.size() && juce::CharacterFunctions::isWhitespace ((juce::juce_wchar) text[i]))
                ++i;
            return i;
        };
        const auto endsName = [text] (size_t i)
        {
            const auto c = (juce::juce_wchar) text[i];
            return ! (juce::CharacterFunctions::isLetterOrDigit (c) || c == '_' || c == '-' || c == ':' || c == '.');
        };
        std::vector<std::u32string_view> quoted;

        for (size_t i = 0; (i = text.find (U'<', i)) != npos;)
        {
            if (startsAt (i, U"<!--") || startsAt (i, U"<?"))
            {
                const auto end = text.find (text[i + 1] == U'!' ? U"-->" : U"?>", i + 2);
                if (end == npos)
                    return std::nullopt;
                i = end + 1;
                continue;
            }

            // A tag, up to the '>' outside its quoted values.
            for (++i; i < text.size() && text[i] != U'>'; ++i)
            {
                auto value = i;

                if (startsAt (i, attribute) && endsName (i - 1))
                {
                    value = skipSpaces (i + attribute.size());
                    value = value < text.size() && text[value] == U'=' ? skipSpaces (value + 1) : i;
                }

                if (isQuote (value))
                {
                    const auto closing = text.find (text[value], value + 1);
                    if (closing == npos)
                        return std::nullopt;
                    if (value != i)
                        quoted.push_back (text.substr (value + 1, closing - value - 1));
                    i = closing;
                }
            }
        }

        return quoted;
    }

    /** Every presetName the parser read, of the document element and its entries, in order. */
    std::vector<juce::String> parsedPresetNames (const juce::XmlElement& document)
    {
        std::vector<juce::String> names;
        const auto collect = [&names] (const juce::XmlElement& element)
        {
            for (int i = 0; i < element.getNumAttributes(); ++i)
                if (element.getAttributeName (i) == "presetName")
                    names.push_back (element.getAttributeValue (i));
        };

        collect (document);
        for (auto* entry : document.getChildIterator())
            collect (*entry);

        return names;
    }

    /** Each name read equals its quoted text decoded, when the text's markup
        could be walked to the end. */
    void checkNamesAgainstTheirQuotedText (const juce::String& text, const juce::XmlElement& document)
    {
        const auto text32 = toUtf32 (text);
        const auto quoted = quotedPresetNames (text32);
        const auto names = parsedPresetNames (document);

        if (! quoted.has_value())
            return;

        require (quoted->size() == names.size(), "the parser read another number of names than the text holds");

        for (size_t i = 0; i < names.size(); ++i)
        {
            const auto decoded = decodeQuotedText ((*quoted)[i]);
            require (decoded.has_value(), "a name holds an '&' that XML does not read so, yet the file was taken");
            require (*decoded == toUtf32 (names[i]), "a name read back differs from the text between its quotes");
        }
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
