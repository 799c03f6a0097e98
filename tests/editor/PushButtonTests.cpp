#include "editor/PushButton.h"

#include "tests/editor/LookTestSupport.h"

#include <gtest/gtest.h>

namespace
{
    const juce::Colour blue (0xff3366cc);

    juce::Colour fillColour (PushButton& button)
    {
        return looktest::snapshot (button).getPixelAt (button.getWidth() / 2, button.getHeight() / 2);
    }
}

TEST (PushButton, BackgroundSaturationFollowsFocusAndAlphaHalvesWhenDisabled)
{
    juce::Component parent;
    PushButton button;
    button.setColour (juce::TextButton::buttonColourId, blue);
    button.setWantsKeyboardFocus (true);
    button.setBounds (0, 0, 60, 30);
    parent.addAndMakeVisible (button);
    parent.setSize (60, 30);

    EXPECT_TRUE (looktest::near (fillColour (button), blue.withMultipliedSaturation (0.9f)));
    parent.setEnabled (false);
    EXPECT_TRUE (looktest::near (fillColour (button), blue.withMultipliedSaturation (0.9f).withMultipliedAlpha (0.5f)));
    parent.setEnabled (true);

    if (! looktest::putOnDesktop (parent))
        GTEST_SKIP() << "no display";
    button.grabKeyboardFocus();
    ASSERT_TRUE (button.hasKeyboardFocus (true));
    EXPECT_TRUE (looktest::near (fillColour (button), blue.withMultipliedSaturation (1.3f)));
    parent.removeFromDesktop();
}

TEST (PushButton, ConnectedEdgesDrawTheSameSquareRectangle)
{
    PushButton button; // no text: the inherited text drawing indents by the connected edges
    button.setColour (juce::TextButton::buttonColourId, blue);
    button.setColour (juce::ComboBox::outlineColourId, juce::Colours::red);
    button.setSize (80, 30);
    const auto unconnected = looktest::snapshot (button);
    EXPECT_TRUE (looktest::near (unconnected.getPixelAt (0, 0), juce::Colours::red));
    EXPECT_TRUE (looktest::near (unconnected.getPixelAt (79, 29), juce::Colours::red));

    using B = juce::Button;
    for (const int edges : std::initializer_list<int> { B::ConnectedOnLeft, B::ConnectedOnRight, B::ConnectedOnTop, B::ConnectedOnBottom,
                              B::ConnectedOnLeft | B::ConnectedOnRight | B::ConnectedOnTop | B::ConnectedOnBottom })
    {
        button.setConnectedEdges (edges);
        EXPECT_TRUE (looktest::samePixels (looktest::snapshot (button), unconnected)) << edges;
    }
}
