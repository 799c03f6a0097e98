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

// After a choice in a popup list, made with clicks through JUCE's X11 layer, the first click on a value
// box takes typing; so after "BAND" when a window manager focuses the host's window at each click.
TEST (TypedValues, AfterAChoiceInAPopupListTheFirstClickOnABoxTakesTyping)
{
    const auto waitFor = [] (bool popupShown, int thenMilliseconds) {
        for (int i = 0; i < 100 && (juce::Component::getCurrentlyModalComponent() != nullptr) != popupShown; ++i) windowtest::pumpMessages (10);
        windowtest::pumpMessages (thenMilliseconds);
    };
    for (const auto& [name, item] : { std::pair { "TYPE", 4 }, { "OVERSAMPLING", 2 }, { "preset list", 11 }, { "BAND", -1 } })
    {
        windowtest::OpenWindow window;
        auto& band = *window.editor->bandEditors[0];
        auto& clicked = item < 0 ? window.editor->bandButton : name[0] == 'T' ? band.typeBox : name[0] == 'O'
                      ? band.oversamplingBox : *window.editor->presetBar.getChildComponent (2);
        windowtest::clickThroughX11 (clicked);
        if (item >= 0)
        {
            waitFor (true, 300);   // a menu takes no release in its first 250 ms
            ASSERT_NE (juce::Component::getCurrentlyModalComponent(), nullptr) << name;
            windowtest::clickThroughX11 (*juce::Component::getCurrentlyModalComponent()->getChildComponent (item));
            waitFor (false, 60);
            EXPECT_TRUE (dynamic_cast<juce::ComboBox&> (clicked).getSelectedItemIndex() == item && window.editor->getPeer()->isFocused()) << name;
        }
        windowtest::clickThroughX11 (*band.mixKnob.getChildComponent (0), 0, item < 0);
        windowtest::pumpMessages (60);
        for (const auto& key : { juce::KeyPress ('5', {}, '5'), juce::KeyPress ('0', {}, '0'), juce::KeyPress (juce::KeyPress::returnKey) })
            window.editor->getPeer()->handleKeyPress (key);   // to the focused component, as the X11 layer hands them on
        windowtest::pumpMessages();
        EXPECT_EQ (windowtest::getPlain (window.processor, ParameterIDs::mix (0)), 50.0f) << name;
    }
}
