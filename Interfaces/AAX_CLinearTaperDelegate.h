#pragma once

#include "AAX_ITaperDelegate.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

/**
    A straight-line taper between a minimum and a maximum.

    All arithmetic is done in double and narrowed to T at the end. With a
    non-zero RealPrecision real values are rounded to multiples of
    1 / RealPrecision. Not-a-number inputs are read as the minimum so that a
    bad value from outside never becomes a parameter's value.
*/
template <typename T, int32_t RealPrecision = 0>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
    explicit AAX_CLinearTaperDelegate (T minValue = T (0), T maxValue = T (1))
        : mMinValue (minValue), mMaxValue (maxValue)
    {
    }

    AAX_CLinearTaperDelegate* Clone() const override { return new AAX_CLinearTaperDelegate (*this); }

    T GetMaximumValue() const override { return mMaxValue; }
    T GetMinimumValue() const override { return mMinValue; }

    T ConstrainRealValue (T value) const override
    {
        return Narrow (Constrain (static_cast<double> (value)));
    }

    T NormalizedToReal (double normalizedValue) const override
    {
        const double minValue = static_cast<double> (mMinValue);
        const double maxValue = static_cast<double> (mMaxValue);
        return Narrow (Constrain ((maxValue - minValue) * normalizedValue + minValue));
    }

    double RealToNormalized (T realValue) const override
    {
        const double minValue = static_cast<double> (mMinValue);
        const double maxValue = static_cast<double> (mMaxValue);

        if (minValue == maxValue)
            return 0.5;

        return (Constrain (static_cast<double> (realValue)) - minValue) / (maxValue - minValue);
    }

private:
    double Constrain (double value) const
    {
        const double minValue = static_cast<double> (mMinValue);
        const double maxValue = static_cast<double> (mMaxValue);

        if (minValue == maxValue)
            return minValue;

        if (std::isnan (value))
            value = minValue;

        if (RealPrecision > 0)
            value = std::round (value * RealPrecision) / RealPrecision;

        const double lowest = minValue < maxValue ? minValue : maxValue;
        const double highest = minValue < maxValue ? maxValue : minValue;
        return value < lowest ? lowest : (value > highest ? highest : value);
    }

    static T Narrow (double value)
    {
        // The value already lies between two values of T.
        if constexpr (std::is_integral_v<T>)
            return static_cast<T> (std::llround (value));
        else
            return static_cast<T> (value);
    }

    T mMinValue;
    T mMaxValue;
};
