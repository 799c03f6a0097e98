#pragma once

#include "editor/CrossoverSliderLook.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Gives a slider the transparent crossover look: no track, no background, no
    text box. The crossover handles and the band level handles share it. */
void installCrossoverSliderLook (juce::Slider& slider, CrossoverSliderLook& look);

/** The frequency handle of one crossover: a horizontal slider drawn as an
    upright line with the frequency beside it.

    Only a narrow window around the handle takes clicks; everywhere else the
    click falls through to the band displays behind the crossover overlay.
    Above row 110 the window leans right, where the frequency label is drawn.
*/
class CrossoverSlider : public juce::Slider
{
public:
    CrossoverSlider();
    ~CrossoverSlider() override;

    bool hitTest (int x, int y) override;

    /** The x the hit window is centred on: the value's proportion of the whole
        width (not of the thumb-indented track the handle line is drawn in). */
    double getHitReference();

    /** The proportion of the range whose handle is drawn at `x` (JUCE's own
        mapping inside the thumb-indented track), limited to 0 ... 1. */
    double getProportionAtPosition (float x);

    CrossoverSliderLook lookAndFeel;

    /** Pixel rows of the two hit windows; the row between them takes no click. */
    static constexpr int deadRow = 110;
    static constexpr double reach = 15.0;        // to either side below the dead row, to the right above it
    static constexpr double leftReachAbove = 4.0;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CrossoverSlider)
};
