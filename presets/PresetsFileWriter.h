#pragma once

#include "presets/PresetsFileReader.h"

#include <juce_core/juce_core.h>

/** Writes `presets` to `file` as an XML document with CR LF line ends, creating
    missing folders first. The file is replaced in one step: the document goes
    into a new temporary file beside it, which replaces the file only once every
    byte of it is known to be written and synced, and the folder is synced after
    that. A failed write (a full disk, a file size limit) leaves the previous file
    untouched and no temporary file behind; a folder standing at the file's path
    is never replaced. Returns whether the file was written; callers may ignore it.

    A symbolic link at the path (as dotfile managers keep settings) stays a link:
    the file it leads to, through any chain of links, is the one replaced, and
    the new contents are written beside that file. A link that leads nowhere yet
    gets its file written where it points, with missing folders created; links
    that lead round in a loop are refused.

    The temporary file is open to its owner alone until it is complete; then it
    takes the permission bits of the file it replaces, or, where none stands,
    those given (a file kept aside just before), else the default ones for a
    new file. */
bool writePresetsFile (const juce::XmlElement& presets, const juce::File& file);

/** writePresetsFile that says why it failed: the result's error message is the
    reason for a user to read, the system's own where it gives one ("Permission
    denied"), else a short phrase ("a folder stands in its place"). */
juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file);

/** writePresetsFileReportingFailure that also gives the stamp of the file written
    (the same as FileStamp::of (file) gives afterwards, links being followed).
    `permissionsForNewFile` (0 to 0777) serves when no file stands where the new
    one goes; -1 leaves the default ones. */
juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file, FileStamp& written,
                                               int permissionsForNewFile = -1);

/** The file that writing `file` replaces: `file` itself, or where the chain of
    symbolic links that starts there ends (which need not exist yet), in a folder
    named without links where that folder exists. Fails for links that lead round
    in a loop or to a folder. */
juce::Result findFileToReplace (const juce::File& file, juce::File& target);

/** Creates a new file beside `target` with a fresh, unpredictable name (never
    one that stands already) that only its owner may read or write, whatever
    the process's umask, and returns its descriptor, or -1 with errno set.
    `created` receives its path. */
int createPrivateFileBeside (const juce::File& target, juce::File& created);
