#pragma once

#include <juce_graphics/juce_graphics.h>

/** The window's two embedded fonts.

    Each typeface is built from the embedded font data the first time it is
    asked for and kept until JUCE shuts down, so a repaint never builds one.
    Safe to call from any thread. */
namespace EmbeddedFonts
{
    /** Roboto Regular, the window's text face. */
    juce::Typeface::Ptr getRobotoRegular();

    /** Font Awesome 5 Free Solid, the icon face (U+F011 is the power glyph). */
    juce::Typeface::Ptr getFontAwesomeSolid();

    /** A Roboto Regular font of the given height (JUCE limits it to 0.1 ... 10000),
        extra kerning factor and horizontal scale. */
    juce::Font makeRobotoFont (float height, float extraKerning = 0.0f, float horizontalScale = 1.0f);

    /** A Font Awesome 5 Free Solid font of the given height, no extra kerning, scale 1. */
    juce::Font makeFontAwesomeFont (float height);
}
