#include "presets/StateLookAndFeel.h"

#include "editor/EmbeddedFonts.h"

namespace state
{

namespace
{
    /** Multiplies the colour's alpha by 0.5 for a component that cannot be used
        (disabled itself or through a parent). */
    juce::Colour dimmedWhenDisabled (juce::Colour colour, const juce::Component& component)
    {
        return colour.withMultipliedAlpha (component.isEnabled() ? 1.0f : 0.5f);
    }

    /** An alert's icon filling `area`: a warning triangle, or a disc for
        information and questions, with its mark cut out. */
    void drawAlertIcon (juce::Graphics& g, juce::MessageBoxIconType type, juce::Rectangle<float> area)
    {
        juce::Path shape;
        auto markArea = area;

        if (type == juce::MessageBoxIconType::WarningIcon)
        {
            juce::Path triangle;
            triangle.addTriangle (area.getCentreX(), area.getY(), area.getRight(), area.getBottom(), area.getX(), area.getBottom());
            shape = triangle.createPathWithRoundedCorners (5.0f);
            markArea.removeFromTop (area.getHeight() * 0.25f);   // the triangle's wide part
            g.setColour (juce::Colour (0x66ff2a00));
        }
        else
        {
            shape.addEllipse (area);
            g.setColour (juce::Colour (0x6600b0b9));
        }

        const auto mark = type == juce::MessageBoxIconType::WarningIcon ? "!"
                        : type == juce::MessageBoxIconType::InfoIcon    ? "i" : "?";
        juce::GlyphArrangement glyphs;
        glyphs.addFittedText (juce::Font (markArea.getHeight() * 0.8f, juce::Font::bold), mark,
                              markArea.getX(), markArea.getY(), markArea.getWidth(), markArea.getHeight(),
                              juce::Justification::centred, 1);
        glyphs.createPath (shape);

        shape.setUsingNonZeroWinding (false);
        g.fillPath (shape);
    }
}

StateLookAndFeel::StateLookAndFeel()
{
    setColour (juce::TextButton::buttonOnColourId, juce::Colours::black);
    setColour (juce::TextButton::buttonColourId, juce::Colour (0xff202020));
    setColour (juce::TextButton::textColourOnId, juce::Colours::white);
    setColour (juce::TextButton::textColourOffId, juce::Colours::white);
    setColour (juce::TextEditor::highlightColourId, juce::Colour (0xff555555));
    setColour (juce::TextEditor::backgroundColourId, juce::Colours::black);
    setColour (juce::ComboBox::textColourId, juce::Colour (0xffa9b0b7));
    setColour (juce::ComboBox::backgroundColourId, juce::Colours::black);
    setColour (juce::ComboBox::buttonColourId, juce::Colours::black);
    setColour (juce::ComboBox::outlineColourId, juce::Colours::transparentBlack);
    setColour (juce::PopupMenu::backgroundColourId, juce::Colours::black);
    setColour (juce::PopupMenu::textColourId, juce::Colour (0xffa9b0b7));
}

StateLookAndFeel::~StateLookAndFeel() = default;

juce::Font StateLookAndFeel::makeFont (float height)
{
    return EmbeddedFonts::makeRobotoFont (height, 0.02f, 1.1f);
}

void StateLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                             bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    constexpr float cornerSize = 1.0f;
    const juce::Rectangle<float> bounds (0.5f, 0.5f,
                                         (float) juce::jmax (0, button.getWidth() - 1),
                                         (float) juce::jmax (0, button.getHeight() - 1));

    auto baseColour = dimmedWhenDisabled (backgroundColour.withMultipliedBrightness (button.hasKeyboardFocus (true) ? 1.3f : 0.9f),
                                          button);

    if (shouldDrawButtonAsDown)
        baseColour = baseColour.contrasting (0.2f);
    else if (shouldDrawButtonAsHighlighted)
        baseColour = baseColour.contrasting (0.05f);

    const auto outline = button.findColour (juce::ComboBox::outlineColourId);
    const bool flatLeft = button.isConnectedOnLeft(), flatRight = button.isConnectedOnRight(),
               flatTop = button.isConnectedOnTop(), flatBottom = button.isConnectedOnBottom();

