#include "Conversions.h"

#include <clocale>
#include <cstdlib>
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

    juce::String twoDecimalText (float value, int)
    {
        return juce::String (value, 2);
    }

    float numberFromText (const juce::String& text)
    {
        return text.getFloatValue();
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
        const auto decibels = text.getFloatValue();

        // "-inf" names no number of decibels either: no value, not silence.
        if (! std::isfinite (decibels))
            return std::numeric_limits<float>::quiet_NaN();

        if (decibels > silenceDecibels)
            return std::pow (10.0f, 0.05f * decibels);

        return 0.0f;
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
        if (text.endsWith (" kHz"))
            return text.dropLastCharacters (4).getFloatValue() * 1000.0f;

        // A bare number is taken as hertz; typing "2000" into a frequency box
        // means 2 kHz, not the 20 Hz that dropping a unit from it would give.
        const auto trimmed = text.trim();
        if (trimmed.isNotEmpty() && trimmed.containsOnly ("0123456789.+-"))
            return trimmed.getFloatValue();

        // Whatever the unit was typed as, its three characters go.
        return text.dropLastCharacters (3).getFloatValue();
    }

    std::function<juce::String (bool, int)> makeSwitchToText (const juce::String& onText,
                                                              const juce::String& offText)
    {
        return [onText, offText] (bool value, int) { return juce::translate (value ? onText : offText); };
    }

    std::function<bool (const juce::String&)> makeSwitchFromText (const juce::String& onText)
    {
        return [onText] (const juce::String& text) { return text == juce::translate (onText); };
    }
}
