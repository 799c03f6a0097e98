#pragma once

#include "AAX.h"
#include "AAX_CHostServices.h"
#include "AAX_CString.h"
#include "AAX_IAutomationDelegate.h"
#include "AAX_IDisplayDelegate.h"
#include "AAX_IParameter.h"
#include "AAX_IParameterValue.h"
#include "AAX_ITaperDelegate.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <type_traits>

/** Longest parameter identifier, NUL included. */
enum : int32_t { eParemeterDefaultMaxIdentifierSize = 32 };

namespace AAX_ParameterDetail
{
    /** Copies an identifier into a fixed buffer of eParemeterDefaultMaxIdentifierSize
        bytes; a longer identifier is reported and cut to fit. */
    inline void CopyIdentifier (char (&destination)[eParemeterDefaultMaxIdentifierSize], AAX_CParamID identifier)
    {
        const char* source = identifier != nullptr ? identifier : "";
        const size_t len = std::strlen (source);
        size_t copied = len;

        if (! (len < eParemeterDefaultMaxIdentifierSize))
        {
            AAX_CHostServices::HandleAssertFailure (__FILE__, __LINE__, "len < eParemeterDefaultMaxIdentifierSize", 1);
            copied = eParemeterDefaultMaxIdentifierSize - 1;
        }

        std::memcpy (destination, source, copied);
        std::memset (destination + copied, 0, eParemeterDefaultMaxIdentifierSize - copied);
    }
}

//==============================================================================
/** A full name with shorter variants for narrow displays, keyed by length. */
class AAX_CStringAbbreviations
{
public:
    explicit AAX_CStringAbbreviations (const AAX_CString& primary = AAX_CString())
        : mPrimary (primary)
    {
    }

    void SetPrimary (const AAX_CString& primary) { mPrimary = primary; }
    const AAX_CString& Primary() const { return mPrimary; }

    /** A second name of the same length replaces the first. */
    void Add (const AAX_CString& abbreviation) { mAbbreviations[abbreviation.Length()] = abbreviation; }
    void Clear() { mAbbreviations.clear(); }

    /** The full name when it fits (or for a negative limit, or without
        shortened names); else the longest shortened name that fits; else the
        shortest one. */
    const AAX_CString& Get (int32_t maxNumChars) const
    {
        if (maxNumChars < 0 || mAbbreviations.empty()
             || static_cast<uint32_t> (maxNumChars) >= mPrimary.Length())
            return mPrimary;

        auto firstLonger = mAbbreviations.upper_bound (static_cast<uint32_t> (maxNumChars));

        if (firstLonger == mAbbreviations.begin())
            return firstLonger->second;

        return std::prev (firstLonger)->second;
    }

private:
    AAX_CString mPrimary;
    std::map<uint32_t, AAX_CString> mAbbreviations;
};

//==============================================================================
/** Identifier and value of a parameter of type T. */
template <typename T>
class AAX_CParameterValue : public AAX_IParameterValue
{
public:
    AAX_CParameterValue (AAX_CParamID identifier, const T& value = T())
        : mValue (value)
    {
        AAX_ParameterDetail::CopyIdentifier (mIdentifier, identifier);
    }

    AAX_CParameterValue (const AAX_CParameterValue& other)
        : mValue (other.mValue)
    {
        std::memcpy (mIdentifier, other.mIdentifier, sizeof (mIdentifier));
    }

    AAX_CParameterValue* Clone() const override { return new AAX_CParameterValue (*this); }
    AAX_CParamID Identifier() const override { return mIdentifier; }

    bool GetValueAsBool (bool* value) const override { return Get (value); }
    bool GetValueAsInt32 (int32_t* value) const override { return Get (value); }
    bool GetValueAsFloat (float* value) const override { return Get (value); }
    bool GetValueAsDouble (double* value) const override { return Get (value); }

    bool GetValueAsString (AAX_IString* value) const override
    {
        if constexpr (std::is_same_v<T, AAX_CString>)
        {
            if (value == nullptr)
                return false;

            *value = mValue;
            return true;
        }
        else
        {
            return false;
        }
    }

    const T& Get() const { return mValue; }
    void Set (const T& value) { mValue = value; }

private:
    template <typename V>
    bool Get (V* value) const
    {
        if constexpr (std::is_same_v<T, V>)
        {
            if (value == nullptr)
                return false;

            *value = mValue;
            return true;
        }
        else
        {
            return false;
        }
    }

