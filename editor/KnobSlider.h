#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The look of a KnobSlider: the embedded knob body with a pointer bar that turns
    with the value, an optional ring of 21 value dots and optional texts at both
    ends of the range. The owning panel sets the public fields after
    construction and repaints the knob after changing them. */
class KnobSliderLookAndFeel : public juce::LookAndFeel_V4
{
public:
    KnobSliderLookAndFeel();
    ~KnobSliderLookAndFeel() override;

    juce::Font getLabelFont (juce::Label&) override;
    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;

    /** Pixels per unit of the knob images (both are 100 x 100 units). */
    float knobScale = 0.09f;
    /** Replaces black in the pointer image. */
    juce::Colour pointerColour = juce::Colours::black;
    /** Colour of the texts at both ends of the range. */
    juce::Colour labelColour = juce::Colours::lightgrey;
    bool drawKnobBody = true;
    bool drawRangeLabels = false;
    bool drawValueDots = false;

private:
    void drawDotsAndLabels (juce::Graphics&, int x, int y, int width, int height, float angle,
                            float rotaryStartAngle, float rotaryEndAngle, float radius, juce::Slider&);

    // Copies of the parsed images (sharing the decoded texture), so that a paint
    // parses nothing; the pointer copy is remade when pointerColour changes.
    std::unique_ptr<juce::Drawable> body, pointer;
    juce::Colour pointerMadeWith;
};

/** A rotary knob drawn from the embedded knob images, its value shown read-only
    in a 40-pixel-wide green-yellow text box below it. The owner sets range,
    suffix, tooltip, attachment and the look-and-feel's fields. */
class KnobSlider : public juce::Slider
{
public:
    KnobSlider();
    ~KnobSlider() override;

    KnobSliderLookAndFeel lookAndFeel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KnobSlider)
};
