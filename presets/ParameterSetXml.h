#pragma once

#include "presets/PresetsFileReader.h"
#include "presets/PresetsFileWriter.h"

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
    does not name, or whose value text starts with no finite number, goes back
    to its default value. Listeners are notified
    synchronously, one parameter at a time, in parameter order. */
void applyParametersFromXml (const juce::XmlElement& set, juce::AudioProcessor& processor);

/** Reads the text of a presets file: UTF-8 (with or without a byte-order mark) or
    UTF-16 with a byte-order mark. Text that is not valid UTF-8 (a file saved in
    an 8-bit encoding, or damaged) is taken byte for byte as Latin-1: JUCE's text
    and XML code steps through UTF-8 by its lead bytes and would run past the end
    of malformed text. A file holding a NUL character (zeros left by a crash,
    UTF-16 without a byte-order mark) gives no text and counts as damaged. Only
    regular files up to maximumPresetsFileSize are read (see readRegularFile);
    the result says why a file was not, `failure` which case it was, and `stamp`
    receives the stamp of what was read. */
juce::Result readPresetsText (const juce::File& file, juce::String& text, FileStamp& stamp, ReadFailure& failure);

/** readPresetsText that only tells whether the text could be read. */
bool readPresetsText (const juce::File& file, juce::String& text);

/** What reading a presets file found. */
struct PresetsFileContents
{
    enum class Kind
    {
        document,           ///< an XML document of the shape the store writes (its root may have any name)
        missing,            ///< nothing at the path
        blank,              ///< a regular file of no bytes, or nothing but white space
        notARegularFile,    ///< a folder, device, pipe or socket: never to be moved or written over
        unreadable,         ///< a regular file whose contents were read (or measured) and are no presets document: damaged
        inaccessible        ///< a regular file the system would not let us open or read: never to be moved or written over
    };

    Kind kind = Kind::document;
    std::unique_ptr<juce::XmlElement> document;    ///< for Kind::document
    juce::String reason;                           ///< why there is no document, for a user to read
    FileStamp stamp;                               ///< of the file as it was read
};

/** Reads and parses `file`. Text that JUCE's parser would read only in part (see
    checkPresetsDocumentShape) counts as unreadable, as does text that does not
    parse. */
PresetsFileContents readPresetsDocument (const juce::File& file);

/** The document of `file` (see readPresetsDocument), or nullptr. */
std::unique_ptr<juce::XmlElement> parsePresetsFile (const juce::File& file);

/** Parses `file` and, when it holds an XML document, makes `into` its document
    element. When the file is missing or cannot be read, `into` is left as it
    was and false is returned. */
bool readPresetsFile (const juce::File& file, juce::XmlElement& into);

/** Enters `names` into JUCE's global string pool, which keeps every XML tag
    and attribute name, and returns them pooled; keep the result while elements
    with these names are made. The pool is a sorted array that takes one name
    at a time, moving everything after it: thousands of names met in file order
    (entry tags "preset24", "preset25", ..., or the attribute names of a
    hand-made entry) would land all over it, at a cost growing with the square
    of their number. In sorted order each lands beside the one before, and later
    lookups only search. Names are best pooled in one call: a second sorted run
    would move the whole first one again for each of its names that sorts
    before it. */
juce::StringArray poolTagNames (juce::StringArray names);
