#pragma once

#include "editor/CrossoverSlider.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A band's level handle: a slider (made vertical by its band display) drawn
    as a level line across the band, which also carries the band's selection
    mark (`lookAndFeel.selected`, drawn as the band's glow). Only a band 30
    pixels high around the drawn level line, away from the band's side
    margins, takes clicks. Its change messages tell the window that the band
    was selected.
*/
class GainSlider : public juce::Slider,
                   public juce::ChangeBroadcaster
{
public:
    GainSlider();
    ~GainSlider() override;

    bool hitTest (int x, int y) override;

    /** The y of the drawn level line, which the hit band is centred on. */
    double getHandleY();

    CrossoverSliderLook lookAndFeel;

    static constexpr int sideMargin = 30;
    static constexpr double reach = 15.0;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GainSlider)
};
