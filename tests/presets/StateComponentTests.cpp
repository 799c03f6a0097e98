// The preset bar as a user drives it: mouse clicks on its buttons, typing into
// its dialog, choices in its list; two instances share one presets file.
#include "PresetsTestSupport.h"

#include "presets/ParameterSetXml.h"
#include "presets/StateComponent.h"

#include <gtest/gtest.h>

#include <csignal>
#include <dlfcn.h>
#include <functional>
#include <random>
#include <sys/resource.h>

namespace
{
    void pump() { juce::MessageManager::getInstance()->runDispatchLoopUntil (30); }

    juce::Component* find (juce::Component& root, const std::function<bool (juce::Component&)>& matches)
    {
        for (auto* child : root.getChildren())
            if (matches (*child))
                return child;
            else if (auto* found = find (*child, matches))
                return found;
        return nullptr;
    }

    juce::AlertWindow* modalDialog() { return dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent()); }

    /** Types into the dialog's window as the keyboard does, then presses `finalKey`. */
    void typeInto (juce::AlertWindow& dialog, const juce::String& text, int finalKey)
    {
        for (auto c : text)
            dialog.getPeer()->handleKeyPress (juce::KeyPress (c, {}, c));
        dialog.getPeer()->handleKeyPress (juce::KeyPress (finalKey));
        pump();
    }

    struct Instance : juce::ChangeListener
    {
        PresetsTestProcessor processor;
        state::StateComponent bar { processor.parameters, processor.abStateHolder, processor.presetsHolder };
        int changeMessages = 0;

        Instance()
        {
            static int windows = 0;   // side by side: a window covered by another gets no clicks
            bar.setBounds (0, 40 * (windows++ % 20), 950, 30);
            bar.addToDesktop (0);
            bar.setVisible (true);
            bar.addChangeListener (this);
            pump();
        }

        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++changeMessages; }

        juce::Button& button (const juce::String& text)
        {
            return dynamic_cast<juce::Button&> (*find (bar, [&] (auto& c) { auto* b = dynamic_cast<juce::Button*> (&c); return b != nullptr && b->getButtonText() == text; }));
        }

        juce::ComboBox& list() { return dynamic_cast<juce::ComboBox&> (*find (bar, [] (auto& c) { return dynamic_cast<juce::ComboBox*> (&c) != nullptr; })); }

        void click (const juce::String& text)
        {
            auto& target = button (text);
            const auto at = bar.getLocalPoint (&target, target.getLocalBounds().getCentre()).toFloat();
            for (int modifiers : { (int) juce::ModifierKeys::leftButtonModifier, 0 })
                bar.getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, at, juce::ModifierKeys (modifiers),
                                                 juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                                                 juce::Time::currentTimeMillis());
            pump();
        }

        void save (const juce::String& name, int finalKey = juce::KeyPress::returnKey)
        {
            click ("Save preset");
            auto* dialog = modalDialog();
            ASSERT_NE (dialog, nullptr);
            EXPECT_EQ (dialog->getName(), "Save preset...");
            EXPECT_EQ (dialog->getTextEditor ("presetEditorID")->getTextToShowWhenEmpty(), "Enter preset name");
            typeInto (*dialog, name, finalKey);
        }

        void choose (int id) { list().setSelectedId (id); pump(); }   // as the list's menu does

        juce::StringArray items()
        {
            juce::StringArray texts;
            for (int i = 0; i < list().getNumItems(); ++i)
                texts.add (list().getItemText (i));
            return texts;
        }

        std::vector<float> values()
        {
            std::vector<float> all;
            for (auto* p : processor.getParameters())
                all.push_back (p->getValue());
            return all;
        }
    };

    /** The names a presets file lists after the factory entries. */
    juce::StringArray userNames (const juce::File& file)
    {
        juce::XmlElement presets ("PRESETS");
        readPresetsFile (file, presets);
        juce::StringArray names;
        for (int i = 23; i < presets.getNumChildElements(); ++i)
            names.add (presets.getChildElement (i)->getStringAttribute ("presetName", "(Unnamed preset)"));
        return names;
    }

    void writeUserEntries (const juce::File& file, int count, const juce::String& namePrefix = "user ")
    {
        auto presets = PresetsHolder::createFactoryPresets();
        for (int i = 0; i < count; ++i)
            presets.createNewChildElement ("preset" + juce::String (24 + i))->setAttribute ("presetName", namePrefix + juce::String (i + 1));
        ASSERT_TRUE (writePresetsFile (presets, file));
    }

    class StateComponentTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            // Without a window manager Xlib would end the process on a missing atom.
            juce::Desktop::getInstance().getDisplays();   // connects to the display, loading Xlib
            using Handler = int (*) (void*, void*);
            if (void* xlib = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD))
                if (auto set = reinterpret_cast<Handler (*) (Handler)> (dlsym (xlib, "XSetErrorHandler")))
                    set ([] (void*, void*) { return 0; });
        }

        ScopedTemporaryHome home;
    };

    TEST_F (StateComponentTest, CellsAreCutFromTheLeftInTwelfths)
    {
        Instance instance;
        const std::vector<std::pair<int, std::vector<int>>> widths { { 59, { 4, 4, 12, 4, 4 } }, { 11, { 0, 0, 0, 0, 0 } },
                                                                     { 950, { 154, 154, 312, 154, 154 } } };
        for (const auto& [barWidth, expected] : widths)
        {
            instance.bar.setSize (barWidth, 30);
            std::vector<int> actual;
            for (auto* child : instance.bar.getChildren())
                actual.push_back (child->getWidth());
            EXPECT_EQ (actual, expected) << barWidth;
            EXPECT_EQ (instance.bar.getChildren().getLast()->getRight(), barWidth == 11 ? 2 : barWidth - (barWidth % 12) - 2);
        }
    }

    TEST_F (StateComponentTest, ListNamesEntriesAndTheButtonsFollowTheSelection)
    {
        writeUserEntries (home.presetsFile(), 3);
        auto presets = PresetsHolder::createFactoryPresets();
        readPresetsFile (home.presetsFile(), presets);
        presets.getChildElement (23)->removeAttribute ("presetName");
        presets.getChildElement (24)->setAttribute ("presetName", "");
        writePresetsFile (presets, home.presetsFile());

        Instance instance;
        EXPECT_EQ (instance.items()[0], "Load preset...");
        EXPECT_EQ (instance.items()[23], "(Unnamed preset)");
        EXPECT_EQ (instance.items()[24], "(Unnamed preset)");
        EXPECT_EQ (instance.list().getTextWhenNothingSelected(), "Load preset...");

        for (auto [id, deletable] : { std::pair { 23, false }, { 26, true }, { 1, false }, { 24, true } })
        {
            instance.choose (id);
            EXPECT_EQ (instance.button ("Delete preset").isEnabled(), deletable) << id;
            EXPECT_EQ (instance.processor.presetsHolder.currentIndex, id);
        }

        const auto settings = instance.values();
        instance.click ("Delete preset");
        EXPECT_EQ (userNames (home.presetsFile()), juce::StringArray ({ "", "user 3" }));
        EXPECT_EQ (instance.list().getSelectedId(), 0);
        EXPECT_EQ (instance.processor.presetsHolder.currentIndex, 0);
        EXPECT_EQ (instance.values(), settings);   // deleting loads nothing, not even "Load preset..."
        EXPECT_FALSE (instance.button ("Delete preset").isEnabled());
    }

    TEST_F (StateComponentTest, DeletingEntry43Of45KeepsTheOtherTags)
    {
        writeUserEntries (home.presetsFile(), 22);
        Instance instance;
        instance.choose (43);
        instance.click ("Delete preset");

        juce::XmlElement presets ("PRESETS");
        readPresetsFile (home.presetsFile(), presets);
        ASSERT_EQ (presets.getNumChildElements(), 44);
        EXPECT_EQ (presets.getChildElement (42)->getTagName(), "preset44");
        EXPECT_EQ (presets.getChildElement (43)->getTagName(), "preset45");
        EXPECT_EQ (instance.items()[42], "user 21");
    }

    TEST_F (StateComponentTest, SavingStopsAt1001Entries)
    {
        writeUserEntries (home.presetsFile(), 1000 - 23);
        Instance instance;
        EXPECT_TRUE (instance.button ("Save preset").isEnabled());

        instance.processor.setPlain ("gain-2", 6.0f);
        instance.save ("last one");
        EXPECT_FALSE (instance.button ("Save preset").isEnabled());
        EXPECT_EQ (instance.list().getSelectedId(), 1001);
        EXPECT_EQ (instance.list().getText(), "last one");

        instance.choose (1);
        instance.choose (1001);
        EXPECT_FLOAT_EQ (instance.processor.plainValue ("gain-2"), 6.0f);
    }

    TEST_F (StateComponentTest, CancelChangesNothingButStillTellsTheWindow)
    {
        Instance instance;
        const auto before = contentsOf (home.presetsFile());
        instance.changeMessages = 0;
        instance.save ("never", juce::KeyPress::escapeKey);
        EXPECT_EQ (contentsOf (home.presetsFile()), before);
        EXPECT_EQ (instance.items().size(), 23);
        EXPECT_GE (instance.changeMessages, 1);
    }

    TEST_F (StateComponentTest, ABSwapsKeepStoresAndThreeParametersStayOut)
    {
        Instance instance;
        for (auto [id, value] : { std::pair { "gain-1", 12.0f }, { "numCrossovers", 3.0f }, { "input_plot", 1.0f }, { "output_plot", 1.0f } })
            instance.processor.setPlain (id, value);
        const auto start = instance.values();
        const std::vector<juce::String> untouched { "preset", "input_plot", "output_plot" };

        instance.click ("A/B");
        for (auto* p : instance.processor.getParameters())
        {
            const auto id = dynamic_cast<juce::AudioProcessorParameterWithID*> (p)->paramID;
            EXPECT_EQ (p->getValue(), std::count (untouched.begin(), untouched.end(), id) ? start[(size_t) p->getParameterIndex()] : p->getDefaultValue()) << id;
        }

        instance.click ("A/B");
        EXPECT_EQ (instance.values(), start);

        instance.click ("Keep");
        instance.click ("A/B");
        EXPECT_EQ (instance.values(), start);
        EXPECT_GE (instance.changeMessages, 3);

        instance.choose (5);
        EXPECT_EQ (instance.processor.plainValue ("input_plot"), 1.0f);
        EXPECT_EQ (instance.processor.plainValue ("output_plot"), 1.0f);
    }

    TEST_F (StateComponentTest, SavingAfterAnotherInstanceSavedKeepsBoth)
    {
        Instance first, second;
        second.save ("from second");
        first.save ("from first");
        EXPECT_EQ (userNames (home.presetsFile()), juce::StringArray ({ "from second", "from first" }));
        EXPECT_EQ (first.list().getSelectedId(), 25);
        EXPECT_EQ (first.processor.presetsHolder.currentIndex, 25);

        // The other instance's window, opened again, lists both.
        home.presetsFile().setLastModificationTime (juce::Time::getCurrentTime() + juce::RelativeTime::seconds (10));
        second.bar.reloadPresetsIfChanged();
        pump();
        EXPECT_EQ (second.items()[24], "from first");
    }

    TEST_F (StateComponentTest, AFileThatCannotBeWrittenIsReportedAndTheListShowsTheFile)
    {
        writeUserEntries (home.presetsFile(), 2);
        Instance instance;
        const auto folder = home.presetsFile().getParentDirectory();
        folder.setReadOnly (true);

        // Writing as the superuser ignores permissions; a file-size limit fails it as a full disk would.
        rlimit saved {};
        getrlimit (RLIMIT_FSIZE, &saved);
        const auto previousHandler = std::signal (SIGXFSZ, SIG_IGN);
        rlimit tiny { 1024, saved.rlim_max };
        setrlimit (RLIMIT_FSIZE, &tiny);

        for (auto [action, title] : { std::pair { 0, "Preset not saved" }, { 1, "Preset not deleted" } })
        {
            if (action == 0)
                instance.save ("lost");
            else
                instance.choose (25), instance.click ("Delete preset");

            auto* alert = modalDialog();
            ASSERT_NE (alert, nullptr);
            EXPECT_EQ (alert->getName(), title);
            EXPECT_TRUE (alert->getDescription().contains (home.presetsFile().getFullPathName() + "\ncould not be written. "));
            typeInto (*alert, {}, juce::KeyPress::returnKey);
            EXPECT_EQ (modalDialog(), nullptr);
            EXPECT_EQ (instance.items().size(), 25);
        }

        setrlimit (RLIMIT_FSIZE, &saved);
        std::signal (SIGXFSZ, previousHandler);
        folder.setReadOnly (false);

        EXPECT_EQ (userNames (home.presetsFile()), juce::StringArray ({ "user 1", "user 2" }));
        EXPECT_EQ (instance.items().size(), 25);
        EXPECT_EQ (instance.list().getText(), "user 2");
    }

    TEST_F (StateComponentTest, NoUserEntryIsLostBySavesAndDeletesInTwoInstances)
    {
        Instance instances[2];
        juce::StringArray model;
        std::mt19937 random (7);

        for (int step = 0; step < 60; ++step)
        {
            auto& instance = instances[random() % 2];

            if (random() % 4 == 0)
            {
                home.presetsFile().setLastModificationTime (juce::Time::getCurrentTime() + juce::RelativeTime::seconds (step + 1));
                instance.bar.reloadPresetsIfChanged();
                pump();
            }

            const auto listed = instance.items().size();
            if (listed > 23 && random() % 2 == 0)
            {
                const auto id = 24 + (int) (random() % (unsigned) (listed - 23));
                instance.choose (id);
                model.removeString (instance.items()[id - 1]);
                instance.click ("Delete preset");
            }
            else
            {
                const auto name = "step " + juce::String (step);
                instance.save (name);
                model.add (name);
            }

            ASSERT_EQ (userNames (home.presetsFile()), model) << "step " << step;
            EXPECT_EQ (instance.items().size(), 23 + model.size());
        }
    }

    TEST_F (StateComponentTest, LookAndFeelFontsColoursAndButtons)
    {
        Instance instance;
        state::StateLookAndFeel look;
        juce::TextButton button ("B");
        juce::ComboBox box;
        juce::Label label;

        for (auto [height, expected] : { std::pair { 10, 8.5f }, { 30, 15.0f } })
            EXPECT_FLOAT_EQ (look.getTextButtonFont (button, height).getHeight(), expected);
        box.setSize (100, 10);
        EXPECT_FLOAT_EQ (look.getComboBoxFont (box).getHeight(), 9.5f);
        for (const auto& font : { look.getPopupMenuFont(), look.getLabelFont (label) })
        {
            EXPECT_FLOAT_EQ (font.getHeight(), 15.0f);
            EXPECT_FLOAT_EQ (font.getExtraKerningFactor(), 0.02f);
            EXPECT_FLOAT_EQ (font.getHorizontalScale(), 1.1f);
            EXPECT_EQ (font.getTypefaceName(), "Roboto");
        }
        EXPECT_EQ (look.findColour (juce::PopupMenu::textColourId), juce::Colour (0xffa9b0b7));
        EXPECT_EQ (look.findColour (juce::ComboBox::outlineColourId), juce::Colours::transparentBlack);

        // Background 0xff202020 at 0.9 brightness; a disabled button draws at half alpha.
        auto& keep = instance.button ("Keep");
        const auto enabled = keep.createComponentSnapshot (keep.getLocalBounds()).getPixelAt (4, 4);
        EXPECT_NEAR (enabled.getBrightness(), juce::Colour (0xff202020).getBrightness() * 0.9f, 0.01f);
        EXPECT_EQ (enabled.getAlpha(), 255);
        auto& del = instance.button ("Delete preset");
        EXPECT_NEAR (del.createComponentSnapshot (del.getLocalBounds()).getPixelAt (4, 4).getAlpha(), 128, 2);
    }
}
