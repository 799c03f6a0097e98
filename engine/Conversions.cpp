#include "Conversions.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <locale.h>

namespace Conversions
{
    namespace
    {
        constexpr float silenceDecibels = -100.0f;

        float gainToDecibels (float gain) noexcept
        {
            if (gain <= 0.0f)
                return silenceDecibels;

            return std::max (20.0f * std::log10 (gain), silenceDecibels);
        }

        constexpr float noValue = std::numeric_limits<float>::quiet_NaN();

        /** The number as a float; NaN when there is none or it is not finite
            as a float (the conversion of a larger double would be undefined). */
        float finiteFloat (std::optional<double> number) noexcept
        {
            if (number.has_value() && std::abs (*number) <= static_cast<double> (std::numeric_limits<float>::max()))
                return static_cast<float> (*number);

            return noValue;
        }

        /** The leading number when nothing follows it but white space and at
            most one of `units` (any letter case); `unit`, when given, receives
            the unit's position in `units` or -1 for none. */
        std::optional<double> numberWithUnit (const juce::String& text, std::initializer_list<const char*> units,
                                              int* unit = nullptr)
        {
            juce::String rest;
            const auto number = readLeadingNumber (text, &rest);

            if (! number.has_value())
                return std::nullopt;

            const auto written = rest.trim();
            auto found = -1;

            if (written.isNotEmpty())
            {
                const auto match = std::find_if (units.begin(), units.end(),
                                                 [&written] (const char* name) { return written.equalsIgnoreCase (name); });

                if (match == units.end())
                    return std::nullopt;

                found = static_cast<int> (match - units.begin());
            }

            if (unit != nullptr)
                *unit = found;

            return number;
        }
    }

    std::optional<double> readLeadingNumber (const juce::String& text, juce::String* rest)
    {
        // strtod in the C locale reads any length of digits and exponent without
        // overflow (ERANGE gives an infinity or zero). It is handed only the
        // characters that form a decimal number, so hexadecimal and locale
        // forms never reach it.
        static const locale_t cLocale = newlocale (LC_NUMERIC_MASK, "C", static_cast<locale_t> (nullptr));

        const auto utf8 = text.toStdString();
        const auto* const begin = utf8.c_str();
        const auto* p = begin;

        while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
            ++p;

        const auto* const start = p;

        if (*p == '+' || *p == '-')
            ++p;

        const auto isDigit = [] (char c) { return c >= '0' && c <= '9'; };
        const auto* const mantissa = p;
        std::optional<double> value;

        const auto startsWithWord = [] (const char* s, const char* word)
        {
            for (; *word != 0; ++s, ++word)
                if (*s == 0 || (*s | 0x20) != *word)
                    return false;

            return true;
        };

        if (startsWithWord (p, "inf") || startsWithWord (p, "nan"))
        {
            const auto isNan = startsWithWord (p, "nan");
            p += startsWithWord (p, "infinity") ? 8 : 3;
            const auto magnitude = isNan ? std::numeric_limits<double>::quiet_NaN()
                                         : std::numeric_limits<double>::infinity();
            value = *start == '-' ? -magnitude : magnitude;
        }
        else
        {
            while (isDigit (*p))
                ++p;

            auto digits = p - mantissa;

            if (*p == '.')
            {
                const auto* const fraction = ++p;

                while (isDigit (*p))
                    ++p;

                digits += p - fraction;
            }

            if (digits == 0)
                return std::nullopt;

            if (*p == 'e' || *p == 'E')
            {
                const auto* q = p + 1;

                if (*q == '+' || *q == '-')
                    ++q;

                if (isDigit (*q))
                {
                    while (isDigit (*q))
                        ++q;

                    p = q;
                }
            }

            const std::string number (start, p);
            value = cLocale != static_cast<locale_t> (nullptr) ? strtod_l (number.c_str(), nullptr, cLocale)
                                                               : std::strtod (number.c_str(), nullptr);
        }

        if (rest != nullptr)
            *rest = juce::String::fromUTF8 (p);

        return value;
    }

    std::optional<double> readWholeNumber (const juce::String& text)
    {
        return numberWithUnit (text, {});
    }

    juce::String twoDecimalText (float value, int)
    {
        return juce::String (value, 2);
    }

    float numberFromText (const juce::String& text)
    {
        return finiteFloat (readWholeNumber (text));
    }

    float decibelsFromText (const juce::String& text)
    {
        return finiteFloat (numberWithUnit (text, { "dB" }));
    }

    float percentFromText (const juce::String& text)
    {
        return finiteFloat (numberWithUnit (text, { "%" }));
    }

    juce::String percentText (float value, int maximumStringLength)
    {
        return twoDecimalText (value, maximumStringLength) + "%";
    }

    juce::String decibelTextWithUnit (float value, int maximumStringLength)
    {
        return decibelTextWithoutUnit (value, maximumStringLength) + " dB";
    }

    juce::String decibelTextWithoutUnit (float value, int maximumStringLength)
    {
        return twoDecimalText (gainToDecibels (value), maximumStringLength);
    }

    float gainFromDecibelText (const juce::String& text)
    {
        // "-inf" names no number of decibels either: no value, not silence.
        const auto decibels = decibelsFromText (text);

        if (! (decibels > silenceDecibels))
            return std::isnan (decibels) ? decibels : 0.0f;

        // Beyond about +770 dB the gain itself is no longer a float.
        const auto gain = std::pow (10.0f, 0.05f * decibels);
        return std::isfinite (gain) ? gain : noValue;
    }

    juce::String frequencyText (float value, int)
    {
        if (value < 1000.0f)
            return juce::String (value, 2) + " Hz";

        return juce::String (static_cast<double> (value) * 0.001, 2) + " kHz";
    }

    juce::String crossoverFrequencyText (float value, int maximumStringLength)
    {
        if (value < 1000.0f)
            return juce::String (static_cast<double> (value)) + " Hz";

        return frequencyText (value, maximumStringLength);
    }

    float frequencyFromText (const juce::String& text)
    {
        auto unit = -1;
        const auto number = numberWithUnit (text, { "Hz", "kHz", "k" }, &unit);

        if (! number.has_value())
            return noValue;

        const auto kilohertz = unit >= 1;
        return finiteFloat (kilohertz ? *number * 1000.0 : *number);
    }

    std::function<juce::String (bool, int)> makeSwitchToText (const juce::String& onText,
                                                              const juce::String& offText)
    {
        return [onText, offText] (bool value, int) { return juce::translate (value ? onText : offText); };
    }

    std::function<std::optional<bool> (const juce::String&)> makeSwitchFromText (const juce::String& onText,
                                                                                 const juce::String& offText)
    {
        return [onText, offText] (const juce::String& text) -> std::optional<bool>
        {
            if (text == juce::translate (onText))
                return true;

            if (text == juce::translate (offText))
                return false;

            return std::nullopt;
        };
    }

    std::optional<bool> switchFromText (const juce::String& text)
    {
        const auto lowerCase = text.toLowerCase();

        for (auto* word : { "on", "yes", "true" })
            if (lowerCase == juce::translate (word))
                return true;

        for (auto* word : { "off", "no", "false" })
            if (lowerCase == juce::translate (word))
                return false;

        // Digits are looked at, never added up: any length reads.
        const auto isDigit = [] (juce::juce_wchar c) { return c >= '0' && c <= '9'; };
        auto p = text.getCharPointer();

        while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
            ++p;

        if (*p == '+' || *p == '-')
            ++p;

        if (! isDigit (*p))
            return std::nullopt;

        for (; isDigit (*p); ++p)
            if (*p != '0')
                return true;

        return false;
    }
}
