#include "LibraryHost.h"

namespace librarytest
{
    namespace
    {
        std::function<AAX_Result (AAX_ICollection*)>& effectDescriber()
        {
            static std::function<AAX_Result (AAX_ICollection*)> describer;
            return describer;
        }
    }

    ScopedEffectDescriber::ScopedEffectDescriber (std::function<AAX_Result (AAX_ICollection*)> describer)
    {
        effectDescriber() = std::move (describer);
    }

    ScopedEffectDescriber::~ScopedEffectDescriber()
    {
        effectDescriber() = nullptr;
    }
}

// The library declares GetEffectDescriptions and leaves its definition to
// the client layer; in the library's tests it runs whatever the test chose.
AAX_Result GetEffectDescriptions (AAX_ICollection* collection)
{
    auto& describer = librarytest::effectDescriber();
    return describer ? describer (collection) : AAX_SUCCESS;
}
