// Wrapper of the host's automation interface for one effect instance.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IAutomationDelegate.h"

class AAX_VAutomationDelegate : public AAX_IAutomationDelegate
{
public:
    /** Asks the controller unknown for the automation interface; every
        operation returns -20004 when the host does not answer it. */
    explicit AAX_VAutomationDelegate (IACFUnknown* controllerUnknown);
    ~AAX_VAutomationDelegate() override;

    AAX_Result RegisterParameter (AAX_CParamID iParameterID) override;
    AAX_Result UnregisterParameter (AAX_CParamID iParameterID) override;
    AAX_Result PostSetValueRequest (AAX_CParamID iParameterID, double normalizedValue) const override;
    AAX_Result PostCurrentValue (AAX_CParamID iParameterID, double normalizedValue) const override;
    AAX_Result PostTouchRequest (AAX_CParamID iParameterID) override;
    AAX_Result PostReleaseRequest (AAX_CParamID iParameterID) override;
    AAX_Result GetTouchState (AAX_CParamID iParameterID, AAX_CBoolean* outTouched) override;

private:
    ACFPtr<AAX_IACFAutomationDelegate> mIAutomationDelegate;
};
