// The host's controller interface for one effect instance in its five
// versions, asked of the controller unknown by QueryInterface. Versions 4
// and 5 fill a page table that the caller made with the host's component
// factory (component AAXCompID_PageTable).
#pragma once

#include "IACFUnknown.h"

class AAX_IString;

class AAX_IACFController : public IACFUnknown
{
public:
    virtual AAX_Result GetEffectID (AAX_IString* outEffectID) const = 0;
    virtual AAX_Result GetEPOCHSampleRate (AAX_CSampleRate* outSampleRate) const = 0;
    virtual AAX_Result GetEPOCHInputStemFormat (AAX_EStemFormat* outStemFormat) const = 0;
    virtual AAX_Result GetEPOCHOutputStemFormat (AAX_EStemFormat* outStemFormat) const = 0;
    virtual AAX_Result GetSignalLatency (int32_t* outSamples) const = 0;
    virtual AAX_Result GetCycleCount (AAX_EProperty inWhichCycleCount, AAX_CPropertyValue* outValue) const = 0;
    virtual AAX_Result GetTODLocation (AAX_CTimeOfDay* outTODLocation) const = 0;
    virtual AAX_Result SetSignalLatency (int32_t inNumSamples) = 0;
    virtual AAX_Result SetCycleCount (AAX_EProperty* inWhichCycleCounts, AAX_CPropertyValue* iValues, int32_t numValues) = 0;
    virtual AAX_Result PostPacket (AAX_CFieldIndex inFieldIndex, const void* inPayload, uint32_t inPayloadSize) = 0;
    virtual AAX_Result GetCurrentMeterValue (AAX_CTypeID inMeterID, float* outMeterValue) const = 0;
    virtual AAX_Result GetMeterPeakValue (AAX_CTypeID inMeterID, float* outMeterPeakValue) const = 0;
    virtual AAX_Result ClearMeterPeakValue (AAX_CTypeID inMeterID) const = 0;
    virtual AAX_Result GetMeterCount (uint32_t* outMeterCount) const = 0;
    virtual AAX_Result GetMeterClipped (AAX_CTypeID inMeterID, AAX_CBoolean* outClipped) const = 0;
    virtual AAX_Result ClearMeterClipped (AAX_CTypeID inMeterID) const = 0;
    virtual AAX_Result GetNextMIDIPacket (AAX_CFieldIndex* outPort, AAX_CMidiPacket* outPacket) = 0;

protected:
    ~AAX_IACFController() = default;
};

class AAX_IACFController_V2 : public AAX_IACFController
{
public:
    virtual AAX_Result SendNotification (AAX_CTypeID inNotificationType, const void* inNotificationData, uint32_t inNotificationDataSize) = 0;
    virtual AAX_Result GetHybridSignalLatency (int32_t* outSamples) const = 0;
    virtual AAX_Result GetCurrentAutomationTimestamp (AAX_CTransportCounter* outTimestamp) const = 0;
    virtual AAX_Result GetHostName (AAX_IString* outHostNameString) const = 0;

protected:
    ~AAX_IACFController_V2() = default;
};

class AAX_IACFController_V3 : public AAX_IACFController_V2
{
public:
    virtual AAX_Result GetPlugInTargetPlatform (AAX_ETargetPlatform* outTargetPlatform) const = 0;
    virtual AAX_Result GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const = 0;

protected:
    ~AAX_IACFController_V3() = default;
};

class AAX_IACFController_V4 : public AAX_IACFController_V3
{
public:
    virtual AAX_Result CreateTableCopyForEffect (AAX_CPropertyValue inManufacturerID,
                                                 AAX_CPropertyValue inProductID,
                                                 AAX_CPropertyValue inPlugInID,
                                                 uint32_t inTableType,
                                                 int32_t inTablePageSize,
                                                 IACFUnknown* oPageTable) const = 0;
    virtual AAX_Result CreateTableCopyForLayout (const char* inEffectID,
                                                 const char* inLayoutName,
                                                 uint32_t inTableType,
                                                 int32_t inTablePageSize,
                                                 IACFUnknown* oPageTable) const = 0;

protected:
    ~AAX_IACFController_V4() = default;
};

class AAX_IACFController_V5 : public AAX_IACFController_V4
{
public:
    virtual AAX_Result CreateTableCopyForEffectFromFile (const char* inPageTableFilePath,
                                                         int32_t inFilePathEncoding,
                                                         AAX_CPropertyValue inManufacturerID,
                                                         AAX_CPropertyValue inProductID,
                                                         AAX_CPropertyValue inPlugInID,
                                                         uint32_t inTableType,
                                                         int32_t inTablePageSize,
                                                         IACFUnknown* oPageTable) const = 0;
    virtual AAX_Result CreateTableCopyForLayoutFromFile (const char* inPageTableFilePath,
                                                         int32_t inFilePathEncoding,
                                                         const char* inLayoutName,
                                                         uint32_t inTableType,
                                                         int32_t inTablePageSize,
                                                         IACFUnknown* oPageTable) const = 0;

protected:
    ~AAX_IACFController_V5() = default;
};
