#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <optional>

/** JUCE's four parameter classes, each with two differences. First, a value
    that is not finite (NaN, an infinity) is ignored, whoever gives it (host
    automation, a plug-in wrapper calling setValue, setValueNotifyingHost),
    and the parameter keeps the value it has, as if none had been given.
    JUCE's own classes would store NaN, clamp an infinity to an end of the
    range, or round NaN to the first choice.

    setValueNotifyingHost still passes the ignored value on to the
    parameter's listeners; the parameter store's listener reads the value
    back from the parameter and so sees no change, while other listeners
    must check it themselves (the host adapter does).

    Second, each refuses text that names none of its values
    (TextReadingParameter), which JUCE's classes read as zero, the first
    choice or off. */

/** A parameter that tells text naming one of its values from text that names
    none. */
class TextReadingParameter
{
public:
    virtual ~TextReadingParameter() = default;

    /** The normalised value that the text names, as getValueForText gives it;
        nothing when the text names no value. getValueForText gives the
        parameter's current value for such text instead, so that a text box
        refusing it shows the value again and changes nothing. */
    virtual std::optional<float> findValueForText (const juce::String& text) const = 0;
};

class FiniteAudioParameterFloat : public juce::AudioParameterFloat,
                                  public TextReadingParameter
{
public:
    /** The attributes' value-from-string function must give NaN for text that
        names no value (the Conversions functions do); without one, text is
        read as a plain number. */
    FiniteAudioParameterFloat (const juce::ParameterID& parameterID, const juce::String& parameterName,
                               juce::NormalisableRange<float> range, float defaultValue,
                               const juce::AudioParameterFloatAttributes& attributes);

    /** Nothing when the text names no finite value. */
    std::optional<float> findValueForText (const juce::String& text) const override;

private:
    void setValue (float newValue) override;
    float getValueForText (const juce::String& text) const override;

    std::function<float (const juce::String&)> valueFromText;
};

class FiniteAudioParameterInt : public juce::AudioParameterInt,
                                public TextReadingParameter
{
public:
    /** Text is read as a number with nothing but white space after it
        (Conversions::readWholeNumber), rounded and limited to the range; any
        value-from-string function in the attributes goes unused. */
    using juce::AudioParameterInt::AudioParameterInt;

    /** Nothing when the text is no number, holds anything but white space
        after it, or names one that is not finite. */
    std::optional<float> findValueForText (const juce::String& text) const override;

private:
    void setValue (float newValue) override;
    float getValueForText (const juce::String& text) const override;
};

class FiniteAudioParameterChoice : public juce::AudioParameterChoice,
                                   public TextReadingParameter
{
public:
    /** Text is read as the choice whose text (getText) it equals, letter case
        included; any value-from-string function in the attributes goes
        unused. */
    using juce::AudioParameterChoice::AudioParameterChoice;

    /** Nothing when the text is no choice's text. */
    std::optional<float> findValueForText (const juce::String& text) const override;

private:
    void setValue (float newValue) override;
    float getValueForText (const juce::String& text) const override;
};

class FiniteAudioParameterBool : public juce::AudioParameterBool,
                                 public TextReadingParameter
{
public:
    /** Reads text as on (true), off (false) or neither (nothing). */
    using SwitchFromText = std::function<std::optional<bool> (const juce::String&)>;

    /** `switchFromText` reads the switch's texts; without one, JUCE's own
        switch texts are read (Conversions::switchFromText). Any
        value-from-string function in the attributes goes unused. */
    FiniteAudioParameterBool (const juce::ParameterID& parameterID, const juce::String& parameterName,
                              bool defaultValue, const juce::AudioParameterBoolAttributes& attributes = {},
                              SwitchFromText switchFromText = nullptr);

    /** Nothing when the text names neither on nor off. */
    std::optional<float> findValueForText (const juce::String& text) const override;

private:
    void setValue (float newValue) override;
    float getValueForText (const juce::String& text) const override;

    SwitchFromText switchFromText;
};
