// The host's automation interface for one effect instance, asked of the
// controller unknown by QueryInterface.
#pragma once

#include "IACFUnknown.h"

class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
    virtual AAX_Result RegisterControl (AAX_CParamID iParameterID) = 0;
    virtual AAX_Result UnregisterControl (AAX_CParamID iParameterID) = 0;
    virtual AAX_Result PostSetValueRequest (AAX_CParamID iParameterID, double normalizedValue) = 0;
    virtual AAX_Result PostCurrentValue (AAX_CParamID iParameterID, double normalizedValue) = 0;
    virtual AAX_Result PostTouchRequest (AAX_CParamID iParameterID) = 0;
    virtual AAX_Result PostReleaseRequest (AAX_CParamID iParameterID) = 0;
    virtual AAX_Result GetTouchState (AAX_CParamID iParameterID, AAX_CBoolean* outTouched) = 0;

protected:
    ~AAX_IACFAutomationDelegate() = default;
};
