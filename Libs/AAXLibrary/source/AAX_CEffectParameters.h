#pragma once

#include "AAX.h"
#include "AAX_CChunkDataParser.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_CParameterManager.h"
#include "AAX_IEffectParameters.h"

#include <cstdint>
#include <set>
#include <string>

class AAX_IAutomationDelegate;
class AAX_IController;
class AAX_IPageTable;
class AAX_ITransport;

/** ID of the host's master-bypass parameter. */
extern const char* const cDefaultMasterBypassID;
/** ID of the preview parameter switched by the host's preview notification. */
extern const char* const cPreviewID;

/** Four-character code of the controls chunk, 'elck'. */
constexpr AAX_CTypeID kControlsChunkID = 0x656C636Bu;
/** Host notification that switches the preview parameter, 'ASPv'. */
constexpr AAX_CTypeID kPreviewStateNotification = 0x41535076u;

/**
    The per-instance object through which the host initialises the effect,
    reads and writes its parameters, saves and restores its settings and
    has its packets generated.

    It owns the parameters (through its parameter manager), the packet
    dispatcher and the chunk parser, and wraps the host's controller,
    automation and transport from Initialize() to Uninitialize(). A derived
    class creates the parameters in EffectInit().
*/
class AAX_CEffectParameters : public AAX_IEffectParameters
{
public:
    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    AAX_CEffectParameters (const AAX_CEffectParameters&) = delete;
    AAX_CEffectParameters& operator= (const AAX_CEffectParameters&) = delete;

    // Life cycle
    AAX_Result Initialize (IACFUnknown* iController) override;
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived (AAX_CTypeID inNotificationType, const void* inNotificationData, uint32_t inNotificationDataSize) override;

    // Parameters
    AAX_Result GetNumberOfParameters (int32_t* oNumControls) const override;
    AAX_Result GetMasterBypassParameter (AAX_IString* oIDString) const override;
    AAX_Result GetParameterIsAutomatable (AAX_CParamID iParameterID, AAX_CBoolean* oAutomatable) const override;
    AAX_Result GetParameterNumberofSteps (AAX_CParamID iParameterID, int32_t* oNumSteps) const override;
    AAX_Result GetParameterName (AAX_CParamID iParameterID, AAX_IString* oName) const override;
    AAX_Result GetParameterNameOfLength (AAX_CParamID iParameterID, AAX_IString* oName, int32_t iNameLength) const override;
    AAX_Result GetParameterDefaultNormalizedValue (AAX_CParamID iParameterID, double* oValue) const override;
    AAX_Result SetParameterDefaultNormalizedValue (AAX_CParamID iParameterID, double iValue) override;
    AAX_Result GetParameterType (AAX_CParamID iParameterID, AAX_EParameterType* oParameterType) const override;
    AAX_Result GetParameterOrientation (AAX_CParamID iParameterID, AAX_EParameterOrientation* oParameterOrientation) const override;
    AAX_Result GetParameter (AAX_CParamID iParameterID, AAX_IParameter** oParameter) override;
    AAX_Result GetParameterIndex (AAX_CParamID iParameterID, int32_t* oControlIndex) const override;
    AAX_Result GetParameterIDFromIndex (int32_t iControlIndex, AAX_IString* oParameterIDString) const override;
    AAX_Result GetParameterValueInfo (AAX_CParamID iParameterID, int32_t iSelector, int32_t* oValue) const override;
    AAX_Result GetParameterValueFromString (AAX_CParamID iParameterID, double* oValue, const AAX_IString& iValueString) const override;
    AAX_Result GetParameterStringFromValue (AAX_CParamID iParameterID, double iValue, AAX_IString* oValueString, int32_t iMaxLength) const override;
    AAX_Result GetParameterValueString (AAX_CParamID iParameterID, AAX_IString* oValueString, int32_t iMaxLength) const override;
    AAX_Result GetParameterNormalizedValue (AAX_CParamID iParameterID, double* oValuePtr) const override;
    AAX_Result SetParameterNormalizedValue (AAX_CParamID iParameterID, double iValue) override;
    AAX_Result SetParameterNormalizedRelative (AAX_CParamID iParameterID, double iValue) override;

    // Automation
    AAX_Result TouchParameter (AAX_CParamID iParameterID) override;
    AAX_Result ReleaseParameter (AAX_CParamID iParameterID) override;
    AAX_Result UpdateParameterTouch (AAX_CParamID iParameterID, AAX_CBoolean iTouchState) override;
    AAX_Result UpdateParameterNormalizedValue (AAX_CParamID iParameterID, double iValue, AAX_EUpdateSource iSource) override;
    AAX_Result UpdateParameterNormalizedRelative (AAX_CParamID iParameterID, double iValue) override;

    // Packets and fields
    AAX_Result GenerateCoefficients() override;
    AAX_Result ResetFieldData (AAX_CFieldIndex inFieldIndex, void* oData, uint32_t inDataSize) const override;

