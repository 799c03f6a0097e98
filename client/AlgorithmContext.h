// The algorithm context of ZELK-MULTI's processing components: the block of
// field pointers that the host fills for every effect instance before it
// calls the native process procedure, and the signature of that procedure.
//
// This header is the contract between the plug-in bundle and any host that
// runs it (the stand-in host included). It depends on nothing but AAX.h so
// that a host can include it without the plug-in's other code.
//
// How a host runs one instance, in order:
//
//  1. Registration gives it, per component (mono/mono and stereo/stereo),
//     the fields below (AddAudioIn 0, AddAudioOut 1, AddAudioBufferLength 2,
//     AddDataInPort 3 of 4 bytes, AddPrivateData 4 of sizeof (InstanceInfo)
//     bytes, AddPrivateData 5 of 4 bytes) and the native process procedure
//     (property 36 of the component's property map).
//
//  2. The host creates the effect-parameters object with the procedure
//     registered under kAAX_ProcPtrID_Create_EffectParameters (an
//     AAX_CCreateObjectProc). It returns the new object as an IACFUnknown*
//     (the object's AAX_IACFEffectParameters interface, which begins with
//     IACFUnknown) holding no reference yet: the host AddRefs it, or
//     QueryInterfaces it for IID_IAAXEffectParametersV1..V4, and Releases
//     every reference it took when it deletes the instance. The GUI
//     procedure (kAAX_ProcPtrID_Create_EffectGUI) works the same way for
//     IID_IAAXEffectGUIV1.
//
//  3. The host calls Initialize (controller unknown) on the effect. The
//     controller must answer versions 1 of the controller and of the
//     automation delegate; the effect reads the sample rate
//     (GetEPOCHSampleRate) and the input and output stem formats
//     (GetEPOCHInputStemFormat / GetEPOCHOutputStemFormat) from it.
//
//  4. For each private-data field the host allocates the declared number of
//     bytes (suitably aligned for a pointer), keeps them for the instance's
//     lifetime, and calls the effect's
//         ResetFieldData (field, data, size)
//     off the audio thread: field 4 places an InstanceInfo (the effect's
//     address) in the bytes; field 5 prepares the processor for the
//     controller's sample rate and stem formats and writes 1. Calling
//     ResetFieldData (5, ...) again (processing stopped) prepares it again,
//     e.g. after the sample rate changed. Any other field is zero-filled.
//
//  5. The host calls GenerateCoefficients on the effect whenever it likes
//     (at least once before processing); the effect then posts the master
//     bypass packet on field 3 through the controller's PostPacket. The host
//     copies the latest packet into the data-in port's 4 bytes (zero until
//     the first packet arrives).
//
//  6. On its audio thread the host calls the process procedure with an
//     array of context pointers, one per instance it processes now:
//         processProc (contexts, contexts + count);
//
// What the process procedure does with each context: a context without its
// instance (null pointer or null effect) is skipped, its output untouched, as
// its channel count is unknown; an instance whose prepared flag is 0 writes
// silence; an instance whose master bypass value is 0.5 or more copies its
// input to its output; any other instance runs its processor on the block. Input and
// output may be the same buffers. A block longer than the one the processor
// was prepared for goes to it in pieces of the prepared size; the audio path
// never prepares, allocates or locks.
#pragma once

#include "AAX.h"

#include <cstddef>
#include <cstdint>

namespace aaxclient
{
    class EffectParameters;

    /** What the effect places in the instance field's private data. */
    struct InstanceInfo
    {
        EffectParameters* effect = nullptr;
    };

    /** The per-instance context. Every member is one pointer wide, so a
        member's field index is its position. */
    struct AlgorithmContext
    {
        const float* const* inputChannels;  ///< 0: one pointer per input channel (1 mono, 2 stereo)
        float* const* outputChannels;       ///< 1: one pointer per output channel
        const int32_t* bufferSize;          ///< 2: samples in this block
        const float* masterBypass;          ///< 3: data-in port: the "MasterBypassID" value (32-bit float; >= 0.5 bypasses)
        InstanceInfo* instance;             ///< 4: private data, placed by ResetFieldData (4, ...)
        int32_t* preparedFlag;              ///< 5: private data, set to 1 by ResetFieldData (5, ...)
    };

    /** Field indexes of the context, as given to the component descriptor. */
    enum AlgorithmField : AAX_CFieldIndex
    {
        kFieldInputChannels  = 0,
        kFieldOutputChannels = 1,
        kFieldBufferSize     = 2,
        kFieldMasterBypass   = 3,
        kFieldInstance       = 4,
        kFieldPreparedFlag   = 5
    };

    /** Bytes of the bypass data-in port and of the prepared flag. */
    constexpr uint32_t kMasterBypassPacketSize = 4;
    constexpr int32_t kPreparedFlagSize = 4;

    /** The native process procedure registered for every component. */
    using ProcessProcedure = void (*) (AlgorithmContext* const instancesBegin[], const void* instancesEnd);

    static_assert (offsetof (AlgorithmContext, inputChannels)  == kFieldInputChannels  * sizeof (void*), "field layout");
    static_assert (offsetof (AlgorithmContext, outputChannels) == kFieldOutputChannels * sizeof (void*), "field layout");
    static_assert (offsetof (AlgorithmContext, bufferSize)     == kFieldBufferSize     * sizeof (void*), "field layout");
    static_assert (offsetof (AlgorithmContext, masterBypass)   == kFieldMasterBypass   * sizeof (void*), "field layout");
    static_assert (offsetof (AlgorithmContext, instance)       == kFieldInstance       * sizeof (void*), "field layout");
    static_assert (offsetof (AlgorithmContext, preparedFlag)   == kFieldPreparedFlag   * sizeof (void*), "field layout");
}
