#include "editor/KnobSlider.h"

#include "editor/EmbeddedFonts.h"
#include "editor/SvgDrawable.h"
#include "resources/EmbeddedResources.h"

#include <cmath>

namespace
{
    /** A circle of diameter 4 whose lowest point touches the knob's top edge
        (radius r around the origin); it starts at its top point. */
    juce::Path makeDotShape (float r)
    {
        juce::Path dot;
        dot.startNewSubPath (2.0f, -r - 4.0f);
        dot.cubicTo (3.1f, -r - 4.0f, 4.0f, -r - 3.1f, 4.0f, -r - 2.0f);
        dot.cubicTo (4.0f, -r - 0.9f, 3.1f, -r, 2.0f, -r);
        dot.cubicTo (0.9f, -r, 0.0f, -r - 0.9f, 0.0f, -r - 2.0f);
        dot.cubicTo (0.0f, -r - 3.1f, 0.9f, -r - 4.0f, 2.0f, -r - 4.0f);
        dot.closeSubPath();
        return dot;
    }

    const juce::Colour litDotColour (0xffc3c3c3);

    /** Hides the shapes that paint nothing (both images begin with an unfilled
        frame square). Filling them with a transparent colour leaves every pixel
        as it was but costs a pass over the whole knob; hidden, they still count
        for the drawable's bounds. */
    void hideInvisibleShapes (juce::Drawable& drawable)
    {
        for (auto* child : drawable.getChildren())
        {
            if (auto* shape = dynamic_cast<juce::DrawableShape*> (child))
                if (shape->getFill().isInvisible()
                    && (shape->getStrokeType().getStrokeThickness() <= 0.0f || shape->getStrokeFill().isInvisible()))
                    shape->setVisible (false);

            if (auto* nested = dynamic_cast<juce::Drawable*> (child))
                hideInvisibleShapes (*nested);
        }
    }
}

KnobSliderLookAndFeel::KnobSliderLookAndFeel()
{
    setColour (juce::BubbleComponent::backgroundColourId, juce::Colours::black);
}

KnobSliderLookAndFeel::~KnobSliderLookAndFeel() = default;

juce::Font KnobSliderLookAndFeel::getLabelFont (juce::Label&)
{
    return EmbeddedFonts::makeRobotoFont (15.0f, 0.0f, 1.1f);
}

void KnobSliderLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                              float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    const auto cx = (float) x + (float) width * 0.5f;
    const auto cy = (float) y + (float) height * 0.5f;
    const auto angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);

    if (pointer == nullptr || pointerMadeWith != pointerColour)
    {
        pointer = getEmbeddedSvgDrawable (resources::knobPointerSvg).createCopy();
        pointer->replaceColour (juce::Colours::black, pointerColour);
        hideInvisibleShapes (*pointer);
        pointerMadeWith = pointerColour;
    }

    const auto w = pointer->getWidth(), h = pointer->getHeight();
    const auto s = knobScale;
    const auto placement = juce::AffineTransform::translation (cx - 0.5f * s * (float) w, cy - 0.5f * s * (float) h);

    if (drawKnobBody)
    {
        if (body == nullptr)
        {
            body = getEmbeddedSvgDrawable (resources::knobBodySvg).createCopy();
            hideInvisibleShapes (*body);
        }

        body->setTransform (juce::AffineTransform::scale (s));
        body->draw (g, 1.0f, placement);
    }

    pointer->setTransform (juce::AffineTransform::rotation (angle, (float) (w / 2), (float) (h / 2)).scaled (s));
    pointer->draw (g, 1.0f, placement);

    if (drawRangeLabels || drawValueDots)
        drawDotsAndLabels (g, x, y, width, height, angle, rotaryStartAngle, rotaryEndAngle, 0.5f * s * (float) w, slider);
}

void KnobSliderLookAndFeel::drawDotsAndLabels (juce::Graphics& g, int x, int y, int width, int height, float angle,
                                               float rotaryStartAngle, float rotaryEndAngle, float radius, juce::Slider& slider)
{
    const auto cx = (float) x + (float) width * 0.5f;
    const auto cy = (float) y + (float) height * 0.5f;
    const auto dotShape = makeDotShape (radius);

    // The angle of a 2-pixel chord at the dots' outer radius: turning the dot
    // shape by theta - a puts its centre close to the ray at theta.
    const auto outer = (double) radius + 4.0;
    const auto a = std::acos (1.0 - 2.0 / (outer * outer));

    g.setColour (juce::Colours::black);
    g.setFont (15.0f);

    const auto range = slider.getRange();
    const auto step = std::abs (0.05f * (rotaryEndAngle - rotaryStartAngle));

    for (int i = 0; i <= 20; ++i)
    {
        const auto theta = rotaryStartAngle + (float) i * step;
        auto dot = dotShape;
        dot.applyTransform (juce::AffineTransform::rotation ((float) ((double) theta - a)).translated (cx, cy));

        if (drawValueDots)
        {
            g.setColour ((double) theta - 2.0 * a > (double) angle ? juce::Colours::darkgrey : litDotColour);
            g.fillPath (dot);
        }

        if (! drawRangeLabels)
            continue;

        const auto text = i == 0  ? slider.getTextFromValue (range.getStart())
                        : i == 20 ? slider.getTextFromValue (range.getEnd())
                                  : juce::String();
        const auto font = g.getCurrentFont();
        const auto tw = (int) std::ceil (font.getStringWidthFloat (text));
        const auto fh = font.getHeight();
        const auto tip = dot.getCurrentPosition();
        const auto bounds = dot.getBounds();

        const auto ax = tip.y == cy ? tip.x : (tip.x <= cx ? bounds.getX() : bounds.getRight());
        const auto ay = ax == cx ? tip.y : bounds.getBottom();

        // Left of a dot on the left half, right of one on the right half; a dot
        // straight above or below the centre takes its text on its right.
        const auto tx = cx > ax ? ax - (float) tw + 4.0f
                      : cx < ax ? ax - 4.0f
                                : bounds.getRight() - 4.0f;
        // Level with the dot's lower edge; a little higher on the upper half.
        const auto ty = cy > ay ? ay - fh * 0.5f - 2.0f : ay - fh * 0.5f;

        g.setFont (12.0f);
        g.setColour (labelColour);
        if (text.isNotEmpty())
            g.drawText (text, juce::roundToInt (tx), juce::roundToInt (ty), tw, 10, juce::Justification::centred, true);
    }
}

KnobSlider::KnobSlider()
{
    setLookAndFeel (&lookAndFeel);
    setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    setTextBoxStyle (juce::Slider::TextBoxBelow, true, 40, getTextBoxHeight());
    setColour (juce::Slider::textBoxBackgroundColourId, juce::Colours::transparentBlack);
    setColour (juce::Slider::textBoxTextColourId, juce::Colours::greenyellow);
    setColour (juce::Slider::textBoxOutlineColourId, juce::Colours::transparentBlack);
    setColour (juce::Slider::textBoxHighlightColourId, juce::Colours::transparentBlack);
}

KnobSlider::~KnobSlider()
{
    setLookAndFeel (nullptr);
}