    // Chunks
    AAX_Result GetNumberOfChunks (int32_t* oNumChunks) const override;
    AAX_Result GetChunkIDFromIndex (int32_t iIndex, AAX_CTypeID* oChunkID) const override;
    AAX_Result GetChunkSize (AAX_CTypeID iChunkID, uint32_t* oSize) const override;
    AAX_Result GetChunk (AAX_CTypeID iChunkID, AAX_SPlugInChunk* oChunk) const override;
    AAX_Result SetChunk (AAX_CTypeID iChunkID, const AAX_SPlugInChunk* iChunk) override;
    AAX_Result CompareActiveChunk (const AAX_SPlugInChunk* iChunkP, AAX_CBoolean* oIsEqual) const override;
    AAX_Result GetNumberOfChanges (int32_t* oNumChanges) const override;

    // Everything else the host may ask for
    AAX_Result TimerWakeup() override;
    AAX_Result GetCurveData (AAX_CTypeID iCurveType, const float* iValues, uint32_t iNumValues, float* oValues) const override;
    AAX_Result GetCustomData (AAX_CTypeID iDataBlockID, uint32_t inDataSize, void* oData, uint32_t* oDataWritten) const override;
    AAX_Result SetCustomData (AAX_CTypeID iDataBlockID, uint32_t inDataSize, const void* iData) override;
    AAX_Result DoMIDITransfers() override;
    AAX_Result RenderAudio_Hybrid (AAX_SHybridRenderInfo* ioRenderInfo) override;
    AAX_Result UpdateMIDINodes (AAX_CFieldIndex inFieldIndex, AAX_CMidiPacket& iPacket) override;
    AAX_Result UpdateControlMIDINodes (AAX_CTypeID nodeID, AAX_CMidiPacket& iPacket) override;
    AAX_Result GetCurveDataMeterIds (AAX_CTypeID iCurveType, uint32_t* oXMeterId, uint32_t* oYMeterId) const override;
    AAX_Result GetCurveDataDisplayRange (AAX_CTypeID iCurveType, float* oXMin, float* oXMax, float* oYMin, float* oYMax) const override;
    AAX_Result UpdatePageTable (uint32_t inTableType, int32_t inTablePageSize,
                                IACFUnknown* iHostUnknown, IACFUnknown* ioPageTableUnknown) const override;

    acfResult InternalQueryInterface (const acfIID& iid, void** ppOut) override;

    /** Creates the effect's parameters; called by Initialize(). */
    virtual AAX_Result EffectInit();

    /** The page-table update with the host's table wrapped; nothing to do here. */
    virtual AAX_Result UpdatePageTable (uint32_t inTableType, int32_t inTablePageSize, AAX_IPageTable& ioPageTable) const;

    AAX_IController* Controller() { return mController; }
    const AAX_IController* Controller() const { return mController; }
    AAX_ITransport* Transport() { return mTransport; }
    const AAX_ITransport* Transport() const { return mTransport; }

    /** Leaves the parameter out of the controls chunk. */
    void FilterParameterIDOnSave (AAX_CParamID parameterID);

protected:
    /** Refills the chunk parser with the values of every parameter that is
        not filtered. */
    void BuildChunkData() const;

    int32_t mNumPlugInChanges = 0;
    mutable int32_t mChunkSize = 0;
    mutable AAX_CChunkDataParser mChunkParser;
    int32_t mNumChunkedParameters = 0;
    AAX_CPacketDispatcher mPacketDispatcher;
    AAX_CParameterManager mParameterManager;
    std::set<std::string> mFilteredParameters;
    AAX_IController* mController = nullptr;
    AAX_ITransport* mTransport = nullptr;
    AAX_IAutomationDelegate* mAutomationDelegate = nullptr;

private:
    const AAX_IParameter* FindParameter (AAX_CParamID parameterID) const;
    AAX_IParameter* FindParameter (AAX_CParamID parameterID);

    /** The shape of most getter slots: a null out pointer gives -20044, an ID
        that names no parameter -20001, otherwise `*out = read (parameter)`. */
    template <typename Value, typename Read>
    AAX_Result ReadParameter (AAX_CParamID parameterID, Value* out, Read&& read) const
    {
        if (out == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;

        const AAX_IParameter* parameter = FindParameter (parameterID);

        if (parameter == nullptr)
            return AAX_ERROR_INVALID_PARAMETER_ID;

        *out = read (*parameter);
        return AAX_SUCCESS;
    }

    /** The shape of most setter slots: an ID that names no parameter gives
        -20001, otherwise `change (parameter)` runs. */
    template <typename Change>
    AAX_Result ChangeParameter (AAX_CParamID parameterID, Change&& change)
    {
        AAX_IParameter* parameter = FindParameter (parameterID);

        if (parameter == nullptr)
            return AAX_ERROR_INVALID_PARAMETER_ID;

        change (*parameter);
        return AAX_SUCCESS;
    }
    bool IsFiltered (AAX_CParamID parameterID) const;

    /** Calls `visit (parameter, id)` for each of the first `numParameters`
        parameters that the controls chunk holds (filtered IDs are skipped), in
        order, until it returns false. A missing parameter is reported as an
        assertion failure at `missingLine` and skipped. */
    template <typename Visit>
    void ForEachChunkedParameter (int32_t numParameters, int32_t missingLine, Visit&& visit) const;
    void DeleteHostWrappers();
};
