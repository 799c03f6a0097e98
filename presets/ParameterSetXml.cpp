#include "presets/ParameterSetXml.h"

#include <cmath>
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

    /** The normalised value stored for a parameter: the attribute's number narrowed
        to float and kept inside 0..1. Text that reads as no finite number (NaN or
        infinity typed into a hand-edited file) yields the parameter's default, so a
        damaged entry can never feed a non-finite value into the audio path. */
    float storedValueOrDefault (const juce::XmlElement& set, const juce::String& id, float defaultValue)
    {
        if (! set.hasAttribute (id))
            return defaultValue;

        const auto value = (float) set.getStringAttribute (id).getDoubleValue();

        if (! std::isfinite (value))
            return defaultValue;

        return juce::jlimit (0.0f, 1.0f, value);
    }

    /** True when a processing instruction ("<?...?>") follows the start of the
        first element. JUCE's XML parser loops for ever on one that is followed
        by text inside an element; a presets file has none past its XML
        declaration, so such text is refused as not parsing. */
    bool hasProcessingInstructionInContent (const juce::String& text)
    {
        bool insideElements = false;

        for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
        {
            if (*p != '<')
                continue;

            const auto next = p[1];

            if (next == '?' && insideElements)
                return true;

            if (next != '?' && next != '!')
                insideElements = true;
        }

        return false;
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

bool readPresetsText (const juce::File& file, juce::String& text)
{
    juce::MemoryBlock bytes;

    if (! file.existsAsFile() || ! file.loadFileAsData (bytes))
        return false;

    text = juce::String::createStringFromData (bytes.getData(), (int) bytes.getSize());

    if (juce::CharPointer_UTF8::isValidString (text.toRawUTF8(), (int) text.getNumBytesAsUTF8()))
        return true;

    std::vector<juce::juce_wchar> latin1 (static_cast<const juce::uint8*> (bytes.getData()),
                                          static_cast<const juce::uint8*> (bytes.getData()) + bytes.getSize());
    latin1.push_back (0);
    text = juce::String (juce::CharPointer_UTF32 (latin1.data()));
    return true;
}

std::unique_ptr<juce::XmlElement> parsePresetsFile (const juce::File& file)
{
    juce::String text;

    if (! readPresetsText (file, text) || hasProcessingInstructionInContent (text))
        return nullptr;

    return juce::parseXML (text);
}

bool readPresetsFile (const juce::File& file, juce::XmlElement& into)
{
    if (! file.existsAsFile())
        return false;

    auto parsed = parsePresetsFile (file);

    if (parsed == nullptr)
        return false;

    into = *parsed;
    return true;
}

bool writePresetsFile (const juce::XmlElement& presets, const juce::File& file)
{
    return writePresetsFileReportingFailure (presets, file).wasOk();
}

juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file)
{
    // Without a path the temporary file would land in the root folder, and a
    // folder in the file's place would be removed by the final rename when
    // empty: neither is a presets file to replace.
    if (file.getFullPathName().isEmpty())
        return juce::Result::fail ("it has no path");

    if (file.isDirectory())
        return juce::Result::fail ("a folder stands in its place");

    if (! file.exists())
    {
        const auto folder = file.getParentDirectory().createDirectory();

        if (folder.failed())
            return juce::Result::fail ("its folder cannot be created (" + folder.getErrorMessage() + ")");
    }

    // As XmlElement::writeTo (File) does, but keeping the reason of a failure.
    juce::TemporaryFile temporary (file);
    {
        juce::FileOutputStream out (temporary.getFile());

        if (! out.openedOk())
            return juce::Result::fail (out.getStatus().getErrorMessage());

        presets.writeTo (out, juce::XmlElement::TextFormat());
        out.flush();

        if (out.getStatus().failed())
            return juce::Result::fail (out.getStatus().getErrorMessage());
    }

    if (! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("the new contents could not be moved into its place");

    return juce::Result::ok();
}
