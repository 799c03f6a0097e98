// The registered description as text, for `zelk_host --describe`.
#pragma once

#include "DescriptionRecord.h"

#include <ostream>

namespace zelkhost
{
    void printDescription (const RecordedDescription& description, std::ostream& out);
}
