#pragma once

#include "CurveCrossfade.h"
#include "DryPhaseChain.h"
#include "PublishedValue.h"
#include "SaturationCurves.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_dsp/juce_dsp.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

/** The band engine: the Linkwitz-Riley crossover tree, the per-band chains
    (gain, oversampled saturation with its make-up gain, high/low-pass,
    dry/wet, level) and the global dry/wet mix, whose dry input passes the
    tree's all-pass phase. `MultiAudioProcessor` owns one and names it
    `MultiAudioProcessor::MultiBandProcessor`.

    Threading: the DSP objects belong to the audio thread (and to prepare/reset,
    which hosts never run during processing). Every setting that a parameter
    change makes on another thread is published through atomics: the band flags
    and indices directly, the gain targets, mixer proportions and filter cut-offs
    as `PublishedValue`s that `applyPublishedSettings` takes up at the start of
    each block. The crossover count is published last by the writer and read
    first by the audio thread, so a new routing never runs on old cut-offs.
*/
class MultiBandProcessor
{
public:
    static constexpr int maxBands = 6;
    static constexpr int maxCrossovers = 5;
    static constexpr int numOversamplingChoices = 4;
    static constexpr int numWorkBuffers = 5;
    static constexpr int numLanes = 2 * numWorkBuffers;

    /** The split tree: low-pass 0, 2, 4, 8, 10; high-pass 1, 3, 5, 9, 11;
        all-pass 6, 7, 12, 13, and 14, 15, which complete the phase
        compensation for four and five crossovers so the sum of neutral bands
        stays flat. */
    static constexpr int numCrossoverFilters = 16;

    /** Maximum delay of a band's dry path, which follows its oversampler's latency. */
    static constexpr int maximumBandWetLatency = 10;

    MultiBandProcessor();

    /** How the building blocks are driven. Every drive gives the same output
        as `reference` bit for bit, except that `pairedSplits` differs within
        float rounding on the high side of each crossover split, and that a
        band mixer that rests while its dry input is not heard starts from a
        clean dry delay when it is heard again (`reference` never rests). */
    enum class Drive
    {
        reference,      ///< the library's own way: each block's `process`, one channel after the other; the curve through `waveShapers`
        interleaved,    ///< filters sample by sample across channels and chains; the curve inlined (a curve change fades through the table in every drive)
        pairedSplits    ///< as `interleaved`, with each crossover pair run by the low-pass filter's two-output call
    };

    /** Host thread, outside processing (before `prepare`). */
    void setDrive (Drive newDrive) noexcept                           { drive = newDrive; }

    //==============================================================================
    // Settings, written on any thread.

    void publishCrossoverCutoff (int filterIndex, float hz) noexcept  { crossoverCutoffs[(size_t) filterIndex].publish (hz); }
    void publishInputGain (int band, float gain) noexcept             { inputGainTargets[(size_t) band].publish (gain); }
    void publishLevelGain (int band, float gain) noexcept             { levelGainTargets[(size_t) band].publish (gain); }
    void publishBandMix (int band, float wetProportion) noexcept      { bandMixTargets[(size_t) band].publish (wetProportion); }
    void publishLowPass (int band, float hz) noexcept                 { lowPassCutoffs[(size_t) band].publish (hz); }
    void publishHighPass (int band, float hz) noexcept                { highPassCutoffs[(size_t) band].publish (hz); }
    void publishGlobalMix (float wetProportion) noexcept              { globalMixTarget.publish (wetProportion); }

    /** The dry input's all-pass for the crossover with order `order` (0 = lowest). */
    void publishDryAllPassCutoff (int order, float hz) noexcept       { dryAllPassCutoffs[(size_t) order].publish (hz); }

    float publishedCrossoverCutoff (int filterIndex) const noexcept   { return crossoverCutoffs[(size_t) filterIndex].latest(); }
    float publishedLevelGain (int band) const noexcept                { return levelGainTargets[(size_t) band].latest(); }
    float publishedInputGain (int band) const noexcept                { return inputGainTargets[(size_t) band].latest(); }
    float publishedBandMix (int band) const noexcept                  { return bandMixTargets[(size_t) band].latest(); }
    float publishedLowPass (int band) const noexcept                  { return lowPassCutoffs[(size_t) band].latest(); }
    float publishedHighPass (int band) const noexcept                 { return highPassCutoffs[(size_t) band].latest(); }
    float publishedGlobalMix() const noexcept                         { return globalMixTarget.latest(); }
    float publishedDryAllPassCutoff (int order) const noexcept        { return dryAllPassCutoffs[(size_t) order].latest(); }

    //==============================================================================
    // Host thread, outside processing.

    void prepare (const juce::dsp::ProcessSpec& spec);
    void reset();

    //==============================================================================
    // Audio thread.