    g.setColour (baseColour);

    if (flatLeft || flatRight || flatTop || flatBottom)
    {
        // A corner stays rounded only where neither of its edges joins a neighbour.
        juce::Path shape;
        shape.addRoundedRectangle (bounds.getX(), bounds.getY(), bounds.getWidth(), bounds.getHeight(),
                                   cornerSize, cornerSize,
                                   ! (flatLeft || flatTop), ! (flatRight || flatTop),
                                   ! (flatLeft || flatBottom), ! (flatRight || flatBottom));
        g.fillPath (shape);
        g.setColour (outline);
        g.strokePath (shape, juce::PathStrokeType (1.0f));
    }
    else
    {
        g.fillRoundedRectangle (bounds, cornerSize);
        g.setColour (outline);
        g.drawRoundedRectangle (bounds, cornerSize, 1.0f);
    }
}

juce::Font StateLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return makeFont (juce::jmin (15.0f, (float) buttonHeight * 0.85f));
}

void StateLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button,
                                       bool, bool shouldDrawButtonAsDown)
{
    const auto width = button.getWidth(), height = button.getHeight();
    const auto font = getTextButtonFont (button, height);
    const auto colourId = button.getToggleState() ? juce::TextButton::textColourOnId : juce::TextButton::textColourOffId;

    g.setFont (font);
    g.setColour (dimmedWhenDisabled (button.findColour (colourId), button));

    const auto yIndent = juce::jmin (4, juce::roundToInt ((float) height * 0.3f));
    const auto cornerSize = juce::jmin (height, width) / 2;
    const auto fontHeight = juce::roundToInt (font.getHeight() * 0.6f);
    const auto leftIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const auto rightIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    const auto textWidth = width - leftIndent - rightIndent;

    if (textWidth <= 0)
        return;

    const auto offset = shouldDrawButtonAsDown ? 2 : 0;
    g.drawFittedText (button.getButtonText(), leftIndent + offset, yIndent + offset,
                      textWidth, height - yIndent * 2 - 4, juce::Justification::centred, 2);
}

juce::Font StateLookAndFeel::getPopupMenuFont()
{
    return makeFont (15.0f);
}

juce::Font StateLookAndFeel::getComboBoxFont (juce::ComboBox& box)
{
    return makeFont (juce::jmin (15.0f, (float) box.getHeight() * 0.95f));
}

juce::Font StateLookAndFeel::getLabelFont (juce::Label&)
{
    return makeFont (15.0f);
}

void StateLookAndFeel::drawAlertBox (juce::Graphics& g, juce::AlertWindow& alert,
                                     const juce::Rectangle<int>&, juce::TextLayout& textLayout)
{
    // Frame, background and text sit where LookAndFeel_V4 puts them: the text
    // from y = 30, 80 pixels in when there is an icon. The icon stays inside
    // that column instead of reaching over the dialog's top-left corner.
    constexpr float cornerSize = 4.0f;
    constexpr int iconColumn = 80, iconMargin = 12;

    g.setColour (alert.findColour (juce::AlertWindow::outlineColourId));
    g.drawRoundedRectangle (alert.getLocalBounds().toFloat(), cornerSize, 2.0f);

    const auto inside = alert.getLocalBounds().reduced (1);
    g.reduceClipRegion (inside);
    g.setColour (alert.findColour (juce::AlertWindow::backgroundColourId));
    g.fillRoundedRectangle (inside.toFloat(), cornerSize);

    auto textLeft = inside.getX();

    if (alert.getAlertType() != juce::MessageBoxIconType::NoIcon)
    {
        const auto side = juce::jmax (0, juce::jmin (iconColumn, inside.getHeight()) - 2 * iconMargin);
        drawAlertIcon (g, alert.getAlertType(), inside.withTrimmedLeft (iconMargin).withTrimmedTop (iconMargin)
                                                      .withSize (side, side).toFloat());
        textLeft += iconColumn;
    }

    g.setColour (alert.findColour (juce::AlertWindow::textColourId));
    textLayout.draw (g, juce::Rectangle<int> (textLeft, 30, inside.getWidth(),
                                              inside.getHeight() - getAlertWindowButtonHeight() - 20).toFloat());
}

} // namespace state
