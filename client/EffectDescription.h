// Registration: the description of ZELK-MULTI that the library passes to
// the host (GetEffectDescriptions, declared in AAX_Exports.h), and the two
// creation procedures registered with it.
#pragma once

#include "AAX.h"

class AAX_ICollection;
class AAX_IEffectDescriptor;

namespace juce { class AudioProcessor; }

namespace aaxclient
{
    /** Describes the effect into the descriptor: names, category, creation
        procedures and one component per input/output stem-format pair that
        the processor supports. Returns the first failure, or 0. */
    AAX_Result describeEffect (AAX_IEffectDescriptor& descriptor, juce::AudioProcessor& processor);

    /** Creation procedures (kAAX_ProcPtrID_Create_EffectParameters and
        kAAX_ProcPtrID_Create_EffectGUI): a new object as its IACFUnknown,
        holding no reference yet; null when it could not be made. */
    void* createEffectParametersObject() noexcept;
    void* createEffectGUIObject() noexcept;
}
