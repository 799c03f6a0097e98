#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_dsp/juce_dsp.h>

#include <array>

/** The phase of the crossover network, for the global mixer's dry input: one
    Linkwitz-Riley all-pass per active crossover, at the crossovers'
    frequencies. While no band saturates (each of type "None" or with its
    processing off), at unit level and without solo or mute, the band sum is
    exactly this all-pass, so dry and wet add without combing at any mix.

    A saturating band also passes its oversampler, whose latency (about 3 to 5
    samples at 48 kHz, by factor) this chain does not follow: the plug-in
    reports no latency, so the dry input stays in time with the host. Between
    fully dry and fully wet such a band combs with the dry input; at
    "output_mix" 50 % with the default bands the output dips about 8 dB near
    7 kHz.

    While the mixer is fully wet (and its dry ramp has run out) nothing of the
    dry input is heard and the chain rests; it starts again from a clean state
    when the dry input is heard again.

    Everything here runs on the audio thread, apart from prepare (and the
    engine's reset), which hosts never run during processing.
*/
class DryPhaseChain
{
public:
    static constexpr int maxStages = 5;

    DryPhaseChain();

    void prepare (const juce::dsp::ProcessSpec& spec);

    /** Clears the all-passes' state. */
    void reset() noexcept;

    void setCutoff (int stage, float hz) noexcept;

    /** The global mixer's new wet proportion; the mixer ramps its dry level
        over `mixerRampSeconds`, during which the chain keeps running. */
    void setWetProportion (float wetProportion) noexcept;

    /** The global mixer's volumes jumped to their targets (its reset). */
    void mixerSnapped() noexcept;

    /** Runs stages 0 .. numStages - 1 in place, unless the dry input is not heard. */
    void process (juce::dsp::AudioBlock<float> block, size_t numStages) noexcept;

    /** JUCE's DryWetMixer ramps its volumes over this time. */
    static constexpr double mixerRampSeconds = 0.05;

private:
    static constexpr size_t maxChannels = 2;

    template <size_t numChannels>
    void runStages (juce::dsp::AudioBlock<float>& block, size_t numStages) noexcept;

    /** JUCE's Linkwitz-Riley filter in its all-pass form: the phase of one
        crossover's low and high outputs summed. */
    std::array<juce::dsp::LinkwitzRileyFilter<float>, maxStages> stages;
    int rampSamples = 0;
    bool fullyWet = true;
    int samplesUntilSilent = 0;
    bool resting = true;
};
