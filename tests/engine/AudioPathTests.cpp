// What the audio path does with its settings: bypass, solo, deactivation,
// neutral bands, mono, global mix and output gain, and bad audio.

#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::setPlain;

namespace
{
    std::vector<float> sine (double frequency, double sampleRate, size_t length, float amplitude = 0.5f)
    {
        std::vector<float> x (length);
        for (size_t i = 0; i < length; ++i)
            x[i] = amplitude * (float) std::sin (juce::MathConstants<double>::twoPi * frequency * (double) i / sampleRate);
        return x;
    }

    double rms (const std::vector<float>& x, size_t from = 0)
    {
        double sum = 0.0;
        for (size_t i = from; i < x.size(); ++i)
            sum += (double) x[i] * x[i];
        return std::sqrt (sum / (double) std::max<size_t> (1, x.size() - from));
    }

    void makeAllBandsNeutral (MultiAudioProcessor& processor)
    {
        for (size_t b = 0; b < 6; ++b)
            setPlain (processor.apvts, ParameterIDs::type (b), 0.0f);
    }
}

TEST (AudioPath, BypassLeavesTheBufferUntouched)
{
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "bypass", 1.0f);
    setPlain (processor.apvts, "output", -20.0f);
    testsupport::prepare (processor, 48000.0, 256);

    const auto input = sine (440.0, 48000.0, 2048);
    EXPECT_EQ (testsupport::render (processor, input, 256), input);
}

TEST (AudioPath, DefaultSettingsSaturateAndStayBounded)
{
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 48000.0, 512);
    const auto output = testsupport::render (processor, sine (220.0, 48000.0, 48000, 0.8f), 512);

    float peak = 0.0f;
    for (auto v : output)
    {
        ASSERT_TRUE (std::isfinite (v));
        peak = std::max (peak, std::abs (v));
    }
    EXPECT_GT (rms (output, 4800), 0.01);
    EXPECT_LT (peak, 4.0f);
}

TEST (AudioPath, SoloLetsOnlySoloedBandsIntoTheSum)
{
    // One crossover at 1 kHz: a 100 Hz tone lives in band 0 only.
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "numCrossovers", 1.0f);
    setPlain (processor.apvts, "frequency_crossover-1", 1000.0f);
    makeAllBandsNeutral (processor);
    testsupport::prepare (processor, 48000.0, 512);
    const auto input = sine (100.0, 48000.0, 24000);

    setPlain (processor.apvts, "solo-2", 1.0f);
    processor.reset();
    EXPECT_LT (rms (testsupport::render (processor, input, 512), 12000), 0.003);

    setPlain (processor.apvts, "solo-1", 1.0f);
    processor.reset();
    EXPECT_NEAR (rms (testsupport::render (processor, input, 512), 12000), rms (input), 0.01);
}

TEST (AudioPath, ASoloedBandThatIsDisabledNoLongerCounts)
{
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "numCrossovers", 1.0f);
    setPlain (processor.apvts, "frequency_crossover-1", 1000.0f);
    makeAllBandsNeutral (processor);
    setPlain (processor.apvts, "solo-3", 1.0f); // band 3 exists only with 2 crossovers
    testsupport::prepare (processor, 48000.0, 512);

    const auto input = sine (100.0, 48000.0, 24000);
    EXPECT_NEAR (rms (testsupport::render (processor, input, 512), 12000), rms (input), 0.01);
}

TEST (AudioPath, DeactivatedBandRampsToSilenceAndBack)
{
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "numCrossovers", 0.0f);
    makeAllBandsNeutral (processor);
    testsupport::prepare (processor, 48000.0, 480);
    const auto input = sine (1000.0, 48000.0, 4800);

    setPlain (processor.apvts, "real_active-1", 0.0f);
    const auto fading = testsupport::render (processor, input, 480);
    // Half-way through the 0.05 s ramp the level is about half; after it, silence.
    EXPECT_NEAR (std::abs (fading[1212]) / std::max (1e-6f, std::abs (input[1212])), 0.5, 0.05);
    EXPECT_LT (rms (fading, 2400), 1e-6);

    setPlain (processor.apvts, "compgain-1", 0.5f);
    EXPECT_LT (rms (testsupport::render (processor, input, 480)), 1e-6); // level stays at 0

    setPlain (processor.apvts, "real_active-1", 1.0f);
    const auto back = testsupport::render (processor, input, 480);
    EXPECT_NEAR (rms (back, 2400), 0.5 * rms (input), 0.01);
}

TEST (AudioPath, NeutralOrBypassedBandPassesItsLevelOnly)
{
    // "active" off: no drive, no band filters, no band mix, only the level.
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "numCrossovers", 0.0f);
    setPlain (processor.apvts, "active-1", 0.0f);
    setPlain (processor.apvts, "frequency_lowpass-1", 200.0f);
    setPlain (processor.apvts, "compgain-1", juce::Decibels::decibelsToGain (-6.0f));
    testsupport::prepare (processor, 48000.0, 512);

    const auto input = sine (2000.0, 48000.0, 9600);
    const auto output = testsupport::render (processor, input, 512);
    EXPECT_NEAR (rms (output, 4800) / rms (input, 4800), juce::Decibels::decibelsToGain (-6.0), 0.005);
}

