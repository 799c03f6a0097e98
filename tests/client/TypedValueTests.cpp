// Values from outside: typed text through a parameter (as a text box reads
// it) and the host's text-to-value call; NaN and infinities given to every
// parameter object and in the host's controls chunk.
#include "ClientSession.h"

#include "AAX_CChunkDataParser.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "engine/MultiAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST (TypedValues, TextMeansWhatItSaysOrIsRefused)
{
    clienttest::ClientSession session;
    clienttest::HostedEffect instance (session);
    constexpr float refused = -1.0f;

    const struct { const char* id; const char* text; float plain; } cases[] = {
        { "frequency_lowpass-1", "500Hz", 500 }, { "frequency_lowpass-1", "500 hz", 500 }, { "frequency_lowpass-1", "1.5kHz", 1500 },
        { "frequency_lowpass-1", "1.5k", 1500 }, { "frequency_lowpass-1", "1.5 k", 1500 }, { "frequency_lowpass-1", "2 KHz", 2000 },
        { "frequency_lowpass-1", "2000", 2000 }, { "frequency_highpass-1", "700Hz", 700 }, { "frequency_highpass-1", "440 Hz", 440 },
        { "frequency_crossover-1", "1.5 kHz", 1500 }, { "compgain-1", "-6 dB", 0.501f }, { "mix-1", "50%", 50 },
        { "output", "-6 dB", -6 }, { "oversampling-1", "X8", 2 }, { "active-1", "processing", 1 },
        { "gain-1", "abc", refused }, { "mix-1", "x", refused }, { "compgain-1", "q", refused }, { "output", "abc", refused },
        { "output_mix", "", refused }, { "numCrossovers", "many", refused }, { "frequency_highpass-1", "Hz", refused },
        { "frequency_crossover-2", "1e38 kHz", refused }, { "gain-1", "1e99999999999", refused }, { "gain-1", "1e4294967297", refused },
        { "output", "-1e9999999999", refused }, { "compgain-1", "-1e9999999999", refused }, { "frequency_lowpass-1", "1e39", refused },
        { "type-1", "Chebyshev 2", 7 }, { "preset", "3", 3 }, { "preset", "2.7", 3 }, { "preset", "99999999999999999999", 1000 },
        { "preset", "1e3", 1000 }, { "bypass", "YES", 1 }, { "bypass", "0", 0 }, { "bypass", " +2", 1 },
        { "active-1", "bypassed", 0 }, { "type-1", "abc", refused }, { "type-1", "", refused }, { "type-1", "chebyshev 2", refused },
        { "oversampling-1", "abc", refused }, { "oversampling-1", "2", refused }, { "preset", "abc", refused }, { "preset", "", refused },
        { "selectedBand", "inf", refused }, { "bypass", "abc", refused }, { "bypass", "", refused }, { "active-1", "abc", refused },
        { "real_active-1", "Active", refused }, { "solo-1", "", refused }, { "input_plot", "off", refused },
        // Nothing but the box's own unit, in any letter case, may follow the number.
        { "frequency_highpass-1", "1,5 kHz", refused }, { "frequency_highpass-1", "1.5 MHz", refused },
        { "frequency_highpass-1", "500 mHz", refused }, { "frequency_highpass-1", "-3 dB", refused },
        { "frequency_highpass-1", "0x20", refused }, { "frequency_highpass-1", "700abc", refused },
        { "frequency_crossover-3", "2 kHz Hz", refused }, { "frequency_lowpass-1", "1.5e", refused },
        { "frequency_highpass-1", " 1.5 KHZ ", 1500 }, { "frequency_crossover-1", "700hz", 700 },
        { "output", "-6 db", -6 }, { "output", "-6 %", refused }, { "output_mix", " 50 % ", 50 },
        { "output_mix", "42.5% wet", refused }, { "mix-1", "50 dB", refused }, { "compgain-1", "-6 DB", 0.501f },
        { "compgain-1", "-6 dBFS", refused }, { "gain-1", "20 dB", 10 }, { "gain-1", "20 Hz", refused },
        { "numCrossovers", " 3 ", 3 }, { "numCrossovers", "3 bands", refused }, { "numCrossovers", "3%", refused },
        { "oversampling-1", "x8", refused }, { "type-1", "Tube ", refused }, { "solo-1", "solo ", refused },
        // Whole numbers too: white space may follow, nothing else.
        { "selectedBand", "3abc", refused }, { "selectedBand", "2,7", refused }, { "selectedBand", "4 dB", refused },
        { "preset", "1.5 kHz", refused }, { "preset", "50%", refused }, { "preset", "0x20", refused },
        { "selectedBand", " 4 ", 4 }, { "preset", "7.9", 8 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (std::string (c.id) + " \"" + c.text + "\"");
        auto& ranged = *dynamic_cast<MultiAudioProcessor&> (instance.Processor()).apvts.getParameter (c.id);
        juce::AudioProcessorParameter& parameter = ranged;   // getValueForText is public only here
        parameter.setValueNotifyingHost (0.3f);
        juce::Slider box;   // a text box of the window
        juce::SliderParameterAttachment window (ranged, box);

        double hostValue = -1.0;
        const auto result = instance.Host().GetParameterValueFromString (c.id, &hostValue, AAX_CString (c.text));
        const float typed = parameter.getValueForText (c.text);
        EXPECT_FLOAT_EQ ((float) box.getValueFromText (c.text), ranged.convertFrom0to1 (typed));

        // Refused: the box keeps the value, the host gets the conversion failure.
        EXPECT_EQ (result, c.plain == refused ? AAX_ERROR_INVALID_STRING_CONVERSION : AAX_SUCCESS);
        EXPECT_FLOAT_EQ ((float) hostValue, c.plain == refused ? -1.0f : typed);
        if (c.plain == refused)
            EXPECT_EQ (typed, parameter.getValue());
        else
            EXPECT_NEAR (ranged.convertFrom0to1 (typed), c.plain, std::abs (c.plain) * 1.0e-3f);
    }
}

TEST (NonFiniteValues, LeaveEveryParameterTheRecordsAndTheOutputIntact)
{
    clienttest::ClientSession session;
    clienttest::HostedEffect instance (session);
    auto& processor = dynamic_cast<MultiAudioProcessor&> (instance.Processor());
    const auto& parameters = processor.getParameters();
    const auto hostValue = [&] (int index) { return instance.HostValue (instance.Effect().getHostParameterID (index).c_str()); };
    std::vector<double> before;
    for (int i = 0; i < parameters.size(); ++i)
        before.insert (before.end(), { parameters[i]->getValue(), hostValue (i) });

    // Prepared again and run, the processor holds every value, its records and a finite output.
    const auto expectIntact = [&] (const char* after)
    {
        SCOPED_TRACE (after);
        processor.prepareToPlay (48000.0, 256);
        juce::AudioBuffer<float> block (2, 256);
        block.clear();
        block.setSample (0, 0, 1.0f);
        juce::MidiBuffer midi;
        processor.processBlock (block, midi);

        for (int i = 0; i < parameters.size(); ++i)
            EXPECT_TRUE (parameters[i]->getValue() == before[2 * (size_t) i] && hostValue (i) == before[2 * (size_t) i + 1]) << i;
        const auto count = processor.crossoverCount;
        EXPECT_EQ (processor.bandProcessor.crossoverCount.load(), count);
        for (size_t i = 0; i < 5; ++i)
            EXPECT_TRUE (processor.crossovers[i].active == (i < count) && processor.bands[i + 1].enabled == (i + 1 <= count)) << i;
        EXPECT_TRUE (std::isfinite (block.getRMSLevel (0, 0, 256)) && std::isfinite (block.getRMSLevel (1, 0, 256)));
    };

    // With the host not answering, nothing it would send back hides what the
    // processor took; no request may reach it either.
    auto& automation = instance.Controller().automation();
    automation.setEffect (nullptr);
    automation.clearRequests();
    const double nonFinite[] { -HUGE_VAL, HUGE_VAL, std::nan ("") };   // NaN last, after a full count
    for (auto* p : parameters)
        for (auto value : nonFinite)
        {
            p->setValue ((float) value);
            p->setValueNotifyingHost ((float) value);
        }
    EXPECT_TRUE (automation.setRequests().empty());
    expectIntact ("setValue, setValueNotifyingHost");

    automation.setEffect (&instance.Host());
    AAX_CChunkDataParser chunk;
    for (int i = 0; i < parameters.size(); ++i)
        chunk.AddDouble (instance.Effect().getHostParameterID (i).c_str(), nonFinite[i % 3]);
    zelkhost::ChunkRecord controls ((uint32_t) chunk.GetChunkDataSize());
    ASSERT_EQ (chunk.GetChunkData (controls.get()), AAX_SUCCESS);
    EXPECT_EQ (instance.RestoreChunk (kControlsChunkID, controls), AAX_SUCCESS);
    expectIntact ("controls chunk");
}