    char mIdentifier[eParemeterDefaultMaxIdentifierSize];
    T mValue;
};

//==============================================================================
/**
    A host-visible parameter holding a value of type T in real units.

    Taper and display delegates are private copies of those handed in. Value
    changes go to the host as set requests once an automation delegate is
    set; the host's answer arrives through UpdateNormalizedValue(). Without a
    delegate a change takes effect at once.
*/
template <typename T>
class AAX_CParameter : public AAX_IParameter
{
public:
    AAX_CParameter (AAX_CParamID identifier,
                    const AAX_IString& name,
                    T defaultValue,
                    const AAX_ITaperDelegate<T>& taperDelegate,
                    const AAX_IDisplayDelegate<T>& displayDelegate,
                    bool automatable = false)
        : mNames (AAX_CString (name)),
          mAutomatable (automatable),
          mTaperDelegate (taperDelegate.Clone()),
          mDisplayDelegate (displayDelegate.Clone()),
          mValue (identifier),
          mDefaultValue (defaultValue)
    {
        if (mNumSteps == 0)
        {
            if (mType == AAX_eParameterType_Discrete)
                SetNumberOfSteps (2);
            else if (mType == AAX_eParameterType_Continuous)
                SetNumberOfSteps (128);
            else
                AAX_CHostServices::HandleAssertFailure (__FILE__, __LINE__, "0", 1);
        }

        SetToDefaultValue();
    }

    ~AAX_CParameter() override
    {
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->UnregisterParameter (Identifier());

        delete mTaperDelegate;
        delete mDisplayDelegate;
    }

    AAX_CParameter (const AAX_CParameter&) = delete;
    AAX_CParameter& operator= (const AAX_CParameter&) = delete;

    //==========================================================================
    AAX_IParameterValue* CloneValue() const override { return new AAX_CParameterValue<T> (mValue); }
    AAX_CParamID Identifier() const override { return mValue.Identifier(); }

    void SetName (const AAX_CString& name) override { mNames.SetPrimary (name); }
    const AAX_CString& Name() const override { return mNames.Primary(); }
    void AddShortenedName (const AAX_CString& name) override { mNames.Add (name); }
    const AAX_CString& ShortenedName (int32_t maxNumChars) const override { return mNames.Get (maxNumChars); }
    void ClearShortenedNames() override { mNames.Clear(); }

    bool Automatable() const override { return mAutomatable; }

    void SetAutomationDelegate (AAX_IAutomationDelegate* automationDelegate) override
    {
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->UnregisterParameter (Identifier());

        mAutomationDelegate = automationDelegate;

        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->RegisterParameter (Identifier());
    }

    void Touch() override
    {
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->PostTouchRequest (Identifier());
    }

    void Release() override
    {
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->PostReleaseRequest (Identifier());
    }

    //==========================================================================
    void SetNormalizedValue (double normalizedValue) override
    {
        Post (mTaperDelegate->RealToNormalized (mTaperDelegate->NormalizedToReal (normalizedValue)));
    }

    double GetNormalizedValue() const override { return mTaperDelegate->RealToNormalized (mValue.Get()); }

    void SetNormalizedDefaultValue (double normalizedDefault) override
    {
        mDefaultValue = mTaperDelegate->ConstrainRealValue (mTaperDelegate->NormalizedToReal (normalizedDefault));
    }

    double GetNormalizedDefaultValue() const override { return mTaperDelegate->RealToNormalized (mDefaultValue); }

    void SetToDefaultValue() override { Post (mTaperDelegate->RealToNormalized (mDefaultValue)); }

    //==========================================================================
    void SetNumberOfSteps (uint32_t numSteps) override
    {
        if (! (0 < numSteps))
        {
            AAX_CHostServices::HandleAssertFailure (__FILE__, __LINE__, "0 < numSteps", 1);
            return;
        }

        mNumSteps = numSteps;
    }

    uint32_t GetNumberOfSteps() const override { return mNumSteps; }
    uint32_t GetStepValue() const override { return GetStepValueFromNormalizedValue (GetNormalizedValue()); }

    double GetNormalizedValueFromStep (uint32_t step) const override
    {
        if (mNumSteps < 2)
            return 0.0;

        const double normalized = static_cast<double> (step) / static_cast<double> (mNumSteps - 1);
        return normalized > 1.0 ? 1.0 : normalized;
    }

