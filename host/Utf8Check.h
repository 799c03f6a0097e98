// Paths reach the host as bytes and are handled as JUCE strings, which read
// them as UTF-8. JUCE's own reading turns bytes that are not UTF-8 (and
// overlong forms, such as C0 AE for '.') into other characters, so a path is
// taken only when its bytes are strictly UTF-8: then the string holds exactly
// the bytes given, and a file is never written under another name.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelkhost
{
    /** Where in `text` the first character that is not well-formed UTF-8
        (an overlong form, a surrogate, beyond U+10FFFF, cut short) begins;
        -1 when all of it is well-formed. */
    inline std::ptrdiff_t firstInvalidUtf8Byte (const char* text, size_t length)
    {
        const auto* bytes = reinterpret_cast<const uint8_t*> (text);
        size_t i = 0;
        while (i < length)
        {
            const auto lead = bytes[i];
            size_t extra = 0;
            uint8_t low = 0x80, high = 0xBF;   // the range of the byte after the lead

            if (lead < 0x80)                     extra = 0;
            else if (lead >= 0xC2 && lead <= 0xDF) extra = 1;
            else if (lead == 0xE0)               { extra = 2; low = 0xA0; }
            else if (lead >= 0xE1 && lead <= 0xEC) extra = 2;
            else if (lead == 0xED)               { extra = 2; high = 0x9F; }
            else if (lead >= 0xEE && lead <= 0xEF) extra = 2;
            else if (lead == 0xF0)               { extra = 3; low = 0x90; }
            else if (lead >= 0xF1 && lead <= 0xF3) extra = 3;
            else if (lead == 0xF4)               { extra = 3; high = 0x8F; }
            else                                 return (std::ptrdiff_t) i;

            for (size_t k = 1; k <= extra; ++k)
            {
                const auto byte = i + k < length ? bytes[i + k] : 0;
                if (k == 1 ? (byte < low || byte > high) : (byte < 0x80 || byte > 0xBF))
                    return (std::ptrdiff_t) i;
            }
            i += 1 + extra;
        }
        return -1;
    }
}
