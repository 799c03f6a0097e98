#include "presets/ParameterSetXml.h"

#include "engine/Conversions.h"
#include "presets/PresetsDocumentShape.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{
    /** The parameter's ID, or an empty string for a parameter without one. */
    juce::String idOf (juce::AudioProcessorParameter* parameter)
    {
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
            return withId->paramID;

        return {};
    }

    /** The normalised value stored for a parameter: the attribute's leading
        number narrowed to float and kept inside 0..1. Text that holds no finite
        number (nothing numeric, NaN or infinity typed into a hand-edited file)
        yields the parameter's default, so a damaged entry can never feed a
        non-finite value into the audio path. */
    float storedValueOrDefault (const juce::XmlElement& set, const juce::String& id, float defaultValue)
    {
        if (! set.hasAttribute (id))
            return defaultValue;

        const auto number = Conversions::readLeadingNumber (set.getStringAttribute (id));

        if (! number.has_value())
            return defaultValue;

        const auto value = (float) *number;

        if (! std::isfinite (value))
            return defaultValue;

        return juce::jlimit (0.0f, 1.0f, value);
    }

    /** The offset of the first NUL character of a file's bytes (a zero code
        unit after a UTF-16 byte-order mark, else a zero byte), or -1. */
    juce::int64 findZeroCharacter (const juce::MemoryBlock& bytes)
    {
        const auto* data = static_cast<const juce::uint8*> (bytes.getData());
        const auto size = bytes.getSize();

        if (size >= 2 && ((data[0] == 0xff && data[1] == 0xfe) || (data[0] == 0xfe && data[1] == 0xff)))
        {
            for (size_t i = 2; i + 1 < size; i += 2)
                if (data[i] == 0 && data[i + 1] == 0)
                    return (juce::int64) i;

            return -1;
        }

        const auto* zero = size > 0 ? static_cast<const juce::uint8*> (std::memchr (data, 0, size)) : nullptr;
        return zero != nullptr ? (juce::int64) (zero - data) : -1;
    }

    /** What a file that was not read counts as. Only one whose bytes were read
        and found wanting is damaged (and may be moved aside); one that could
        not be opened or read is left alone. */
    PresetsFileContents::Kind kindOfFailure (ReadFailure failure)
    {
        switch (failure)
        {
            case ReadFailure::missing:          return PresetsFileContents::Kind::missing;
            case ReadFailure::notARegularFile:  return PresetsFileContents::Kind::notARegularFile;
            case ReadFailure::couldNotRead:     return PresetsFileContents::Kind::inaccessible;
            case ReadFailure::tooLarge:
            case ReadFailure::damaged:
            case ReadFailure::none:             break;
        }

        return PresetsFileContents::Kind::unreadable;
    }
}

bool isExcludedFromParameterSets (const juce::String& parameterID)
{
    return parameterID == "preset" || parameterID == "input_plot" || parameterID == "output_plot";
}

void captureParametersToXml (juce::AudioProcessor& processor, juce::XmlElement& set)
{
    set.removeAllAttributes();

    for (auto* parameter : processor.getParameters())
    {
        const auto id = idOf (parameter);

        if (id.isEmpty() || isExcludedFromParameterSets (id))
            continue;

        set.setAttribute (juce::Identifier (id), (double) parameter->getValue());
    }
}

void applyParametersFromXml (const juce::XmlElement& set, juce::AudioProcessor& processor)
{
    for (auto* parameter : processor.getParameters())
    {
        const auto id = idOf (parameter);

        if (id.isEmpty() || isExcludedFromParameterSets (id))
            continue;

        const auto value = storedValueOrDefault (set, id, parameter->getDefaultValue());
        parameter->setValue (value);
        parameter->sendValueChangedMessageToListeners (value);
    }
}

juce::Result readPresetsText (const juce::File& file, juce::String& text, FileStamp& stamp, ReadFailure& failure)
{
    juce::MemoryBlock bytes;
    const auto read = readRegularFile (file, maximumPresetsFileSize, bytes, stamp, failure);

    if (read.failed())
        return read;

    // No presets file holds a NUL character, but damage often does (a crash
    // leaves blocks of zeros; UTF-16 without a byte-order mark is half zeros),
    // and JUCE's strings end at the first one: such a file would read as
    // blank and be overwritten.
    const auto zeroAt = findZeroCharacter (bytes);

    if (zeroAt >= 0)
    {
        failure = ReadFailure::damaged;
        return juce::Result::fail ("it is not a presets document (a NUL character at byte " + juce::String (zeroAt) + ")");
    }

    // The size limit keeps the byte count inside int range.
    text = juce::String::createStringFromData (bytes.getData(), (int) bytes.getSize());

    if (juce::CharPointer_UTF8::isValidString (text.toRawUTF8(), (int) text.getNumBytesAsUTF8()))
        return juce::Result::ok();

    std::vector<juce::juce_wchar> latin1 (static_cast<const juce::uint8*> (bytes.getData()),
                                          static_cast<const juce::uint8*> (bytes.getData()) + bytes.getSize());
    latin1.push_back (0);
    text = juce::String (juce::CharPointer_UTF32 (latin1.data()));
    return juce::Result::ok();
}

bool readPresetsText (const juce::File& file, juce::String& text)
{
    FileStamp stamp;
    ReadFailure failure;
    return readPresetsText (file, text, stamp, failure).wasOk();
}

PresetsFileContents readPresetsDocument (const juce::File& file)
{
    PresetsFileContents contents;
    juce::String text;
    ReadFailure failure;
    const auto read = readPresetsText (file, text, contents.stamp, failure);

    if (read.failed())
    {
        contents.kind = kindOfFailure (failure);
        contents.reason = read.getErrorMessage();
        return contents;
    }

    if (! text.containsNonWhitespaceChars())
    {
        contents.kind = PresetsFileContents::Kind::blank;
        contents.reason = "it is empty";
        return contents;
    }

    // The shape is checked first: it also keeps away processing instructions
    // inside elements, on which JUCE's parser can loop for ever.
    juce::StringArray namesToPool;
    const auto shape = checkPresetsDocumentShape (text, &namesToPool);
    juce::XmlDocument parser (text);

    if (shape.wasOk())
    {
        const auto pooledNames = poolTagNames (std::move (namesToPool));
        contents.document = parser.getDocumentElement();
    }

    if (contents.document == nullptr)
    {
        contents.kind = PresetsFileContents::Kind::unreadable;
        contents.reason = "it is not a presets document ("
                        + (shape.failed() ? shape.getErrorMessage() : parser.getLastParseError()) + ")";
    }

    return contents;
}

std::unique_ptr<juce::XmlElement> parsePresetsFile (const juce::File& file)
{
    return readPresetsDocument (file).document;
}

bool readPresetsFile (const juce::File& file, juce::XmlElement& into)
{
    auto parsed = parsePresetsFile (file);

    if (parsed == nullptr)
        return false;

    into = std::move (*parsed);
    return true;
}

juce::StringArray poolTagNames (juce::StringArray names)
{
    if (! std::is_sorted (names.begin(), names.end()))
        names.sort (false);

    auto& pool = juce::StringPool::getGlobalPool();

    for (auto& name : names)
        name = pool.getPooledString (name);

    return names;
}
