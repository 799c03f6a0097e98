// Versioned wrapper of the host's component descriptor (versions 1 to 3).
// Field operations and the two named process-procedure registrations go to
// version 1 (AddTemporaryData to version 2); AddProcessProc goes to version
// 3 when present and otherwise registers the procedures named by the
// property map one by one.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFComponentDescriptor.h"
#include "AAX_IComponentDescriptor.h"

#include <memory>
#include <vector>

class AAX_VPropertyMap;

class AAX_VComponentDescriptor : public AAX_IComponentDescriptor
{
public:
    explicit AAX_VComponentDescriptor (IACFUnknown* hostUnknown);
    ~AAX_VComponentDescriptor() override;

    AAX_VComponentDescriptor (const AAX_VComponentDescriptor&) = delete;
    AAX_VComponentDescriptor& operator= (const AAX_VComponentDescriptor&) = delete;

    AAX_Result Clear() override;
    AAX_Result AddAudioIn (AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddAudioOut (AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddAudioBufferLength (AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddSampleRate (AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddClock (AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddSideChainIn (AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddPrivateData (AAX_CFieldIndex inFieldIndex, int32_t inDataSize, uint32_t inOptions = 0) override;
    AAX_Result AddAuxOutputStem (AAX_CFieldIndex inFieldIndex, int32_t inStemFormat, const char inNameUTF8[]) override;
    AAX_Result AddDataInPort (AAX_CFieldIndex inFieldIndex, uint32_t inPacketSize, AAX_EDataInPortType inPortType = 0) override;
    AAX_Result AddTemporaryData (AAX_CFieldIndex inFieldIndex, uint32_t inDataElementSize) override;
    AAX_Result AddDmaInstance (AAX_CFieldIndex inFieldIndex, AAX_EDmaMode inDmaMode) override;
    AAX_Result AddMeters (AAX_CFieldIndex inFieldIndex, const AAX_CTypeID* inMeterIDs, uint32_t inMeterCount) override;
    AAX_Result AddMIDINode (AAX_CFieldIndex inFieldIndex, AAX_EMIDINodeType inNodeType, const char inNodeName[], uint32_t inChannelMask) override;
    AAX_Result AddReservedField (AAX_CFieldIndex inFieldIndex, uint32_t inFieldType) override;

    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_IPropertyMap* DuplicatePropertyMap (AAX_IPropertyMap* inPropertyMap) override;

    using AAX_IComponentDescriptor::AddProcessProc_Native;
    AAX_Result AddProcessProc_Native (AAX_CProcessProc inProcessProc,
                                      AAX_IPropertyMap* inProperties = nullptr,
                                      AAX_CInstanceInitProc inInstanceInitProc = nullptr,
                                      AAX_CBackgroundProc inBackgroundProc = nullptr,
                                      AAX_CSelector* outProcID = nullptr) override;
    AAX_Result AddProcessProc_TI (const char inDLLFileNameUTF8[],
                                  const char inProcessProcSymbol[],
                                  AAX_IPropertyMap* inProperties,
                                  const char inInstanceInitProcSymbol[] = nullptr,
                                  const char inBackgroundProcSymbol[] = nullptr,
                                  AAX_CSelector* outProcID = nullptr) override;
    AAX_Result AddProcessProc (AAX_IPropertyMap* inProperties,
                               AAX_CSelector* outProcIDs = nullptr,
                               int32_t inProcIDsSize = 0) override;

    /** The host's component descriptor (version 1), null when missing. */
    IACFUnknown* GetIUnknown() const noexcept { return mIACFComponentDescriptor.get(); }

private:
    AAX_Result AddProcessProcsOneByOne (AAX_IPropertyMap& properties, std::vector<AAX_CSelector>& registeredIDs, bool& failed);
    AAX_Result AddNativeProcessProc (AAX_IPropertyMap& properties, std::vector<AAX_CSelector>& registeredIDs, bool& failed);
    AAX_Result AddTIProcessProc (AAX_IPropertyMap& properties, std::vector<AAX_CSelector>& registeredIDs, bool& failed);

    ACFPtr<IACFUnknown> mHostUnknown;
    ACFPtr<AAX_IACFComponentDescriptor>    mIACFComponentDescriptor;
    ACFPtr<AAX_IACFComponentDescriptor_V2> mIACFComponentDescriptorV2;
    ACFPtr<AAX_IACFComponentDescriptor_V3> mIACFComponentDescriptorV3;

    std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
