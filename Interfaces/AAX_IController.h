// The library's view of the host's controller for one effect instance:
// instance facts (sample rate, stem formats, latency), packet posting,
// notifications, meters, MIDI and page-table copies. Implemented by
// AAX_VController; an operation whose host version is missing returns the
// documented fallback result instead of failing hard.
#pragma once

#include "AAX.h"

class AAX_IString;
class AAX_IPageTable;

class AAX_IController
{
public:
    virtual ~AAX_IController() = default;

    // Instance facts and packets
    virtual AAX_Result GetEffectID (AAX_IString* outEffectID) const = 0;
    virtual AAX_Result GetSampleRate (AAX_CSampleRate* outSampleRate) const = 0;
    virtual AAX_Result GetInputStemFormat (AAX_EStemFormat* outStemFormat) const = 0;
    virtual AAX_Result GetOutputStemFormat (AAX_EStemFormat* outStemFormat) const = 0;
    virtual AAX_Result GetSignalLatency (int32_t* outSamples) const = 0;
    virtual AAX_Result GetCycleCount (AAX_EProperty inWhichCycleCount, AAX_CPropertyValue* outValue) const = 0;
    virtual AAX_Result GetTODLocation (AAX_CTimeOfDay* outTODLocation) const = 0;
    virtual AAX_Result SetSignalLatency (int32_t inNumSamples) = 0;
    virtual AAX_Result SetCycleCount (AAX_EProperty* inWhichCycleCounts, AAX_CPropertyValue* iValues, int32_t numValues) = 0;
    virtual AAX_Result PostPacket (AAX_CFieldIndex inFieldIndex, const void* inPayload, uint32_t inPayloadSize) = 0;

    // Notifications (host version 2)
    virtual AAX_Result SendNotification (AAX_CTypeID inNotificationType, const void* inNotificationData, uint32_t inNotificationDataSize) = 0;
    virtual AAX_Result SendNotification (AAX_CTypeID inNotificationType) = 0;

    // Meters and MIDI
    virtual AAX_Result GetCurrentMeterValue (AAX_CTypeID inMeterID, float* outMeterValue) const = 0;
    virtual AAX_Result GetMeterPeakValue (AAX_CTypeID inMeterID, float* outMeterPeakValue) const = 0;
    virtual AAX_Result ClearMeterPeakValue (AAX_CTypeID inMeterID) const = 0;
    virtual AAX_Result GetMeterCount (uint32_t* outMeterCount) const = 0;
    virtual AAX_Result GetMeterClipped (AAX_CTypeID inMeterID, AAX_CBoolean* outClipped) const = 0;
    virtual AAX_Result ClearMeterClipped (AAX_CTypeID inMeterID) const = 0;
    virtual AAX_Result GetNextMIDIPacket (AAX_CFieldIndex* outPort, AAX_CMidiPacket* outPacket) = 0;

    // Host version 2
    virtual AAX_Result GetHybridSignalLatency (int32_t* outSamples) const = 0;
    virtual AAX_Result GetCurrentAutomationTimestamp (AAX_CTransportCounter* outTimestamp) const = 0;
    virtual AAX_Result GetHostName (AAX_IString* outHostNameString) const = 0;

    // Host version 3
    virtual AAX_Result GetPlugInTargetPlatform (AAX_ETargetPlatform* outTargetPlatform) const = 0;
    virtual AAX_Result GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const = 0;

    // Page-table copies (host versions 4 and 5); the caller owns the result.
    virtual AAX_IPageTable* CreateTableCopyForEffect (AAX_CPropertyValue inManufacturerID,
                                                      AAX_CPropertyValue inProductID,
                                                      AAX_CPropertyValue inPlugInID,
                                                      uint32_t inTableType,
                                                      int32_t inTablePageSize) const = 0;
    virtual AAX_IPageTable* CreateTableCopyForLayout (const char* inEffectID,
                                                      const char* inLayoutName,
                                                      uint32_t inTableType,
                                                      int32_t inTablePageSize) const = 0;
    virtual AAX_IPageTable* CreateTableCopyForEffectFromFile (const char* inPageTableFilePath,
                                                              int32_t inFilePathEncoding,
                                                              AAX_CPropertyValue inManufacturerID,
                                                              AAX_CPropertyValue inProductID,
                                                              AAX_CPropertyValue inPlugInID,
                                                              uint32_t inTableType,
                                                              int32_t inTablePageSize) const = 0;
    virtual AAX_IPageTable* CreateTableCopyForLayoutFromFile (const char* inPageTableFilePath,
                                                              int32_t inFilePathEncoding,
                                                              const char* inLayoutName,
                                                              uint32_t inTableType,
                                                              int32_t inTablePageSize) const = 0;
};
