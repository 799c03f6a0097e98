#include "MultiBandProcessor.h"

#include "FilterDrive.h"
#include "SampleChecks.h"

namespace
{
    using FilterType = juce::dsp::LinkwitzRileyFilterType;

    constexpr double gainRampSeconds = 0.05;
    constexpr float saturationOutputScale = 0.7f;

    FilterType crossoverFilterType (int index) noexcept
    {
        switch (index)
        {
            case 0: case 2: case 4: case 8: case 10:  return FilterType::lowpass;
            case 1: case 3: case 5: case 9: case 11:  return FilterType::highpass;
            default:                                  return FilterType::allpass;
        }
    }

    //==============================================================================
    // Routing of the crossover tree, per crossover count, as a sequence of
    // splits. A split feeds lane `source` to a low-pass/high-pass pair (filters
    // at the same cutoff) and leaves each side, after up to three all-passes, in
    // its own lane; a lane may be overwritten by a split that reads it. The
    // bands then take their lanes.
    constexpr int maxAllPassesPerSide = 3;

    struct SplitSide
    {
        int lane;
        int numAllPasses;
        int allPasses[maxAllPassesPerSide];
    };

    struct Split
    {
        int source, lowPass, highPass;
        SplitSide low, high;
    };

    struct Routing
    {
        int numSplits;
        Split splits[MultiBandProcessor::maxCrossovers];
        int bandLanes[MultiBandProcessor::maxBands];
    };

    // Lane numbers are those of the work buffers: lane 2i is channels 0.. of
    // buffer i, lane 2i + 1 is channels 2.. of buffer i. Lane 0 starts as a
    // copy of the block.
    constexpr Routing routings[MultiBandProcessor::maxCrossovers + 1] =
    {
        // 0 crossovers: one band over the full range.
        { 0, {}, { 0 } },

        // 1 crossover.
        { 1, { { 0, 4, 5, { 0, 0, {} }, { 1, 0, {} } } },
          { 0, 1 } },

        // 2 crossovers.
        { 2, { { 0, 4, 5, { 0, 1, { 6 } }, { 1, 0, {} } },
               { 1, 2, 3, { 2, 0, {} },    { 3, 0, {} } } },
          { 0, 2, 3 } },

        // 3 crossovers.
        { 3, { { 0, 4, 5, { 0, 1, { 7 } }, { 1, 1, { 6 } } },
               { 0, 0, 1, { 4, 0, {} },    { 5, 0, {} } },
               { 1, 2, 3, { 2, 0, {} },    { 3, 0, {} } } },
          { 4, 5, 2, 3 } },

        // 4 crossovers: the lowest split's all-pass (12) sits on band 2, and the
        // upper side also passes the all-pass of the lowest crossover (14).
        { 4, { { 0, 4, 5, { 0, 1, { 7 } }, { 1, 2, { 6, 14 } } },
               { 0, 0, 1, { 4, 0, {} },    { 5, 1, { 12 } } },
               { 4, 8, 9, { 6, 0, {} },    { 7, 0, {} } },
               { 1, 2, 3, { 2, 0, {} },    { 3, 0, {} } } },
          { 6, 7, 5, 2, 3 } },

        // 5 crossovers: the upper side also passes the all-passes of the first
        // and third crossovers (14, 15).
        { 5, { { 0, 4, 5,   { 0, 1, { 7 } },  { 1, 3, { 6, 14, 15 } } },
               { 0, 0, 1,   { 4, 1, { 13 } }, { 5, 1, { 12 } } },
               { 4, 8, 9,   { 6, 0, {} },     { 7, 0, {} } },
               { 5, 10, 11, { 8, 0, {} },     { 9, 0, {} } },
               { 1, 2, 3,   { 2, 0, {} },     { 3, 0, {} } } },
          { 6, 7, 8, 9, 2, 3 } },
    };

    using Lanes = std::array<juce::dsp::AudioBlock<float>, MultiBandProcessor::numLanes>;
    using Drive = MultiBandProcessor::Drive;

