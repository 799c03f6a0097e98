#include "AAX_VAutomationDelegate.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate (IACFUnknown* controllerUnknown)
    : mIAutomationDelegate (QueryACFInterface<AAX_IACFAutomationDelegate> (controllerUnknown, IID_IAAXAutomationDelegateV1))
{
}

AAX_VAutomationDelegate::~AAX_VAutomationDelegate() = default;

#define AAX_FORWARD_TO_V1(call)                 \
    if (! mIAutomationDelegate)                 \
        return AAX_ERROR_NULL_OBJECT;           \
    return mIAutomationDelegate->call

AAX_Result AAX_VAutomationDelegate::RegisterParameter (AAX_CParamID iParameterID)   { AAX_FORWARD_TO_V1 (RegisterControl (iParameterID)); }
AAX_Result AAX_VAutomationDelegate::UnregisterParameter (AAX_CParamID iParameterID) { AAX_FORWARD_TO_V1 (UnregisterControl (iParameterID)); }

AAX_Result AAX_VAutomationDelegate::PostSetValueRequest (AAX_CParamID iParameterID, double normalizedValue) const
{
    AAX_FORWARD_TO_V1 (PostSetValueRequest (iParameterID, normalizedValue));
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue (AAX_CParamID iParameterID, double normalizedValue) const
{
    AAX_FORWARD_TO_V1 (PostCurrentValue (iParameterID, normalizedValue));
}

AAX_Result AAX_VAutomationDelegate::PostTouchRequest (AAX_CParamID iParameterID)   { AAX_FORWARD_TO_V1 (PostTouchRequest (iParameterID)); }
AAX_Result AAX_VAutomationDelegate::PostReleaseRequest (AAX_CParamID iParameterID) { AAX_FORWARD_TO_V1 (PostReleaseRequest (iParameterID)); }

AAX_Result AAX_VAutomationDelegate::GetTouchState (AAX_CParamID iParameterID, AAX_CBoolean* outTouched)
{
    AAX_FORWARD_TO_V1 (GetTouchState (iParameterID, outTouched));
}

#undef AAX_FORWARD_TO_V1
