// Typed values: text through the parameters (as a text box reads it) and
// through the host's text-to-value call, which must agree. Text that names no
// finite value is refused: the box keeps the parameter's value, the host gets
// the conversion failure.
#include "ClientSession.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "engine/MultiAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

TEST (TypedValues, TextMeansWhatItSaysOrIsRefused)
{
    clienttest::ClientSession session;
    clienttest::HostedEffect instance (session);
    const std::optional<float> refused;

    const struct { const char* id; const char* text; std::optional<float> plain; } cases[] = {
        { "frequency_lowpass-1", "500Hz", 500.0f },     { "frequency_lowpass-1", "500 hz", 500.0f },
        { "frequency_lowpass-1", "1.5kHz", 1500.0f },   { "frequency_lowpass-1", "1.5k", 1500.0f },
        { "frequency_lowpass-1", "1.5 k", 1500.0f },    { "frequency_lowpass-1", "2 KHz", 2000.0f },
        { "frequency_lowpass-1", "2000", 2000.0f },     { "frequency_highpass-1", "700Hz", 700.0f },
        { "frequency_highpass-1", "440 Hz", 440.0f },   { "frequency_crossover-1", "1.5 kHz", 1500.0f },
        { "compgain-1", "-6 dB", 0.501f },              { "mix-1", "50%", 50.0f },
        { "output", "-6 dB", -6.0f },                   { "oversampling-1", "X8", 2.0f },
        { "active-1", "processing", 1.0f },
        { "gain-1", "abc", refused },                   { "mix-1", "x", refused },
        { "compgain-1", "q", refused },                 { "output", "abc", refused },
        { "output_mix", "", refused },                  { "numCrossovers", "many", refused },
        { "frequency_highpass-1", "Hz", refused },      { "frequency_crossover-2", "1e38 kHz", refused },
        { "gain-1", "1e99999999999", refused },         { "gain-1", "1e4294967297", refused },
        { "output", "-1e9999999999", refused },         { "compgain-1", "-1e9999999999", refused },
        { "frequency_lowpass-1", "1e39", refused },     { "output", "nan", refused },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (std::string (c.id) + " \"" + c.text + "\"");
        auto& ranged = *dynamic_cast<MultiAudioProcessor&> (instance.Processor()).apvts.getParameter (c.id);
        juce::AudioProcessorParameter& parameter = ranged;   // the host's view: getValueForText is private below it
        parameter.setValueNotifyingHost (0.3f);

        double hostValue = -1.0;
        const auto result = instance.Host().GetParameterValueFromString (c.id, &hostValue, AAX_CString (c.text));
        const float typed = parameter.getValueForText (c.text);

        if (! c.plain.has_value())
        {
            EXPECT_EQ (typed, parameter.getValue());
            EXPECT_EQ (result, AAX_ERROR_INVALID_STRING_CONVERSION);
            EXPECT_EQ (hostValue, -1.0);
            continue;
        }

        EXPECT_NEAR (ranged.convertFrom0to1 (typed), *c.plain, std::abs (*c.plain) * 1.0e-3f);
        ASSERT_EQ (result, AAX_SUCCESS);
        EXPECT_FLOAT_EQ (static_cast<float> (hostValue), typed);
    }
}
