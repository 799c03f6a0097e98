#include "AAX_VTransport.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

AAX_VTransport::AAX_VTransport (IACFUnknown* controllerUnknown)
    : mITransport   (QueryACFInterface<AAX_IACFTransport>    (controllerUnknown, IID_IAAXTransportV1)),
      mITransportV2 (QueryACFInterface<AAX_IACFTransport_V2> (controllerUnknown, IID_IAAXTransportV2))
{
}

// The host interfaces are released in reverse order: version 2, then 1.
AAX_VTransport::~AAX_VTransport() = default;

#define AAX_FORWARD_TO_V1(call)                 \
    if (! mITransport)                          \
        return AAX_ERROR_NULL_OBJECT;           \
    return mITransport->call

#define AAX_FORWARD_TO_V2(call)                 \
    if (! mITransportV2)                        \
        return AAX_ERROR_UNIMPLEMENTED;         \
    return mITransportV2->call

AAX_Result AAX_VTransport::GetCurrentTempo (double* outTempo) const { AAX_FORWARD_TO_V1 (GetCurrentTempo (outTempo)); }

AAX_Result AAX_VTransport::GetCurrentMeter (int32_t* outNumerator, int32_t* outDenominator) const
{
    AAX_FORWARD_TO_V1 (GetCurrentMeter (outNumerator, outDenominator));
}

AAX_Result AAX_VTransport::IsTransportPlaying (bool* outIsPlaying) const { AAX_FORWARD_TO_V1 (IsTransportPlaying (outIsPlaying)); }
AAX_Result AAX_VTransport::GetCurrentTickPosition (int64_t* outTickPosition) const { AAX_FORWARD_TO_V1 (GetCurrentTickPosition (outTickPosition)); }

AAX_Result AAX_VTransport::GetCurrentLoopPosition (bool* outLooping, int64_t* outLoopStartTick, int64_t* outLoopEndTick) const
{
    AAX_FORWARD_TO_V1 (GetCurrentLoopPosition (outLooping, outLoopStartTick, outLoopEndTick));
}

AAX_Result AAX_VTransport::GetCurrentNativeSampleLocation (int64_t* outSampleLocation) const
{
    AAX_FORWARD_TO_V1 (GetCurrentNativeSampleLocation (outSampleLocation));
}

AAX_Result AAX_VTransport::GetCustomTickPosition (int64_t* outTickPosition, int64_t inSampleLocation) const
{
    AAX_FORWARD_TO_V1 (GetCustomTickPosition (outTickPosition, inSampleLocation));
}

AAX_Result AAX_VTransport::GetBarBeatPosition (int32_t* outBars, int32_t* outBeats, int64_t* outDisplayTicks, int64_t inSampleLocation) const
{
    AAX_FORWARD_TO_V1 (GetBarBeatPosition (outBars, outBeats, outDisplayTicks, inSampleLocation));
}

AAX_Result AAX_VTransport::GetTicksPerQuarter (uint32_t* outTicks) const     { AAX_FORWARD_TO_V1 (GetTicksPerQuarter (outTicks)); }
AAX_Result AAX_VTransport::GetCurrentTicksPerBeat (uint32_t* outTicks) const { AAX_FORWARD_TO_V1 (GetCurrentTicksPerBeat (outTicks)); }

AAX_Result AAX_VTransport::GetTimelineSelectionStartPosition (int64_t* outSampleLocation) const
{
    AAX_FORWARD_TO_V2 (GetTimelineSelectionStartPosition (outSampleLocation));
}

AAX_Result AAX_VTransport::GetTimeCodeInfo (AAX_EFrameRate* outFrameRate, int32_t* outOffset) const
{
    AAX_FORWARD_TO_V2 (GetTimeCodeInfo (outFrameRate, outOffset));
}

AAX_Result AAX_VTransport::GetFeetFramesInfo (AAX_EFeetFramesRate* outFeetFramesRate, int64_t* outOffset) const
{
    AAX_FORWARD_TO_V2 (GetFeetFramesInfo (outFeetFramesRate, outOffset));
}

AAX_Result AAX_VTransport::IsMetronomeEnabled (int32_t* outIsEnabled) const { AAX_FORWARD_TO_V2 (IsMetronomeEnabled (outIsEnabled)); }

#undef AAX_FORWARD_TO_V1
#undef AAX_FORWARD_TO_V2
