// The crossover tree, measured from impulse responses: with every band neutral
// the sum is an all-pass for every crossover count, and each band on its own
// is the Linkwitz-Riley low/high-pass product of its place in the tree.

#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <complex>
#include <random>

namespace
{
    using Complex = std::complex<double>;
    using testsupport::setPlain;

    constexpr int fftOrder = 16;
    constexpr size_t fftSize = (size_t) 1 << fftOrder;

    std::vector<Complex> spectrumOf (const std::vector<float>& response)
    {
        juce::dsp::FFT fft (fftOrder);
        std::vector<float> data (2 * fftSize, 0.0f);
        std::copy (response.begin(), response.begin() + (long) std::min (response.size(), fftSize), data.begin());
        fft.performRealOnlyForwardTransform (data.data());

        std::vector<Complex> bins (fftSize / 2 + 1);
        for (size_t k = 0; k < bins.size(); ++k)
            bins[k] = { data[2 * k], data[2 * k + 1] };
        return bins;
    }

    // The digital Linkwitz-Riley sections (bilinear transform, pre-warped at the cut-off).
    struct Sections
    {
        Complex lowPass, highPass, allPass;
    };

    Sections sectionsAt (double frequency, double cutoff, double sampleRate)
    {
        const auto g = std::tan (juce::MathConstants<double>::pi * cutoff / sampleRate);
        const auto z = std::polar (1.0, juce::MathConstants<double>::twoPi * frequency / sampleRate);
        const auto s = (1.0 - 1.0 / z) / ((1.0 + 1.0 / z) * g);
        const auto d = s * s + std::sqrt (2.0) * s + 1.0;
        const auto lp2 = 1.0 / d;
        const auto hp2 = s * s / d;
        return { lp2 * lp2, hp2 * hp2, (s * s - std::sqrt (2.0) * s + 1.0) / d };
    }

    // A band's place in the tree: which crossover orders split it low (L) or
    // high (H), and which pass it through an all-pass (A).
    const char* const bandPaths[6][6] =
    {
        { "" },
        { "L0", "H0" },
        { "L0 A1", "H0 L1", "H0 H1" },
        { "L1 L0 A2", "L1 H0 A2", "H1 L2 A0", "H1 H2 A0" },
        { "L2 L1 L0 A3", "L2 L1 H0 A3", "L2 H1 A3 A0", "H2 L3 A1 A0", "H2 H3 A1 A0" },
        { "L3 L1 L0 A4 A2", "L3 L1 H0 A4 A2", "L3 H1 L2 A4 A0", "L3 H1 H2 A4 A0", "H3 L4 A1 A0 A2", "H3 H4 A1 A0 A2" },
    };

    Complex expectedBandResponse (int count, int band, const std::vector<float>& crossovers, double frequency, double sampleRate)
    {
        Complex h = 1.0;
        const auto path = juce::StringArray::fromTokens (bandPaths[count][band], " ", "");
        for (auto& step : path)
        {
            if (step.isEmpty())
                continue;
            const auto sections = sectionsAt (frequency, crossovers[(size_t) step.substring (1).getIntValue()], sampleRate);
            h *= step[0] == 'L' ? sections.lowPass : step[0] == 'H' ? sections.highPass : sections.allPass;
        }
        return h;
    }

    struct Network
    {
        Network (double sampleRate, int count, const std::vector<float>& frequencies)
        {
            setPlain (processor.apvts, "numCrossovers", (float) count);
            for (size_t i = 0; i < frequencies.size(); ++i)
                setPlain (processor.apvts, ParameterIDs::frequencyCrossover (i), frequencies[i]);
            for (size_t b = 0; b < 6; ++b)
                setPlain (processor.apvts, ParameterIDs::type (b), 0.0f); // "None"

            for (size_t i = 0; i < (size_t) count; ++i)
                snapped.push_back (processor.crossovers[i].frequency);

            testsupport::prepare (processor, sampleRate, 512);
        }

        std::vector<Complex> response()
        {
            processor.reset();
            return spectrumOf (testsupport::render (processor, testsupport::impulse (fftSize), 512));
        }

        MultiAudioProcessor processor;
        std::vector<float> snapped;
    };

    std::vector<float> defaultFrequencies (int count)
    {
        const std::vector<float> all { 250.0f, 1000.0f, 2500.0f, 5000.0f, 7500.0f };
        return { all.begin(), all.begin() + count };
    }

    std::vector<float> randomAscendingFrequencies (int count, std::mt19937& random)
    {
        // Spread over the audible range, at least a few per cent apart.
        std::uniform_real_distribution<float> position (0.0f, 1.0f);
        std::vector<float> frequencies;
        while ((int) frequencies.size() < count)
        {
            const auto f = 20.0f * std::pow (1000.0f, position (random));
            bool farEnough = true;
            for (auto other : frequencies)
                farEnough = farEnough && std::abs (std::log (f / other)) > 0.05f;
            if (farEnough)
                frequencies.push_back (f);
        }
        std::sort (frequencies.begin(), frequencies.end());
        return frequencies;
    }

    double maxDeviationDb (const std::vector<Complex>& spectrum, double sampleRate)
    {
        double worst = 0.0;
        for (size_t k = 1; k < spectrum.size(); ++k)
        {
            const auto f = (double) k * sampleRate / (double) fftSize;
            if (f < 20.0 || f > 20000.0)
                continue;
            worst = std::max (worst, std::abs (20.0 * std::log10 (std::abs (spectrum[k]))));
        }
        return worst;
    }
}

