#include "WindowTestSupport.h"

#include "editor/BandEditor.h"

using windowtest::OpenWindow;

TEST (TypedValues, AKnobBoxGivenTextWithoutANumberKeepsItsValue)
{
    OpenWindow window ([] (MultiAudioProcessor& p) { windowtest::setPlain (p, "frequency_highpass-1", 500.0f); });
    auto& panel = *window.editor->bandEditors[0];
    ASSERT_TRUE (panel.isShowing());

    const struct { juce::Slider* knob; const char* parameterID; const char* typed; } cases[] = {
        { &panel.levelKnob, "gain-1", "abc" }, { &panel.mixKnob, "mix-1", "x" }, { &panel.highPassKnob, "frequency_highpass-1", "q" },
    };
    for (const auto& c : cases)
    {
        juce::Label* textBox = nullptr;
        for (auto* child : c.knob->getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (child))
                textBox = label;
        ASSERT_NE (textBox, nullptr);
        const auto before = windowtest::getPlain (window.processor, c.parameterID);
        const auto shownBefore = textBox->getText();

        window.clickCentre (*textBox);
        auto* textEditor = textBox->getCurrentTextEditor();
        ASSERT_NE (textEditor, nullptr) << c.parameterID;
        textEditor->selectAll();
        window.type (*textEditor, c.typed);

        EXPECT_EQ (windowtest::getPlain (window.processor, c.parameterID), before) << c.parameterID;
        EXPECT_EQ (textBox->getText(), shownBefore) << c.parameterID;
    }
}
