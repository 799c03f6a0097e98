// processBlock at 48 kHz stereo in 512-sample blocks. The "x_realtime" counter
// is seconds of audio per second of CPU on one core (summed over the threads
// of a multi-threaded run): above 1 keeps up.

#include "engine/MultiAudioProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;

    void setPlain (MultiAudioProcessor& processor, const juce::String& id, float value)
    {
        auto* parameter = processor.apvts.getParameter (id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
    }

    enum class Setting { defaults, chebyshev8AtX16, tapeAtX16, bypass };

    std::unique_ptr<MultiAudioProcessor> makeProcessor (Setting setting)
    {
        auto processor = std::make_unique<MultiAudioProcessor>();
        for (size_t b = 0; b < 6; ++b)
        {
            if (setting == Setting::chebyshev8AtX16 || setting == Setting::tapeAtX16)
            {
                setPlain (*processor, ParameterIDs::type (b), setting == Setting::tapeAtX16 ? 4.0f : 10.0f);
                setPlain (*processor, ParameterIDs::oversampling (b), 3.0f);
            }
        }
        if (setting == Setting::bypass)
            setPlain (*processor, "bypass", 1.0f);

        processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor->prepareToPlay (sampleRate, blockSize);
        return processor;
    }

    void processLoop (benchmark::State& state, Setting setting)
    {
        auto processor = makeProcessor (setting);
        juce::AudioBuffer<float> noise (2, blockSize), buffer (2, blockSize);
        juce::MidiBuffer midi;
        juce::Random random (state.thread_index() + 1);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                noise.setSample (ch, i, random.nextFloat() - 0.5f);

        for (auto _ : state)
        {
            buffer.makeCopyOf (noise, true); // a fresh block each time, at negligible cost
            processor->processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        state.counters["x_realtime"] = benchmark::Counter ((double) state.iterations() * blockSize / sampleRate,
                                                           benchmark::Counter::kIsRate);
    }

    void BM_Defaults (benchmark::State& state)          { processLoop (state, Setting::defaults); }
    void BM_SixBandsChebyshev8X16 (benchmark::State& s) { processLoop (s, Setting::chebyshev8AtX16); }
    void BM_SixBandsTapeX16 (benchmark::State& state)   { processLoop (state, Setting::tapeAtX16); }
    void BM_Bypass (benchmark::State& state)            { processLoop (state, Setting::bypass); }

    // The curves are called through std::function once per oversampled sample;
    // these two measure that call against a direct one.
    void BM_CurveThroughStdFunction (benchmark::State& state)
    {
        TapeNoiseSource noise;
        const auto shapers = SaturationCurves::makeWaveShapers (noise);
        const auto& curve = shapers[9];
        std::vector<float> samples (8192);
        juce::Random random (3);
        for (auto& s : samples)
            s = random.nextFloat() * 2.0f - 1.0f;

        for (auto _ : state)
        {
            for (auto& s : samples)
                s = curve (s) * 0.7f + 0.1f;
            benchmark::ClobberMemory();
        }
        state.SetItemsProcessed (state.iterations() * (int64_t) samples.size());
    }

    void BM_CurveCalledDirectly (benchmark::State& state)
    {
        std::vector<float> samples (8192);
        juce::Random random (3);
        for (auto& s : samples)
            s = random.nextFloat() * 2.0f - 1.0f;

        for (auto _ : state)
        {
            for (auto& s : samples)
                s = SaturationCurves::chebyshev8 (s) * 0.7f + 0.1f;
            benchmark::ClobberMemory();
        }
        state.SetItemsProcessed (state.iterations() * (int64_t) samples.size());
    }
}

BENCHMARK (BM_Defaults)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_SixBandsChebyshev8X16)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_SixBandsTapeX16)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_SixBandsTapeX16)->Unit (benchmark::kMicrosecond)->Threads (4);
BENCHMARK (BM_Bypass)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_CurveThroughStdFunction);
BENCHMARK (BM_CurveCalledDirectly);

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
