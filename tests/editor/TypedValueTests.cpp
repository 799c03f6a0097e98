#include "WindowTestSupport.h"

#include "editor/BandEditor.h"

#include <map>

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

// After a choice in a popup list, made as a user does with clicks through JUCE's X11
// layer (which gives the popup's own window the input focus at the press), the window
// takes keys again, and the first click on a value box opens it for typing; so it does
// after a click on "BAND" when a window manager focuses the host's window at each click.
TEST (TypedValues, AfterAChoiceInAPopupListTheFirstClickOnABoxTakesTyping)
{
    const struct { const char* name; int item; } cases[] = { { "TYPE", 4 }, { "OVERSAMPLING", 2 }, { "preset list", 11 }, { "BAND", -1 } };
    for (const auto& [name, item] : cases)
    {
        windowtest::OpenWindow window;
        auto& band = *window.editor->bandEditors[0];
        const auto lists = std::map<juce::String, juce::Component*> { { "TYPE", &band.typeBox }, { "OVERSAMPLING", &band.oversamplingBox },
                                                                      { "preset list", window.editor->presetBar.getChildComponent (2) },
                                                                      { "BAND", &window.editor->bandButton } };
        auto& clicked = *lists.at (name);
        windowtest::clickThroughX11 (clicked, clicked.getLocalBounds().getCentre());

        if (auto* list = dynamic_cast<juce::ComboBox*> (&clicked))
        {
            auto* popup = juce::Component::getCurrentlyModalComponent();
            for (int i = 0; i < 100 && popup == nullptr; ++i)
                windowtest::pumpMessages (10), popup = juce::Component::getCurrentlyModalComponent();
            ASSERT_TRUE (popup != nullptr && popup->getNumChildComponents() == list->getNumItems()) << name;
            windowtest::pumpMessages (300);   // a menu takes no release in its first 250 ms
            auto& entry = *popup->getChildComponent (item);
            windowtest::clickThroughX11 (entry, entry.getLocalBounds().getCentre());
            for (int i = 0; i < 100 && juce::Component::getCurrentlyModalComponent() != nullptr; ++i)
                windowtest::pumpMessages (10);
            windowtest::pumpMessages (60);
            EXPECT_EQ (list->getSelectedItemIndex(), item) << name;
            EXPECT_TRUE (window.editor->getPeer()->isFocused()) << name;
        }

        auto& textBox = *dynamic_cast<juce::Label*> (band.mixKnob.getChildComponent (0));
        windowtest::clickThroughX11 (textBox, textBox.getLocalBounds().getCentre(), item < 0);
        windowtest::pumpMessages (60);
        window.typeIntoFocus ("50");
        EXPECT_EQ (windowtest::getPlain (window.processor, ParameterIDs::mix (0)), 50.0f) << name;
    }
}