    void runSplit (const Split& split, juce::OwnedArray<FilterDrive::Filter>& filters, Lanes& lanes, Drive drive) noexcept
    {
        auto& lowPass = *filters.getUnchecked (split.lowPass);
        auto& highPass = *filters.getUnchecked (split.highPass);

        std::array<FilterDrive::Filter*, maxAllPassesPerSide> lowAllPasses {}, highAllPasses {};
        auto outputFor = [&] (const SplitSide& side, std::array<FilterDrive::Filter*, maxAllPassesPerSide>& allPasses)
        {
            for (int i = 0; i < side.numAllPasses; ++i)
                allPasses[(size_t) i] = filters.getUnchecked (side.allPasses[i]);
            return FilterDrive::SplitOutput { lanes[(size_t) side.lane], allPasses.data(), side.numAllPasses };
        };
        const auto low = outputFor (split.low, lowAllPasses);
        const auto high = outputFor (split.high, highAllPasses);
        const auto source = lanes[(size_t) split.source];

        switch (drive)
        {
            case Drive::reference:
                // Each side from its own copy (the high side never runs in place).
                high.block.copyFrom (source);
                if (split.low.lane != split.source)
                    low.block.copyFrom (source);
                FilterDrive::runBlockwise (lowPass, low);
                FilterDrive::runBlockwise (highPass, high);
                break;

            case Drive::interleaved:
                FilterDrive::runSplit (lowPass, &highPass, source, low, high);
                break;

            case Drive::pairedSplits:
                FilterDrive::runSplit (lowPass, nullptr, source, low, high);
                break;
        }
    }
}

//==============================================================================
MultiBandProcessor::MultiBandProcessor()
{
    for (int band = 0; band < maxBands; ++band)
        for (int choice = 0; choice < numOversamplingChoices; ++choice)
            oversamplers.add (new juce::dsp::Oversampling<float> (2, (size_t) choice + 1,
                                                                  juce::dsp::Oversampling<float>::filterHalfBandPolyphaseIIR,
                                                                  true, false));

    waveShapers = SaturationCurves::makeWaveShapers (tapeNoise);

    for (int i = 0; i < numCrossoverFilters; ++i)
        crossoverFilters.add (new juce::dsp::LinkwitzRileyFilter<float>());

    for (int band = 0; band < maxBands; ++band)
    {
        inputGains.add (new juce::dsp::Gain<float>())->setRampDurationSeconds (gainRampSeconds);
        levelGains.add (new juce::dsp::Gain<float>())->setRampDurationSeconds (gainRampSeconds);

        auto* mixer = bandMixers.add (new juce::dsp::DryWetMixer<float> (maximumBandWetLatency));
        mixer->setMixingRule (juce::dsp::DryWetMixingRule::linear);

        lowPassFilters.add (new juce::dsp::LinkwitzRileyFilter<float>())->setType (FilterType::lowpass);
        highPassFilters.add (new juce::dsp::LinkwitzRileyFilter<float>())->setType (FilterType::highpass);

        bandEnabled[(size_t) band] = false;
        bandActive[(size_t) band] = false;
        bandRealActive[(size_t) band] = true;
        bandSolo[(size_t) band] = false;
        shaperIndex[(size_t) band] = 0;
        oversamplingIndex[(size_t) band] = 0;

        // The library's own starting points: unit gains, fully wet, 2 kHz filters.
        inputGainTargets[(size_t) band].publish (1.0f);
        levelGainTargets[(size_t) band].publish (1.0f);
        bandMixTargets[(size_t) band].publish (1.0f);
        lowPassCutoffs[(size_t) band].publish (lowPassFilters[band]->getCutoffFrequency());
        highPassCutoffs[(size_t) band].publish (highPassFilters[band]->getCutoffFrequency());
    }

    for (int i = 0; i < numCrossoverFilters; ++i)
    {
        crossoverFilters[i]->setType (crossoverFilterType (i));
        crossoverCutoffs[(size_t) i].publish (crossoverFilters[i]->getCutoffFrequency());
    }

    for (auto& cutoff : dryAllPassCutoffs)
        cutoff.publish (crossoverFilters[0]->getCutoffFrequency());

    globalMixer.setMixingRule (juce::dsp::DryWetMixingRule::linear);
}

