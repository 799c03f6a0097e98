#include "AAX_CString.h"

#include <cstring>
#include <iomanip>
#include <locale>
#include <sstream>

AAX_CString::AAX_CString (const char* text)
    : mText (text != nullptr ? text : "")
{
}

AAX_CString::AAX_CString (const std::string& text)
    : mText (text)
{
}

AAX_CString::AAX_CString (const AAX_IString& other)
    : AAX_CString (other.Get())
{
}

uint32_t AAX_CString::Length() const
{
    return static_cast<uint32_t> (mText.size());
}

uint32_t AAX_CString::MaxLength() const
{
    return kMaxLength;
}

const char* AAX_CString::Get() const
{
    return mText.c_str();
}

void AAX_CString::Set (const char* text)
{
    mText = (text != nullptr ? text : "");
}

AAX_IString& AAX_CString::operator= (const AAX_IString& other)
{
    if (&other != this)
        Set (other.Get());

    return *this;
}

AAX_IString& AAX_CString::operator= (const char* text)
{
    Set (text);
    return *this;
}

AAX_CString& AAX_CString::operator= (const AAX_CString& other)
{
    mText = other.mText;
    return *this;
}

AAX_CString& AAX_CString::operator= (AAX_CString&& other) noexcept
{
    mText = std::move (other.mText);
    return *this;
}

void AAX_CString::Clear()
{
    mText.clear();
}

bool AAX_CString::Empty() const
{
    return mText.empty();
}

AAX_CString& AAX_CString::Erase (uint32_t pos, uint32_t count)
{
    if (pos < mText.size())
        mText.erase (pos, count);

    return *this;
}

AAX_CString& AAX_CString::Append (const AAX_CString& other)
{
    mText += other.mText;
    return *this;
}

AAX_CString& AAX_CString::Append (const char* text)
{
    if (text != nullptr)
        mText += text;

    return *this;
}

AAX_CString& AAX_CString::AppendNumber (double value, int32_t precision)
{
    std::ostringstream stream;
    stream.imbue (std::locale::classic());
    stream << std::fixed << std::setprecision (precision < 0 ? 0 : precision) << value;
    mText += stream.str();
    return *this;
}

void AAX_CString::SubString (uint32_t pos, uint32_t count, AAX_IString* out) const
{
    if (out == nullptr)
        return;

    if (pos >= mText.size())
        out->Set ("");
    else
        out->Set (mText.substr (pos, count).c_str());
}

bool AAX_CString::ToDouble (double* out) const
{
    std::istringstream stream (mText);
    stream.imbue (std::locale::classic());

    double value = 0.0;
    stream >> value;
    const bool parsed = ! stream.fail();

    if (out != nullptr)
        *out = parsed ? value : 0.0;

    return parsed;
}

char& AAX_CString::operator[] (uint32_t index)
{
    // An index past the text reaches a scratch NUL instead of foreign memory.
    static thread_local char outOfRange = '\0';
    outOfRange = '\0';
    return index < mText.size() ? mText[index] : outOfRange;
}

const char& AAX_CString::operator[] (uint32_t index) const
{
    static const char outOfRange = '\0';
    return index < mText.size() ? mText[index] : outOfRange;
}

bool AAX_CString::operator== (const AAX_CString& other) const
{
    return mText == other.mText;
}

bool AAX_CString::operator!= (const AAX_CString& other) const
{
    return ! (*this == other);
}

bool AAX_CString::operator== (const char* other) const
{
    return mText == (other != nullptr ? other : "");
}

bool AAX_CString::operator!= (const char* other) const
{
    return ! (*this == other);
}