class CrossoverNetwork : public ::testing::TestWithParam<std::tuple<double, int>> {};

TEST_P (CrossoverNetwork, NeutralBandsSumToAnAllPassAtDefaultFrequencies)
{
    const auto [sampleRate, count] = GetParam();
    Network network (sampleRate, count, defaultFrequencies (count));
    EXPECT_LT (maxDeviationDb (network.response(), sampleRate), 0.05)
        << count << " crossovers at " << sampleRate << " Hz";
}

TEST_P (CrossoverNetwork, NeutralBandsSumToAnAllPassAtRandomFrequencies)
{
    const auto [sampleRate, count] = GetParam();
    std::mt19937 random ((unsigned) (count * 7919 + (int) sampleRate));

    for (int trial = 0; trial < 3; ++trial)
    {
        const auto frequencies = randomAscendingFrequencies (count, random);
        Network network (sampleRate, count, frequencies);
        EXPECT_LT (maxDeviationDb (network.response(), sampleRate), 0.05)
            << count << " crossovers at " << sampleRate << " Hz, lowest " << frequencies.front();
    }
}

TEST_P (CrossoverNetwork, EachSoloedBandFollowsItsPlaceInTheTree)
{
    const auto [sampleRate, count] = GetParam();
    std::mt19937 random ((unsigned) (count * 31 + (int) sampleRate));
    const auto frequencies = count == 0 ? std::vector<float>() : randomAscendingFrequencies (count, random);
    Network network (sampleRate, count, frequencies);

    for (int band = 0; band <= count; ++band)
    {
        for (size_t b = 0; b < 6; ++b)
            setPlain (network.processor.apvts, ParameterIDs::solo (b), (int) b == band ? 1.0f : 0.0f);

        const auto measured = network.response();
        double worstError = 0.0;
        for (size_t k = 1; k < measured.size(); ++k)
        {
            const auto f = (double) k * sampleRate / (double) fftSize;
            if (f < 20.0 || f > 20000.0)
                continue;
            const auto expected = expectedBandResponse (count, band, network.snapped, f, sampleRate);
            worstError = std::max (worstError, std::abs (measured[k] - expected));
        }
        EXPECT_LT (worstError, 2.0e-3) << "band " << band << " of " << count + 1;
    }
}

TEST_P (CrossoverNetwork, NeutralBandsStayFlatAtEveryGlobalMix)
{
    // The dry input must follow the network's phase, through count and
    // frequency changes while prepared, or dry and wet comb.
    const auto [sampleRate, count] = GetParam();
    std::mt19937 random ((unsigned) (count * 104729 + (int) sampleRate));
    Network network (sampleRate, 5 - count, defaultFrequencies (5 - count));
    setPlain (network.processor.apvts, "numCrossovers", (float) count);

    for (int trial = 0; trial < 3; ++trial)
    {
        const auto frequencies = trial == 0 ? defaultFrequencies (count) : randomAscendingFrequencies (count, random);
        for (size_t i = 0; i < frequencies.size(); ++i)
            setPlain (network.processor.apvts, ParameterIDs::frequencyCrossover (i), frequencies[i]);

        for (float mix : { 0.0f, 25.0f, 50.0f, 75.0f, 100.0f })
        {
            setPlain (network.processor.apvts, "output_mix", mix);
            EXPECT_LT (maxDeviationDb (network.response(), sampleRate), 0.05) << count << " crossovers, mix " << mix << ", trial " << trial;
        }
    }
}

INSTANTIATE_TEST_SUITE_P (CountsAndRates, CrossoverNetwork,
                          ::testing::Combine (::testing::Values (44100.0, 96000.0),
                                              ::testing::Values (0, 1, 2, 3, 4, 5)));

TEST (CrossoverSections, LinkwitzRileyHalvesEachSideAtTheCutoff)
{
    // The reference sections used above: -6.02 dB on both sides of a split.
    const auto sections = sectionsAt (1000.0, 1000.0, 48000.0);
    EXPECT_NEAR (20.0 * std::log10 (std::abs (sections.lowPass)), -6.0206, 1e-3);
    EXPECT_NEAR (20.0 * std::log10 (std::abs (sections.highPass)), -6.0206, 1e-3);
    EXPECT_NEAR (std::abs (sections.allPass), 1.0, 1e-12);
}

TEST (CrossoverNetworkBands, SoloedBandIsHalvedAtItsCutoffs)
{
    // Band 1 of 5 (between 1000 and 2500 Hz, the others far away): -6.02 dB at each edge.
    Network network (48000.0, 2, { 1000.0f, 2500.0f });
    setPlain (network.processor.apvts, ParameterIDs::solo (1), 1.0f);
    const auto spectrum = network.response();
    auto levelAt = [&] (double f) {
        const auto k = (size_t) std::lround (f * (double) fftSize / 48000.0);
        return 20.0 * std::log10 (std::abs (spectrum[k]));
    };
    // Both edges also carry a little of the other split, so the target is
    // -6.02 dB plus that split's small loss.
    EXPECT_NEAR (levelAt (1000.0), 20.0 * std::log10 (std::abs (sectionsAt (1000.0, 1000.0, 48000.0).highPass
                                                                   * sectionsAt (1000.0, 2500.0, 48000.0).lowPass)), 0.02);
    EXPECT_NEAR (levelAt (2500.0), 20.0 * std::log10 (std::abs (sectionsAt (2500.0, 1000.0, 48000.0).highPass
                                                                   * sectionsAt (2500.0, 2500.0, 48000.0).lowPass)), 0.02);
}
