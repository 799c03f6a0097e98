#include "DescriptionPrinter.h"

#include "AAX_Enums.h"
#include "ChunkSet.h"

#include <iomanip>

namespace zelkhost
{
    namespace
    {
        const char* fieldKindName (FieldKind kind)
        {
            switch (kind)
            {
                case FieldKind::audioIn:           return "audio in";
                case FieldKind::audioOut:          return "audio out";
                case FieldKind::audioBufferLength: return "buffer length";
                case FieldKind::sampleRate:        return "sample rate";
                case FieldKind::clock:             return "clock";
                case FieldKind::sideChainIn:       return "side-chain in";
                case FieldKind::privateData:       return "private data";
                case FieldKind::auxOutputStem:     return "aux output stem";
                case FieldKind::dataInPort:        return "data-in port";
                case FieldKind::dmaInstance:       return "DMA instance";
                case FieldKind::meters:            return "meters";
                case FieldKind::midiNode:          return "MIDI node";
                case FieldKind::reservedField:     return "reserved";
                case FieldKind::temporaryData:     return "temporary data";
            }
            return "?";
        }

        std::string stemFormatText (AAX_CPropertyValue format)
        {
            if (format == AAX_eStemFormat_None)
                return "none";
            if (format == AAX_eStemFormat_Any)
                return "any";
            const int channels = channelsOf (format);
            return channels == 1 ? "mono" : channels == 2 ? "stereo" : std::to_string (channels) + " channels";
        }

        void printProperties (const RecordedProperties& properties, const std::string& indent, std::ostream& out)
        {
            for (const auto& [id, value] : properties.values)
            {
                out << indent << "property " << id << " = " << value;
                const auto text = fourCharText (static_cast<AAX_CTypeID> (value));
                if (text.find ('?') == std::string::npos)
                    out << " '" << text << "'";
                out << "\n";
            }
            for (const auto& [id, pointer] : properties.pointers)
                out << indent << "pointer property " << id << (pointer != nullptr ? " set" : " null") << "\n";
        }
    }

    void printDescription (const RecordedDescription& description, std::ostream& out)
    {
        out << "manufacturer: " << description.manufacturerName << "\n";
        for (const auto& name : description.packageNames)
            out << "package: " << name << "\n";
        out << "package version: 0x" << std::hex << std::setw (8) << std::setfill ('0') << description.packageVersion
            << std::dec << std::setfill (' ') << "\n";
        out << "effects: " << description.effects.size() << "\n";

        for (const auto& effect : description.effects)
        {
            out << "effect " << effect.effectID << "\n";
            for (const auto& name : effect.names)
                out << "  name: " << name << "\n";
            for (const auto category : effect.categories)
                out << "  category: 0x" << std::hex << category << std::dec << "\n";
            for (const auto& [category, id] : effect.categoryBypassParameters)
                out << "  bypass parameter for category 0x" << std::hex << category << std::dec << ": " << id << "\n";
            for (const auto& [procID, pointer] : effect.procPointers)
                out << "  procedure " << procID << (pointer != nullptr ? "" : " (null)") << "\n";
            printProperties (effect.properties, "  ", out);

            for (std::size_t c = 0; c < effect.components.size(); ++c)
            {
                const auto& component = effect.components[c];
                out << "  component " << c + 1 << "\n";
                for (const auto& field : component.fields)
                {
                    out << "    field " << field.index << ": " << fieldKindName (field.kind);
                    if (field.size > 0)
                        out << ", " << field.size << " bytes";
                    out << "\n";
                }
                for (const auto& proc : component.processProcs)
                {
                    out << "    process procedure " << proc.selector << (proc.native ? " (native)" : " (TI)") << ": "
                        << stemFormatText (proc.properties.valueOr (AAX_eProperty_InputStemFormat, AAX_eStemFormat_None)) << " in, "
                        << stemFormatText (proc.properties.valueOr (AAX_eProperty_OutputStemFormat, AAX_eStemFormat_None)) << " out\n";
                    printProperties (proc.properties, "      ", out);
                }
            }
        }
    }
}
