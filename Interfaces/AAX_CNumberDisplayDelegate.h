#pragma once

#include "AAX_IDisplayDelegate.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

/**
    Shows a value as a decimal number with a fixed number of decimals,
    followed by SpaceAfter spaces, and reads a decimal number back.
*/
template <typename T, uint32_t Precision = 2, uint32_t SpaceAfter = 0>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
    AAX_CNumberDisplayDelegate* Clone() const override { return new AAX_CNumberDisplayDelegate (*this); }

    bool ValueToString (T value, AAX_CString* valueString) const override
    {
        if (valueString == nullptr)
            return false;

        valueString->Clear();
        valueString->AppendNumber (static_cast<double> (value), static_cast<int32_t> (Precision));

        for (uint32_t i = 0; i < SpaceAfter; ++i)
            valueString->Append (" ");

        return true;
    }

    bool ValueToString (T value, int32_t maxNumChars, AAX_CString* valueString) const override
    {
        if (! ValueToString (value, valueString))
            return false;

        const uint32_t limit = maxNumChars > 0 ? static_cast<uint32_t> (maxNumChars) : 0u;

        if (valueString->Length() > limit)
            valueString->Erase (limit, valueString->Length() - limit);

        // A number cut right after its decimal point reads better without it.
        if (maxNumChars >= 1 && valueString->Length() > 0
             && (*valueString)[valueString->Length() - 1] == '.')
            valueString->Erase (valueString->Length() - 1, 1);

        return true;
    }

    bool StringToValue (const AAX_CString& valueString, T* value) const override
    {
        double parsed = 0.0;
        const bool success = valueString.ToDouble (&parsed);

        if (value != nullptr)
            *value = success ? Narrow (parsed) : T (0);

        return success;
    }

private:
    /** Narrows without the undefined behaviour of converting a value that T
        cannot hold: such values saturate at T's limits. */
    static T Narrow (double value)
    {
        if (std::isnan (value))
            return std::numeric_limits<T>::has_quiet_NaN ? std::numeric_limits<T>::quiet_NaN() : T (0);

        if constexpr (std::is_floating_point_v<T>)
        {
            if (value > static_cast<double> (std::numeric_limits<T>::max()))
                return std::numeric_limits<T>::infinity();
            if (value < static_cast<double> (std::numeric_limits<T>::lowest()))
                return -std::numeric_limits<T>::infinity();
        }
        else
        {
            if (value >= static_cast<double> (std::numeric_limits<T>::max()))
                return std::numeric_limits<T>::max();
            if (value <= static_cast<double> (std::numeric_limits<T>::lowest()))
                return std::numeric_limits<T>::lowest();
        }

        return static_cast<T> (value);
    }
};
