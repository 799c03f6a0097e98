#pragma once

#include <juce_core/juce_core.h>

/** Checks that `text` has the shape of a presets document before it is handed
    to JUCE's XML parser, which reads some damage "successfully" and so loses
    entries without a word: an attribute value without quotes ends the element
    there and turns the rest into text, whatever follows the document element
    is ignored, and an '&' that starts no reference swallows the text up to
    the next ';' anywhere. Entities a DOCTYPE defines it expands without
    limit, into any size or, when one refers to itself, until the stack runs
    out.

    Accepted: white space, comments and processing instructions (the XML
    declaration among them) before the document element; one document element
    with any name and attributes, holding nothing but white space, comments
    and entries; entries with any name and attributes, empty ("<a .../>") or
    holding only white space and comments before their end tag; after the
    document element only white space and comments. Attributes must read
    name="value" or name='value', where an '&' starts one of &amp; &lt; &gt;
    &quot; &apos; or a character reference ("&#233;", "&#xE9;", at most eight
    digits) to a character other than NUL and the UTF-16 surrogates; end tags
    must name their element. Anything else (a DOCTYPE among it) fails, and the
    result says what was found where ("line 3: an attribute value without
    quotes").

    When the shape is right and `namesToPool` is given, it receives every name
    the parser will enter into JUCE's string pool: the tag and attribute names
    of the document element and the entries, each once, in sorted order (see
    poolTagNames). Runs once over the text, in time proportional to its
    length whatever the names. */
juce::Result checkPresetsDocumentShape (const juce::String& text, juce::StringArray* namesToPool = nullptr);