    uint32_t GetStepValueFromNormalizedValue (double normalizedValue) const override
    {
        if (mNumSteps < 2 || std::isnan (normalizedValue))
            return 0;

        const double highestStep = static_cast<double> (mNumSteps - 1);
        double step = normalizedValue * highestStep + 0.5;
        step = step < 0.0 ? 0.0 : (step > highestStep ? highestStep : step);
        return static_cast<uint32_t> (step);
    }

    void SetStepValue (uint32_t step) override
    {
        if (mNumSteps >= 2)
            SetNormalizedValue (GetNormalizedValueFromStep (step));
    }

    //==========================================================================
    bool GetValueString (AAX_CString* valueString) const override
    {
        return mDisplayDelegate->ValueToString (mValue.Get(), valueString);
    }

    bool GetValueString (int32_t maxNumChars, AAX_CString* valueString) const override
    {
        return mDisplayDelegate->ValueToString (mValue.Get(), maxNumChars, valueString);
    }

    bool GetNormalizedValueFromBool (bool value, double* normalized) const override { return NormalizedFrom (value, normalized); }
    bool GetNormalizedValueFromInt32 (int32_t value, double* normalized) const override { return NormalizedFrom (value, normalized); }
    bool GetNormalizedValueFromFloat (float value, double* normalized) const override { return NormalizedFrom (value, normalized); }
    bool GetNormalizedValueFromDouble (double value, double* normalized) const override { return NormalizedFrom (value, normalized); }

    bool GetNormalizedValueFromString (const AAX_CString& valueString, double* normalized) const override
    {
        T value {};

        if (! mDisplayDelegate->StringToValue (valueString, &value))
            return false;

        if (normalized != nullptr)
            *normalized = mTaperDelegate->RealToNormalized (value);

        return true;
    }

    bool GetBoolFromNormalizedValue (double normalized, bool* value) const override { return RealFrom (normalized, value); }
    bool GetInt32FromNormalizedValue (double normalized, int32_t* value) const override { return RealFrom (normalized, value); }
    bool GetFloatFromNormalizedValue (double normalized, float* value) const override { return RealFrom (normalized, value); }
    bool GetDoubleFromNormalizedValue (double normalized, double* value) const override { return RealFrom (normalized, value); }

    bool GetStringFromNormalizedValue (double normalized, AAX_CString& valueString) const override
    {
        const T value = mTaperDelegate->NormalizedToReal (normalized);
        return mDisplayDelegate->ValueToString (value, &valueString) && IsWithinRange (value);
    }

    bool GetStringFromNormalizedValue (double normalized, int32_t maxNumChars, AAX_CString& valueString) const override
    {
        const T value = mTaperDelegate->NormalizedToReal (normalized);
        return mDisplayDelegate->ValueToString (value, maxNumChars, &valueString) && IsWithinRange (value);
    }

    bool SetValueFromString (const AAX_CString& valueString) override
    {
        T value {};

        if (! mDisplayDelegate->StringToValue (valueString, &value))
            return false;

        Post (mTaperDelegate->RealToNormalized (value));
        return true;
    }

    //==========================================================================
    bool GetValueAsBool (bool* value) const override { return mValue.GetValueAsBool (value); }
    bool GetValueAsInt32 (int32_t* value) const override { return mValue.GetValueAsInt32 (value); }
    bool GetValueAsFloat (float* value) const override { return mValue.GetValueAsFloat (value); }
    bool GetValueAsDouble (double* value) const override { return mValue.GetValueAsDouble (value); }

    bool GetValueAsString (AAX_IString* value) const override
    {
        if (value == nullptr)
            return false;

        AAX_CString text;
        const bool success = GetValueString (&text);

        if (success)
            *value = text;

        return success;
    }

    bool SetValueWithBool (bool value) override { return SetValueWith (value); }
    bool SetValueWithInt32 (int32_t value) override { return SetValueWith (value); }
    bool SetValueWithFloat (float value) override { return SetValueWith (value); }
    bool SetValueWithDouble (double value) override { return SetValueWith (value); }

    bool SetValueWithString (const AAX_IString& value) override
    {
        return SetValueFromString (AAX_CString (value));
    }

