#include "AAX_CChunkDataParser.h"
#include "AAX_Errors.h"

#include "ChunkBytes.h"
#include "LibraryHost.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{
    using chunkbytes::Append;
    using chunkbytes::ChunkRecord;
    using Bytes = std::vector<uint8_t>;

    Bytes Serialise (const AAX_CChunkDataParser& parser)
    {
        const int32_t size = parser.GetChunkDataSize();
        ChunkRecord chunk (size);
        EXPECT_EQ (parser.GetChunkData (chunk.get()), AAX_SUCCESS);
        EXPECT_EQ (chunk.get()->fSize, size);
        return chunk.data<uint8_t>();
    }

    AAX_CChunkDataParser Load (const Bytes& data, int32_t version = 3)
    {
        ChunkRecord chunk (0, data);
        chunk.get()->fVersion = version;
        AAX_CChunkDataParser parser;
        parser.LoadChunk (chunk.get());
        return parser;
    }
}

//==============================================================================
TEST (ChunkLayoutTests, EmptyParserWritesTheMarkerOnly)
{
    AAX_CChunkDataParser parser;
    EXPECT_EQ (parser.GetChunkDataSize(), 4);
    EXPECT_EQ (Serialise (parser), (Bytes { 1, 1, 1, 1 }));
}

TEST (ChunkLayoutTests, DoubleEntryLayout)
{
    AAX_CChunkDataParser parser;
    parser.AddDouble ("gain-1", 0.5);
    parser.AddDouble ("mix", -2.0);

    Bytes expected { 1, 1, 1, 1 };
    Append (expected, "d_gain-1\0\0\0\0", 12);
    Append (expected, { 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 });
    Append (expected, "d_mix\0\0\0", 8);
    Append (expected, { 0xC0, 0x00, 0, 0, 0, 0, 0, 0 });

    EXPECT_EQ (parser.GetChunkDataSize(), 40);
    EXPECT_EQ (Serialise (parser), expected);
}

TEST (ChunkLayoutTests, FloatInt32Int16AndStringLayouts)
{
    AAX_CChunkDataParser parser;
    parser.AddFloat ("f", 1.0f);
    parser.AddInt32 ("l", -2);
    parser.AddInt16 ("s", 0x1234);
    parser.AddString ("id", AAX_CString ("ab"));
    parser.AddInt32 ("after", 7);

    Bytes expected { 1, 1, 1, 1 };
    Append (expected, "f_f\0", 4);
    Append (expected, { 0x3F, 0x80, 0, 0 });
    Append (expected, "l_l\0", 4);
    Append (expected, { 0xFF, 0xFF, 0xFF, 0xFE });
    Append (expected, "s_s\0", 4);
    Append (expected, { 0x12, 0x34, 0, 0 });
    Append (expected, "r_id\0\0\0\0", 8);   // tag, ID and NUL: 5 bytes padded to 8
    Append (expected, "ab\0\0", 4);         // text and NUL: 3 bytes padded to 4
    Append (expected, "l_after\0", 8);
    Append (expected, { 0, 0, 0, 7 });

    EXPECT_EQ (Serialise (parser), expected);

    AAX_CChunkDataParser loaded = Load (expected);
    EXPECT_EQ (loaded.NumEntries(), 5);
    EXPECT_EQ (Serialise (loaded), expected);

    float f = 0;
    int32_t l = 0, after = 0;
    int16_t s = 0;
    AAX_CString text;
    EXPECT_TRUE (loaded.FindFloat ("f", &f));
    EXPECT_TRUE (loaded.FindInt32 ("l", &l));
    EXPECT_TRUE (loaded.FindInt16 ("s", &s));
    EXPECT_TRUE (loaded.FindString ("id", &text));
    EXPECT_TRUE (loaded.FindInt32 ("after", &after));
    EXPECT_EQ (f, 1.0f);
    EXPECT_EQ (l, -2);
    EXPECT_EQ (s, 0x1234);
    EXPECT_STREQ (text.Get(), "ab");
    EXPECT_EQ (after, 7);
}

