#pragma once

#include <juce_dsp/juce_dsp.h>

#include <array>
#include <cstddef>
#include <functional>

/** One band's move from one saturation curve to another.

    A curve that switched at one sample would change the waveform there, and
    the band's 20 Hz high-pass rings for tens of milliseconds on the jump
    (switching between curves of opposite polarity, "Chebyshev 6" and
    "Chebyshev 8" say, rises by about 1 dB). Instead, the old curve (with its
    own make-up gain) fades out while the new one fades in, over
    `fadeSeconds`, with raised-cosine gains that sum to one.

    Audio thread only; nothing here allocates or locks. */
class CurveCrossfade
{
public:
    static constexpr double fadeSeconds = 0.01;

    using Curves = std::array<std::function<float (float)>, 11>;

    /** The fade's length in samples at the band's (not oversampled) rate. */
    void prepare (double sampleRate) noexcept;

    /** The chain starts clean on `shaper`: nothing to fade from. */
    void start (int shaper) noexcept;

    /** Takes up the curve chosen for the next block, oversampled `factor`
        times. A new curve starts a fade from the one heard now; switching
        back during a fade turns it round. A third curve chosen during a fade
        is held: the fade runs to its end, and the next call with that choice
        starts the fade to it. So however fast the choice changes, the output
        only ever blends two curves with gains that move continuously, and it
        ends on the last curve chosen. `curve()` is the curve faded to (or
        heard alone), which during a hold is not yet the one chosen. */
    void select (int shaper, int factor) noexcept;

    bool isFading() const noexcept      { return fadeLength > 0; }
    int curve() const noexcept          { return target; }
    int fadingFrom() const noexcept     { return source; }

    /** During a fade: replaces each channel's samples by the blend of the old
        curve times `fromScale` and the new one times `toScale`, and moves the
        fade on by the block's length. Every channel is blended with the same
        gains; past the fade's end the new curve plays alone. */
    void shapeFading (juce::dsp::AudioBlock<float> block, const Curves& curves,
                      float fromScale, float toScale) noexcept;

private:
    int baseLength = 0;     // samples at the band's rate
    int target = -1, source = -1;
    int fadeLength = 0, position = 0;   // oversampled samples; no fade while 0
};
