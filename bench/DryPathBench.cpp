// The global dry path's all-pass chain: the default setting at "output_mix"
// 50 %, where the dry input passes one all-pass per crossover, against the
// same setting fully wet, where the chain rests and nothing else differs (the
// mixer does the same work at every mix). Same block size and rate as
// ProcessBlockBench.cpp; compare the two times (or "x_realtime" counters).

#include "engine/MultiAudioProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
    constexpr double dryPathSampleRate = 48000.0;
    constexpr int dryPathBlockSize = 512;

    void processAtMix (benchmark::State& state, float mixPercent)
    {
        MultiAudioProcessor processor;
        auto* mix = processor.apvts.getParameter (ParameterIDs::outputMix);
        mix->setValueNotifyingHost (mix->convertTo0to1 (mixPercent));
        processor.setRateAndBufferSizeDetails (dryPathSampleRate, dryPathBlockSize);
        processor.prepareToPlay (dryPathSampleRate, dryPathBlockSize);

        juce::AudioBuffer<float> noise (2, dryPathBlockSize), buffer (2, dryPathBlockSize);
        juce::MidiBuffer midi;
        juce::Random random (1);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < dryPathBlockSize; ++i)
                noise.setSample (ch, i, random.nextFloat() - 0.5f);

        for (auto _ : state)
        {
            buffer.makeCopyOf (noise, true);
            processor.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        state.counters["x_realtime"] = benchmark::Counter ((double) state.iterations() * dryPathBlockSize / dryPathSampleRate,
                                                           benchmark::Counter::kIsRate);
    }

    void BM_DefaultsMix50DryAllPasses (benchmark::State& state)   { processAtMix (state, 50.0f); }
    void BM_DefaultsMix100DryResting (benchmark::State& state)    { processAtMix (state, 100.0f); }
}

BENCHMARK (BM_DefaultsMix50DryAllPasses)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_DefaultsMix100DryResting)->Unit (benchmark::kMicrosecond);