//==============================================================================
void MultiBandProcessor::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = spec.sampleRate;

    // The mixers ramp their volumes over 0.05 s; one sample more is surely past it.
    mixerRampSamples = (int) std::ceil (0.05 * sampleRate) + 1;

    for (auto* oversampler : oversamplers)
    {
        oversampler->numChannels = spec.numChannels;
        oversampler->initProcessing (spec.maximumBlockSize);
    }

    // Take up every published setting anew for the new rate, then let each
    // block's prepare snap its ramps to the targets.
    for (auto& v : crossoverCutoffs)     v.invalidate();
    for (auto& v : dryAllPassCutoffs)    v.invalidate();
    for (auto* group : { &inputGainTargets, &levelGainTargets,
                         &bandMixTargets, &lowPassCutoffs, &highPassCutoffs })
        for (auto& v : *group)
            v.invalidate();
    globalMixTarget.invalidate();

    for (auto* f : crossoverFilters)  f->prepare (spec);
    for (auto* g : inputGains)        g->prepare (spec);
    for (auto* g : levelGains)        g->prepare (spec);
    for (auto* m : bandMixers)        m->prepare (spec);
    for (auto* f : lowPassFilters)    f->prepare (spec);
    for (auto* f : highPassFilters)   f->prepare (spec);
    globalMixer.prepare (spec);
    dryPhase.prepare (spec);
    for (auto& fade : curveFades)     fade.prepare (spec.sampleRate);

    for (auto& buffer : workBuffers)
        buffer.setSize (4, (int) spec.maximumBlockSize, false, false, true);

    applyPublishedSettings();
    reset();
}

void MultiBandProcessor::reset()
{
    for (auto* f : crossoverFilters)  f->reset();
    for (auto* g : inputGains)        g->reset();
    for (auto* g : levelGains)        g->reset();
    for (auto* m : bandMixers)        m->reset();
    for (auto* f : lowPassFilters)    f->reset();
    for (auto* f : highPassFilters)   f->reset();
    globalMixer.reset();
    dryPhase.mixerSnapped();

    for (auto& dry : bandDry)
    {
        dry.rampSamplesLeft = 0;    // the mixers' volumes are at their targets
        dry.latency = -1.0f;
    }
}

//==============================================================================
float MultiBandProcessor::limitToNyquist (float hz) const noexcept
{
    // A cut-off at or above half the sample rate (a 20 kHz crossover at a
    // 32 kHz rate, say) would make the filter unstable.
    if (sampleRate <= 0.0)
        return hz;
    return juce::jlimit (1.0f, (float) (sampleRate * 0.49), hz);
}

void MultiBandProcessor::applyCrossoverCutoffs() noexcept
{
    float hz;
    for (int i = 0; i < numCrossoverFilters; ++i)
        if (crossoverCutoffs[(size_t) i].takeChange (hz))
            crossoverFilters.getUnchecked (i)->setCutoffFrequency (limitToNyquist (hz));

    for (int i = 0; i < DryPhaseChain::maxStages; ++i)
        if (dryAllPassCutoffs[(size_t) i].takeChange (hz))
            dryPhase.setCutoff (i, limitToNyquist (hz));
}

void MultiBandProcessor::applyPublishedSettings() noexcept
{
    applyCrossoverCutoffs();

    float v;
    for (int b = 0; b < maxBands; ++b)
    {
        const auto i = (size_t) b;
        if (inputGainTargets[i].takeChange (v))   inputGains.getUnchecked (b)->setGainLinear (v);
        if (levelGainTargets[i].takeChange (v))   levelGains.getUnchecked (b)->setGainLinear (v);
        if (bandMixTargets[i].takeChange (v))     setBandMix (b, juce::jlimit (0.0f, 1.0f, v));
        if (lowPassCutoffs[i].takeChange (v))     lowPassFilters.getUnchecked (b)->setCutoffFrequency (limitToNyquist (v));
        if (highPassCutoffs[i].takeChange (v))    highPassFilters.getUnchecked (b)->setCutoffFrequency (limitToNyquist (v));
    }

    if (globalMixTarget.takeChange (v))
    {
        globalMixer.setWetMixProportion (juce::jlimit (0.0f, 1.0f, v));
        dryPhase.setWetProportion (v);
    }
}

