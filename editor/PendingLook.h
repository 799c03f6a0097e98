#pragma once

// Minimal stand-ins for the look-and-feel family until it lands; kept in their
// own namespace so they never meet the real classes.

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace pendinglook
{
    struct PushButton : juce::TextButton {};

    struct KnobSliderLookAndFeel : juce::LookAndFeel_V4
    {
        float knobScale = 0.09f;
        juce::Colour pointerColour = juce::Colours::black;
        bool drawRangeLabels = false;
        bool drawValueDots = false;
    };

    struct KnobSlider : juce::Slider
    {
        KnobSlider()
        {
            setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
            setTextBoxStyle (juce::Slider::TextBoxBelow, true, 40, 20);
        }
        KnobSliderLookAndFeel lookAndFeel;
    };

    struct ColourPalette
    {
        juce::Colour operator[] (int index) const
        {
            return index == 28 ? juce::Colour (0xff731d19) : index == 42 ? juce::Colour (0xff800080) : juce::Colours::white;
        }
    };

    struct EditorLookAndFeel : juce::LookAndFeel_V4 {};
    struct BandEditorLookAndFeel : juce::LookAndFeel_V4 {};
    struct ContextPopupMenuLookAndFeel : juce::LookAndFeel_V4 {};

    inline const char* const logoSvg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 500 340\"><rect class=\"b\" x=\"10\" y=\"10\" width=\"480\" height=\"200\" fill=\"#7df97d\"/></svg>";

    inline std::unique_ptr<juce::Drawable> makeSvgDrawable (const juce::String& svgText, juce::Colour from, juce::Colour to, float scale)
    {
        auto xml = juce::XmlDocument::parse (svgText);
        auto drawable = xml != nullptr ? juce::Drawable::createFromSVG (*xml) : nullptr;
        if (drawable != nullptr)
        {
            drawable->replaceColour (from, to);
            drawable->setTransform (juce::AffineTransform::scale (scale));
        }
        return drawable;
    }
}
