#include "WindowTestSupport.h"

#include "editor/BandEditor.h"

TEST (TypedValues, AKnobBoxGivenTextWithoutANumberKeepsItsValue)
{
    windowtest::OpenWindow window;
    auto& knob = window.editor->bandEditors[0]->mixKnob;
    juce::Label* textBox = nullptr;
    for (auto* child : knob.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            textBox = label;
    ASSERT_NE (textBox, nullptr);
    const auto shownBefore = textBox->getText();

    window.clickCentre (*textBox);
    auto* textEditor = textBox->getCurrentTextEditor();
    ASSERT_NE (textEditor, nullptr);
    textEditor->selectAll();
    window.type (*textEditor, "abc");

    EXPECT_EQ (windowtest::getPlain (window.processor, "mix-1"), 100.0f);
    EXPECT_EQ (textBox->getText(), shownBefore);
}
