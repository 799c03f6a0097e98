#include "AAX_VController.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VPageTable.h"

AAX_VController::AAX_VController (IACFUnknown* controllerUnknown)
    : mComponentFactory (QueryACFInterface<IACFComponentFactory> (controllerUnknown, IID_IACFComponentFactory)),
      mIController   (QueryACFInterface<AAX_IACFController>    (controllerUnknown, IID_IAAXControllerV1)),
      mIControllerV2 (QueryACFInterface<AAX_IACFController_V2> (controllerUnknown, IID_IAAXControllerV2)),
      mIControllerV3 (QueryACFInterface<AAX_IACFController_V3> (controllerUnknown, IID_IAAXControllerV3)),
      mIControllerV4 (QueryACFInterface<AAX_IACFController_V4> (controllerUnknown, IID_IAAXControllerV4)),
      mIControllerV5 (QueryACFInterface<AAX_IACFController_V5> (controllerUnknown, IID_IAAXControllerV5))
{
}

AAX_VController::~AAX_VController() = default;

#define AAX_FORWARD_TO_V1(call)                 \
    if (! mIController)                         \
        return AAX_ERROR_NULL_OBJECT;           \
    return mIController->call

#define AAX_FORWARD_TO(pointer, call)           \
    if (! pointer)                              \
        return AAX_ERROR_UNIMPLEMENTED;         \
    return pointer->call

// ---------------------------------------------------------------------------
// Version 1

AAX_Result AAX_VController::GetEffectID (AAX_IString* outEffectID) const                 { AAX_FORWARD_TO_V1 (GetEffectID (outEffectID)); }
AAX_Result AAX_VController::GetSampleRate (AAX_CSampleRate* outSampleRate) const         { AAX_FORWARD_TO_V1 (GetEPOCHSampleRate (outSampleRate)); }
AAX_Result AAX_VController::GetInputStemFormat (AAX_EStemFormat* outStemFormat) const    { AAX_FORWARD_TO_V1 (GetEPOCHInputStemFormat (outStemFormat)); }
AAX_Result AAX_VController::GetOutputStemFormat (AAX_EStemFormat* outStemFormat) const   { AAX_FORWARD_TO_V1 (GetEPOCHOutputStemFormat (outStemFormat)); }
AAX_Result AAX_VController::GetSignalLatency (int32_t* outSamples) const                 { AAX_FORWARD_TO_V1 (GetSignalLatency (outSamples)); }

AAX_Result AAX_VController::GetCycleCount (AAX_EProperty inWhichCycleCount, AAX_CPropertyValue* outValue) const
{
    AAX_FORWARD_TO_V1 (GetCycleCount (inWhichCycleCount, outValue));
}

AAX_Result AAX_VController::GetTODLocation (AAX_CTimeOfDay* outTODLocation) const { AAX_FORWARD_TO_V1 (GetTODLocation (outTODLocation)); }
AAX_Result AAX_VController::SetSignalLatency (int32_t inNumSamples)              { AAX_FORWARD_TO_V1 (SetSignalLatency (inNumSamples)); }

AAX_Result AAX_VController::SetCycleCount (AAX_EProperty* inWhichCycleCounts, AAX_CPropertyValue* iValues, int32_t numValues)
{
    AAX_FORWARD_TO_V1 (SetCycleCount (inWhichCycleCounts, iValues, numValues));
}

AAX_Result AAX_VController::PostPacket (AAX_CFieldIndex inFieldIndex, const void* inPayload, uint32_t inPayloadSize)
{
    AAX_FORWARD_TO_V1 (PostPacket (inFieldIndex, inPayload, inPayloadSize));
}

AAX_Result AAX_VController::GetCurrentMeterValue (AAX_CTypeID inMeterID, float* outMeterValue) const
{
    AAX_FORWARD_TO_V1 (GetCurrentMeterValue (inMeterID, outMeterValue));
}

AAX_Result AAX_VController::GetMeterPeakValue (AAX_CTypeID inMeterID, float* outMeterPeakValue) const
{
    AAX_FORWARD_TO_V1 (GetMeterPeakValue (inMeterID, outMeterPeakValue));
}

AAX_Result AAX_VController::ClearMeterPeakValue (AAX_CTypeID inMeterID) const { AAX_FORWARD_TO_V1 (ClearMeterPeakValue (inMeterID)); }
AAX_Result AAX_VController::GetMeterCount (uint32_t* outMeterCount) const     { AAX_FORWARD_TO_V1 (GetMeterCount (outMeterCount)); }

AAX_Result AAX_VController::GetMeterClipped (AAX_CTypeID inMeterID, AAX_CBoolean* outClipped) const
{
    AAX_FORWARD_TO_V1 (GetMeterClipped (inMeterID, outClipped));
}

AAX_Result AAX_VController::ClearMeterClipped (AAX_CTypeID inMeterID) const { AAX_FORWARD_TO_V1 (ClearMeterClipped (inMeterID)); }

AAX_Result AAX_VController::GetNextMIDIPacket (AAX_CFieldIndex* outPort, AAX_CMidiPacket* outPacket)
{
    AAX_FORWARD_TO_V1 (GetNextMIDIPacket (outPort, outPacket));
}

