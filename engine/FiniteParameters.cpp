#include "FiniteParameters.h"

#include "Conversions.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace
{
    // JUCE's parameter classes keep setValue and the value it stores private.
    // An override of setValue cannot call the base version, which is the
    // only writer of that value, so the overrides below store it themselves,
    // exactly as the base version does. They reach the private member
    // through a pointer to it taken in an explicit template instantiation,
    // where the language does not check access; nothing else is reached
    // that way.
    template <typename Parameter>
    struct StoredValue
    {
        using Pointer = std::atomic<float> Parameter::*;
    };

    template <typename Tag, typename Tag::Pointer pointer>
    struct StoredValueAccess
    {
        friend typename Tag::Pointer storedValuePointer (Tag) { return pointer; }
    };

    StoredValue<juce::AudioParameterFloat>::Pointer storedValuePointer (StoredValue<juce::AudioParameterFloat>);
    StoredValue<juce::AudioParameterInt>::Pointer storedValuePointer (StoredValue<juce::AudioParameterInt>);
    StoredValue<juce::AudioParameterChoice>::Pointer storedValuePointer (StoredValue<juce::AudioParameterChoice>);
    StoredValue<juce::AudioParameterBool>::Pointer storedValuePointer (StoredValue<juce::AudioParameterBool>);

    template struct StoredValueAccess<StoredValue<juce::AudioParameterFloat>, &juce::AudioParameterFloat::value>;
    template struct StoredValueAccess<StoredValue<juce::AudioParameterInt>, &juce::AudioParameterInt::value>;
    template struct StoredValueAccess<StoredValue<juce::AudioParameterChoice>, &juce::AudioParameterChoice::value>;
    template struct StoredValueAccess<StoredValue<juce::AudioParameterBool>, &juce::AudioParameterBool::value>;

    template <typename Parameter>
    std::atomic<float>& storedValueOf (Parameter& parameter)
    {
        return parameter.*storedValuePointer (StoredValue<Parameter> {});
    }

    /** The normalised value the parameter holds (JUCE keeps getValue private
        in the parameter classes, public in their base). */
    float currentValueOf (const juce::AudioProcessorParameter& parameter)
    {
        return parameter.getValue();
    }
}

//==============================================================================
FiniteAudioParameterFloat::FiniteAudioParameterFloat (const juce::ParameterID& parameterID, const juce::String& parameterName,
                                                      juce::NormalisableRange<float> range, float defaultValue,
                                                      const juce::AudioParameterFloatAttributes& attributes)
    : juce::AudioParameterFloat (parameterID, parameterName, std::move (range), defaultValue, attributes),
      valueFromText (attributes.getValueFromStringFunction() != nullptr ? attributes.getValueFromStringFunction()
                                                                        : Conversions::numberFromText)
{
}

std::optional<float> FiniteAudioParameterFloat::findValueForText (const juce::String& text) const
{
    const auto value = valueFromText (text);

    if (! std::isfinite (value))
        return std::nullopt;

    return convertTo0to1 (value);
}

float FiniteAudioParameterFloat::getValueForText (const juce::String& text) const
{
    return findValueForText (text).value_or (convertTo0to1 (get()));
}

void FiniteAudioParameterFloat::setValue (float newValue)
{
    if (! std::isfinite (newValue))
        return;

    storedValueOf<juce::AudioParameterFloat> (*this) = convertFrom0to1 (newValue);
    valueChanged (get());
}

std::optional<float> FiniteAudioParameterInt::findValueForText (const juce::String& text) const
{
    const auto number = Conversions::readWholeNumber (text);

    if (! (number.has_value() && std::isfinite (*number)))
        return std::nullopt;

    // Limited before it becomes a float, which a number this text may hold
    // would overflow; the range then rounds it to a whole number.
    const auto& range = getNormalisableRange();
    const auto limited = std::clamp (*number, static_cast<double> (range.start), static_cast<double> (range.end));
    return convertTo0to1 (static_cast<float> (limited));
}

float FiniteAudioParameterInt::getValueForText (const juce::String& text) const
{
    return findValueForText (text).value_or (currentValueOf (*this));
}

void FiniteAudioParameterInt::setValue (float newValue)
{
    if (! std::isfinite (newValue))
        return;

    storedValueOf<juce::AudioParameterInt> (*this) = convertFrom0to1 (newValue);
    valueChanged (get());
}

std::optional<float> FiniteAudioParameterChoice::findValueForText (const juce::String& text) const
{
    // Compared with the texts the parameter prints, so that whatever it shows
    // reads back as that choice.
    const juce::AudioProcessorParameter& printed = *this;

    for (int index = 0; index < choices.size(); ++index)
    {
        const auto value = convertTo0to1 (static_cast<float> (index));

        if (printed.getText (value, std::numeric_limits<int>::max()) == text)
            return value;
    }

    return std::nullopt;
}

float FiniteAudioParameterChoice::getValueForText (const juce::String& text) const
{
    return findValueForText (text).value_or (currentValueOf (*this));
}

void FiniteAudioParameterChoice::setValue (float newValue)
{
    if (! std::isfinite (newValue))
        return;

    storedValueOf<juce::AudioParameterChoice> (*this) = convertFrom0to1 (newValue);
    valueChanged (getIndex());
}

FiniteAudioParameterBool::FiniteAudioParameterBool (const juce::ParameterID& parameterID, const juce::String& parameterName,
                                                    bool defaultValue, const juce::AudioParameterBoolAttributes& attributes,
                                                    SwitchFromText switchFromTextToUse)
    : juce::AudioParameterBool (parameterID, parameterName, defaultValue, attributes),
      switchFromText (switchFromTextToUse != nullptr ? std::move (switchFromTextToUse)
                                                     : SwitchFromText (Conversions::switchFromText))
{
}

std::optional<float> FiniteAudioParameterBool::findValueForText (const juce::String& text) const
{
    const auto on = switchFromText (text);

    if (! on.has_value())
        return std::nullopt;

    return *on ? 1.0f : 0.0f;
}

float FiniteAudioParameterBool::getValueForText (const juce::String& text) const
{
    return findValueForText (text).value_or (currentValueOf (*this));
}

void FiniteAudioParameterBool::setValue (float newValue)
{
    if (! std::isfinite (newValue))
        return;

    storedValueOf<juce::AudioParameterBool> (*this) = newValue;
    valueChanged (get());
}
