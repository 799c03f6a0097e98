// Description of one processing component: the fields of its context and
// its process procedures. Made by an effect descriptor, which owns it.
// Implemented by AAX_VComponentDescriptor.
#pragma once

#include "AAX.h"

class AAX_IPropertyMap;

class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;

    virtual AAX_Result Clear() = 0;
    virtual AAX_Result AddAudioIn (AAX_CFieldIndex inFieldIndex) = 0;
    virtual AAX_Result AddAudioOut (AAX_CFieldIndex inFieldIndex) = 0;
    virtual AAX_Result AddAudioBufferLength (AAX_CFieldIndex inFieldIndex) = 0;
    virtual AAX_Result AddSampleRate (AAX_CFieldIndex inFieldIndex) = 0;
    virtual AAX_Result AddClock (AAX_CFieldIndex inFieldIndex) = 0;
    virtual AAX_Result AddSideChainIn (AAX_CFieldIndex inFieldIndex) = 0;
    virtual AAX_Result AddPrivateData (AAX_CFieldIndex inFieldIndex, int32_t inDataSize, uint32_t inOptions = 0) = 0;
    virtual AAX_Result AddAuxOutputStem (AAX_CFieldIndex inFieldIndex, int32_t inStemFormat, const char inNameUTF8[]) = 0;
    virtual AAX_Result AddDataInPort (AAX_CFieldIndex inFieldIndex, uint32_t inPacketSize, AAX_EDataInPortType inPortType = 0) = 0;
    /** Added by version 2 of the host interface. */
    virtual AAX_Result AddTemporaryData (AAX_CFieldIndex inFieldIndex, uint32_t inDataElementSize) = 0;
    virtual AAX_Result AddDmaInstance (AAX_CFieldIndex inFieldIndex, AAX_EDmaMode inDmaMode) = 0;
    virtual AAX_Result AddMeters (AAX_CFieldIndex inFieldIndex, const AAX_CTypeID* inMeterIDs, uint32_t inMeterCount) = 0;
    virtual AAX_Result AddMIDINode (AAX_CFieldIndex inFieldIndex, AAX_EMIDINodeType inNodeType, const char inNodeName[], uint32_t inChannelMask) = 0;
    virtual AAX_Result AddReservedField (AAX_CFieldIndex inFieldIndex, uint32_t inFieldType) = 0;

    /** A new property map owned by this descriptor. */
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    /** A new property map (owned by this descriptor) with every property and
        pointer of the source copied into it. */
    virtual AAX_IPropertyMap* DuplicatePropertyMap (AAX_IPropertyMap* inPropertyMap) = 0;

    virtual AAX_Result AddProcessProc_Native (AAX_CProcessProc inProcessProc,
                                              AAX_IPropertyMap* inProperties = nullptr,
                                              AAX_CInstanceInitProc inInstanceInitProc = nullptr,
                                              AAX_CBackgroundProc inBackgroundProc = nullptr,
                                              AAX_CSelector* outProcID = nullptr) = 0;
    virtual AAX_Result AddProcessProc_TI (const char inDLLFileNameUTF8[],
                                          const char inProcessProcSymbol[],
                                          AAX_IPropertyMap* inProperties,
                                          const char inInstanceInitProcSymbol[] = nullptr,
                                          const char inBackgroundProcSymbol[] = nullptr,
                                          AAX_CSelector* outProcID = nullptr) = 0;
    /** Registers the process procedures that the properties name; on success
        outProcIDs receives their IDs followed by a 0. */
    virtual AAX_Result AddProcessProc (AAX_IPropertyMap* inProperties,
                                       AAX_CSelector* outProcIDs = nullptr,
                                       int32_t inProcIDsSize = 0) = 0;

    /** Lets a typed process procedure be registered directly. */
    template <typename ContextType>
    AAX_Result AddProcessProc_Native (void (*inProcessProc) (ContextType* const inInstancesBegin[], const void* inInstancesEnd),
                                      AAX_IPropertyMap* inProperties = nullptr,
                                      int32_t (*inInstanceInitProc) (const ContextType* inInstanceContextPtr, int32_t inAction) = nullptr,
                                      AAX_CBackgroundProc inBackgroundProc = nullptr,
                                      AAX_CSelector* outProcID = nullptr)
    {
        return AddProcessProc_Native (reinterpret_cast<AAX_CProcessProc> (inProcessProc),
                                      inProperties,
                                      reinterpret_cast<AAX_CInstanceInitProc> (inInstanceInitProc),
                                      inBackgroundProc,
                                      outProcID);
    }
};
