#include "AAX_CEffectParameters.h"

#include "AAX_CHostServices.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_IParameter.h"
#include "AAX_UIDs.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VPageTable.h"
#include "AAX_VTransport.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

const char* const cDefaultMasterBypassID = "MasterBypassID";
const char* const cPreviewID = "PreviewID";

namespace
{
    const char kControlsChunkName[] = "Complete Controls State";

    // Lines of the original library's source reported with its assertions.
    constexpr int32_t kChunkedParameterCountLine = 128;
    constexpr int32_t kCompareMissingParameterLine = 667;
    constexpr int32_t kBuildMissingParameterLine = 815;

    /** A stored double narrowed to float without the undefined behaviour of
        an out-of-range conversion: such values become infinities. */
    float NarrowToFloat (double value)
    {
        if (value > static_cast<double> (std::numeric_limits<float>::max()))
            return std::numeric_limits<float>::infinity();
        if (value < static_cast<double> (std::numeric_limits<float>::lowest()))
            return -std::numeric_limits<float>::infinity();
        return static_cast<float> (value);
    }

    double ClampToUnit (double value)
    {
        return value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
    }

    /** Splits at each newline; a final newline adds no empty line. */
    std::vector<std::string> SplitLines (const std::string& text)
    {
        std::vector<std::string> lines;
        size_t start = 0;

        while (start < text.size())
        {
            const size_t end = text.find ('\n', start);

            if (end == std::string::npos)
            {
                lines.push_back (text.substr (start));
                break;
            }

            lines.push_back (text.substr (start, end - start));
            start = end + 1;
        }

        return lines;
    }
}

//==============================================================================
AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    // Normally Uninitialize() has done this. If the host never called it, the
    // parameters go first (they unregister through the automation wrapper),
    // then the host wrappers, so that no host reference is leaked.
    mParameterManager.RemoveAllParameters();
    DeleteHostWrappers();
}

void AAX_CEffectParameters::DeleteHostWrappers()
{
    delete mController;
    mController = nullptr;
    delete mAutomationDelegate;
    mAutomationDelegate = nullptr;
    delete mTransport;
    mTransport = nullptr;
}

const AAX_IParameter* AAX_CEffectParameters::FindParameter (AAX_CParamID parameterID) const
{
    return mParameterManager.GetParameterByID (parameterID);
}

AAX_IParameter* AAX_CEffectParameters::FindParameter (AAX_CParamID parameterID)
{
    return mParameterManager.GetParameterByID (parameterID);
}

bool AAX_CEffectParameters::IsFiltered (AAX_CParamID parameterID) const
{
    return parameterID != nullptr && mFilteredParameters.count (parameterID) != 0;
}

template <typename Visit>
void AAX_CEffectParameters::ForEachChunkedParameter (int32_t numParameters, int32_t missingLine, Visit&& visit) const
{
    for (int32_t index = 0; index < numParameters; ++index)
    {
        const AAX_IParameter* parameter = mParameterManager.GetParameterByIndex (index);

        if (parameter == nullptr)
        {
            AAX_CHostServices::HandleAssertFailure (__FILE__, missingLine, "NULL != parameter", 1);
            continue;
        }

        const char* id = parameter->Identifier();

        if (! IsFiltered (id) && ! visit (parameter, id))
            return;
    }
}

void AAX_CEffectParameters::FilterParameterIDOnSave (AAX_CParamID parameterID)
{
    if (parameterID != nullptr)
        mFilteredParameters.insert (parameterID);
}