TEST (ChunkLayoutTests, NegativeInt16KeepsItsTwoBytes)
{
    AAX_CChunkDataParser parser;
    parser.AddInt16 ("s", -2);

    Bytes expected { 1, 1, 1, 1 };
    Append (expected, "s_s\0", 4);
    Append (expected, { 0xFF, 0xFE, 0, 0 });
    EXPECT_EQ (Serialise (parser), expected);

    int16_t value = 0;
    AAX_CChunkDataParser loaded = Load (expected);
    EXPECT_TRUE (loaded.FindInt16 ("s", &value));
    EXPECT_EQ (value, -2);
}

TEST (ChunkLayoutTests, StringsOfEveryPaddingRoundTrip)
{
    for (int length = 0; length < 9; ++length)
    {
        AAX_CChunkDataParser parser;
        parser.AddString ("name", AAX_CString (std::string (static_cast<size_t> (length), 'x')));
        parser.AddDouble ("next", 3.0);

        const Bytes data = Serialise (parser);
        EXPECT_EQ (data.size() % 4, 0u);

        AAX_CChunkDataParser loaded = Load (data);
        AAX_CString text;
        double next = 0;
        EXPECT_TRUE (loaded.FindString ("name", &text));
        EXPECT_EQ (text.Length(), static_cast<uint32_t> (length));
        EXPECT_TRUE (loaded.FindDouble ("next", &next));
        EXPECT_EQ (next, 3.0);
    }
}

//==============================================================================
TEST (ChunkWriteTests, OverflowIsTracedAndNothingIsWrittenPastTheCapacity)
{
    librarytest::TestHost host;
    librarytest::ScopedStartup startup (host);

    AAX_CChunkDataParser parser;
    parser.AddDouble ("gain-1", 0.5);   // 20 bytes
    parser.AddDouble ("gain-2", 0.5);   // 20 bytes
    ASSERT_EQ (parser.GetChunkDataSize(), 44);

    for (int32_t capacity : { 4, 23, 24, 30, 43 })
    {
        host.services().clear();
        ChunkRecord chunk (capacity);

        EXPECT_EQ (parser.GetChunkData (chunk.get(), capacity), -333) << capacity;
        ASSERT_EQ (host.services().traces().size(), 1u);
        EXPECT_EQ (host.services().traces()[0].priority, 0x8000000);
        EXPECT_EQ (host.services().traces()[0].message,
                   "AAX_CChunkDataParser::GetChunkData ERROR: aborting: chunk data will overflow buffer");
    }

    ChunkRecord exact (44);
    EXPECT_EQ (parser.GetChunkData (exact.get(), 44), AAX_SUCCESS);
}

