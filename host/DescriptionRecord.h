// What the plug-in described to the host at registration: plain records the
// host keeps after the plug-in has let go of the description objects.
#pragma once

#include "AAX.h"

#include <map>
#include <string>
#include <vector>

namespace zelkhost
{
    struct RecordedProperties
    {
        std::map<AAX_EProperty, AAX_CPropertyValue> values;
        std::map<AAX_EProperty, const void*> pointers;
        std::map<AAX_EProperty, std::vector<AAX_SPlugInIdentifierTriad>> identifierArrays;

        bool has (AAX_EProperty property) const { return values.count (property) != 0; }
        AAX_CPropertyValue valueOr (AAX_EProperty property, AAX_CPropertyValue fallback) const
        {
            const auto found = values.find (property);
            return found != values.end() ? found->second : fallback;
        }
    };

    enum class FieldKind
    {
        audioIn, audioOut, audioBufferLength, sampleRate, clock, sideChainIn,
        privateData, auxOutputStem, dataInPort, dmaInstance, meters, midiNode,
        reservedField, temporaryData
    };

    /** One field of a component's algorithm context, as the component descriptor was told. */
    struct RecordedField
    {
        AAX_CFieldIndex index = 0;
        FieldKind kind = FieldKind::reservedField;
        uint32_t size = 0;      ///< private data, temporary data: bytes; data-in port: packet size
        uint32_t options = 0;   ///< private data options, data-in port type, DMA mode, reserved type
        int32_t stemFormat = 0; ///< aux output stems
        uint32_t count = 0;     ///< meters
        std::string name;       ///< aux output stems, MIDI nodes
    };

    struct RecordedProcessProc
    {
        bool native = true;
        AAX_CProcessProc process = nullptr;
        AAX_CInstanceInitProc instanceInit = nullptr;
        AAX_CBackgroundProc background = nullptr;
        std::string dllName, processSymbol, instanceInitSymbol, backgroundSymbol; ///< TI registrations
        RecordedProperties properties;
        AAX_CSelector selector = 0;
    };

    struct RecordedComponent
    {
        std::vector<RecordedField> fields;
        std::vector<RecordedProcessProc> processProcs;

        const RecordedField* findField (FieldKind kind) const
        {
            for (const auto& field : fields)
                if (field.kind == kind)
                    return &field;
            return nullptr;
        }

        /** The native process procedure whose properties name these stem formats, or null. */
        const RecordedProcessProc* findNativeProc (AAX_EStemFormat input, AAX_EStemFormat output) const;
    };

    struct RecordedEffect
    {
        std::string effectID;
        std::vector<std::string> names;
        std::vector<uint32_t> categories;
        std::vector<std::pair<uint32_t, std::string>> categoryBypassParameters;
        std::map<std::string, void*> procPointers;  ///< by procedure ID
        RecordedProperties properties;
        std::vector<std::pair<AAX_EResourceType, std::string>> resources;
        std::vector<std::pair<AAX_CTypeID, std::string>> meters;
        std::vector<RecordedComponent> components;

        void* procPointer (const std::string& procID) const
        {
            const auto found = procPointers.find (procID);
            return found != procPointers.end() ? found->second : nullptr;
        }
    };

    struct RecordedDescription
    {
        std::string manufacturerName;
        std::vector<std::string> packageNames;
        uint32_t packageVersion = 0;
        RecordedProperties collectionProperties;
        std::vector<RecordedEffect> effects;
    };

    /** Stem formats as (format index << 16) | channel count. */
    inline int channelsOf (AAX_EStemFormat stemFormat) noexcept { return stemFormat & 0xFFFF; }
}
