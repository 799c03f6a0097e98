#include "editor/GainSlider.h"

GainSlider::GainSlider()
{
    setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
}

GainSlider::~GainSlider() = default;