TEST (ChunkWriteTests, NoRoomForTheMarkerFailsWithoutWriting)
{
    librarytest::TestHost host;
    librarytest::ScopedStartup startup (host);
    AAX_CChunkDataParser parser;
    ChunkRecord chunk (0);

    EXPECT_EQ (parser.GetChunkData (chunk.get(), 3), -333);
    EXPECT_EQ (parser.GetChunkData (nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE (host.services().traces().empty());
}

TEST (ChunkWriteTests, TypelessEntriesFromAStoredChunkAreNotWrittenBack)
{
    Bytes expected { 1, 1, 1, 1 };
    Append (expected, "l_n\0\0\0\0\x09", 8);

    Bytes data = expected;
    Append (data, "x_odd\0\0\0l_m\0\0\0\0\x08", 16);   // the load ends at the unknown tag

    AAX_CChunkDataParser loaded = Load (data);
    EXPECT_EQ (loaded.NumEntries(), 1);
    EXPECT_EQ (Serialise (loaded), expected);
}

//==============================================================================
TEST (ChunkLoadTests, ShortOrUnmarkedChunksLoadEmptyButKeepTheVersion)
{
    EXPECT_EQ (Load ({ 1, 1, 1, 1 }).NumEntries(), 0);
    EXPECT_EQ (Load ({ 1, 1, 1, 1 }, 9).GetChunkVersion(), 9);
    EXPECT_EQ (Load ({ 1, 1, 1, 2, 'l', '_', 'a', 0, 0, 0, 0, 1 }).NumEntries(), 0);
    EXPECT_EQ (Load ({}).NumEntries(), 0);

    ChunkRecord negative (8);
    negative.get()->fSize = -5;
    AAX_CChunkDataParser parser;
    parser.LoadChunk (negative.get());
    EXPECT_EQ (parser.NumEntries(), 0);

    parser.LoadChunk (nullptr);
    EXPECT_EQ (parser.GetChunkVersion(), -1);
}

TEST (ChunkLoadTests, ValueReachingPastTheEndEndsTheLoad)
{
    Bytes data { 1, 1, 1, 1 };
    Append (data, "l_a\0", 4);
    Append (data, { 0, 0, 0, 1 });
    Append (data, "d_b\0", 4);
    Append (data, { 0x3F, 0xF0, 0, 0 });   // four of eight bytes

    AAX_CChunkDataParser loaded = Load (data);
    EXPECT_EQ (loaded.NumEntries(), 1);

    double b = 0;
    EXPECT_FALSE (loaded.FindDouble ("b", &b));
}

TEST (ChunkLoadTests, UnterminatedStringOrNameStopsAtTheEnd)
{
    Bytes stringData { 1, 1, 1, 1 };
    Append (stringData, "r_t\0", 4);
    Append (stringData, "abcd", 4);   // no NUL before the end
    EXPECT_EQ (Load (stringData).NumEntries(), 0);

    Bytes nameData { 1, 1, 1, 1 };
    Append (nameData, "l_unterminated", 14);
    EXPECT_EQ (Load (nameData).NumEntries(), 0);
}

TEST (ChunkLoadTests, AnUnknownTagEndsTheLoad)
{
    Bytes data { 1, 1, 1, 1 };
    Append (data, "q_y\0", 4);
    Append (data, "d_x\0", 4);
    Append (data, { 0x40, 0, 0, 0, 0, 0, 0, 0 });

    AAX_CChunkDataParser loaded = Load (data);
    EXPECT_EQ (loaded.NumEntries(), 0);

    double x = 0;
    EXPECT_FALSE (loaded.FindDouble ("x", &x));
}

TEST (ChunkLoadTests, ShortNamesBecomeEmpty)
{
    Bytes data { 1, 1, 1, 1 };
    Append (data, "l\0\0\0", 4);
    Append (data, { 0, 0, 0, 5 });

    AAX_CChunkDataParser loaded = Load (data);
    int32_t value = 0;
    EXPECT_TRUE (loaded.FindInt32 ("", &value));
    EXPECT_EQ (value, 5);
}

TEST (ChunkLookupTests, FindNameWrapsRoundFromTheLastMatch)
{
    AAX_CChunkDataParser parser;
    parser.AddInt32 ("a", 1);
    parser.AddInt32 ("b", 2);
    parser.AddInt32 ("c", 3);
    parser.AddInt32 ("b", 4);

    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 1);
    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 3);   // continues after the last match
    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 1);   // wraps round
    EXPECT_EQ (parser.FindName (AAX_CString ("a")), 0);
    EXPECT_EQ (parser.FindName (AAX_CString ("zz")), -1);

    double asDouble = 0;
    EXPECT_FALSE (parser.FindDouble ("a", &asDouble));

    parser.AddInt32 ("b", 5);   // added after lookups, found in its turn
    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 1);
    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 3);
    EXPECT_EQ (parser.FindName (AAX_CString ("b")), 4);

    parser.Clear();
    EXPECT_EQ (parser.NumEntries(), 0);
    EXPECT_EQ (parser.FindName (AAX_CString ("a")), -1);
}

