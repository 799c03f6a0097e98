#include "ParameterAssignments.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

juce::RangedAudioParameter* findParameter (juce::AudioProcessor& processor, const juce::String& id)
{
    for (auto* parameter : processor.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            if (ranged->getParameterID() == id)
                return ranged;
    return nullptr;
}

juce::String exactValueText (float value)
{
    if (! std::isfinite (value))
        return juce::String (value);

    // The fewest significant digits that read back as this float (as parseNumber reads) ...
    char exponentForm[32] = {};
    int digits = 1;
    for (; digits < std::numeric_limits<float>::max_digits10; ++digits)
    {
        std::snprintf (exponentForm, sizeof (exponentForm), "%.*e", digits - 1, (double) value);
        if (static_cast<float> (std::strtod (exponentForm, nullptr)) == value)
            break;
    }
    std::snprintf (exponentForm, sizeof (exponentForm), "%.*e", digits - 1, (double) value);

    // ... written out in plain decimals unless the exponent form is shorter.
    const auto exponent = std::atoi (std::strchr (exponentForm, 'e') + 1);
    char plainForm[64] = {};
    std::snprintf (plainForm, sizeof (plainForm), "%.*f", std::max (0, digits - 1 - exponent), (double) value);
    return std::strlen (exponentForm) < std::strlen (plainForm) ? exponentForm : plainForm;
}

namespace
{
    /** The range end itself for a value within a few float steps of it. */
    float snapToRangeEnd (float value, float end)
    {
        const auto tolerance = 4.0f * std::numeric_limits<float>::epsilon() * std::max (std::abs (end), std::numeric_limits<float>::min());
        return std::abs (value - end) <= tolerance ? end : value;
    }

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

    // A range end typed with its float rounding (as --list prints it, or
    // close to that) is the range end.
    const auto& range = parameter->getNormalisableRange();
    value = snapToRangeEnd (value, range.start);
    value = snapToRangeEnd (value, range.end);
    if (value < range.start || value > range.end)
    {
        error = "value " + exactValueText (value) + " for parameter \"" + id + "\" lies outside its range "
                + exactValueText (range.start) + " to " + exactValueText (range.end);
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
