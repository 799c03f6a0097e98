// Wrapper of the host's controller for one effect instance (versions 1 to
// 5). Also holds the host's component factory, which the page-table copies
// of versions 4 and 5 need.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFController.h"
#include "AAX_IController.h"

#include <functional>

class AAX_VController : public AAX_IController
{
public:
    explicit AAX_VController (IACFUnknown* controllerUnknown);
    ~AAX_VController() override;

    AAX_Result GetEffectID (AAX_IString* outEffectID) const override;
    AAX_Result GetSampleRate (AAX_CSampleRate* outSampleRate) const override;
    AAX_Result GetInputStemFormat (AAX_EStemFormat* outStemFormat) const override;
    AAX_Result GetOutputStemFormat (AAX_EStemFormat* outStemFormat) const override;
    AAX_Result GetSignalLatency (int32_t* outSamples) const override;
    AAX_Result GetCycleCount (AAX_EProperty inWhichCycleCount, AAX_CPropertyValue* outValue) const override;
    AAX_Result GetTODLocation (AAX_CTimeOfDay* outTODLocation) const override;
    AAX_Result SetSignalLatency (int32_t inNumSamples) override;
    AAX_Result SetCycleCount (AAX_EProperty* inWhichCycleCounts, AAX_CPropertyValue* iValues, int32_t numValues) override;
    AAX_Result PostPacket (AAX_CFieldIndex inFieldIndex, const void* inPayload, uint32_t inPayloadSize) override;

    AAX_Result SendNotification (AAX_CTypeID inNotificationType, const void* inNotificationData, uint32_t inNotificationDataSize) override;
    AAX_Result SendNotification (AAX_CTypeID inNotificationType) override;

    AAX_Result GetCurrentMeterValue (AAX_CTypeID inMeterID, float* outMeterValue) const override;
    AAX_Result GetMeterPeakValue (AAX_CTypeID inMeterID, float* outMeterPeakValue) const override;
    AAX_Result ClearMeterPeakValue (AAX_CTypeID inMeterID) const override;
    AAX_Result GetMeterCount (uint32_t* outMeterCount) const override;
    AAX_Result GetMeterClipped (AAX_CTypeID inMeterID, AAX_CBoolean* outClipped) const override;
    AAX_Result ClearMeterClipped (AAX_CTypeID inMeterID) const override;
    AAX_Result GetNextMIDIPacket (AAX_CFieldIndex* outPort, AAX_CMidiPacket* outPacket) override;

    AAX_Result GetHybridSignalLatency (int32_t* outSamples) const override;
    /** Without version 2 writes 0 to *outTimestamp and returns -20009. */
    AAX_Result GetCurrentAutomationTimestamp (AAX_CTransportCounter* outTimestamp) const override;
    AAX_Result GetHostName (AAX_IString* outHostNameString) const override;

    AAX_Result GetPlugInTargetPlatform (AAX_ETargetPlatform* outTargetPlatform) const override;
    AAX_Result GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const override;

    AAX_IPageTable* CreateTableCopyForEffect (AAX_CPropertyValue inManufacturerID,
                                              AAX_CPropertyValue inProductID,
                                              AAX_CPropertyValue inPlugInID,
                                              uint32_t inTableType,
                                              int32_t inTablePageSize) const override;
    AAX_IPageTable* CreateTableCopyForLayout (const char* inEffectID,
                                              const char* inLayoutName,
                                              uint32_t inTableType,
                                              int32_t inTablePageSize) const override;
    AAX_IPageTable* CreateTableCopyForEffectFromFile (const char* inPageTableFilePath,
                                                      int32_t inFilePathEncoding,
                                                      AAX_CPropertyValue inManufacturerID,
                                                      AAX_CPropertyValue inProductID,
                                                      AAX_CPropertyValue inPlugInID,
                                                      uint32_t inTableType,
                                                      int32_t inTablePageSize) const override;
    AAX_IPageTable* CreateTableCopyForLayoutFromFile (const char* inPageTableFilePath,
                                                      int32_t inFilePathEncoding,
                                                      const char* inLayoutName,
                                                      uint32_t inTableType,
                                                      int32_t inTablePageSize) const override;

private:
    /** Makes a host page table, lets fill() fill it and wraps it; null on any failure. */
    AAX_IPageTable* CreateFilledPageTable (const std::function<AAX_Result (IACFUnknown*)>& fill) const;

    ACFPtr<IACFComponentFactory> mComponentFactory;
    ACFPtr<AAX_IACFController>    mIController;
    ACFPtr<AAX_IACFController_V2> mIControllerV2;
    ACFPtr<AAX_IACFController_V3> mIControllerV3;
    ACFPtr<AAX_IACFController_V4> mIControllerV4;
    ACFPtr<AAX_IACFController_V5> mIControllerV5;
};