//==============================================================================
// Chunks of the largest size the host stores: zeros keep no entry; millions
// of "d_x" take under 40 bytes each (besides the record's copy of the data),
// and lookups go straight to their entry (walking them all would take minutes).
TEST (ChunkLoadTests, LongChunksLoadCompactlyAndAreLookedUpDirectly)
{
    const size_t dataSize = 64u << 20, entries = (dataSize - 4) / 12;
    Bytes data (dataSize, 0);
    std::fill (data.begin(), data.begin() + 4, uint8_t (1));
    EXPECT_EQ (Load (data).NumEntries(), 0);

    for (size_t i = 0; i < entries; ++i)
        std::memcpy (data.data() + 4 + 12 * i, "d_x\0\x3f\xf0", 6);

    rusage before {}, after {};
    getrusage (RUSAGE_SELF, &before);
    AAX_CChunkDataParser loaded = Load (data);
    EXPECT_EQ (loaded.NumEntries(), static_cast<int32_t> (entries));

    for (int32_t i = 0; i < 20000; ++i)
    {
        EXPECT_EQ (loaded.FindName (AAX_CString ("y")), -1);
        ASSERT_EQ (loaded.FindName (AAX_CString ("x")), i);
    }

    getrusage (RUSAGE_SELF, &after);
    EXPECT_LT (after.ru_maxrss - before.ru_maxrss, static_cast<long> ((dataSize + 40 * entries) / 1024));
}

//==============================================================================
// Random and mutated chunks: loading reads nothing outside fSize bytes (the
// chunk block is exactly that large), and whatever loads writes back to data
// that loads to the same entries.
TEST (ChunkFuzzTests, RandomAndMutatedChunksStayInsideTheirData)
{
    std::mt19937 random (20240611u);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (2);

    auto randomByte = [&random] { return static_cast<uint8_t> (random() & 0xFF); };
    const char tags[] = { 'f', 'l', 'd', 's', 'r', 'x', '\0' };

    int iterations = 0;

    while (iterations < 200000 && std::chrono::steady_clock::now() < deadline)
    {
        ++iterations;
        Bytes data;

        if (iterations % 3 == 0)
        {
            // Pure noise, sometimes behind a valid marker.
            data.resize (random() % 80);
            for (auto& byte : data)
                byte = randomByte();

            if (data.size() >= 4 && (random() & 1))
                std::fill (data.begin(), data.begin() + 4, uint8_t (1));
        }
        else
        {
            // A well-formed chunk, then mutated.
            AAX_CChunkDataParser source;
            const int entryCount = static_cast<int> (random() % 6);

            for (int e = 0; e < entryCount; ++e)
            {
                std::string name (random() % 6, 'a');
                for (auto& c : name)
                    c = static_cast<char> ('a' + random() % 26);

                switch (random() % 5)
                {
                    case 0: source.AddFloat (name.c_str(), static_cast<float> (random())); break;
                    case 1: source.AddInt32 (name.c_str(), static_cast<int32_t> (random())); break;
                    case 2: source.AddDouble (name.c_str(), static_cast<double> (random()) / 7.0); break;
                    case 3: source.AddInt16 (name.c_str(), static_cast<int16_t> (random())); break;
                    default: source.AddString (name.c_str(), AAX_CString (std::string (random() % 7, 'z'))); break;
                }
            }

            data = Serialise (source);
            const int mutations = static_cast<int> (random() % 4);

            for (int m = 0; m < mutations && ! data.empty(); ++m)
            {
                switch (random() % 4)
                {
                    case 0: data[random() % data.size()] = randomByte(); break;
                    case 1: data[random() % data.size()] = static_cast<uint8_t> (tags[random() % sizeof (tags)]); break;
                    case 2: data.resize (random() % (data.size() + 1)); break;
                    default: data[random() % data.size()] = 0; break;
                }
            }
        }

        AAX_CChunkDataParser loaded = Load (data);
        const Bytes written = Serialise (loaded);
        AAX_CChunkDataParser reloaded = Load (written);
        ASSERT_EQ (Serialise (reloaded), written) << "iteration " << iterations;
    }

    EXPECT_GT (iterations, 1000);
}