//==============================================================================
AAX_Result AAX_CEffectParameters::Initialize (IACFUnknown* iController)
{
    // A second Initialize without Uninitialize is refused: the parameters
    // made the first time hold the automation wrapper, which must stay.
    if (mController != nullptr || mAutomationDelegate != nullptr || mTransport != nullptr)
    {
        AAX_CHostServices::Trace (AAX_eTracePriority_Critical,
                                  "AAX_CEffectParameters::Initialize: already initialized; Uninitialize comes first");
        return AAX_ERROR_INVALID_ARGUMENT;
    }

    mController = new AAX_VController (iController);
    mAutomationDelegate = new AAX_VAutomationDelegate (iController);
    mTransport = new AAX_VTransport (iController);

    mParameterManager.Initialize (mAutomationDelegate);
    mPacketDispatcher.Initialize (mController, this);

    const AAX_Result initResult = EffectInit();

    if (initResult != AAX_SUCCESS)
        return initResult;

    AAX_CString bypassID;
    GetMasterBypassParameter (&bypassID);
    mFilteredParameters.insert (bypassID.Get());

    int32_t numParameters = 0;
    GetNumberOfParameters (&numParameters);

    if (numParameters > 0)
    {
        mNumChunkedParameters = numParameters - static_cast<int32_t> (mFilteredParameters.size());

        if (! (mNumChunkedParameters >= 0))
            AAX_CHostServices::HandleAssertFailure (__FILE__, kChunkedParameterCountLine, "mNumChunkedParameters >= 0", 1);
    }

    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::Uninitialize()
{
    mParameterManager.RemoveAllParameters();
    DeleteHostWrappers();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::NotificationReceived (AAX_CTypeID inNotificationType, const void* inNotificationData, uint32_t inNotificationDataSize)
{
    if (inNotificationType != kPreviewStateNotification)
        return AAX_SUCCESS;

    // The state is an int32; a notification without one is ignored.
    if (inNotificationData == nullptr || inNotificationDataSize < sizeof (int32_t))
        return AAX_SUCCESS;

    if (AAX_IParameter* preview = FindParameter (cPreviewID))
    {
        int32_t state = 0;
        std::memcpy (&state, inNotificationData, sizeof (state));
        preview->SetValueWithBool (state != 0);
    }

    return AAX_SUCCESS;
}

//==============================================================================
AAX_Result AAX_CEffectParameters::GetNumberOfParameters (int32_t* oNumControls) const
{
    if (oNumControls == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    *oNumControls = mParameterManager.NumParameters();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter (AAX_IString* oIDString) const
{
    if (oIDString == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    oIDString->Set (FindParameter (cDefaultMasterBypassID) != nullptr ? cDefaultMasterBypassID : "");
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable (AAX_CParamID iParameterID, AAX_CBoolean* oAutomatable) const
{
    if (oAutomatable == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    *oAutomatable = 0;
    const AAX_IParameter* parameter = FindParameter (iParameterID);

    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    *oAutomatable = parameter->Automatable() ? 1 : 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNumberofSteps (AAX_CParamID iParameterID, int32_t* oNumSteps) const
{
    if (oNumSteps == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    const AAX_IParameter* parameter = FindParameter (iParameterID);

    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    const uint32_t steps = parameter->GetNumberOfSteps();

    if (steps > static_cast<uint32_t> (std::numeric_limits<int32_t>::max()))
        return AAX_ERROR_SIGNED_INT_OVERFLOW;

    *oNumSteps = static_cast<int32_t> (steps);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterName (AAX_CParamID iParameterID, AAX_IString* oName) const
{
    if (oName == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    const AAX_IParameter* parameter = FindParameter (iParameterID);
    oName->Set (parameter != nullptr ? parameter->Name().Get() : "");
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength (AAX_CParamID iParameterID, AAX_IString* oName, int32_t iNameLength) const
{
    if (oName == nullptr)
        return AAX_ERROR_INVALID_STRING_CONVERSION;

    const AAX_IParameter* parameter = FindParameter (iParameterID);

    if (parameter == nullptr)
    {
        oName->Set ("");
        return AAX_SUCCESS;
    }

    constexpr size_t kMaxNameCharacters = 255;
    std::string name (parameter->ShortenedName (iNameLength).Get());

    if (name.size() > kMaxNameCharacters)
        name.resize (kMaxNameCharacters);

    if (name.empty())
        return AAX_SUCCESS;

    // A name may hold several variants, one per line: the longest that fits wins.
    const std::vector<std::string> lines = SplitLines (name);
    const std::string* best = nullptr;

    for (const auto& line : lines)
        if (iNameLength >= 0 && line.size() <= static_cast<size_t> (iNameLength)
             && (best == nullptr || line.size() > best->size()))
            best = &line;

    if (best != nullptr)
        oName->Set (best->c_str());
    else if (iNameLength < 1)
        oName->Set ("");
    else
        oName->Set (name.substr (0, static_cast<size_t> (iNameLength)).c_str());

    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue (AAX_CParamID iParameterID, double* oValue) const
{
    return ReadParameter (iParameterID, oValue, [] (const AAX_IParameter& p) { return p.GetNormalizedDefaultValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue (AAX_CParamID iParameterID, double iValue)
{
    return ChangeParameter (iParameterID, [=] (AAX_IParameter& p) { p.SetNormalizedDefaultValue (iValue); });
}

AAX_Result AAX_CEffectParameters::GetParameterType (AAX_CParamID iParameterID, AAX_EParameterType* oParameterType) const
{
    return ReadParameter (iParameterID, oParameterType, [] (const AAX_IParameter& p) { return p.GetType(); });
}

AAX_Result AAX_CEffectParameters::GetParameterOrientation (AAX_CParamID iParameterID, AAX_EParameterOrientation* oParameterOrientation) const
{
    return ReadParameter (iParameterID, oParameterOrientation, [] (const AAX_IParameter& p) { return p.GetOrientation(); });
}

AAX_Result AAX_CEffectParameters::GetParameter (AAX_CParamID iParameterID, AAX_IParameter** oParameter)
{
    if (oParameter == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    *oParameter = FindParameter (iParameterID);
    return *oParameter != nullptr ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex (AAX_CParamID iParameterID, int32_t* oControlIndex) const
{
    if (oControlIndex == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    *oControlIndex = mParameterManager.GetParameterIndex (iParameterID);
    return *oControlIndex >= 0 ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex (int32_t iControlIndex, AAX_IString* oParameterIDString) const
{
    if (oParameterIDString == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    const AAX_IParameter* parameter = mParameterManager.GetParameterByIndex (iControlIndex);

    if (parameter == nullptr)
    {
        oParameterIDString->Set ("");
        return AAX_ERROR_INVALID_PARAMETER_ID;
    }

    oParameterIDString->Set (parameter->Identifier());
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterValueInfo (AAX_CParamID, int32_t, int32_t* oValue) const
{
    if (oValue != nullptr)
        *oValue = 0;

    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString (AAX_CParamID iParameterID, double* oValue, const AAX_IString& iValueString) const
{
    const AAX_IParameter* parameter = FindParameter (iParameterID);

    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    double normalized = 0.0;

    if (! parameter->GetNormalizedValueFromString (AAX_CString (iValueString), &normalized))
        return AAX_ERROR_INVALID_STRING_CONVERSION;

    if (oValue == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    *oValue = normalized;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue (AAX_CParamID iParameterID, double iValue, AAX_IString* oValueString, int32_t iMaxLength) const
{
    const AAX_IParameter* parameter = FindParameter (iParameterID);

    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    AAX_CString text;

    if (! parameter->GetStringFromNormalizedValue (iValue, iMaxLength, text))
        return AAX_ERROR_INVALID_STRING_CONVERSION;

    if (oValueString == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    oValueString->Set (text.Get());
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterValueString (AAX_CParamID iParameterID, AAX_IString* oValueString, int32_t iMaxLength) const
{
    const AAX_IParameter* parameter = FindParameter (iParameterID);

    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    AAX_CString text;

    if (! parameter->GetValueString (iMaxLength, &text))
        return AAX_ERROR_INVALID_STRING_CONVERSION;

    if (oValueString == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    oValueString->Set (text.Get());
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue (AAX_CParamID iParameterID, double* oValuePtr) const
{
    return ReadParameter (iParameterID, oValuePtr, [] (const AAX_IParameter& p) { return p.GetNormalizedValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue (AAX_CParamID iParameterID, double iValue)
{
    return ChangeParameter (iParameterID, [=] (AAX_IParameter& p) { p.SetNormalizedValue (iValue); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative (AAX_CParamID iParameterID, double iValue)
{
    double oldValue = 0.0;
    const AAX_Result result = GetParameterNormalizedValue (iParameterID, &oldValue);

    if (result != AAX_SUCCESS)
        return result;

    return SetParameterNormalizedValue (iParameterID, ClampToUnit (oldValue + iValue));
}

//==============================================================================
AAX_Result AAX_CEffectParameters::TouchParameter (AAX_CParamID iParameterID)
{
    return ChangeParameter (iParameterID, [] (AAX_IParameter& p) { p.Touch(); });
}

AAX_Result AAX_CEffectParameters::ReleaseParameter (AAX_CParamID iParameterID)
{
    return ChangeParameter (iParameterID, [] (AAX_IParameter& p) { p.Release(); });
}

AAX_Result AAX_CEffectParameters::UpdateParameterTouch (AAX_CParamID, AAX_CBoolean)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue (AAX_CParamID iParameterID, double iValue, AAX_EUpdateSource)
{
    AAX_IParameter* parameter = FindParameter (iParameterID);

    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;

    const double oldValue = parameter->GetNormalizedValue();
    parameter->UpdateNormalizedValue (iValue);
    const AAX_Result result = mPacketDispatcher.SetDirty (iParameterID, true);

    if (oldValue != iValue)
        ++mNumPlugInChanges;

    return result;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative (AAX_CParamID iParameterID, double iValue)
{
    double oldValue = 0.0;
    const AAX_Result result = GetParameterNormalizedValue (iParameterID, &oldValue);

    if (result != AAX_SUCCESS)
        return result;

    return UpdateParameterNormalizedValue (iParameterID, ClampToUnit (oldValue + iValue), 0);
}

//==============================================================================
AAX_Result AAX_CEffectParameters::GenerateCoefficients()
{
    return mPacketDispatcher.Dispatch();
}

AAX_Result AAX_CEffectParameters::ResetFieldData (AAX_CFieldIndex, void* oData, uint32_t inDataSize) const
{
    if (oData != nullptr)
        std::memset (oData, 0, inDataSize);

    return AAX_SUCCESS;
}

//==============================================================================
AAX_Result AAX_CEffectParameters::GetNumberOfChunks (int32_t* oNumChunks) const
{
    if (oNumChunks == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    *oNumChunks = 1;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex (int32_t iIndex, AAX_CTypeID* oChunkID) const
{
    if (oChunkID == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    if (iIndex != 0)
    {
        *oChunkID = 0;
        return AAX_ERROR_INVALID_CHUNK_INDEX;
    }

    *oChunkID = kControlsChunkID;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkSize (AAX_CTypeID iChunkID, uint32_t* oSize) const
{
    if (oSize == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    if (iChunkID != kControlsChunkID)
    {
        *oSize = 0;
        return AAX_ERROR_INVALID_CHUNK_ID;
    }

    BuildChunkData();
    const int32_t size = mChunkParser.GetChunkDataSize();
    mChunkSize = size;

    if (size < 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;

    *oSize = static_cast<uint32_t> (size);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunk (AAX_CTypeID iChunkID, AAX_SPlugInChunk* oChunk) const
{
    if (iChunkID != kControlsChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;

    if (oChunk == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    // The host sized the chunk from GetChunkSize(); data of another size would not fit.
    BuildChunkData();

    if (mChunkParser.GetChunkDataSize() != mChunkSize || mChunkSize == 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;

    oChunk->fVersion = mChunkParser.GetChunkVersion();
    std::memset (oChunk->fName, 0, sizeof (oChunk->fName));
    std::strncpy (oChunk->fName, kControlsChunkName, sizeof (oChunk->fName) - 1);

    return mChunkParser.GetChunkData (oChunk, mChunkSize);
}

AAX_Result AAX_CEffectParameters::SetChunk (AAX_CTypeID iChunkID, const AAX_SPlugInChunk* iChunk)
{
    if (iChunkID != kControlsChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;

    mChunkParser.LoadChunk (iChunk);

    // A stored NaN or infinity names no value: the parameter keeps its own,
    // as when the chunk has no entry for it, and nothing else of the chunk
    // is refused. (A finite number beyond a float's range is still limited
    // by the parameter's taper.)
    int32_t numNonFinite = 0;
    const auto finite = [&numNonFinite] (double value)
    {
        const bool isFinite = std::isfinite (value);
        numNonFinite += isFinite ? 0 : 1;
        return isFinite;
    };

    const int32_t numParameters = mParameterManager.NumParameters();

    for (int32_t index = 0; index < numParameters; ++index)
    {
        AAX_IParameter* parameter = mParameterManager.GetParameterByIndex (index);

        if (parameter == nullptr || IsFiltered (parameter->Identifier()))
            continue;

        const char* id = parameter->Identifier();
        float floatValue = 0.0f;
        int32_t intValue = 0;
        bool boolValue = false;
        double doubleValue = 0.0;
        AAX_CString stringValue;

        if (parameter->GetValueAsFloat (&floatValue))
        {
            if (mChunkParser.FindDouble (id, &doubleValue) && finite (doubleValue))
                parameter->SetValueWithFloat (NarrowToFloat (doubleValue));
        }
        else if (parameter->GetValueAsInt32 (&intValue))
        {
            if (mChunkParser.FindInt32 (id, &intValue))
                parameter->SetValueWithInt32 (intValue);
        }
        else if (parameter->GetValueAsBool (&boolValue))
        {
            if (mChunkParser.FindInt32 (id, &intValue))
                parameter->SetValueWithBool (intValue != 0);
        }
        else if (parameter->GetValueAsDouble (&doubleValue))
        {
            if (mChunkParser.FindDouble (id, &doubleValue) && finite (doubleValue))
                parameter->SetValueWithDouble (doubleValue);
        }
        else if (parameter->GetValueAsString (&stringValue))
        {
            if (mChunkParser.FindString (id, &stringValue))
                parameter->SetValueWithString (stringValue);
        }
    }

    if (numNonFinite > 0)
        AAX_CHostServices::Trace (AAX_eTracePriority_Normal,
                                  "SetChunk 'elck': %d values that are not finite ignored", static_cast<int> (numNonFinite));

    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk (const AAX_SPlugInChunk* iChunkP, AAX_CBoolean* oIsEqual) const
{
    if (oIsEqual == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    // Only the controls chunk is compared; every other chunk counts as equal.
    if (iChunkP == nullptr || iChunkP->fChunkID != kControlsChunkID)
    {
        *oIsEqual = 1;
        return AAX_SUCCESS;
    }

    mChunkParser.LoadChunk (iChunkP);

    bool allMatch = true;

    ForEachChunkedParameter (mParameterManager.NumParameters(), kCompareMissingParameterLine,
                             [&] (const AAX_IParameter* parameter, const char* id)
    {
        float floatValue = 0.0f;
        int32_t intValue = 0;
        bool boolValue = false;
        double doubleValue = 0.0;
        AAX_CString stringValue;
        bool matches = true;

        if (parameter->GetValueAsFloat (&floatValue))
        {
            double stored = 0.0;
            matches = mChunkParser.FindDouble (id, &stored) && NarrowToFloat (stored) == floatValue;
        }
        else if (parameter->GetValueAsInt32 (&intValue))
        {
            int32_t stored = 0;
            matches = mChunkParser.FindInt32 (id, &stored) && stored == intValue;
        }
        else if (parameter->GetValueAsBool (&boolValue))
        {
            int32_t stored = 0;
            matches = mChunkParser.FindInt32 (id, &stored) && (stored != 0) == boolValue;
        }
        else if (parameter->GetValueAsDouble (&doubleValue))
        {
            double stored = 0.0;
            matches = mChunkParser.FindDouble (id, &stored) && NarrowToFloat (stored) == NarrowToFloat (doubleValue);
        }
        else if (parameter->GetValueAsString (&stringValue))
        {
            AAX_CString stored;
            matches = mChunkParser.FindString (id, &stored) && stored == stringValue;
        }

        allMatch = matches;
        return matches;
    });

    *oIsEqual = allMatch ? 1 : 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges (int32_t* oNumChanges) const
{
    if (oNumChanges != nullptr && mNumPlugInChanges >= 0)
        *oNumChanges = mNumPlugInChanges;

    return AAX_SUCCESS;
}

void AAX_CEffectParameters::BuildChunkData() const
{
    mChunkParser.Clear();

    int32_t numParameters = 0;
    GetNumberOfParameters (&numParameters);

    ForEachChunkedParameter (numParameters, kBuildMissingParameterLine,
                             [this] (const AAX_IParameter* parameter, const char* id)
    {
        float floatValue = 0.0f;
        int32_t intValue = 0;
        bool boolValue = false;
        double doubleValue = 0.0;
        AAX_CString stringValue;

        if (parameter->GetValueAsFloat (&floatValue))
            mChunkParser.AddDouble (id, static_cast<double> (floatValue));
        else if (parameter->GetValueAsInt32 (&intValue))
            mChunkParser.AddInt32 (id, intValue);
        else if (parameter->GetValueAsBool (&boolValue))
            mChunkParser.AddInt32 (id, boolValue ? 1 : 0);
        else if (parameter->GetValueAsDouble (&doubleValue))
            mChunkParser.AddDouble (id, doubleValue);
        else if (parameter->GetValueAsString (&stringValue))
            mChunkParser.AddString (id, stringValue);

        return true;
    });
}

//==============================================================================
AAX_Result AAX_CEffectParameters::TimerWakeup()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetCurveData (AAX_CTypeID, const float*, uint32_t, float*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCustomData (AAX_CTypeID, uint32_t, void*, uint32_t* oDataWritten) const
{
    if (oDataWritten != nullptr)
        *oDataWritten = 0;

    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetCustomData (AAX_CTypeID, uint32_t, const void*)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::DoMIDITransfers()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::RenderAudio_Hybrid (AAX_SHybridRenderInfo*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdateMIDINodes (AAX_CFieldIndex, AAX_CMidiPacket&)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateControlMIDINodes (AAX_CTypeID, AAX_CMidiPacket&)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetCurveDataMeterIds (AAX_CTypeID, uint32_t*, uint32_t*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCurveDataDisplayRange (AAX_CTypeID, float*, float*, float*, float*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdatePageTable (uint32_t inTableType, int32_t inTablePageSize,
                                                   IACFUnknown*, IACFUnknown* ioPageTableUnknown) const
{
    AAX_VPageTable pageTable (ioPageTableUnknown);

    if (! pageTable.IsSupported())
        return AAX_SUCCESS;

    return UpdatePageTable (inTableType, inTablePageSize, pageTable);
}

AAX_Result AAX_CEffectParameters::UpdatePageTable (uint32_t, int32_t, AAX_IPageTable&) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

//==============================================================================
acfResult AAX_CEffectParameters::InternalQueryInterface (const acfIID& iid, void** ppOut)
{
    if (ppOut == nullptr)
        return ACF_E_UNEXPECTED;

    if (iid == IID_IAAXEffectParametersV1 || iid == IID_IAAXEffectParametersV2
         || iid == IID_IAAXEffectParametersV3 || iid == IID_IAAXEffectParametersV4)
    {
        *ppOut = static_cast<AAX_IACFEffectParameters_V4*> (this);
        AddRef();
        return ACF_OK;
    }

    return CACFUnknown::InternalQueryInterface (iid, ppOut);
}

AAX_Result AAX_CEffectParameters::EffectInit()
{
    return AAX_SUCCESS;
}
