// What the plug-in tells the host about itself at registration: its
// identifier, names, maker, four-character IDs, category, version, and the
// host's numbering of the description properties and stem formats that the
// description uses beyond those in AAX_Enums.h.
#pragma once

#include "AAX.h"

namespace aaxclient
{
    /** Reverse-DNS effect identifier: "com." + the maker's name in lower case
        without spaces + "." + the product name in lower case. */
    inline constexpr const char* kEffectIdentifier = "com.velkoraudiotools.zelk-multi";

    /** The effect's names, longest first; the host picks one that fits. */
    inline constexpr const char* kEffectLongName  = "Multiband Saturator";
    inline constexpr const char* kEffectShortName = "ZELK-MULTI";

    inline constexpr const char* kManufacturerName = "Velkor Audio Tools";

    constexpr AAX_CTypeID fourCharCode (const char (&text)[5]) noexcept
    {
        return (static_cast<AAX_CTypeID> (static_cast<unsigned char> (text[0])) << 24)
             | (static_cast<AAX_CTypeID> (static_cast<unsigned char> (text[1])) << 16)
             | (static_cast<AAX_CTypeID> (static_cast<unsigned char> (text[2])) << 8)
             |  static_cast<AAX_CTypeID> (static_cast<unsigned char> (text[3]));
    }

    constexpr AAX_CTypeID kManufacturerID = fourCharCode ("VLKR");
    constexpr AAX_CTypeID kProductID      = fourCharCode ("ZLK1");

    /** Plug-in type IDs, one per component and processing kind. */
    constexpr AAX_CTypeID kPlugInIDNativeMono       = fourCharCode ("ZLKm");
    constexpr AAX_CTypeID kPlugInIDNativeStereo     = fourCharCode ("ZLKs");
    constexpr AAX_CTypeID kPlugInIDAudioSuiteMono   = fourCharCode ("ZLAm");
    constexpr AAX_CTypeID kPlugInIDAudioSuiteStereo = fourCharCode ("ZLAs");

    /** The host's "harmonic" category (saturation and distortion). */
    constexpr uint32_t kCategoryHarmonic = 0x00000040u;

    /** Package version 1.0.0 as (major << 16) | (minor << 8) | patch. */
    constexpr uint32_t kPackageVersion = 0x00010000u;

    /** Description properties that carry the maker's and product's IDs. */
    constexpr AAX_EProperty kPropertyManufacturerID = 11;
    constexpr AAX_EProperty kPropertyProductID      = 12;

    /** Stem formats: (format index << 16) | channel count. */
    constexpr AAX_EStemFormat kStemFormatMono   = (0 << 16) | 1;
    constexpr AAX_EStemFormat kStemFormatStereo = (1 << 16) | 2;

    /** View-container type of an X11 window: its native pointer is the
        window's ID (an X11 Window cast to a pointer), into which the editor
        is placed as a child window. */
    constexpr int32_t kViewContainerTypeX11Window = 4;

    /** Channels of a stem format, 0 for the special codes. */
    constexpr int channelCountOfStemFormat (AAX_EStemFormat format) noexcept
    {
        return format < 0 ? 0 : static_cast<int> (format & 0xFFFF);
    }
}
