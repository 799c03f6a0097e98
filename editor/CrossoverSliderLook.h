#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The look of the crossover sliders and the band display's gain sliders: no
    track or background, a thin silver thumb line that turns green-yellow with
    chevrons while hovered or dragged, a frequency label beside a horizontal
    thumb, and a purple glow behind a vertical slider while `selected`. */
class CrossoverSliderLook : public juce::LookAndFeel_V2
{
public:
    CrossoverSliderLook();
    ~CrossoverSliderLook() override;

    void drawLinearSliderBackground (juce::Graphics&, int x, int y, int width, int height,
                                     float sliderPos, float minSliderPos, float maxSliderPos,
                                     juce::Slider::SliderStyle, juce::Slider&) override;
    void drawLinearSliderThumb (juce::Graphics&, int x, int y, int width, int height,
                                float sliderPos, float minSliderPos, float maxSliderPos,
                                juce::Slider::SliderStyle, juce::Slider&) override;

    /** The label of a horizontal thumb: "999.5 Hz" below 1000, else kilohertz
        with one decimal place ("12.3 kHz"). */
    static juce::String getFrequencyLabel (double hertz);

    /** Set while the slider's band is the selected band; the owner repaints after a change. */
    bool selected = false;

private:
    void drawValueThumbs (juce::Graphics&, int x, int y, int width, int height,
                          float sliderPos, float minSliderPos, float maxSliderPos,
                          juce::Slider::SliderStyle, juce::Slider&, juce::Colour thumbColour);
};
