#pragma once

#include "AAX.h"
#include "AAX_CString.h"
#include "AAX_IParameterValue.h"

#include <cstdint>

class AAX_IAutomationDelegate;
class AAX_ITaperDelegateBase;
class AAX_IDisplayDelegateBase;

/** How the host treats a parameter's steps: switched or continuous. */
typedef int32_t AAX_EParameterType;
enum : int32_t
{
    AAX_eParameterType_Discrete   = 0,
    AAX_eParameterType_Continuous = 1
};

/** Bit flags telling the host how to draw a parameter's controls. */
typedef int32_t AAX_EParameterOrientation;
enum : int32_t
{
    AAX_eParameterOrientation_Default               = 0,
    AAX_eParameterOrientation_BottomMinTopMax       = 0,
    AAX_eParameterOrientation_TopMinBottomMax       = 1,
    AAX_eParameterOrientation_LeftMinRightMax       = 0,
    AAX_eParameterOrientation_RightMinLeftMax       = 2,
    AAX_eParameterOrientation_RotarySingleDotMode   = 0,
    AAX_eParameterOrientation_RotaryBoostCutMode    = 4,
    AAX_eParameterOrientation_RotaryWrapMode        = 8,
    AAX_eParameterOrientation_RotarySpreadMode      = 12,
    AAX_eParameterOrientation_RotaryLeftMinRightMax = 0,
    AAX_eParameterOrientation_RotaryRightMinLeftMax = 16
};

/**
    A host-visible parameter.

    The value is held in real units; the host sees it normalized to 0..1
    through the parameter's taper. Value changes made through the Set...
    operations are requests to the host once an automation delegate is set:
    the host answers with UpdateNormalizedValue().
*/
class AAX_IParameter
{
public:
    virtual ~AAX_IParameter() = default;

    /** A new heap snapshot of identifier and value, owned by the caller. */
    virtual AAX_IParameterValue* CloneValue() const = 0;
    virtual AAX_CParamID Identifier() const = 0;

    virtual void SetName (const AAX_CString& name) = 0;
    virtual const AAX_CString& Name() const = 0;
    virtual void AddShortenedName (const AAX_CString& name) = 0;
    virtual const AAX_CString& ShortenedName (int32_t maxNumChars) const = 0;
    virtual void ClearShortenedNames() = 0;

    virtual bool Automatable() const = 0;
    virtual void SetAutomationDelegate (AAX_IAutomationDelegate* automationDelegate) = 0;
    virtual void Touch() = 0;
    virtual void Release() = 0;

    virtual void SetNormalizedValue (double normalizedValue) = 0;
    virtual double GetNormalizedValue() const = 0;
    virtual void SetNormalizedDefaultValue (double normalizedDefault) = 0;
    virtual double GetNormalizedDefaultValue() const = 0;
    virtual void SetToDefaultValue() = 0;

    virtual void SetNumberOfSteps (uint32_t numSteps) = 0;
    virtual uint32_t GetNumberOfSteps() const = 0;
    virtual uint32_t GetStepValue() const = 0;
    virtual double GetNormalizedValueFromStep (uint32_t step) const = 0;
    virtual uint32_t GetStepValueFromNormalizedValue (double normalizedValue) const = 0;
    virtual void SetStepValue (uint32_t step) = 0;

    virtual bool GetValueString (AAX_CString* valueString) const = 0;
    virtual bool GetValueString (int32_t maxNumChars, AAX_CString* valueString) const = 0;

    virtual bool GetNormalizedValueFromBool (bool value, double* normalizedValue) const = 0;
    virtual bool GetNormalizedValueFromInt32 (int32_t value, double* normalizedValue) const = 0;
    virtual bool GetNormalizedValueFromFloat (float value, double* normalizedValue) const = 0;
    virtual bool GetNormalizedValueFromDouble (double value, double* normalizedValue) const = 0;
    virtual bool GetNormalizedValueFromString (const AAX_CString& valueString, double* normalizedValue) const = 0;

    virtual bool GetBoolFromNormalizedValue (double normalizedValue, bool* value) const = 0;
    virtual bool GetInt32FromNormalizedValue (double normalizedValue, int32_t* value) const = 0;
    virtual bool GetFloatFromNormalizedValue (double normalizedValue, float* value) const = 0;
    virtual bool GetDoubleFromNormalizedValue (double normalizedValue, double* value) const = 0;
    virtual bool GetStringFromNormalizedValue (double normalizedValue, AAX_CString& valueString) const = 0;
    virtual bool GetStringFromNormalizedValue (double normalizedValue, int32_t maxNumChars, AAX_CString& valueString) const = 0;

    virtual bool SetValueFromString (const AAX_CString& valueString) = 0;

    virtual bool GetValueAsBool (bool* value) const = 0;
    virtual bool GetValueAsInt32 (int32_t* value) const = 0;
    virtual bool GetValueAsFloat (float* value) const = 0;
    virtual bool GetValueAsDouble (double* value) const = 0;
    virtual bool GetValueAsString (AAX_IString* value) const = 0;

    virtual bool SetValueWithBool (bool value) = 0;
    virtual bool SetValueWithInt32 (int32_t value) = 0;
    virtual bool SetValueWithFloat (float value) = 0;
    virtual bool SetValueWithDouble (double value) = 0;
    virtual bool SetValueWithString (const AAX_IString& value) = 0;

    virtual void SetType (AAX_EParameterType type) = 0;
    virtual AAX_EParameterType GetType() const = 0;
    virtual void SetOrientation (AAX_EParameterOrientation orientation) = 0;
    virtual AAX_EParameterOrientation GetOrientation() const = 0;

    /** Replaces the taper by a copy of the given one. With preserveValue the
        real value is kept, otherwise the normalized position. */
    virtual void SetTaperDelegate (AAX_ITaperDelegateBase& taperDelegate, bool preserveValue) = 0;
    virtual void SetDisplayDelegate (AAX_IDisplayDelegateBase& displayDelegate) = 0;

    /** The host's answer to a set request: takes the value and reports it back. */
    virtual void UpdateNormalizedValue (double normalizedValue) = 0;
};
