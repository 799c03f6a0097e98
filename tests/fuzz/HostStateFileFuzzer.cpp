// The stand-in host's state file ("ZLKS"): the input is the file's bytes.
//
// Reading never looks outside the bytes (the sanitizers watch), and a file
// that reads is written back to a file that reads to the same chunks and is
// written back to identical bytes. A file that does not read leaves the
// result empty and says why.
#include "ChunkSet.h"
#include "FuzzCheck.h"

#include <string>
#include <vector>

namespace
{
    using fuzzsupport::require;
    using zelkhost::ChunkSet;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size > (4u << 20))
        return 0;

    const std::vector<char> bytes (data, data + size);
    ChunkSet read;
    read.chunks.resize (1);   // must be emptied by a failed read
    std::string error;

    if (! ChunkSet::deserialise (bytes, read, error))
    {
        require (read.chunks.empty(), "a failed read left chunks behind");
        require (! error.empty(), "a failed read gave no reason");
        return 0;
    }

    const auto written = read.serialise();
    ChunkSet reread;
    require (ChunkSet::deserialise (written, reread, error), "a state file written by the host does not read back");
    require (reread.chunks.size() == read.chunks.size(), "writing back changed the number of chunks");

    for (size_t i = 0; i < read.chunks.size(); ++i)
    {
        const auto& before = read.chunks[i];
        const auto& after = reread.chunks[i];
        require (before.id == after.id && before.version == after.version && before.data == after.data,
                 "writing back changed a chunk's ID, version or data");
        require (before.name.compare (0, after.name.size(), after.name) == 0, "writing back changed a chunk's name");
    }

    require (reread.serialise() == written, "read + write back + read + write back changed the bytes");
    return 0;
}