    /** Clears every state (also the oversamplers', as each band's chain
        starts), so that processing resumes from the current input only. */
    void restart() noexcept;

    /** Takes up every setting published since the last block. */
    void applyPublishedSettings() noexcept;

    /** Splits, processes and sums the first `numChannels` channels of `buffer`
        in place (up to the global mix, before the output gain). */
    void process (juce::AudioBuffer<float>& buffer, int numChannels) noexcept;

    /** Runs one band's chain in place on the context's block. A chain that did
        not run in the previous block, or ran at another oversampling factor,
        starts from a clean state. */
    void processBand (int band, juce::dsp::ProcessContextReplacing<float> context) noexcept;

    /** The make-up attenuation that follows a curve: the Chebyshev curves have
        their own, the others -10 dB. It changes with the curve, at once. */
    static float makeupGainFor (int shaperIndex) noexcept;

    //==============================================================================
    juce::OwnedArray<juce::dsp::LinkwitzRileyFilter<float>> crossoverFilters;

    /** The number of active crossovers the audio thread routes by (0..5). */
    std::atomic<size_t> crossoverCount { 5 };

    /** Counts the changes of the crossover layout (its records moved or
        switched), written before the count: two changes that leave the count
        as it was still give a new routing. */
    std::atomic<std::uint32_t> layoutChanges { 0 };

    std::array<std::atomic<bool>, maxBands> bandEnabled {};
    std::array<std::atomic<bool>, maxBands> bandActive {};
    std::array<std::atomic<bool>, maxBands> bandRealActive {};
    std::array<std::atomic<bool>, maxBands> bandSolo {};
    std::array<std::atomic<int>, maxBands> shaperIndex {};
    std::array<std::atomic<int>, maxBands> oversamplingIndex {};

    juce::OwnedArray<juce::dsp::Gain<float>> inputGains;
    juce::OwnedArray<juce::dsp::Gain<float>> levelGains;
    juce::OwnedArray<juce::dsp::DryWetMixer<float>> bandMixers;
    juce::OwnedArray<juce::dsp::LinkwitzRileyFilter<float>> lowPassFilters;
    juce::OwnedArray<juce::dsp::LinkwitzRileyFilter<float>> highPassFilters;
    std::array<juce::AudioBuffer<float>, numWorkBuffers> workBuffers;
    juce::dsp::DryWetMixer<float> globalMixer;
    DryPhaseChain dryPhase;                    // the global mixer's dry input passes it
    juce::OwnedArray<juce::dsp::Oversampling<float>> oversamplers; // [band * 4 + choice]

    /** Random source of the "Tape" curve; one per engine, so parallel
        instances never contend for a shared generator. */
    TapeNoiseSource tapeNoise;
    std::array<std::function<float (float)>, 11> waveShapers;

    /** Each band's move from one curve to the next. */
    std::array<CurveCrossfade, maxBands> curveFades;

    juce::dsp::Oversampling<float>& oversamplerFor (int band, int choice) noexcept
    {
        return *oversamplers.getUnchecked (band * numOversamplingChoices + choice);
    }

private:
    using Lane = juce::dsp::AudioBlock<float>;

    /** What the audio thread knows of a band mixer's dry input. */
    struct BandDry
    {
        float wetProportion = 1.0f;
        int rampSamplesLeft = 0;    ///< until the mixer's volume ramp has surely run out
        bool resting = false;       ///< not heard: nothing pushed, nothing mixed
        float latency = -1.0f;      ///< last given to `setWetLatency`
    };

    void applyCrossoverCutoffs() noexcept;
    void setBandMix (int band, float wetProportion) noexcept;
    void startRouting() noexcept;
    void startBandChain (int band, int oversamplingChoice, int shaper) noexcept;
    float limitToNyquist (float hz) const noexcept;

    std::array<PublishedValue, numCrossoverFilters> crossoverCutoffs;
    std::array<PublishedValue, maxBands> inputGainTargets, levelGainTargets,
                                         bandMixTargets, lowPassCutoffs, highPassCutoffs;
    PublishedValue globalMixTarget { 1.0f };
    std::array<PublishedValue, DryPhaseChain::maxStages> dryAllPassCutoffs;

    double sampleRate = 0.0;
    std::array<Lane, numLanes> lanes;
    Drive drive = Drive::pairedSplits;
    std::array<BandDry, maxBands> bandDry;
    int mixerRampSamples = 0;

    // Audio thread: what ran in the previous block, so that whatever starts
    // again (a routing, a band's chain) starts from the current input only.
    std::uint64_t blockNumber = 1;
    size_t routedCount = maxCrossovers + 1;
    std::uint32_t routedLayout = 0;
    std::array<std::uint64_t, maxBands> chainLastBlock {};
    std::array<int, maxBands> chainFactor {};
};
