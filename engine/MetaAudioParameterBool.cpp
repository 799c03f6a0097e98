#include "MetaAudioParameterBool.h"

MetaAudioParameterBool::~MetaAudioParameterBool() = default;

bool MetaAudioParameterBool::isMetaParameter() const
{
    return true;
}
