// Writes the knob's body image: resources/images/knob-texture.png, a 312 x 312
// brushed-metal disc, and resources/images/knob-body.svg, which draws a soft
// shadow, the dark body disc and that texture (embedded as base64 PNG) in a
// 100 x 100 box.
//
//   cmake --build build --target generate_knob_body && build/engine/generate_knob_body [images folder]

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <iostream>

namespace
{
    constexpr int textureSize = 312;
    constexpr int supersampling = 4;
    constexpr double peakGrey = 115.0;

    /** Opaque grey disc, transparent outside its circle. The grey depends only on
        the angle around the centre: black at the top, right, bottom and left,
        rising to peakGrey halfway between them. */
    juce::Image makeTexture()
    {
        juce::Image image (juce::Image::ARGB, textureSize, textureSize, true);
        const auto centre = textureSize * 0.5;
        const auto radius = textureSize * 0.5;

        for (int y = 0; y < textureSize; ++y)
        {
            for (int x = 0; x < textureSize; ++x)
            {
                int covered = 0;
                for (int sy = 0; sy < supersampling; ++sy)
                    for (int sx = 0; sx < supersampling; ++sx)
                    {
                        const auto dx = x + (sx + 0.5) / supersampling - centre;
                        const auto dy = y + (sy + 0.5) / supersampling - centre;
                        covered += dx * dx + dy * dy <= radius * radius ? 1 : 0;
                    }

                if (covered == 0)
                    continue;

                const auto angle = std::atan2 (x + 0.5 - centre, centre - (y + 0.5));
                const auto grey = (juce::uint8) juce::roundToInt (peakGrey * std::abs (std::sin (2.0 * angle)));
                const auto alpha = (juce::uint8) juce::roundToInt (255.0 * covered / (supersampling * supersampling));
                image.setPixelAt (x, y, juce::Colour (grey, grey, grey, alpha));
            }
        }
        return image;
    }

    juce::String makeSvg (const juce::MemoryBlock& png)
    {
        return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\"0 0 100 100\">"
               "<defs><style>.a{fill:none;}.b{opacity:0.5;fill:url(#shadow);}.c{fill:#383838;}.d{fill:#fff;}</style>"
               "<radialGradient id=\"shadow\" cx=\"51.66\" cy=\"76.03\" r=\"35.03\" "
               "gradientTransform=\"matrix(0, -1.24, 1.38, 0, -50.75, 117.08)\" gradientUnits=\"userSpaceOnUse\">"
               "<stop offset=\"0.01\"/><stop offset=\"0.64\"/><stop offset=\"0.74\"/>"
               "<stop offset=\"1\" stop-opacity=\"0\"/></radialGradient></defs>"
               "<title>knob-detail</title>"
               "<rect class=\"a\" width=\"100\" height=\"100\"/>"
               "<ellipse class=\"b\" cx=\"54.01\" cy=\"53.12\" rx=\"45.01\" ry=\"46.12\"/>"
               "<circle class=\"c\" cx=\"50\" cy=\"50\" r=\"38.75\"/>"
               "<circle class=\"d\" cx=\"44\" cy=\"45\" r=\"31\"/>"
               "<image width=\"312\" height=\"312\" transform=\"translate(12.56 12.56) scale(0.24)\" "
               "xlink:href=\"data:image/png;base64,"
             + juce::Base64::toBase64 (png.getData(), png.getSize())
             + "\"/></svg>";
    }
}

int main (int argc, char** argv)
{
    const auto folder = argc > 1 ? juce::File::getCurrentWorkingDirectory().getChildFile (argv[1])
                                 : juce::File (ZELK_IMAGES_FOLDER);

    juce::MemoryOutputStream png;
    juce::PNGImageFormat format;
    if (! format.writeImageToStream (makeTexture(), png))
    {
        std::cerr << "could not encode the texture\n";
        return 1;
    }

    const auto pngFile = folder.getChildFile ("knob-texture.png");
    const auto svgFile = folder.getChildFile ("knob-body.svg");
    if (! pngFile.replaceWithData (png.getData(), png.getDataSize())
        || ! svgFile.replaceWithText (makeSvg (png.getMemoryBlock()), false, false, "\n"))
    {
        std::cerr << "could not write to " << folder.getFullPathName() << "\n";
        return 1;
    }

    std::cout << "wrote " << pngFile.getFullPathName() << " (" << pngFile.getSize() << " bytes) and "
              << svgFile.getFullPathName() << " (" << svgFile.getSize() << " bytes)\n";
    return 0;
}
