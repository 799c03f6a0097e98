#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The maker's logo and the product name "ZELK-MULTI" in the corner of the
    bottom-row panels: fills `logoButton` and `productLabel` and adds both to
    `panel`. The panel lays them out itself. */
void showMakerMark (juce::Component& panel, juce::DrawableButton& logoButton, juce::Label& productLabel);
