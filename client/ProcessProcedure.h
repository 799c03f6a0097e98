// The native process procedure registered for every component: the host
// calls it on its audio thread with the contexts of the instances to run.
#pragma once

#include "client/AlgorithmContext.h"

namespace aaxclient
{
    /** Runs one block for each context in [instancesBegin, instancesEnd).
        Allocates nothing, takes no lock and throws nothing (see
        AlgorithmContext.h for what each context must hold). */
    void processAlgorithmInstances (AlgorithmContext* const instancesBegin[], const void* instancesEnd) noexcept;
}
