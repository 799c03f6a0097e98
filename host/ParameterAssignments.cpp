#include "ParameterAssignments.h"

#include <cmath>

juce::RangedAudioParameter* findParameter (juce::AudioProcessor& processor, const juce::String& id)
{
    for (auto* parameter : processor.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            if (ranged->getParameterID() == id)
                return ranged;
    return nullptr;
}

namespace
{
    bool parseNumber (const juce::String& text, float& value)
    {
        const auto trimmed = text.trim();
        if (trimmed.isEmpty())
            return false;

        const auto utf8 = trimmed.toStdString();
        char* end = nullptr;
        const auto parsed = std::strtod (utf8.c_str(), &end);
        if (end == utf8.c_str() || *end != '\0' || ! std::isfinite (parsed))
            return false;

        value = (float) parsed;
        return true;
    }
}

bool parseParameterAssignment (const juce::String& text, juce::AudioProcessor& processor,
                               ParameterAssignment& result, juce::String& error)
{
    const auto equals = text.indexOfChar ('=');
    if (equals <= 0)
    {
        error = "expected a parameter assignment ID=VALUE, got \"" + text + "\"";
        return false;
    }

    const auto id = text.substring (0, equals).trim();
    const auto valueText = text.substring (equals + 1);

    auto* parameter = findParameter (processor, id);
    if (parameter == nullptr)
    {
        error = "unknown parameter ID \"" + id + "\"";
        return false;
    }

    float value = 0.0f;
    if (auto* boolParameter = dynamic_cast<juce::AudioParameterBool*> (parameter))
    {
        juce::ignoreUnused (boolParameter);
        const auto word = valueText.trim().toLowerCase();
        if (word == "true" || word == "on")        value = 1.0f;
        else if (word == "false" || word == "off") value = 0.0f;
        else if (! parseNumber (valueText, value) || (value != 0.0f && value != 1.0f))
        {
            error = "parameter \"" + id + "\" is a switch: give 0, 1, on, off, true or false, not \"" + valueText + "\"";
            return false;
        }
    }
    else if (! parseNumber (valueText, value))
    {
        error = "value \"" + valueText + "\" for parameter \"" + id + "\" is not a number";
        return false;
    }

    const auto& range = parameter->getNormalisableRange();
    if (value < range.start || value > range.end)
    {
        error = "value " + juce::String (value) + " for parameter \"" + id + "\" lies outside its range "
                + juce::String (range.start) + " to " + juce::String (range.end);
        return false;
    }

    const bool isChoice = dynamic_cast<juce::AudioParameterChoice*> (parameter) != nullptr
                       || dynamic_cast<juce::AudioParameterInt*> (parameter) != nullptr;
    if (isChoice && value != std::floor (value))
    {
        error = "parameter \"" + id + "\" takes a whole number, not " + valueText.trim();
        return false;
    }

    result.id = id;
    result.value = value;
    return true;
}

double normalisedValueOf (const ParameterAssignment& assignment, juce::AudioProcessor& processor)
{
    if (auto* parameter = findParameter (processor, assignment.id))
        return parameter->convertTo0to1 (assignment.value);
    return 0.0;
}
