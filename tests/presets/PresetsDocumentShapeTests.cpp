// The shape check run before JUCE parses a presets document: the names it hands over for
// pooling (every tag and attribute name once, in the pool's order), and the references it takes.
#include "presets/PresetsDocumentShape.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST (PresetsDocumentShape, NamesToPoolAreEveryTagAndAttributeNameOnceInOrder)
{
    struct Case
    {
        const char* document;
        const char* names;   // joined by spaces; empty for a document of the wrong shape
    };

    const Case cases[] = {
        { "<PRESETS v='1'><p1 a='1' b='2'/><p2 a='1' b='2'/><p1 b='2' a='1' c='3'/></PRESETS>", "PRESETS a b c p1 p2 v" },
        // Each entry is compared with the one before it, whatever its length.
        { "<R><x a='1' b='1' c='1'/><y a='1'/><z a='1' e='1' c='1' d='1'/><x/><w f='1'></w></R>", "R a b c d e f w x y z" },
        { "<R>\r\n  <e a_b=\"1\" Zb=\"2\" a-b=\"3\" a.b=\"\" a:b='' Z9=''/>\r\n</R>", "R Z9 Zb a-b a.b a:b a_b e" },
        { "<R><x a='1' b=2/></R>", "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.document);
        juce::StringArray names;
        checkPresetsDocumentShape (juce::String::fromUTF8 (c.document), &names);

        EXPECT_EQ (juce::String::fromUTF8 (c.names), names.joinIntoString (" "));
        EXPECT_TRUE (std::is_sorted (names.begin(), names.end()));
    }
}

TEST (PresetsDocumentShape, ReferencesAreOnlyThoseXmlDefinesAndNoDoctype)
{
    const std::pair<const char*, const char*> cases[] = {   // a document, and the start of its fault ("": taken)
        { "<R><e n='&amp;&lt;&gt;&quot;&apos;&#233;&#xE9;&#x1F600;&#1;&#x10FFFF;&#00000065;'/><!-- R&B; --></R>", "" },
        { "<?xml version='1.0'?>\n<!-- x -->\n<!DOCTYPE R [<!ENTITY a \"x&a;\">]><R><e n='&a;'/></R>", "line 3: a DOCTYPE, which a presets file never holds" },
        { "<R>\r\n<e n='1'/>\r\n<e n='Rock & Roll'/><e n='A;B'/></R>", "line 3: an '&' that begins none of &amp; &lt; &gt; &quot; &apos; and no character reference" },
        { "<R><e n='R&B;x'/></R>", "line 1: an '&' that begins none" },
        { "<R><e n='&AMP;'/></R>", "line 1: an '&' that begins none" },
        { "<R><e n='x&'/></R>", "line 1: an '&' that begins none" },
        { "<R><e n='x&#xZZ;y'/></R>", "line 1: a character reference that is not &#x, hexadecimal digits and ';'" },
        { "<R><e n='&#X41;'/></R>", "line 1: a character reference that is not &#, decimal digits and ';'" },
        { "<R><e n='&#1a;'/></R>", "line 1: a character reference that is not &#, decimal" },
        { "<R><e n='&#x000000041;'/></R>", "line 1: a character reference of more than 8 digits" },
        { "<R><e n='&#0;'/></R>", "line 1: a character reference to U+0000, which is no character" },
        { "<R><e n='&#xD800;'/></R>", "line 1: a character reference to U+D800" },
        { "<R><e n='&#1114112;'/></R>", "line 1: a character reference to U+110000" },
        { "<R><!--><e n='-->'/></R>", "line 1: something other than an entry inside <R>" },   // "<!-->" opens a comment that the value ends
    };

    for (const auto& [document, fault] : cases)
    {
        const auto result = checkPresetsDocumentShape (juce::String::fromUTF8 (document));
        EXPECT_TRUE (*fault == 0 ? result.wasOk() : result.getErrorMessage().startsWith (fault)) << document << " -> " << result.getErrorMessage();
    }
}
