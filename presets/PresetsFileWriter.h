#pragma once

#include "presets/PresetsFileReader.h"

#include <juce_core/juce_core.h>

/** Writes `presets` to `file` as an XML document with CR LF line ends, creating
    missing folders first. The file is replaced in one step (written beside it,
    then renamed), so a failed write leaves the previous file untouched; a folder
    standing at the file's path is never replaced. Returns whether the file was
    written; callers may ignore it.

    A symbolic link at the path (as dotfile managers keep settings) stays a link:
    the file it leads to, through any chain of links, is the one replaced, and
    the new contents are written beside that file. A link that leads nowhere yet
    gets its file written where it points, with missing folders created; links
    that lead round in a loop are refused. The replaced file's permission bits
    carry over to the new one; a new file gets the default ones. */
bool writePresetsFile (const juce::XmlElement& presets, const juce::File& file);

/** writePresetsFile that says why it failed: the result's error message is the
    reason for a user to read, the system's own where it gives one ("Permission
    denied"), else a short phrase ("a folder stands in its place"). */
juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file);

/** writePresetsFileReportingFailure that also gives the stamp of the file written
    (the same as FileStamp::of (file) gives afterwards, links being followed). */
juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file, FileStamp& written);

/** The file that writing `file` replaces: `file` itself, or where the chain of
    symbolic links that starts there ends (which need not exist yet), in a folder
    named without links where that folder exists. Fails for links that lead round
    in a loop or to a folder. */
juce::Result findFileToReplace (const juce::File& file, juce::File& target);
