#pragma once

/** The window's fonts and images as byte arrays built into the program.

    The arrays are generated at build time from the files in resources/fonts
    and resources/images by resources/tools/EmbeddedResources.cmake. Each size
    counts the file's bytes; a NUL byte follows them, so the SVG texts are
    also C strings. */
namespace resources
{
    /** Roboto Regular, TrueType (fonts/Roboto-Regular.ttf). */
    extern const char* const robotoRegularTtf;
    extern const int robotoRegularTtfSize;

    /** Font Awesome 5 Free Solid 5.15.2, TrueType icon font (fonts/fa-solid-900.ttf). */
    extern const char* const fontAwesomeSolidTtf;
    extern const int fontAwesomeSolidTtfSize;

    /** The knob's pointer: a white upright bar in a 100 x 100 box (images/knob-pointer.svg). */
    extern const char* const knobPointerSvg;
    extern const int knobPointerSvgSize;

    /** The knob's body: shadow, dark disc and brushed-metal texture (images/knob-body.svg). */
    extern const char* const knobBodySvg;
    extern const int knobBodySvgSize;

    /** The maker's logo in the box "0 0 500 340"; its word mark is filled 0xff7df97d. */
    extern const char* const logoSvg;
    extern const int logoSvgSize;
}