    //==========================================================================
    void SetType (AAX_EParameterType type) override { mType = type; }
    AAX_EParameterType GetType() const override { return mType; }
    void SetOrientation (AAX_EParameterOrientation orientation) override { mOrientation = orientation; }
    AAX_EParameterOrientation GetOrientation() const override { return mOrientation; }

    void SetTaperDelegate (AAX_ITaperDelegateBase& taperDelegate, bool preserveValue) override
    {
        auto* typedTaper = dynamic_cast<AAX_ITaperDelegate<T>*> (&taperDelegate);

        if (typedTaper == nullptr)
            return;   // a taper for another value type cannot serve this parameter

        const double oldNormalized = GetNormalizedValue();

        auto* oldTaper = mTaperDelegate;
        mTaperDelegate = typedTaper->Clone();
        delete oldTaper;

        mNeedNotify = true;

        if (preserveValue)
            Post (mTaperDelegate->RealToNormalized (mValue.Get()));
        else
            UpdateNormalizedValue (oldNormalized);
    }

    void SetDisplayDelegate (AAX_IDisplayDelegateBase& displayDelegate) override
    {
        auto* typedDisplay = dynamic_cast<AAX_IDisplayDelegate<T>*> (&displayDelegate);

        if (typedDisplay == nullptr)
            return;

        auto* oldDisplay = mDisplayDelegate;
        mDisplayDelegate = typedDisplay->Clone();
        delete oldDisplay;
    }

    void UpdateNormalizedValue (double normalizedValue) override
    {
        const T newValue = mTaperDelegate->NormalizedToReal (normalizedValue);
        const T& oldValue = mValue.Get();

        // "Neither less nor greater" rather than ==, so that NaN counts as unchanged.
        if (! mNeedNotify && ! (newValue < oldValue) && ! (newValue > oldValue))
            return;

        mValue.Set (newValue);

        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->PostCurrentValue (Identifier(), normalizedValue);

        mNeedNotify = false;
    }

    //==========================================================================
    const AAX_ITaperDelegate<T>* TaperDelegate() const { return mTaperDelegate; }
    const AAX_IDisplayDelegate<T>* DisplayDelegate() const { return mDisplayDelegate; }
    AAX_IAutomationDelegate* AutomationDelegate() const { return mAutomationDelegate; }

private:
    /** Sends a normalized target on its way: to the host as a set request
        when a delegate is set, else straight into the value. */
    void Post (double normalizedTarget)
    {
        if (mAutomationDelegate != nullptr)
        {
            Touch();
            mAutomationDelegate->PostSetValueRequest (Identifier(), normalizedTarget);
            Release();
        }
        else
        {
            mNeedNotify = true;
            UpdateNormalizedValue (normalizedTarget);
        }
    }

    bool IsWithinRange (const T& value) const
    {
        return mTaperDelegate->GetMinimumValue() <= value && value <= mTaperDelegate->GetMaximumValue();
    }

    template <typename V>
    bool NormalizedFrom (V value, double* normalized) const
    {
        if constexpr (std::is_same_v<T, V>)
        {
            if (normalized != nullptr)
                *normalized = mTaperDelegate->RealToNormalized (value);

            return true;
        }
        else
        {
            return false;
        }
    }

    template <typename V>
    bool RealFrom (double normalized, V* value) const
    {
        if constexpr (std::is_same_v<T, V>)
        {
            if (value != nullptr)
                *value = mTaperDelegate->NormalizedToReal (normalized);

            return true;
        }
        else
        {
            return false;
        }
    }

    template <typename V>
    bool SetValueWith (V value)
    {
        if constexpr (std::is_same_v<T, V>)
        {
            Post (mTaperDelegate->RealToNormalized (value));
            return true;
        }
        else
        {
            return false;
        }
    }

    AAX_CStringAbbreviations mNames;
    bool mAutomatable;
    uint32_t mNumSteps = 0;
    AAX_EParameterType mType = AAX_eParameterType_Continuous;
    AAX_EParameterOrientation mOrientation = AAX_eParameterOrientation_Default;
    AAX_ITaperDelegate<T>* mTaperDelegate;
    AAX_IDisplayDelegate<T>* mDisplayDelegate;
    AAX_IAutomationDelegate* mAutomationDelegate = nullptr;
    bool mNeedNotify = true;
    AAX_CParameterValue<T> mValue;
    T mDefaultValue;
};
