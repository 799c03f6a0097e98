#include "engine/Conversions.h"

#include <gtest/gtest.h>

#include <cmath>

// Numbers in text that others wrote: every length of exponent reads without
// overflow, and only a decimal number at the start counts.
TEST (ReadLeadingNumber, ReadsDecimalNumbersOfAnyLengthAndNothingElse)
{
    constexpr auto inf = HUGE_VAL;
    const struct { const char* text; std::optional<double> value; const char* rest; } cases[] {
        { " -6 dB", -6.0, " dB" },          { "500Hz", 500.0, "Hz" },         { "1.5kHz", 1.5, "kHz" },
        { ".5k", 0.5, "k" },                { "2.", 2.0, "" },                { "+3e", 3.0, "e" },
        { "1e99999999999", inf, "" },       { "1e4294967297", inf, "" },      { "-1e9999999999", -inf, "" },
        { "1e-99999", 0.0, "" },            { "0x10", 0.0, "x10" },           { "-INFINITY x", -inf, " x" },
        { "abc", std::nullopt, "" },        { "", std::nullopt, "" },         { "-.e5", std::nullopt, "" },
    };

    for (const auto& c : cases)
    {
        juce::String rest;
        const auto value = Conversions::readLeadingNumber (c.text, &rest);
        EXPECT_EQ (value, c.value) << c.text;

        if (c.value)
        {
            EXPECT_EQ (rest, c.rest) << c.text;
        }
    }

    EXPECT_TRUE (std::isnan (Conversions::readLeadingNumber ("nan").value_or (0.0)));
}
