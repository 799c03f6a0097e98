// Wrapper of the host's transport (versions 1 and 2).
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFTransport.h"
#include "AAX_ITransport.h"

class AAX_VTransport : public AAX_ITransport
{
public:
    /** Asks the controller unknown for both versions; operations of a
        missing version 1 return -20004, of version 2 -20009. */
    explicit AAX_VTransport (IACFUnknown* controllerUnknown);
    ~AAX_VTransport() override;

    AAX_Result GetCurrentTempo (double* outTempo) const override;
    AAX_Result GetCurrentMeter (int32_t* outNumerator, int32_t* outDenominator) const override;
    AAX_Result IsTransportPlaying (bool* outIsPlaying) const override;
    AAX_Result GetCurrentTickPosition (int64_t* outTickPosition) const override;
    AAX_Result GetCurrentLoopPosition (bool* outLooping, int64_t* outLoopStartTick, int64_t* outLoopEndTick) const override;
    AAX_Result GetCurrentNativeSampleLocation (int64_t* outSampleLocation) const override;
    AAX_Result GetCustomTickPosition (int64_t* outTickPosition, int64_t inSampleLocation) const override;
    AAX_Result GetBarBeatPosition (int32_t* outBars, int32_t* outBeats, int64_t* outDisplayTicks, int64_t inSampleLocation) const override;
    AAX_Result GetTicksPerQuarter (uint32_t* outTicks) const override;
    AAX_Result GetCurrentTicksPerBeat (uint32_t* outTicks) const override;

    AAX_Result GetTimelineSelectionStartPosition (int64_t* outSampleLocation) const override;
    AAX_Result GetTimeCodeInfo (AAX_EFrameRate* outFrameRate, int32_t* outOffset) const override;
    AAX_Result GetFeetFramesInfo (AAX_EFeetFramesRate* outFeetFramesRate, int64_t* outOffset) const override;
    AAX_Result IsMetronomeEnabled (int32_t* outIsEnabled) const override;

private:
    ACFPtr<AAX_IACFTransport>    mITransport;
    ACFPtr<AAX_IACFTransport_V2> mITransportV2;
};
