#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The horizontal frequency handle of one crossover.

    (Stand-in until the overlays land: a plain horizontal slider without text box.)
*/
class CrossoverSlider : public juce::Slider
{
public:
    CrossoverSlider();
    ~CrossoverSlider() override;
};
