#include "HostString.h"

#include <limits>

namespace zelkhost
{
    uint32_t HostString::Length() const
    {
        return static_cast<uint32_t> (mText.size());
    }

    uint32_t HostString::MaxLength() const
    {
        return std::numeric_limits<uint32_t>::max() - 1;
    }

    const char* HostString::Get() const
    {
        return mText.c_str();
    }

    void HostString::Set (const char* text)
    {
        mText = text != nullptr ? text : "";
    }

    AAX_IString& HostString::operator= (const AAX_IString& other)
    {
        if (&other != this)
            Set (other.Get());
        return *this;
    }

    AAX_IString& HostString::operator= (const char* text)
    {
        Set (text);
        return *this;
    }
}
