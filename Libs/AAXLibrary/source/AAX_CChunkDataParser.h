#pragma once

#include "AAX.h"
#include "AAX_CString.h"
#include "AAX_IACFEffectParameters.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

/**
    Keeps a list of typed name/value entries and turns it into the data of a
    settings chunk and back.

    Layout of the data: the marker 01 01 01 01, then per entry a
    NUL-terminated string of a two-character type tag and the name, zero
    padded to a multiple of 4 counted from the start of the data, then the
    value big-endian: "f_" float (4 bytes), "l_" int32 (4), "d_" double (8),
    "s_" int16 (2 bytes and 2 zero bytes), "r_" string (its characters and a
    NUL, zero padded to a multiple of 4).
*/
class AAX_CChunkDataParser
{
public:
    enum EntryType : int32_t
    {
        kNoType     = 0,
        kFloatType  = 1,
        kInt32Type  = 2,
        kDoubleType = 3,
        kInt16Type  = 4,
        kStringType = 5
    };

    /** Result of a write that does not fit the data area. */
    static constexpr int32_t kChunkOverflowError = -333;

    AAX_CChunkDataParser() = default;
    virtual ~AAX_CChunkDataParser() = default;

    void AddFloat (const char* name, float value);
    void AddInt32 (const char* name, int32_t value);
    void AddDouble (const char* name, double value);
    void AddInt16 (const char* name, int16_t value);
    void AddString (const char* name, AAX_CString value);

    /** Each succeeds only when an entry of that name has the asked type. */
    bool FindFloat (const char* name, float* value);
    bool FindInt32 (const char* name, int32_t* value);
    bool FindDouble (const char* name, double* value);
    bool FindInt16 (const char* name, int16_t* value);
    bool FindString (const char* name, AAX_IString* value);

    /** Index of the entry with exactly that name, or -1: the first one after
        the last match, else the first one of all (the search wraps round).
        Entries looked up in their own order are thus found one after the
        other, and a name that repeats gives its entries in turn. */
    int32_t FindName (const AAX_CString& name);

    /** Bytes the data takes, or -1 when it would not fit an int32. */
    int32_t GetChunkDataSize() const;

    /** Writes the data into chunk->fData, which must hold GetChunkDataSize()
        bytes, and sets fSize. */
    int32_t GetChunkData (AAX_SPlugInChunk* chunk) const;

    /** As above, writing at most capacity bytes: data that would not fit
        is reported (-333 and a trace) instead of written. */
    int32_t GetChunkData (AAX_SPlugInChunk* chunk, int32_t capacity) const;

    /** Replaces the entries by those read from the chunk's fSize data bytes;
        nothing outside them is read. A short chunk or one without the marker
        leaves the parser empty. The load ends at the first entry whose tag
        is not one of the five, and at a value reaching past the data. */
    void LoadChunk (const AAX_SPlugInChunk* chunk);

    void Clear();
    int32_t GetChunkVersion() const { return mChunkVersion; }
    int32_t NumEntries() const { return static_cast<int32_t> (mEntries.size()); }

private:
    /** An entry kept small, as a stored chunk may hold millions of them: the
        name by its number among the distinct names, the value as its bits
        (a float, int32 or int16 in the low bytes, a double whole, a string's
        position in mTexts, where it ends with a NUL). */
    struct Entry
    {
        uint64_t value = 0;
        int32_t nameId = 0;
        int32_t type = kNoType;
    };

    /** Appends an entry of the given type, name and value bits. */
    void NewEntry (int32_t type, const std::string& name, uint64_t value);
    uint64_t NewText (const char* text, size_t length);
    const char* Text (const Entry& entry) const { return mTexts.c_str() + entry.value; }
    const std::string& Name (const Entry& entry) const { return mNames[static_cast<size_t> (entry.nameId)]; }
    int64_t EntrySize (const Entry& entry) const;
    const Entry* FindEntry (const char* name, int32_t type);
    void UpdateIndex();

    int32_t mLastFoundIndex = -1;
    int32_t mChunkVersion = -1;

    // A deque grows without moving what it holds: no second copy of a long
    // chunk's entries while it loads.
    std::deque<Entry> mEntries;
    std::string mTexts;

    // The distinct names by number, and the number of each.
    std::vector<std::string> mNames;
    std::unordered_map<std::string, int32_t> mNameIds;

    // The index for lookups, brought up to date by the first lookup after
    // entries were added: the positions of the entries of name number n, in
    // order, are mPositions[mFirstPosition[n] .. mFirstPosition[n + 1]).
    std::vector<int32_t> mPositions;
    std::vector<int32_t> mFirstPosition;
    size_t mIndexedEntries = 0;
};
