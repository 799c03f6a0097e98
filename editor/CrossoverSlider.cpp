#include "editor/CrossoverSlider.h"

CrossoverSlider::CrossoverSlider()
{
    setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
}

CrossoverSlider::~CrossoverSlider() = default;
