// One of the host's output files (the rendered audio, the stored state, the
// window's picture), looked at when the run starts and written at its end.
//
// A symbolic link given is followed to what it points at, which is written or
// replaced; the link stays. Links that cannot be followed (a loop) are
// refused, and so is a link that leads to a name that is not UTF-8 text (see
// Utf8Check.h). The folder the file is in is held from the start, so the file
// goes where it was found even should the folder be renamed or a link be put
// in its place.
//
// What stands there at the start decides how it is written:
// - nothing, or a regular file: the data goes to a hidden file beside it,
//   made for this run alone and private while written, which takes the old
//   file's permission bits (a new file: 0666 less the umask) and, where this
//   user may give it, the old file's owner, and is renamed
//   into place once complete. A failure never leaves a partial file and
//   never harms the old one; runs writing the same file at once each leave a
//   whole one. Should anything but a regular file or nothing (a link, a pipe,
//   a folder, a device) stand there when the data is complete, it is left
//   alone and nothing is written;
// - a named pipe, a device or a socket: written to directly, never replaced,
//   once it is found to be still the one found at the start. Something else
//   put there meanwhile is left alone and never opened in a way that could
//   wait; a pipe found at the start is waited on, as a pipe's writer waits,
//   until it has a reader;
// - a folder: refused.
// A file its user may not write (read-only, another's, on a read-only file
// system) is refused with the reason, as cp and a shell's redirection refuse
// it: the permission to write the file, not only its folder, counts.
#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <sys/types.h>

namespace zelkhost
{
    /** Puts a file's whole contents into a stream; false on failure. */
    using StreamWriter = std::function<bool (juce::OutputStream&)>;

    class OutputTarget
    {
    public:
        /** Looks at `destination` now and keeps what it found; `what` names
            the file in messages (e.g. "the picture"; may be empty). */
        OutputTarget (const juce::File& destination, const juce::String& what);
        ~OutputTarget();

        OutputTarget (const OutputTarget&) = delete;
        OutputTarget& operator= (const OutputTarget&) = delete;

        /** Why nothing can be written there, with the file named ("cannot
            write ... : it is a folder; give a file name"); empty when it can. */
        const juce::String& refusal() const { return problem; }

        /** Where the data goes: the destination with its links followed. */
        const juce::File& file() const { return resolved; }

        /** Whether writing both would put them into one file, so that one
            replaces the other: the same file found at the start, or the same
            name in the same folder. A pipe or device takes both in turn. */
        bool sharesFileWith (const OutputTarget& other) const;

        /** Writes what `write` produces by the rules above. False with a
            message on failure, the refusal included. */
        bool write (const StreamWriter& write, juce::String& error) const;

    private:
        bool takesDataDirectly() const;
        bool writeThroughHiddenFile (const StreamWriter& write, juce::String& error) const;
        bool writeDirectly (const StreamWriter& write, juce::String& error) const;
        /** The last look before the rename: why the hidden file may not
            replace what stands there now, or empty once it has taken that
            file's permission bits (a new file's when there is none). */
        juce::String takeOnWhatStandsThere (const std::string& hidden) const;

        juce::File resolved;
        std::string name;                   // within the folder
        int folderHandle = -1;              // the folder, held from the start
        int entryHandle = -1;               // and what stood in it
        dev_t folderDevice = 0;
        ino_t folderInode = 0;
        bool found = false;                 // whether anything stood there at the start
        dev_t device = 0;
        ino_t inode = 0;
        mode_t kind = 0;                    // S_IFREG, S_IFIFO, ... of what was found
        juce::String failure;               // "cannot write the picture /path"
        juce::String problem;
    };

    /** Writes all the bytes to an open file, retrying when interrupted;
        false with errno set. */
    bool writeAllBytes (int handle, const void* bytes, size_t size);
}
