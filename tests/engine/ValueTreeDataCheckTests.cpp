// The check that processor state passes before JUCE's value-tree reader
// sees it: it accepts everything the writer produces and refuses what would
// make the reader over-allocate, loop, recurse or stop half way.
#include "engine/ValueTreeDataCheck.h"

#include <juce_data_structures/juce_data_structures.h>

#include <gtest/gtest.h>

namespace
{
    using valuetreedata::isCompleteValueTreeData;

    std::vector<uint8_t> bytesOf (const juce::ValueTree& tree)
    {
        juce::MemoryOutputStream stream;
        tree.writeToStream (stream);
        const auto* data = static_cast<const uint8_t*> (stream.getData());
        return std::vector<uint8_t> (data, data + stream.getDataSize());
    }

    bool accepted (const std::vector<uint8_t>& bytes)
    {
        return isCompleteValueTreeData (bytes.data(), bytes.size());
    }

    juce::ValueTree stateLikeTree()
    {
        juce::ValueTree root ("ZELK-MULTI");
        for (int i = 0; i < 20; ++i)
        {
            juce::ValueTree child ("PARAM");
            child.setProperty ("id", "gain-" + juce::String (i), nullptr);
            child.setProperty ("value", 0.25 * i, nullptr);
            root.appendChild (child, nullptr);
        }
        return root;
    }

    juce::ValueTree treeWithEveryValueType()
    {
        juce::ValueTree tree ("T");
        juce::Array<juce::var> list { 1, "two", 3.0, juce::Array<juce::var> { true } };
        tree.setProperty ("int", 42, nullptr);
        tree.setProperty ("int64", (juce::int64) 1 << 40, nullptr);
        tree.setProperty ("double", 2.5, nullptr);
        tree.setProperty ("true", true, nullptr);
        tree.setProperty ("false", false, nullptr);
        tree.setProperty ("string", "text", nullptr);
        tree.setProperty ("binary", juce::var (juce::MemoryBlock ("abc", 3)), nullptr);
        tree.setProperty ("array", list, nullptr);
        tree.setProperty ("void", juce::var(), nullptr);
        return tree;
    }

    TEST (StateDataCheck, AcceptsWhatTheWriterProduces)
    {
        EXPECT_TRUE (accepted (bytesOf (stateLikeTree())));
        EXPECT_TRUE (accepted (bytesOf (treeWithEveryValueType())));
        EXPECT_TRUE (accepted (bytesOf (juce::ValueTree ("EMPTY"))));
    }

    TEST (StateDataCheck, AcceptsTrailingBytesAsTheReaderIgnoresThem)
    {
        auto bytes = bytesOf (stateLikeTree());
        bytes.insert (bytes.end(), { 0xde, 0xad, 0xbe, 0xef });
        EXPECT_TRUE (accepted (bytes));
    }

    TEST (StateDataCheck, RefusesEveryCutOffPrefix)
    {
        for (const auto& tree : { stateLikeTree(), treeWithEveryValueType() })
        {
            const auto bytes = bytesOf (tree);
            for (size_t length = 0; length < bytes.size(); ++length)
                EXPECT_FALSE (isCompleteValueTreeData (bytes.data(), length)) << "length " << length << " of " << bytes.size();
        }
    }

    TEST (StateDataCheck, RefusesCountsBeyondTheData)
    {
        // Type "A", no properties, then 0x7fffffff children.
        const std::vector<uint8_t> hugeChildren { 'A', 0, 0, 4, 0xff, 0xff, 0xff, 0x7f };
        EXPECT_FALSE (accepted (hugeChildren));

        // Type "A", 0x7fffffff properties.
        const std::vector<uint8_t> hugeProperties { 'A', 0, 4, 0xff, 0xff, 0xff, 0x7f, 0 };
        EXPECT_FALSE (accepted (hugeProperties));

        // A binary value that claims 2 GB.
        const std::vector<uint8_t> hugeBinary { 'A', 0, 1, 1, 'b', 0, 4, 0xff, 0xff, 0xff, 0x7f, 8, 0 };
        EXPECT_FALSE (accepted (hugeBinary));

        // An array that claims two billion items.
        const std::vector<uint8_t> hugeArray { 'A', 0, 1, 1, 'a', 0, 1, 6, 7, 4, 0xff, 0xff, 0xff, 0x7f, 0 };
        EXPECT_FALSE (accepted (hugeArray));
    }

    TEST (StateDataCheck, RefusesWhatTheReaderCallsDamage)
    {
        EXPECT_FALSE (isCompleteValueTreeData (nullptr, 10));
        EXPECT_FALSE (accepted ({}));
        EXPECT_FALSE (accepted ({ 0, 0, 0 }));                          // no type name
        EXPECT_FALSE (accepted ({ 'A', 0, 0x81, 1, 0 }));               // negative property count
        EXPECT_FALSE (accepted ({ 'A', 0, 1, 1, 0, 0, 0 }));            // empty property name
        EXPECT_FALSE (accepted ({ 'A', 0, 5, 0, 0, 0, 0, 0, 0 }));      // a count of five bytes
        EXPECT_FALSE (accepted ({ 'A', 0, 1, 1, 'i', 0, 1, 9, 1, 0, 0, 0, 0 }));   // an int that claims 8 bytes
    }

    TEST (StateDataCheck, RefusesDeepNesting)
    {
        juce::ValueTree root ("N");
        auto leaf = root;
        for (int depth = 0; depth < valuetreedata::kMaximumStateNesting + 5; ++depth)
        {
            juce::ValueTree child ("N");
            leaf.appendChild (child, nullptr);
            leaf = child;
        }
        EXPECT_FALSE (accepted (bytesOf (root)));

        juce::ValueTree shallow ("N");
        shallow.appendChild (juce::ValueTree ("N"), nullptr);
        EXPECT_TRUE (accepted (bytesOf (shallow)));
    }
}
