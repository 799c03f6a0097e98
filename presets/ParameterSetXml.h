#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Parameter sets as XML.

    A parameter set is one XML element with one attribute per captured parameter:
    the attribute's name is the parameter's ID and its text the parameter's
    normalised value (0..1). Every parameter with an ID is captured except
    "preset", "input_plot" and "output_plot", which belong to the window and the
    preset bar rather than to the sound. The same form serves the entries of
    presets.xml and the stored A/B set.
*/

/** True for the parameter IDs that presets and the A/B store leave alone. */
bool isExcludedFromParameterSets (const juce::String& parameterID);

/** Replaces every attribute of `set` (its tag and children stay) with the
    processor's captured parameters, in parameter order. */
void captureParametersToXml (juce::AudioProcessor& processor, juce::XmlElement& set);

/** Sets every captured parameter of the processor from `set`; a parameter the set
    does not name goes back to its default value. Listeners are notified
    synchronously, one parameter at a time, in parameter order. */
void applyParametersFromXml (const juce::XmlElement& set, juce::AudioProcessor& processor);

/** Reads the text of a presets file: UTF-8 (with or without a byte-order mark) or
    UTF-16 with a byte-order mark. Text that is not valid UTF-8 (a file saved in
    an 8-bit encoding, or damaged) is taken byte for byte as Latin-1: JUCE's text
    and XML code steps through UTF-8 by its lead bytes and would run past the end
    of malformed text. False when the file cannot be read. */
bool readPresetsText (const juce::File& file, juce::String& text);

/** Parses the text of `file` (see readPresetsText) as XML; nullptr when the file
    cannot be read or does not parse. Text with a processing instruction ("<?...?>")
    after the start of its first element counts as not parsing: JUCE's parser can
    loop for ever on one. */
std::unique_ptr<juce::XmlElement> parsePresetsFile (const juce::File& file);

/** Parses `file` and, when it holds an XML document, makes `into` a copy of its
    document element. When the file is missing or does not parse, `into` is left
    as it was and false is returned. */
bool readPresetsFile (const juce::File& file, juce::XmlElement& into);

/** Writes `presets` to `file` as an XML document with CR LF line ends, creating
    missing folders first. The file is replaced in one step (written beside it,
    then renamed), so a failed write leaves the previous file untouched; a folder
    standing at the file's path is never replaced. Returns whether the file was
    written; callers may ignore it. */
bool writePresetsFile (const juce::XmlElement& presets, const juce::File& file);

/** writePresetsFile that says why it failed: the result's error message is the
    reason for a user to read, the system's own where it gives one ("Permission
    denied"), else a short phrase ("a folder stands in its place"). */
juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file);
