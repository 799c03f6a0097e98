#include "editor/CrossoverSlider.h"

#include <cmath>

void installCrossoverSliderLook (juce::Slider& slider, CrossoverSliderLook& look)
{
    const auto transparent = juce::Colour (0x00000000);
    look.setColour (juce::Slider::trackColourId, transparent);
    look.setColour (juce::Slider::backgroundColourId, transparent);
    slider.setLookAndFeel (&look);
    slider.setColour (juce::Slider::trackColourId, transparent);
    slider.setColour (juce::Slider::backgroundColourId, transparent);
    slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
}

CrossoverSlider::CrossoverSlider()
{
    installCrossoverSliderLook (*this, lookAndFeel);
}

CrossoverSlider::~CrossoverSlider()
{
    setLookAndFeel (nullptr);
}

double CrossoverSlider::getHitReference()
{
    return getWidth() * valueToProportionOfLength (getValue());
}

double CrossoverSlider::getProportionAtPosition (float x)
{
    // The thumb-indented track JUCE places values in (a proportion of 1 lies
    // at its right end even where the range's top value maps below 1).
    const auto track = getLookAndFeel().getSliderLayout (*this).sliderBounds;
    if (track.getWidth() <= 0)
        return 0.0;
    return juce::jlimit (0.0, 1.0, (double) (x - (float) track.getX()) / (double) track.getWidth());
}

bool CrossoverSlider::hitTest (int x, int y)
{
    bool takesClicks = false, childrenTakeClicks = false;
    getInterceptsMouseClicks (takesClicks, childrenTakeClicks);
    if (! takesClicks)
        return false;

    const double d = x - getHitReference();

    if (y > deadRow)
        return std::abs (d) < reach;

    if (y < deadRow)
        return d > -leftReachAbove && d < reach;

    return false;
}
