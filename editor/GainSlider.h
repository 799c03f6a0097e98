#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A band's level handle; tells the window when its band is clicked.

    (Stand-in until the overlays land. The selection mark lives in
    `lookAndFeel.selected`, as it will in the real slider's look.)
*/
class GainSlider : public juce::Slider,
                   public juce::ChangeBroadcaster
{
public:
    GainSlider();
    ~GainSlider() override;

    struct SelectionMark
    {
        bool selected = false;
    };

    SelectionMark lookAndFeel;
};
