// processBlock at 48 kHz stereo in 512-sample blocks, timed against the bound
// (bench/BoundPath.h: the same signal path from the same JUCE objects alone)
// in the same run, turn about, each on its own copy of the same noise.
//
// Counters: "x_realtime" is seconds of audio per second of CPU on one core
// (summed over the threads of a multi-threaded run): above 1 keeps up;
// "x_bound" is processBlock's time over the bound's; "bound_x_realtime" is
// the bound's real-time factor. The *AgainstBound runs time the thread's CPU
// time, so waiting for a core does not count. Stable figures on a busy machine:
//   taskset -c 3 build/bench/zelk_bench --benchmark_filter=AgainstBound \
//     --benchmark_repetitions=7 --benchmark_enable_random_interleaving=true \
//     --benchmark_report_aggregates_only=true

#include "BoundPath.h"
#include "engine/MultiAudioProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

#include <ctime>

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

    BoundPath::Settings boundSettingsFor (Setting setting)
    {
        switch (setting)
        {
            case Setting::chebyshev8AtX16:  return { 5, 9, 3 };
            case Setting::tapeAtX16:        return { 5, 3, 3 };
            default:                        return { 5, 2, 0 };
        }
    }

    std::unique_ptr<MultiAudioProcessor> makeProcessor (Setting setting)
    {
        auto processor = std::make_unique<MultiAudioProcessor>();
        const auto bound = boundSettingsFor (setting);
        for (size_t b = 0; b < 6; ++b)
        {
            setPlain (*processor, ParameterIDs::type (b), (float) bound.shaperIndex + 1.0f);
            setPlain (*processor, ParameterIDs::oversampling (b), (float) bound.oversamplingChoice);
        }
        if (setting == Setting::bypass)
            setPlain (*processor, "bypass", 1.0f);

        processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor->prepareToPlay (sampleRate, blockSize);
        return processor;
    }

    juce::AudioBuffer<float> makeNoise (int seed)
    {
        juce::AudioBuffer<float> noise (2, blockSize);
        juce::Random random (seed);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                noise.setSample (ch, i, random.nextFloat() - 0.5f);
        return noise;
    }

    void setRealtimeCounter (benchmark::State& state, const char* name, double seconds)
    {
        state.counters[name] = (double) state.iterations() * blockSize / sampleRate / seconds;
    }

    /** CPU time of the calling thread: on a busy machine, time spent waiting
        for a core does not count. */
    double threadSeconds()
    {
        timespec now {};
        clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
        return (double) now.tv_sec + 1.0e-9 * (double) now.tv_nsec;
    }

    /** Times processBlock and the bound turn about, a few blocks each, and
        reports processBlock's time (manual time) and the ratio of the two. */
    void againstBound (benchmark::State& state, Setting setting)
    {
        constexpr int blocksPerTurn = 4;

        auto processor = makeProcessor (setting);
        BoundPath bound (boundSettingsFor (setting));
        bound.prepare (sampleRate, blockSize, 2);

        const auto noise = makeNoise (1);
        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;
        double engineSeconds = 0.0, boundSeconds = 0.0;

        auto timeTurn = [&] (auto&& processOneBlock)
        {
            double total = 0.0;
            for (int k = 0; k < blocksPerTurn; ++k)
            {
                buffer.makeCopyOf (noise, true);
                const auto start = threadSeconds();
                processOneBlock();
                total += threadSeconds() - start;
                benchmark::DoNotOptimize (buffer.getReadPointer (0));
            }
            return total / blocksPerTurn;
        };

        for (auto _ : state)
        {
            const auto engine = timeTurn ([&] { processor->processBlock (buffer, midi); });
            boundSeconds += timeTurn ([&] { bound.process (buffer); });
            engineSeconds += engine;
            state.SetIterationTime (engine);
        }

        setRealtimeCounter (state, "x_realtime", engineSeconds);
        setRealtimeCounter (state, "bound_x_realtime", boundSeconds);
        state.counters["x_bound"] = engineSeconds / boundSeconds;
    }

    void BM_DefaultsAgainstBound (benchmark::State& state)          { againstBound (state, Setting::defaults); }
    void BM_SixBandsChebyshev8X16AgainstBound (benchmark::State& s) { againstBound (s, Setting::chebyshev8AtX16); }
    void BM_SixBandsTapeX16AgainstBound (benchmark::State& state)   { againstBound (state, Setting::tapeAtX16); }

    /** processBlock alone: for profiles, and for multi-threaded runs (parallel instances). */
    void engineAlone (benchmark::State& state, Setting setting)
    {
        auto processor = makeProcessor (setting);
        const auto noise = makeNoise (state.thread_index() + 1);
        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;

        for (auto _ : state)
        {
            buffer.makeCopyOf (noise, true); // a fresh block each time, at negligible cost
            processor->processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        state.counters["x_realtime"] = benchmark::Counter ((double) state.iterations() * blockSize / sampleRate,
                                                           benchmark::Counter::kIsRate);
    }

    void BM_Defaults (benchmark::State& state)          { engineAlone (state, Setting::defaults); }
    void BM_SixBandsTapeX16 (benchmark::State& state)   { engineAlone (state, Setting::tapeAtX16); }

    /** The worst case of a curve change: every band at X16 changes between
        "Chebyshev 6" and "Chebyshev 8" at every block, so each whole block
        blends two curves. Against BM_SixBandsChebyshev8X16, one curve steady. */
    void sixBandsChebyshevX16 (benchmark::State& state, bool changingEveryBlock)
    {
        auto processor = makeProcessor (Setting::chebyshev8AtX16);
        auto& bands = processor->bandProcessor;
        const auto noise = makeNoise (1);
        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;
        int block = 0;

        for (auto _ : state)
        {
            if (changingEveryBlock)
            {
                const auto curve = 8 + (++block & 1);
                for (auto& shaper : bands.shaperIndex)
                    shaper.store (curve);
            }
            buffer.makeCopyOf (noise, true);
            processor->processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        state.counters["x_realtime"] = benchmark::Counter ((double) state.iterations() * blockSize / sampleRate,
                                                           benchmark::Counter::kIsRate);
    }

    void BM_SixBandsChebyshev8X16 (benchmark::State& state)              { sixBandsChebyshevX16 (state, false); }
    void BM_SixBandsChebyshevX16CurveChangingEveryBlock (benchmark::State& state) { sixBandsChebyshevX16 (state, true); }

    /** A bypassed block leaves the buffer untouched, so it is simply processed again. */
    void BM_Bypass (benchmark::State& state)
    {
        auto processor = makeProcessor (Setting::bypass);
        auto buffer = makeNoise (1);
        juce::MidiBuffer midi;

        for (auto _ : state)
        {
            processor->processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        state.counters["x_realtime"] = benchmark::Counter ((double) state.iterations() * blockSize / sampleRate,
                                                           benchmark::Counter::kIsRate);
    }

    //==============================================================================
    // "Chebyshev 8" and the x0.7 that follows it, three ways, in place on
    // 8192 samples (which settle on the curve's fixed point; its cost does not
    // depend on the values).
    std::vector<float> makeCurveInput()
    {
        std::vector<float> samples (8192);
        juce::Random random (3);
        for (auto& s : samples)
            s = random.nextFloat() * 2.0f - 1.0f;
        return samples;
    }

    template <typename ShapeAll>
    void curveLoop (benchmark::State& state, ShapeAll&& shapeAll)
    {
        auto samples = makeCurveInput();
        for (auto _ : state)
        {
            shapeAll (samples);
            benchmark::ClobberMemory();
        }
        state.SetItemsProcessed (state.iterations() * (int64_t) samples.size());
    }

    void BM_CurveThroughTable (benchmark::State& state)
    {
        TapeNoiseSource noise;
        const auto shapers = SaturationCurves::makeWaveShapers (noise);
        const auto& curve = shapers[9];
        curveLoop (state, [&] (std::vector<float>& samples)
        {
            for (auto& s : samples)
                s = curve (s) * 0.7f;
        });
    }

    void BM_CurveCalledDirectly (benchmark::State& state)
    {
        curveLoop (state, [] (std::vector<float>& samples)
        {
            for (auto& s : samples)
                s = SaturationCurves::chebyshev8 (s) * 0.7f;
        });
    }

    void BM_CurveFastPath (benchmark::State& state)
    {
        TapeNoiseSource noise;
        curveLoop (state, [&] (std::vector<float>& samples)
        {
            SaturationCurves::shapeAndScale (9, samples.data(), samples.size(), 0.7f, noise);
        });
    }
}

BENCHMARK (BM_DefaultsAgainstBound)->Unit (benchmark::kMicrosecond)->UseManualTime();
BENCHMARK (BM_SixBandsChebyshev8X16AgainstBound)->Unit (benchmark::kMicrosecond)->UseManualTime();
BENCHMARK (BM_SixBandsTapeX16AgainstBound)->Unit (benchmark::kMicrosecond)->UseManualTime();
BENCHMARK (BM_Defaults)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_SixBandsTapeX16)->Unit (benchmark::kMicrosecond)->Threads (4);
BENCHMARK (BM_SixBandsChebyshev8X16)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_SixBandsChebyshevX16CurveChangingEveryBlock)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_Bypass)->Unit (benchmark::kNanosecond);
BENCHMARK (BM_CurveThroughTable);
BENCHMARK (BM_CurveCalledDirectly);
BENCHMARK (BM_CurveFastPath);

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
