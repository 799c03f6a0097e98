#include "editor/ColourPalette.h"

ColourPalette::ColourPalette()
{
    using juce::Colour;
    namespace C = juce::Colours;
    const Colour greyBlue (0xffa9b0b7), darkPanel (0xff333333), slate (0xff6c7277),
                 graphite (0xff5b5b5b), umber (0xff766356);

    colours = { Colour (0xff6b6b6b), Colour (0xff4ecaee), Colour (0xff9ca2a8), slate,    C::orange,          // 0 - 4
                umber,               graphite,            slate,               graphite, umber,              // 5 - 9
                C::white,            C::white,            greyBlue,            greyBlue, C::white,           // 10 - 14
                greyBlue,            C::white,            greyBlue,            C::white, greyBlue,           // 15 - 19
                C::white,            greyBlue,            C::white,            greyBlue, darkPanel,          // 20 - 24
                darkPanel,           C::black,            C::black,            Colour (0xff731d19), graphite, // 25 - 29
                C::transparentBlack, C::black,            C::transparentBlack, C::transparentBlack,          // 30 - 33
                C::transparentBlack, C::white,            C::silver,           C::greenyellow,               // 34 - 37
                C::silver,           C::greenyellow,      C::silver,           C::greenyellow, C::purple };  // 38 - 42
}

juce::Colour ColourPalette::getColour (int index) const noexcept
{
    if (index < 0 || index >= numColours)
        return juce::Colours::transparentBlack;

    return colours[(size_t) index];
}