TEST (AudioPath, BandLowPassAppliesWithZeroCrossovers)
{
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "numCrossovers", 0.0f);
    setPlain (processor.apvts, "type-1", 2.0f); // "Hard clip": transparent below full scale
    setPlain (processor.apvts, "gain-1", 1.0f);
    setPlain (processor.apvts, "frequency_lowpass-1", 500.0f);
    testsupport::prepare (processor, 48000.0, 512);

    const auto output = testsupport::render (processor, sine (8000.0, 48000.0, 9600, 0.3f), 512);
    EXPECT_LT (rms (output, 4800), 0.01);
}

TEST (AudioPath, MonoProcessesOneChannel)
{
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 44100.0, 333, 1);
    EXPECT_EQ (processor.getTotalNumInputChannels(), 1);
    const auto output = testsupport::render (processor, sine (300.0, 44100.0, 8000), 333, 1);
    EXPECT_GT (rms (output, 4000), 0.01);
}

TEST (AudioPath, GlobalMixAtZeroGivesTheInputScaledByTheOutputGain)
{
    // Without crossovers the dry input passes no all-pass (see CrossoverNetworkTests).
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "numCrossovers", 0.0f);
    setPlain (processor.apvts, "output_mix", 0.0f);
    setPlain (processor.apvts, "output", -6.0f);
    testsupport::prepare (processor, 48000.0, 512);

    const auto input = sine (700.0, 48000.0, 4096);
    const auto output = testsupport::render (processor, input, 512);
    const auto gain = juce::Decibels::decibelsToGain (-6.0f);
    for (size_t i = 0; i < input.size(); ++i)
        ASSERT_NEAR (output[i], input[i] * gain, 1e-4) << i;
}

TEST (AudioPath, OutputAtMinus96dBIsNearlySilent)
{
    MultiAudioProcessor processor;
    setPlain (processor.apvts, "output", -96.0f);
    setPlain (processor.apvts, "output_mix", 0.0f);
    testsupport::prepare (processor, 48000.0, 512);
    const auto output = testsupport::render (processor, sine (700.0, 48000.0, 4096), 512);
    EXPECT_NEAR (rms (output) / rms (sine (700.0, 48000.0, 4096)), 1.58e-5, 0.2e-5);
}

TEST (AudioPath, BadAudioNeverCrashesAndDoesNotStick)
{
    MultiAudioProcessor processor;
    for (size_t b = 0; b < 6; ++b)
        setPlain (processor.apvts, ParameterIDs::oversampling (b), (float) (b % 4));
    testsupport::prepare (processor, 48000.0, 64);

    std::vector<float> bad (4096);
    for (size_t i = 0; i < bad.size(); ++i)
    {
        switch (i % 7)
        {
            case 0:  bad[i] = std::numeric_limits<float>::quiet_NaN(); break;
            case 1:  bad[i] = std::numeric_limits<float>::infinity(); break;
            case 2:  bad[i] = -std::numeric_limits<float>::infinity(); break;
            case 3:  bad[i] = 3.0e38f; break;
            default: bad[i] = (i / 50) % 2 ? 1.0f : -1.0f; break; // full-scale square
        }
    }
    testsupport::render (processor, bad, 64);

    // Clean audio afterwards comes out finite and audible again.
    const auto output = testsupport::render (processor, sine (300.0, 48000.0, 9600), 64);
    for (auto v : output)
        ASSERT_TRUE (std::isfinite (v));
    EXPECT_GT (rms (output, 4800), 0.01);
}

TEST (AudioPath, DenormalInputComesOutWithoutDenormals)
{
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 48000.0, 256);
    std::vector<float> tiny (4096, std::numeric_limits<float>::denorm_min() * 8.0f);
    for (auto v : testsupport::render (processor, tiny, 256))
        ASSERT_TRUE (v == 0.0f || std::isnormal (v)) << v;
}

TEST (AudioPath, BlocksLargerThanPreparedAreProcessedInPieces)
{
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 48000.0, 64);
    const auto output = testsupport::render (processor, sine (300.0, 48000.0, 8192), 1000);
    for (auto v : output)
        ASSERT_TRUE (std::isfinite (v));
    EXPECT_GT (rms (output, 4096), 0.01);
}

TEST (AudioPath, ProcessingBeforePrepareLeavesAudioAlone)
{
    MultiAudioProcessor processor;
    juce::AudioBuffer<float> buffer (2, 32);
    buffer.clear();
    buffer.setSample (0, 3, 0.5f);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
    EXPECT_EQ (buffer.getSample (0, 3), 0.5f);
}
