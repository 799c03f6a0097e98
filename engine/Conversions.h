#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

/** Value/text conversions handed to the parameters, and the logarithmic range of
    the crossover frequencies.

    The value-to-text functions take the parameter's plain value and ignore the
    maximum length: texts are never shortened. None of them keeps state.
*/
namespace Conversions
{
    //==============================================================================
    /** The decimal number at the start of `text`, after any white space: an
        optional sign, digits with an optional decimal point, an optional
        exponent; also "inf", "infinity" and "nan" in any letter case. Nothing
        the text holds can overflow it: a magnitude beyond a double's range
        reads as an infinity, one below it as zero. No number at the start gives
        nothing. `rest`, when given, receives the text after the number.
        Every number read from text someone else wrote (typed, from a host,
        stored in a file) goes through here. */
    std::optional<double> readLeadingNumber (const juce::String& text, juce::String* rest = nullptr);

    /** The number readLeadingNumber reads when nothing but white space
        follows it ("3", " 7.9 "); nothing for any other text ("3abc", "2,7",
        "50%"). */
    std::optional<double> readWholeNumber (const juce::String& text);

    /** Fixed notation with two decimals, e.g. "-96.00". */
    juce::String twoDecimalText (float value, int maximumStringLength);

    /*  The text-to-value functions below read a text only when nothing but
        white space surrounds the number and, where the parameter has a unit,
        that unit in any letter case ("-6 dB", "-6db", " 50 % "). Anything
        else after the number (a decimal comma, another unit, letters) makes
        them give NaN, which the parameters refuse (ParameterLayout.cpp), as
        they give for text with no number or one that is not finite as a
        float ("nan", "inf", "1e39"). */

    /** A number with nothing after it. */
    float numberFromText (const juce::String& text);

    /** A number of decibels, "dB" after it or nothing. */
    float decibelsFromText (const juce::String& text);

    /** A percentage, "%" after it or nothing. */
    float percentFromText (const juce::String& text);

    /** Two-decimal text followed by "%", e.g. "100.00%". */
    juce::String percentText (float value, int maximumStringLength);

    /** A linear gain as decibels (floored at -100 dB) with " dB", e.g. "0.00 dB". */
    juce::String decibelTextWithUnit (float value, int maximumStringLength);

    /** A linear gain as decibels (floored at -100 dB) without a unit, e.g. "20.00". */
    juce::String decibelTextWithoutUnit (float value, int maximumStringLength);

    /** Parses decibels (decibelsFromText) and returns the linear gain;
        -100 dB or less gives 0. NaN when the text names no finite number of
        decibels or the gain is not finite. */
    float gainFromDecibelText (const juce::String& text);

    /** "440.00 Hz" below 1 kHz, "1.00 kHz" from 1 kHz on. */
    juce::String frequencyText (float value, int maximumStringLength);

    /** "250 Hz" (plain number format) below 1 kHz, "2.50 kHz" from 1 kHz on. */
    juce::String crossoverFrequencyText (float value, int maximumStringLength);

    /** A frequency: the number in hertz with "Hz" after it or nothing
        ("440 Hz", "440hz", "2000"), in kilohertz with "kHz" or "k" after it
        ("1.5 kHz", "1.5k", "2 KHZ"). NaN for any other unit ("1.5 MHz",
        "500 mHz": no letter case makes those hertz or kilohertz), when there
        is no number or the frequency is not finite as a float. */
    float frequencyFromText (const juce::String& text);

    /** Value-to-text for a switch: the translated on-text or off-text. */
    std::function<juce::String (bool, int)> makeSwitchToText (const juce::String& onText,
                                                              const juce::String& offText);

    /** Text-to-value for a switch: true for exactly the translated on-text,
        false for exactly the translated off-text (letter case included), nothing
        for any other text. */
    std::function<std::optional<bool> (const juce::String&)> makeSwitchFromText (const juce::String& onText,
                                                                                 const juce::String& offText);

    /** Text-to-value for a switch that prints JUCE's own texts ("On", "Off"),
        reading what JUCE's reader reads: "on", "yes", "true" as true and "off",
        "no", "false" as false, each translated, in any letter case; otherwise
        the whole number at the start (after white space, a sign if any, then
        digits; what follows is ignored) as true unless it is zero. Nothing for
        any other text, and no number is too long. */
    std::optional<bool> switchFromText (const juce::String& text);

    //==============================================================================
    /** The three mapping functions of the logarithmic frequency range.
        The normalised position p maps to start + (end - start) (2^(10 p) - 1) / 950. */
    namespace LogarithmicRange
    {
        template <typename T>
        T convertFrom0To1 (T start, T end, T proportion) noexcept
        {
            return start + (end - start) * (std::exp2 (T (10) * proportion) - T (1)) * T (0.0010526315);
        }

        template <typename T>
        T convertTo0To1 (T start, T end, T value) noexcept
        {
            const auto argument = T (1) + T (950) * (value - start) / (end - start);

            // Values far enough below the start have no logarithm; they belong at 0.
            if (! (argument > T (0)))
                return T (0);

            return std::log (argument) * T (0.14426951);
        }

        /** Whole hertz up to 1 kHz, 10 Hz steps up to 3 kHz, 100 Hz steps above,
            limited to start..end. */
        template <typename T>
        T snapToLegalValue (T start, T end, T value) noexcept
        {
            if (std::isnan (value))
                return start;

            // Keeps the rounding below inside int range for absurd inputs; every
            // such value ends up clamped to start or end anyway.
            const auto v = std::clamp (value, T (-1.0e9), T (1.0e9));

            int rounded;
            if (v <= T (1000))
                rounded = juce::roundToInt (v);
            else if (v <= T (3000))
                rounded = juce::roundToInt (v * T (0.1)) * 10;
            else
                rounded = juce::roundToInt (v * T (0.01)) * 100;

            const auto r = static_cast<T> (rounded);
            return r < start ? start : std::min (r, end);
        }
    }

    /** A range from min to max with interval 0 and skew 1 whose mapping is
        LogarithmicRange's. The functions capture nothing and read start and end
        from the range at each call. */
    template <typename T>
    juce::NormalisableRange<T> makeLogarithmicRange (T min, T max)
    {
        return juce::NormalisableRange<T> (min, max,
                                           [] (T start, T end, T p) { return LogarithmicRange::convertFrom0To1 (start, end, p); },
                                           [] (T start, T end, T v) { return LogarithmicRange::convertTo0To1 (start, end, v); },
                                           [] (T start, T end, T v) { return LogarithmicRange::snapToLegalValue (start, end, v); });
    }
}
