// The host's own string object for the AAX_IString arguments of the
// plug-in's interfaces.
#pragma once

#include "AAX_IString.h"

#include <string>

namespace zelkhost
{
    class HostString final : public AAX_IString
    {
    public:
        HostString() = default;
        explicit HostString (std::string text) : mText (std::move (text)) {}

        uint32_t Length() const override;
        uint32_t MaxLength() const override;
        const char* Get() const override;
        void Set (const char* text) override;
        AAX_IString& operator= (const AAX_IString& other) override;
        AAX_IString& operator= (const char* text) override;

        const std::string& text() const noexcept { return mText; }

    private:
        std::string mText;
    };
}
