#pragma once

#include "FiniteParameters.h"

/** A switch parameter that tells the host it is a meta parameter, i.e. one whose
    changes move other parameters. Used for the bands' on/off switches. Like
    every parameter of the layout it ignores values that are not finite and
    refuses text that names neither of its states. */
class MetaAudioParameterBool : public FiniteAudioParameterBool
{
public:
    using FiniteAudioParameterBool::FiniteAudioParameterBool;
    ~MetaAudioParameterBool() override;

    bool isMetaParameter() const override;
};
