#include "editor/CrossoverSliderLook.h"

namespace
{
    bool isHorizontal (juce::Slider::SliderStyle style)
    {
        return style == juce::Slider::LinearHorizontal || style == juce::Slider::LinearBar
            || style == juce::Slider::TwoValueHorizontal || style == juce::Slider::ThreeValueHorizontal;
    }

    void addChevron (juce::Path& path, juce::Point<float> a, juce::Point<float> tip, juce::Point<float> b)
    {
        path.addLineSegment ({ a, tip }, 1.0f);
        path.addLineSegment ({ tip, b }, 1.0f);
    }
}

CrossoverSliderLook::CrossoverSliderLook()
{
    setColour (juce::Slider::trackColourId, juce::Colours::transparentBlack);
    setColour (juce::Slider::backgroundColourId, juce::Colours::transparentBlack);
}

CrossoverSliderLook::~CrossoverSliderLook() = default;

juce::String CrossoverSliderLook::getFrequencyLabel (double hertz)
{
    if (hertz < 1000.0)
        return juce::String (hertz) + " Hz";

    return juce::String (hertz * 0.001, 1) + " kHz";
}

void CrossoverSliderLook::drawLinearSliderBackground (juce::Graphics& g, int, int, int, int,
                                                      float, float, float, juce::Slider::SliderStyle style, juce::Slider& slider)
{
    if (isHorizontal (style) || ! selected)
        return;

    // The glow keeps the thumb-indented track's extent, however far the
    // level line's own track is pulled inside the parent.
    const auto track = LookAndFeel_V2::getSliderLayout (slider).sliderBounds;
    const auto bottom = (float) track.getBottom();
    g.setGradientFill (juce::ColourGradient (juce::Colours::purple, 0.0f, bottom,
                                             juce::Colours::transparentBlack, 0.0f, (float) (track.getY() + track.getHeight() / 2), false));
    g.fillRect (0, 0, track.getRight(), track.getBottom());
}

juce::Slider::SliderLayout CrossoverSliderLook::getSliderLayout (juce::Slider& slider)
{
    auto layout = LookAndFeel_V2::getSliderLayout (slider);
    auto* parent = slider.getParentComponent();
    if (! slider.isVertical() || parent == nullptr)
        return layout;

    const auto shown = slider.getLocalBounds().getIntersection (slider.getLocalArea (parent, parent->getLocalBounds()));
    auto& track = layout.sliderBounds;

    // The line drawn at y covers y - 0.5 ... y + 0.5 and its shadow the pixel
    // below; at both ends of the track both lie within the shown rows.
    const int top = juce::jmax (track.getY(), shown.getY() + 1);
    const int bottom = juce::jmin (track.getBottom(), shown.getBottom() - 2);
    if (bottom > top)
        track = track.withTop (top).withBottom (bottom);

    return layout;
}

juce::Rectangle<int> CrossoverSliderLook::getLabelBounds (float thumbX, int top, int sliderWidth) const
{
    juce::Rectangle<int> label (juce::roundToInt (thumbX + 3.0f), top + 5, labelWidth, labelHeight);

    const auto moveBelow = [&label] (juce::Rectangle<int> area)
    {
        if (label.intersects (area))
            label.setY (area.getBottom() + 5);
    };

    if (label.getRight() > sliderWidth)
    {
        label.setX (juce::jmax (0, juce::roundToInt (thumbX - 3.0f) - labelWidth));
        moveBelow (labelKeepOutLeftOfLine + juce::Point<int> ((int) thumbX, 0));
    }
    moveBelow (labelKeepOut);
    return label;
}

