#include "DescriptionRecord.h"

#include "AAX_Enums.h"

namespace zelkhost
{
    const RecordedProcessProc* RecordedComponent::findNativeProc (AAX_EStemFormat input, AAX_EStemFormat output) const
    {
        for (const auto& proc : processProcs)
            if (proc.native && proc.process != nullptr
                && proc.properties.valueOr (AAX_eProperty_InputStemFormat, AAX_eStemFormat_None) == input
                && proc.properties.valueOr (AAX_eProperty_OutputStemFormat, AAX_eStemFormat_None) == output)
                return &proc;
        return nullptr;
    }
}
