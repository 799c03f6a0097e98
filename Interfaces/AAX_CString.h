#pragma once

#include "AAX_IString.h"

#include <cstdint>
#include <string>

/** The library's string: one byte string held by value. */
class AAX_CString : public AAX_IString
{
public:
    static constexpr uint32_t kMaxLength = 4294967294u;

    AAX_CString() = default;
    AAX_CString (const char* text);   // implicit: texts are passed where strings are expected
    AAX_CString (const std::string& text);
    AAX_CString (const AAX_CString& other) = default;
    AAX_CString (AAX_CString&& other) noexcept = default;
    explicit AAX_CString (const AAX_IString& other);
    ~AAX_CString() override = default;

    // AAX_IString
    uint32_t Length() const override;
    uint32_t MaxLength() const override;
    const char* Get() const override;
    void Set (const char* text) override;
    AAX_IString& operator= (const AAX_IString& other) override;
    AAX_IString& operator= (const char* text) override;

    AAX_CString& operator= (const AAX_CString& other);
    AAX_CString& operator= (AAX_CString&& other) noexcept;

    void Clear();
    bool Empty() const;

    /** Removes up to count characters from pos on (nothing when pos is past the end). */
    AAX_CString& Erase (uint32_t pos, uint32_t count);
    AAX_CString& Append (const AAX_CString& other);
    AAX_CString& Append (const char* text);

    /** Appends the value in fixed notation with exactly precision decimals. */
    AAX_CString& AppendNumber (double value, int32_t precision);

    /** Sets out to the characters from pos on, at most count of them. */
    void SubString (uint32_t pos, uint32_t count, AAX_IString* out) const;

    /** Reads a decimal number from the start of the text; on failure *out is 0. */
    bool ToDouble (double* out) const;

    const std::string& StdString() const { return mText; }

    char& operator[] (uint32_t index);
    const char& operator[] (uint32_t index) const;

    bool operator== (const AAX_CString& other) const;
    bool operator!= (const AAX_CString& other) const;
    bool operator== (const char* other) const;
    bool operator!= (const char* other) const;

private:
    std::string mText;
};
