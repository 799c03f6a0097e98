#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The maker's logo and the product name "ZELK-MULTI" in the corner of the
    bottom-row panels: fills `logoButton` and `productLabel` and adds both to
    `panel`. The panel lays them out itself. */
void showMakerMark (juce::Component& panel, juce::DrawableButton& logoButton, juce::Label& productLabel);

/** The bottom-row panels' background: a vertical gradient from `top` at the
    top edge to black at the bottom, over the whole panel. */
void fillPanelGradient (juce::Graphics& g, const juce::Component& panel, juce::Colour top);
