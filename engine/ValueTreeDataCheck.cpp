#include "engine/ValueTreeDataCheck.h"

#include <cstdint>
#include <cstring>

namespace valuetreedata
{
    namespace
    {
        // Markers of the value types in the stream.
        enum : uint8_t
        {
            markerInt       = 1,
            markerBoolTrue  = 2,
            markerBoolFalse = 3,
            markerDouble    = 4,
            markerString    = 5,
            markerInt64     = 6,
            markerArray     = 7,
            markerBinary    = 8,
            markerUndefined = 9
        };

        /** Walks the stream with the reader's rules; any step that would read
            past the end, or that the reader itself treats as damage, fails. */
        class StreamWalker
        {
        public:
            StreamWalker (const uint8_t* bytes, size_t size) noexcept : data (bytes), end (size) {}

            bool tree (int depth) noexcept
            {
                if (depth > kMaximumStateNesting)
                    return false;

                size_t typeLength = 0;
                if (! string (typeLength) || typeLength == 0)
                    return false;

                int32_t numProperties = 0;
                if (! count (numProperties))
                    return false;

                for (int32_t i = 0; i < numProperties; ++i)
                {
                    size_t nameLength = 0;
                    if (! string (nameLength) || nameLength == 0 || ! value (depth + 1))
                        return false;
                }

                int32_t numChildren = 0;
                if (! count (numChildren))
                    return false;

                for (int32_t i = 0; i < numChildren; ++i)
                    if (! tree (depth + 1))
                        return false;

                return true;
            }

        private:
            size_t remaining() const noexcept { return end - position; }

            /** A NUL-terminated string; its length without the NUL. */
            bool string (size_t& length) noexcept
            {
                const void* nul = std::memchr (data + position, 0, remaining());

                if (nul == nullptr)
                    return false;

                length = static_cast<size_t> (static_cast<const uint8_t*> (nul) - (data + position));
                position += length + 1;
                return true;
            }

            bool compressedInt (int32_t& result) noexcept
            {
                if (remaining() < 1)
                    return false;

                const uint8_t sizeByte = data[position++];
                const int numBytes = sizeByte & 0x7f;

                if (numBytes > 4 || remaining() < static_cast<size_t> (numBytes))
                    return false;

                uint32_t magnitude = 0;
                for (int i = 0; i < numBytes; ++i)
                    magnitude |= static_cast<uint32_t> (data[position + static_cast<size_t> (i)]) << (8 * i);

                position += static_cast<size_t> (numBytes);

                // The reader turns the bits into an int; a magnitude beyond
                // what an int holds is damage, never written by the writer.
                if (magnitude > 0x7fffffffu)
                    return false;

                result = (sizeByte & 0x80) != 0 ? -static_cast<int32_t> (magnitude) : static_cast<int32_t> (magnitude);
                return true;
            }

            /** A count of elements that follow: never negative, and never more
                than there are bytes left (every element takes at least one). */
            bool count (int32_t& result) noexcept
            {
                return compressedInt (result) && result >= 0 && static_cast<size_t> (result) <= remaining();
            }

            bool skip (size_t bytes) noexcept
            {
                if (bytes > remaining())
                    return false;

                position += bytes;
                return true;
            }

            bool value (int depth) noexcept
            {
                if (depth > kMaximumStateNesting)
                    return false;

                int32_t numBytes = 0;
                if (! compressedInt (numBytes))
                    return false;

                if (numBytes <= 0)
                    return numBytes == 0;   // an empty value

                if (remaining() < 1)
                    return false;

                const uint8_t marker = data[position++];
                const auto payload = static_cast<size_t> (numBytes - 1);

                switch (marker)
                {
                    case markerInt:        return payload == 4 && skip (4);
                    case markerInt64:      return payload == 8 && skip (8);
                    case markerDouble:     return payload == 8 && skip (8);
                    case markerBoolTrue:
                    case markerBoolFalse:
                    case markerUndefined:  return payload == 0;
                    case markerString:
                    case markerBinary:     return skip (payload);

                    case markerArray:
                    {
                        if (payload > remaining())
                            return false;

                        int32_t numItems = 0;
                        if (! count (numItems))
                            return false;

                        for (int32_t i = 0; i < numItems; ++i)
                            if (! value (depth + 1))
                                return false;

                        return true;
                    }

                    default:               return skip (payload);
                }
            }

            const uint8_t* data;
            size_t end;
            size_t position = 0;
        };
    }

    bool isCompleteValueTreeData (const void* data, size_t size) noexcept
    {
        if (data == nullptr || size == 0)
            return false;

        StreamWalker walker (static_cast<const uint8_t*> (data), size);
        return walker.tree (0);
    }
}