// ---------------------------------------------------------------------------
// Versions 2 and 3

AAX_Result AAX_VController::SendNotification (AAX_CTypeID inNotificationType, const void* inNotificationData, uint32_t inNotificationDataSize)
{
    AAX_FORWARD_TO (mIControllerV2, SendNotification (inNotificationType, inNotificationData, inNotificationDataSize));
}

AAX_Result AAX_VController::SendNotification (AAX_CTypeID inNotificationType)
{
    return SendNotification (inNotificationType, nullptr, 0);
}

AAX_Result AAX_VController::GetHybridSignalLatency (int32_t* outSamples) const
{
    AAX_FORWARD_TO (mIControllerV2, GetHybridSignalLatency (outSamples));
}

AAX_Result AAX_VController::GetCurrentAutomationTimestamp (AAX_CTransportCounter* outTimestamp) const
{
    if (! mIControllerV2)
    {
        if (outTimestamp != nullptr)
            *outTimestamp = 0;
        return AAX_ERROR_UNIMPLEMENTED;
    }
    return mIControllerV2->GetCurrentAutomationTimestamp (outTimestamp);
}

AAX_Result AAX_VController::GetHostName (AAX_IString* outHostNameString) const
{
    AAX_FORWARD_TO (mIControllerV2, GetHostName (outHostNameString));
}

AAX_Result AAX_VController::GetPlugInTargetPlatform (AAX_ETargetPlatform* outTargetPlatform) const
{
    AAX_FORWARD_TO (mIControllerV3, GetPlugInTargetPlatform (outTargetPlatform));
}

AAX_Result AAX_VController::GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const
{
    AAX_FORWARD_TO (mIControllerV3, GetIsAudioSuite (outIsAudioSuite));
}

#undef AAX_FORWARD_TO_V1
#undef AAX_FORWARD_TO

// ---------------------------------------------------------------------------
// Versions 4 and 5: page-table copies

AAX_IPageTable* AAX_VController::CreateFilledPageTable (const std::function<AAX_Result (IACFUnknown*)>& fill) const
{
    // The host table is released when this function returns; the wrapper
    // holds its own references.
    auto hostTable = CreateACFComponent<IACFUnknown> (mComponentFactory.get(), AAXCompID_PageTable, IID_IAAXPageTableV1);
    if (! hostTable)
        return nullptr;

    if (fill (hostTable.get()) != AAX_SUCCESS)
        return nullptr;

    return new AAX_VPageTable (hostTable.get());
}

AAX_IPageTable* AAX_VController::CreateTableCopyForEffect (AAX_CPropertyValue inManufacturerID,
                                                           AAX_CPropertyValue inProductID,
                                                           AAX_CPropertyValue inPlugInID,
                                                           uint32_t inTableType,
                                                           int32_t inTablePageSize) const
{
    if (! mIControllerV4)
        return nullptr;

    return CreateFilledPageTable ([&] (IACFUnknown* table)
    {
        return mIControllerV4->CreateTableCopyForEffect (inManufacturerID, inProductID, inPlugInID, inTableType, inTablePageSize, table);
    });
}

AAX_IPageTable* AAX_VController::CreateTableCopyForLayout (const char* inEffectID,
                                                           const char* inLayoutName,
                                                           uint32_t inTableType,
                                                           int32_t inTablePageSize) const
{
    if (! mIControllerV4)
        return nullptr;

    return CreateFilledPageTable ([&] (IACFUnknown* table)
    {
        return mIControllerV4->CreateTableCopyForLayout (inEffectID, inLayoutName, inTableType, inTablePageSize, table);
    });
}

AAX_IPageTable* AAX_VController::CreateTableCopyForEffectFromFile (const char* inPageTableFilePath,
                                                                   int32_t inFilePathEncoding,
                                                                   AAX_CPropertyValue inManufacturerID,
                                                                   AAX_CPropertyValue inProductID,
                                                                   AAX_CPropertyValue inPlugInID,
                                                                   uint32_t inTableType,
                                                                   int32_t inTablePageSize) const
{
    if (! mIControllerV5)
        return nullptr;

    return CreateFilledPageTable ([&] (IACFUnknown* table)
    {
        return mIControllerV5->CreateTableCopyForEffectFromFile (inPageTableFilePath, inFilePathEncoding, inManufacturerID,
                                                                 inProductID, inPlugInID, inTableType, inTablePageSize, table);
    });
}

AAX_IPageTable* AAX_VController::CreateTableCopyForLayoutFromFile (const char* inPageTableFilePath,
                                                                   int32_t inFilePathEncoding,
                                                                   const char* inLayoutName,
                                                                   uint32_t inTableType,
                                                                   int32_t inTablePageSize) const
{
    if (! mIControllerV5)
        return nullptr;

    return CreateFilledPageTable ([&] (IACFUnknown* table)
    {
        return mIControllerV5->CreateTableCopyForLayoutFromFile (inPageTableFilePath, inFilePathEncoding, inLayoutName,
                                                                 inTableType, inTablePageSize, table);
    });
}