void MultiBandProcessor::setBandMix (int band, float wetProportion) noexcept
{
    auto& mixer = *bandMixers.getUnchecked (band);
    auto& dry = bandDry[(size_t) band];

    // A resting mixer sits at its fully wet volumes; its dry delay holds
    // whatever it had when it stopped. Start it clean before its dry input
    // is heard again.
    if (dry.resting && wetProportion < 1.0f)
    {
        mixer.reset();
        dry.resting = false;
    }

    mixer.setWetMixProportion (wetProportion);
    dry.wetProportion = wetProportion;
    dry.rampSamplesLeft = mixerRampSamples;
}

void MultiBandProcessor::startRouting() noexcept
{
    // The filters of a new routing must not carry the old one's signal, and
    // every band now takes another part of the spectrum (or another record).
    for (auto* f : crossoverFilters)
        f->reset();
    dryPhase.reset();
    chainLastBlock.fill (0);
}

void MultiBandProcessor::restart() noexcept
{
    reset();
    chainLastBlock.fill (0);
}

//==============================================================================
void MultiBandProcessor::process (juce::AudioBuffer<float>& buffer, int numChannels) noexcept
{
    // The count is read before the cut-offs: a writer publishes it last.
    const auto count = crossoverCount.load (std::memory_order_acquire);
    const auto layout = layoutChanges.load (std::memory_order_relaxed);
    applyPublishedSettings();

    ++blockNumber;
    if (count != routedCount || layout != routedLayout)
    {
        startRouting();
        routedCount = count;
        routedLayout = layout;
    }

    const auto numSamples = buffer.getNumSamples();
    const auto n = (size_t) numChannels;

    for (int i = 0; i < numWorkBuffers; ++i)
    {
        juce::dsp::AudioBlock<float> whole (workBuffers[(size_t) i]);
        lanes[(size_t) (2 * i)]     = whole.getSubsetChannelBlock (0, n).getSubBlock (0, (size_t) numSamples);
        lanes[(size_t) (2 * i + 1)] = whole.getSubsetChannelBlock (2, n).getSubBlock (0, (size_t) numSamples);
    }

    juce::dsp::AudioBlock<float> host (buffer.getArrayOfWritePointers(), n, (size_t) numSamples);
    lanes[0].copyFrom (host);

    const bool routable = count <= (size_t) maxCrossovers;

    if (routable)
    {
        const auto& routing = routings[count];
        for (int s = 0; s < routing.numSplits; ++s)
            runSplit (routing.splits[s], crossoverFilters, lanes, drive);
    }

    // The dry input takes the phase of the network (the neutral band sum).
    dryPhase.process (host, routable ? count : 0);
    globalMixer.pushDrySamples (host);
    host.clear();

    bool anySolo = false;
    for (int b = 0; b < maxBands; ++b)
        anySolo = anySolo || (bandEnabled[(size_t) b].load() && bandSolo[(size_t) b].load());

    if (routable)
    {
        const auto& routing = routings[count];
        for (int b = 0; b < maxBands && (size_t) b <= count; ++b)
        {
            if (! bandEnabled[(size_t) b].load())
                continue;

            auto lane = lanes[(size_t) routing.bandLanes[b]];
            processBand (b, juce::dsp::ProcessContextReplacing<float> (lane));

            const bool summed = count == 0 || ! anySolo || bandSolo[(size_t) b].load();
            if (summed)
                host.add (lane);
        }
    }

    globalMixer.mixWetSamples (host);

    // A runaway (non-finite) result would otherwise stay in the filters'
    // state for good: drop the block and start the engine's state afresh.
    if (! SampleChecks::allFinite (host))
    {
        host.clear();
        reset();
        for (auto* oversampler : oversamplers)
            oversampler->reset();
    }
}

float MultiBandProcessor::makeupGainFor (int shaperIndex) noexcept
{
    float exponent = -0.5f;
    switch (shaperIndex)
    {
        case 6: exponent = -0.8f;   break;     // "Chebyshev 2"
        case 7: exponent = -0.875f; break;     // "Chebyshev 4"
        case 8: exponent = -0.925f; break;     // "Chebyshev 6"
        case 9: exponent = -1.0f;   break;     // "Chebyshev 8"
        default: break;
    }
    return std::pow (10.0f, exponent);
}

