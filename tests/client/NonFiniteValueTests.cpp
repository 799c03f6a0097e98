// Values that are not finite, given to every parameter object directly (as a
// wrapper does), with notification (as automation does) and through the
// host's controls chunk: nothing changes, on the processor's side or the
// host's, and the processor keeps its records and a finite output.
#include "ClientSession.h"

#include "AAX_CEffectParameters.h"
#include "AAX_Errors.h"
#include "engine/MultiAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

TEST (NonFiniteValues, LeaveEveryParameterTheRecordsAndTheOutputIntact)
{
    clienttest::ClientSession session;
    clienttest::HostedEffect instance (session);
    auto& processor = dynamic_cast<MultiAudioProcessor&> (instance.Processor());
    const auto& parameters = processor.getParameters();
    ASSERT_EQ (parameters.size(), 73);

    const auto hostID = [&] (int index) { return instance.Effect().getHostParameterID (index); };
    std::vector<float> before;
    std::vector<double> hostBefore;
    for (auto* p : parameters)
    {
        before.push_back (p->getValue());
        hostBefore.push_back (instance.HostValue (hostID (p->getParameterIndex()).c_str()));
    }

    const double nonFinite[] { std::nan (""), HUGE_VAL, -HUGE_VAL };
    for (auto* p : parameters)
        for (auto value : nonFinite)
        {
            p->setValue (static_cast<float> (value));
            p->setValueNotifyingHost (static_cast<float> (value));
        }

    // The controls chunk with each stored value (a big-endian double after
    // its NUL-terminated, 4-aligned tag and ID) replaced by one of them.
    auto controls = instance.SaveChunk (kControlsChunkID);
    auto* data = reinterpret_cast<unsigned char*> (controls.get()->fData);
    int replaced = 0;
    for (size_t at = 4; at < static_cast<size_t> (controls.get()->fSize); at += 8, ++replaced)
    {
        at = (at + std::strlen (reinterpret_cast<const char*> (data + at)) + 4) & ~size_t (3);
        uint64_t bits = 0;
        std::memcpy (&bits, &nonFinite[replaced % 3], 8);
        for (int i = 0; i < 8; ++i)
            data[at + (size_t) i] = static_cast<unsigned char> (bits >> (56 - 8 * i));
    }
    EXPECT_EQ (replaced, 73);
    EXPECT_EQ (instance.RestoreChunk (kControlsChunkID, controls), AAX_SUCCESS);

    processor.prepareToPlay (48000.0, 256);
    juce::AudioBuffer<float> block (2, 256);
    for (int channel = 0; channel < block.getNumChannels(); ++channel)
        for (int s = 0; s < block.getNumSamples(); ++s)
            block.setSample (channel, s, 0.25f * std::sin (0.05f * (float) s));
    juce::MidiBuffer midi;
    processor.processBlock (block, midi);

    for (int i = 0; i < parameters.size(); ++i)
    {
        EXPECT_EQ (parameters[i]->getValue(), before[(size_t) i]) << hostID (i);
        EXPECT_EQ (instance.HostValue (hostID (i).c_str()), hostBefore[(size_t) i]) << hostID (i);
    }

    const auto count = processor.crossoverCount;
    EXPECT_EQ (count, 5u);
    EXPECT_EQ (processor.bandProcessor.crossoverCount.load(), count);
    for (size_t i = 0; i < processor.crossovers.size(); ++i)
        EXPECT_EQ (processor.crossovers[i].active, i < count) << "crossover record " << i;
    for (size_t b = 0; b < processor.bands.size(); ++b)
        EXPECT_EQ (processor.bands[b].enabled, b <= count) << "band record " << b;

    for (int channel = 0; channel < block.getNumChannels(); ++channel)
        for (int s = 0; s < block.getNumSamples(); ++s)
            ASSERT_TRUE (std::isfinite (block.getSample (channel, s))) << channel << ", " << s;
}
