#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <optional>

/** JUCE's four parameter classes, each with one difference: a value that is
    not finite (NaN, an infinity) is ignored, whoever gives it (host
    automation, a plug-in wrapper calling setValue, setValueNotifyingHost),
    and the parameter keeps the value it has, as if none had been given.
    JUCE's own classes would store NaN, clamp an infinity to an end of the
    range, or round NaN to the first choice.

    setValueNotifyingHost still passes the ignored value on to the
    parameter's listeners; the parameter store's listener reads the value
    back from the parameter and so sees no change, while other listeners
    must check it themselves (the host adapter does). */
class FiniteAudioParameterFloat : public juce::AudioParameterFloat
{
public:
    /** The attributes' value-from-string function must give NaN for text that
        names no value (the Conversions functions do); without one, text is
        read as a plain number. */
    FiniteAudioParameterFloat (const juce::ParameterID& parameterID, const juce::String& parameterName,
                               juce::NormalisableRange<float> range, float defaultValue,
                               const juce::AudioParameterFloatAttributes& attributes);

    /** The normalised value that the text names, as getValueForText gives it;
        nothing when the text names no finite value. getValueForText gives the
        parameter's current value for such text instead, so that a text box
        refusing it shows the value again and changes nothing. */
    std::optional<float> findValueForText (const juce::String& text) const;

private:
    void setValue (float newValue) override;
    float getValueForText (const juce::String& text) const override;

    std::function<float (const juce::String&)> valueFromText;
};

class FiniteAudioParameterInt : public juce::AudioParameterInt
{
public:
    using juce::AudioParameterInt::AudioParameterInt;

private:
    void setValue (float newValue) override;
};

class FiniteAudioParameterChoice : public juce::AudioParameterChoice
{
public:
    using juce::AudioParameterChoice::AudioParameterChoice;

private:
    void setValue (float newValue) override;
};

class FiniteAudioParameterBool : public juce::AudioParameterBool
{
public:
    using juce::AudioParameterBool::AudioParameterBool;

private:
    void setValue (float newValue) override;
};
