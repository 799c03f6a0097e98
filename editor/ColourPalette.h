#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

/** The window's table of 43 colours, filled once and never changed. Panels hold
    one each; entry 28 is the knobs' pointer colour, 35 the labels' text colour
    and 42 the band editor's panel gradient. */
class ColourPalette
{
public:
    static constexpr int numColours = 43;

    ColourPalette();

    /** The colour at `index`; transparent black for an index outside 0 ... 42. */
    juce::Colour getColour (int index) const noexcept;
    juce::Colour operator[] (int index) const noexcept { return getColour (index); }

private:
    std::array<juce::Colour, numColours> colours;
};
