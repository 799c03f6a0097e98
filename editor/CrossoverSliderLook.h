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

    /** A vertical slider that sticks out of its parent keeps its track inside
        the rows the parent shows, so that the level line and its shadow are
        drawn whole at both ends of the range. */
    juce::Slider::SliderLayout getSliderLayout (juce::Slider&) override;

    /** Where the label of a horizontal thumb at `thumbX` goes in a slider
        `sliderWidth` wide whose track starts at row `top`: right of the line,
        or left of it where it would stick out past the right end, and below
        whichever keep-out area it would touch. */
    juce::Rectangle<int> getLabelBounds (float thumbX, int top, int sliderWidth) const;

    /** The label of a horizontal thumb: "999.5 Hz" below 1000, else kilohertz
        with one decimal place ("12.3 kHz"). */
    static juce::String getFrequencyLabel (double hertz);

    /** Set while the slider's band is the selected band; the owner repaints after a change. */
    bool selected = false;

    /** Controls that stand over a horizontal slider, in its pixels (the plot's
        "In" and "Out"): the frequency label is drawn below them. */
    juce::Rectangle<int> labelKeepOut;
    /** Controls that stand just left of the line, relative to the line's x
        (the switches of the band below a crossover): a label that has to go
        left of the line is drawn below them. */
    juce::Rectangle<int> labelKeepOutLeftOfLine;

    static constexpr int labelWidth = 50, labelHeight = 15;

private:
    void drawValueThumbs (juce::Graphics&, int x, int y, int width, int height,
                          float sliderPos, float minSliderPos, float maxSliderPos,
                          juce::Slider::SliderStyle, juce::Slider&, juce::Colour thumbColour);
};
