// The names the shape check hands over for pooling before JUCE parses a
// presets document: every tag and attribute name once, in the pool's order.
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