void MultiBandProcessor::startBandChain (int band, int oversamplingChoice, int shaper) noexcept
{
    // Whatever the chain held from its last run belongs to another signal, and
    // a drive changed meanwhile applies at once.
    inputGains.getUnchecked (band)->reset();
    oversamplerFor (band, oversamplingChoice).reset();
    bandMixers.getUnchecked (band)->reset();
    highPassFilters.getUnchecked (band)->reset();
    lowPassFilters.getUnchecked (band)->reset();
    curveFades[(size_t) band].start (shaper);
}

void MultiBandProcessor::processBand (int band, juce::dsp::ProcessContextReplacing<float> context) noexcept
{
    const auto b = (size_t) band;
    const auto shaper = shaperIndex[b].load();

    if (! (bandRealActive[b].load() && bandActive[b].load() && shaper >= 0 && shaper < 10))
    {
        levelGains.getUnchecked (band)->process (context);
        return;
    }

    auto& block = context.getOutputBlock();
    const auto factor = juce::jlimit (0, numOversamplingChoices - 1, oversamplingIndex[b].load());
    if (chainLastBlock[b] + 1 != blockNumber || chainFactor[b] != factor)
        startBandChain (band, factor, shaper);
    chainLastBlock[b] = blockNumber;
    chainFactor[b] = factor;

    auto& oversampler = oversamplerFor (band, factor);
    auto& mixer = *bandMixers.getUnchecked (band);
    auto& dry = bandDry[b];

    // While the mix is fully wet and no longer ramping, the dry input is not
    // heard: the mixer rests (see setBandMix).
    dry.resting = drive != Drive::reference && dry.wetProportion >= 1.0f && dry.rampSamplesLeft <= 0;

    if (! dry.resting)
    {
        const auto latency = (float) oversampler.getLatencyInSamples();
        if (latency != dry.latency || drive == Drive::reference)
            mixer.setWetLatency (latency);
        dry.latency = latency;
        mixer.pushDrySamples (block);
    }

    inputGains.getUnchecked (band)->process (context);

    auto oversampled = oversampler.processSamplesUp (block);

    // The make-up gain goes with the curve, in the oversampled signal, so that
    // it changes at the very sample where the curve does; a new curve fades
    // in as the old one fades out. The curve heard is the fade's: a choice
    // made during a fade waits for its end.
    auto& fade = curveFades[b];
    fade.select (shaper, (int) oversampler.getOversamplingFactor());
    const auto curve = fade.curve();
    const auto scale = saturationOutputScale * makeupGainFor (curve);

    if (fade.isFading())
    {
        fade.shapeFading (oversampled, waveShapers,
                          saturationOutputScale * makeupGainFor (fade.fadingFrom()), scale);
    }
    else
    {
        for (size_t ch = 0; ch < oversampled.getNumChannels(); ++ch)
        {
            auto* samples = oversampled.getChannelPointer (ch);
            const auto numSamples = oversampled.getNumSamples();

            if (drive == Drive::reference)
            {
                const auto& shape = waveShapers[(size_t) curve];
                for (size_t i = 0; i < numSamples; ++i)
                    samples[i] = shape (samples[i]);
                juce::FloatVectorOperations::multiply (samples, scale, (int) numSamples);
            }
            else
            {
                SaturationCurves::shapeAndScale ((size_t) curve, samples, numSamples, scale, tapeNoise);
            }
        }
    }

    oversampler.processSamplesDown (block);


    FilterDrive::Filter* const bandFilters[] { highPassFilters.getUnchecked (band), lowPassFilters.getUnchecked (band) };
    if (drive == Drive::reference)
        FilterDrive::runBlockwise (bandFilters, 2, block);
    else
        FilterDrive::runChain (bandFilters, 2, block);

    if (! dry.resting)
    {
        mixer.mixWetSamples (block);
        dry.rampSamplesLeft -= (int) block.getNumSamples();
    }

    levelGains.getUnchecked (band)->process (context);
}