void CrossoverSliderLook::drawLinearSliderThumb (juce::Graphics& g, int x, int y, int width, int height,
                                                 float sliderPos, float minSliderPos, float maxSliderPos,
                                                 juce::Slider::SliderStyle style, juce::Slider& slider)
{
    const auto active = slider.isEnabled() && (slider.isMouseOverOrDragging() || slider.isMouseButtonDown());
    const auto thumbColour = active ? juce::Colours::greenyellow : juce::Colours::silver;
    const auto left = (float) x, right = (float) (x + width), top = (float) y, bottom = (float) (y + height);

    if (style == juce::Slider::LinearVertical)
    {
        const auto ky = sliderPos;
        g.setColour (juce::Colours::black);
        g.drawLine (left, ky + 1.0f, right, ky + 1.0f, 1.0f);
        g.setColour (thumbColour);
        g.drawLine (left, ky, right, ky, 1.0f);

        if (active)
        {
            const auto mid = (float) (x + (width - x) / 2);
            juce::Path chevrons;
            addChevron (chevrons, { mid - 8.0f, ky + 8.0f }, { mid, ky + 16.0f }, { mid + 8.0f, ky + 8.0f });
            addChevron (chevrons, { mid - 8.0f, ky - 8.0f }, { mid, ky - 16.0f }, { mid + 8.0f, ky - 8.0f });
            g.fillPath (chevrons);
        }
    }
    else if (style == juce::Slider::LinearHorizontal)
    {
        const auto kx = sliderPos;
        const auto ky = top + (float) height * 0.5f;
        g.setColour (juce::Colours::black);
        g.drawLine (kx - 1.0f, top, kx - 1.0f, bottom, 1.0f);
        g.setColour (thumbColour);
        g.drawLine (kx, top, kx, bottom, 1.0f);

        if (active)
        {
            juce::Path chevrons;
            addChevron (chevrons, { kx + 18.0f, ky + 8.0f }, { kx + 26.0f, ky }, { kx + 18.0f, ky - 8.0f });
            addChevron (chevrons, { kx - 18.0f, ky + 8.0f }, { kx - 26.0f, ky }, { kx - 18.0f, ky - 8.0f });
            g.fillPath (chevrons);
        }

        const auto label = getLabelBounds (kx, y, slider.getWidth());
        g.drawFittedText (getFrequencyLabel (slider.getValue()), label,
                          label.getX() < kx ? juce::Justification::right : juce::Justification::left, 1);
    }
    else if (style == juce::Slider::TwoValueHorizontal || style == juce::Slider::TwoValueVertical
             || style == juce::Slider::ThreeValueHorizontal || style == juce::Slider::ThreeValueVertical)
    {
        drawValueThumbs (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider, thumbColour);
    }
}

// The glass spheres and pointers of LookAndFeel_V2 at its positions and sizes,
// in this look's thumb colour.
void CrossoverSliderLook::drawValueThumbs (juce::Graphics& g, int x, int y, int width, int height,
                                           float sliderPos, float minSliderPos, float maxSliderPos,
                                           juce::Slider::SliderStyle style, juce::Slider& slider, juce::Colour thumbColour)
{
    const auto radius = (float) (getSliderThumbRadius (slider) - 2);
    const auto diameter = radius * 2.0f;
    const auto outline = slider.isEnabled() ? 0.8f : 0.3f;
    const auto centreX = (float) x + (float) width * 0.5f;
    const auto centreY = (float) y + (float) height * 0.5f;
    const auto vertical = style == juce::Slider::TwoValueVertical || style == juce::Slider::ThreeValueVertical;

    if (style == juce::Slider::ThreeValueVertical)
        drawGlassSphere (g, centreX - radius, sliderPos - radius, diameter, thumbColour, outline);
    else if (style == juce::Slider::ThreeValueHorizontal)
        drawGlassSphere (g, sliderPos - radius, centreY - radius, diameter, thumbColour, outline);

    if (vertical)
    {
        const auto maxRadius = juce::jmin (radius, (float) width * 0.4f);
        drawGlassPointer (g, juce::jmax (0.0f, centreX - diameter), minSliderPos - radius, diameter, thumbColour, outline, 1);
        drawGlassPointer (g, juce::jmin ((float) (x + width) - diameter, centreX), maxSliderPos - maxRadius, diameter,
                          thumbColour, outline, 3);
    }
    else
    {
        const auto minRadius = juce::jmin (radius, (float) height * 0.4f);
        drawGlassPointer (g, minSliderPos - minRadius, juce::jmax (0.0f, centreY - diameter), diameter, thumbColour, outline, 2);
        drawGlassPointer (g, maxSliderPos - radius, juce::jmin ((float) (y + height) - diameter, centreY), diameter,
                          thumbColour, outline, 4);
    }
}
