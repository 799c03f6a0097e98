// The preset bar as a user drives it: mouse clicks on its buttons, typing into
// its dialogs, choices in its list; two instances share one presets file.
#include "PresetsTestSupport.h"
#include "editor/LookTestSupport.h"
#include "presets/ParameterSetXml.h"
#include "presets/StateComponent.h"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <random>
#include <thread>
#include <sys/resource.h>

namespace
{
    void pump() { juce::MessageManager::getInstance()->runDispatchLoopUntil (30); }
    juce::AlertWindow* modalDialog() { return dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent()); }

    /** Types into the dialog's text field, then presses `finalKey` in the dialog's window.
        (The field takes the characters itself: which window has the X focus is up to
        whatever else runs on the display.) */
    void typeInto (juce::AlertWindow& dialog, const juce::String& text, int finalKey)
    {
        for (auto c : text)
            dialog.getTextEditor ("presetEditorID")->keyPressed (juce::KeyPress ((int) c, {}, c));
        dialog.getPeer()->handleKeyPress (juce::KeyPress (finalKey));
        pump();
    }

    struct Instance : juce::ChangeListener
    {
        PresetsTestProcessor processor;
        const bool restored;
        state::StateComponent bar { processor.parameters, processor.abStateHolder, processor.presetsHolder };
        juce::ComboBox& list = dynamic_cast<juce::ComboBox&> (*bar.getChildComponent (2));
        int changeMessages = 0;

        explicit Instance (const juce::MemoryBlock& project = {})   // a project opened again: restored before the bar
            : restored (project.getSize() > 0 && (restore (project), true))
        {
            static int windows = 0;   // side by side: a window covered by another gets no clicks
            bar.setBounds (0, 40 * (windows++ % 20), 950, 30);
            looktest::putOnDesktop (bar);
            bar.addChangeListener (this);
        }
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++changeMessages; }

        juce::MemoryBlock saved() { juce::MemoryBlock project; processor.getStateInformation (project); return project; }
        void restore (const juce::MemoryBlock& project) { processor.setStateInformation (project.getData(), (int) project.getSize()); }

        juce::TextButton& button (int index) { return dynamic_cast<juce::TextButton&> (*bar.getChildComponent (index)); }
        enum { ab, keep, popup, save, remove };

        void click (int index)
        {
            for (int modifiers : { (int) juce::ModifierKeys::leftButtonModifier, 0 })
                bar.getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, bar.getChildComponent (index)->getBounds().getCentre().toFloat(),
                                                 juce::ModifierKeys (modifiers), 0.0f, 0.0f, juce::Time::currentTimeMillis());
            pump();
        }

        /** As a user chooses: a click opens the list's popup, a click there on entry `id`. */
        void chooseInPopup (int id)
        {
            click (popup);
            auto* menu = juce::Component::getCurrentlyModalComponent();
            for (int i = 0; i < 100 && menu == nullptr; ++i)
                pump(), menu = juce::Component::getCurrentlyModalComponent();
            ASSERT_TRUE (menu != nullptr && menu->getNumChildComponents() == list.getNumItems());
            auto& item = *menu->getChildComponent (list.indexOfItemId (id));
            ASSERT_EQ (item.getAccessibilityHandler()->getTitle(), list.getItemText (list.indexOfItemId (id)));
            juce::MessageManager::getInstance()->runDispatchLoopUntil (300);   // a menu takes no release in its first 250 ms

            for (auto modifiers : { 0, (int) juce::ModifierKeys::leftButtonModifier, 0 })
            {
                juce::ModifierKeys::currentModifiers = juce::ModifierKeys (modifiers);   // kept by the windowing layer; the menu reads it
                menu->getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, menu->getLocalPoint (&item, item.getLocalBounds().getCentre()).toFloat(),
                                                   juce::ModifierKeys (modifiers), 0.0f, 0.0f, juce::Time::currentTimeMillis());
                pump();
            }
            for (int i = 0; i < 100 && juce::Component::getCurrentlyModalComponent() != nullptr; ++i)
                pump();
            pump();   // the list's notification
        }

        void saveAs (const juce::String& name, int finalKey = juce::KeyPress::returnKey)
        {
            click (save);
            auto* dialog = modalDialog();
            ASSERT_TRUE (dialog != nullptr && dialog->getName() == "Save preset...");
            EXPECT_EQ (dialog->getTextEditor ("presetEditorID")->getTextToShowWhenEmpty(), "Enter preset name");
            typeInto (*dialog, name, finalKey);
        }

        void choose (int id) { list.setSelectedId (id); pump(); }   // as the list's menu does

        juce::StringArray items()
        {
            juce::StringArray texts;
            for (int i = 0; i < list.getNumItems(); ++i)
                texts.add (list.getItemText (i));
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

    /** The names of the file's entries after the factory entries. */
    juce::StringArray userNames (const juce::File& file)
    {
        juce::XmlElement presets ("PRESETS");
        readPresetsFile (file, presets);
        juce::StringArray names;
        for (int i = 23; i < presets.getNumChildElements(); ++i)
            names.add (presets.getChildElement (i)->getTagName() + " " + presets.getChildElement (i)->getStringAttribute ("presetName", "-"));
        return names;
    }

    void writeUserEntries (const juce::File& file, int count)
    {
        auto presets = PresetsHolder::createFactoryPresets();
        for (int i = 1; i <= count; ++i)
            presets.createNewChildElement ("preset" + juce::String (23 + i))->setAttribute ("presetName", i > 2 ? "user " + juce::String (i) : juce::String());
        presets.getChildElement (23)->removeAttribute ("presetName");
        writePresetsFile (presets, file);
    }

    /** The entry shown, "preset" and the current entry are `id`, and loading that entry changes no setting. */
    void expectShownAndLoaded (Instance& instance, int id, const char* step)
    {
        EXPECT_EQ (std::vector<int> ({ instance.list.getSelectedId(), (int) instance.processor.plainValue ("preset"),
                                       instance.processor.presetsHolder.currentIndex }), std::vector<int> (3, id)) << step;
        const auto live = instance.values();
        if (const auto* entry = id > 0 ? instance.processor.presetsHolder.presets.getChildElement (id - 1) : nullptr)
            applyParametersFromXml (*entry, instance.processor);
        EXPECT_EQ (instance.values(), live) << step;
    }

    struct StateComponentTest : ::testing::Test
    {
        void SetUp() override
        {
            if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
                GTEST_SKIP() << "the bar is driven through a window; run under a display (xvfb-run)";
        }

        ScopedTemporaryHome home;
    };

    TEST_F (StateComponentTest, LayoutAndLook)
    {
        Instance instance;
        for (const auto& [width, cells] : std::vector<std::pair<int, std::vector<int>>> { { 59, { 4, 4, 12, 4, 4 } }, { 11, { 0, 0, 0, 0, 0 } },
                                                                                          { 950, { 154, 154, 312, 154, 154 } } })
        {
            instance.bar.setSize (width, 30);
            std::vector<int> actual;
            for (auto* child : instance.bar.getChildren())
                actual.push_back (child->getWidth());
            EXPECT_EQ (actual, cells) << width;
            EXPECT_EQ (instance.bar.getChildren().getLast()->getRight(), width == 11 ? 2 : width - (width % 12) - 2);
        }

        state::StateLookAndFeel look;
        juce::ComboBox box;
        box.setSize (100, 10);
        EXPECT_FLOAT_EQ (look.getComboBoxFont (box).getHeight(), 9.5f);
        for (const auto& font : { look.getTextButtonFont (instance.button (0), 30), look.getPopupMenuFont() })
            EXPECT_TRUE (font.getHeight() == 15.0f && font.getExtraKerningFactor() == 0.02f && font.getHorizontalScale() == 1.1f
                         && font.getTypefaceName() == "Roboto");

        // Background 0xff202020 at 0.9 brightness; a disabled button draws at half alpha.
        EXPECT_TRUE (looktest::near (looktest::snapshot (instance.button (Instance::keep)).getPixelAt (4, 4),
                                     juce::Colour (0xff202020).withMultipliedBrightness (0.9f), 1));
        EXPECT_NEAR (looktest::snapshot (instance.button (Instance::remove)).getPixelAt (4, 4).getAlpha(), 128, 2);
    }

    TEST_F (StateComponentTest, ListNamesEntriesAndOnlyUserEntriesCanBeDeleted)
    {
        writeUserEntries (home.presetsFile(), 22);
        Instance instance;
        EXPECT_EQ (instance.items()[0], instance.list.getTextWhenNothingSelected());
        EXPECT_EQ (instance.items()[23] + instance.items()[24], "(Unnamed preset)(Unnamed preset)");

        for (auto [id, deletable] : { std::pair { 23, false }, { 24, true }, { 1, false }, { 43, true } })
        {
            instance.choose (id);
            EXPECT_EQ (instance.button (Instance::remove).isEnabled(), deletable) << id;
        }

        auto settings = instance.values();
        instance.click (Instance::remove);
        EXPECT_EQ (userNames (home.presetsFile()).size(), 21);
        EXPECT_EQ (userNames (home.presetsFile())[19], "preset44 user 21");   // tags stay
        EXPECT_EQ (instance.items()[42], "user 21");
        EXPECT_EQ (instance.list.getSelectedId() + instance.processor.presetsHolder.currentIndex, 0);
        settings[(size_t) instance.processor.parameter ("preset").getParameterIndex()] = 0.0f;
        EXPECT_EQ (instance.values(), settings);   // deleting loads nothing, not even "Load preset..."
        EXPECT_FALSE (instance.button (Instance::remove).isEnabled());

        instance.choose (24);
        instance.click (Instance::remove);
        EXPECT_EQ (userNames (home.presetsFile())[0], "preset25 ");
    }

    TEST_F (StateComponentTest, SavingStopsAt1001EntriesAndTheNewEntryHoldsTheSettings)
    {
        writeUserEntries (home.presetsFile(), 1000 - 23);
        Instance instance;
        EXPECT_TRUE (instance.button (Instance::save).isEnabled());
        instance.processor.setPlain ("gain-2", 6.0f);
        instance.saveAs ("last one");
        EXPECT_FALSE (instance.button (Instance::save).isEnabled());
        EXPECT_EQ (instance.list.getText(), "last one");

        instance.choose (1);
        instance.choose (1001);
        EXPECT_FLOAT_EQ (instance.processor.plainValue ("gain-2"), 6.0f);
    }

    TEST_F (StateComponentTest, ABSwapsKeepStoresAndThreeParametersStayOut)
    {
        Instance instance;
        for (auto id : { "gain-1", "numCrossovers", "input_plot", "output_plot" })
            instance.processor.parameter (id).setValueNotifyingHost (1.0f);
        const auto start = instance.values();

        instance.click (Instance::ab);
        for (auto* p : instance.processor.getParameters())
        {
            const auto id = dynamic_cast<juce::AudioProcessorParameterWithID*> (p)->paramID;
            EXPECT_EQ (p->getValue(), isExcludedFromParameterSets (id) ? start[(size_t) p->getParameterIndex()] : p->getDefaultValue()) << id;
        }

        instance.click (Instance::ab);
        EXPECT_EQ (instance.values(), start);
        instance.click (Instance::keep);
        instance.click (Instance::ab);
        EXPECT_EQ (instance.values(), start);
        EXPECT_GE (instance.changeMessages, 3);

        instance.choose (5);
        EXPECT_EQ (instance.processor.plainValue ("input_plot") + instance.processor.plainValue ("output_plot"), 2.0f);
    }

    TEST_F (StateComponentTest, SavingAfterAnotherInstanceSavedKeepsBothAndCancelKeepsAll)
    {
        Instance first, second;
        const auto before = contentsOf (home.presetsFile());
        second.saveAs ("never", juce::KeyPress::escapeKey);
        EXPECT_EQ (contentsOf (home.presetsFile()), before);
        EXPECT_EQ (second.changeMessages, 1);

        second.saveAs ("from second");
        first.saveAs ("from first");
        EXPECT_EQ (userNames (home.presetsFile()), juce::StringArray ({ "preset24 from second", "preset25 from first" }));
        EXPECT_EQ (first.list.getSelectedId() + first.processor.presetsHolder.currentIndex, 50);

        // The other instance's window, opened again, lists both.
        home.presetsFile().setLastModificationTime (juce::Time::getCurrentTime() + juce::RelativeTime::seconds (10));
        second.bar.reloadPresetsIfChanged();
        EXPECT_EQ (second.items()[24], "from first");
    }

    TEST_F (StateComponentTest, AFileThatCannotBeWrittenIsReportedAndTheListShowsTheFile)
    {
        writeUserEntries (home.presetsFile(), 3);
        Instance instance;
        const auto folder = home.presetsFile().getParentDirectory();
        folder.setReadOnly (true);

        // The superuser writes in spite of permissions; a file-size limit fails it as a full disk would.
        rlimit saved {}, tiny { 1024, RLIM_INFINITY };
        getrlimit (RLIMIT_FSIZE, &saved);
        tiny.rlim_max = saved.rlim_max;
        const auto previousHandler = std::signal (SIGXFSZ, SIG_IGN);
        setrlimit (RLIMIT_FSIZE, &tiny);

        for (auto title : { "Preset not saved", "Preset not deleted" })
        {
            if (juce::String (title).endsWith ("saved"))
                instance.saveAs ("lost");
            else
                instance.choose (26), instance.click (Instance::remove);

            auto* alert = modalDialog();
            ASSERT_TRUE (alert != nullptr && alert->getName() == title);
            const auto image = looktest::snapshot (*alert);   // the warning icon, orange-red on black, whole inside
            const auto icon = looktest::findPixels (image, [] (juce::Colour c) { return c.getRed() > 30 && c.getGreen() * 2 < c.getRed() && c.getBlue() < 8; });
            EXPECT_TRUE (image.getBounds().reduced (4).contains (icon) && icon.getHeight() >= 40) << icon.toString();
            const auto text = alert->getDescription().fromFirstOccurrenceOf (home.presetsFile().getFullPathName() + "\ncould not be written: ", false, false);
            EXPECT_TRUE (text.startsWith ("File too large.") || text.startsWith ("Permission denied.")) << text;
            typeInto (*alert, {}, juce::KeyPress::returnKey);
            EXPECT_EQ (modalDialog(), nullptr);
            EXPECT_EQ (instance.items().size(), 26);
        }

        setrlimit (RLIMIT_FSIZE, &saved);
        std::signal (SIGXFSZ, previousHandler);
        folder.setReadOnly (false);
        EXPECT_EQ (userNames (home.presetsFile()).size(), 3);
        EXPECT_EQ (instance.list.getText(), "user 3");
    }

    TEST_F (StateComponentTest, NoUserEntryIsLostBySavesAndDeletesInTwoInstances)
    {
        Instance instances[2];
        juce::StringArray model;
        std::mt19937 random (7);

        for (int step = 0; step < 60; ++step)
        {
            auto& instance = instances[random() % 2];
            if (random() % 4 == 0)   // its window opened again
            {
                home.presetsFile().setLastModificationTime (juce::Time::getCurrentTime() + juce::RelativeTime::seconds (step + 1));
                instance.bar.reloadPresetsIfChanged();
            }

            const auto name = "step " + juce::String (step);
            if (const auto listed = instance.items().size(); listed > 23 && random() % 2 == 0)
            {
                const auto id = 24 + (int) (random() % (unsigned) (listed - 23));
                instance.choose (id);
                model.removeString (instance.items()[id - 1]);
                instance.click (Instance::remove);
            }
            else
            {
                instance.saveAs (name);
                model.add (name);
            }

            auto names = userNames (home.presetsFile());
            for (auto& n : names)
                n = n.fromFirstOccurrenceOf (" ", false, false);
            ASSERT_EQ (names, model) << name;
            EXPECT_EQ (instance.items().size(), 23 + model.size());
        }
    }

    // "preset" names the entry loaded: a host project keeps it while another instance
    // saves entries, and restoring it, or the host setting it, selects without loading.
    TEST_F (StateComponentTest, PresetNamesTheLoadedEntryAcrossInstancesAndRestoredStates)
    {
        Instance first, second;
        first.choose (12);
        expectShownAndLoaded (first, 12, "chosen");
        const auto project = first.saved();
        second.processor.setPlain ("gain-2", 6.0f);
        for (auto name : { "one", "two" })
            second.saveAs (name);
        expectShownAndLoaded (second, 25, "saved");

        Instance third (project);
        expectShownAndLoaded (third, 12, "project opened again");
        third.choose (13);
        expectShownAndLoaded (third, 13, "next entry chosen");
        third.restore (project);
        pump();
        expectShownAndLoaded (third, 12, "project restored into the open window");
        third.choose (25);
        third.click (Instance::remove);
        expectShownAndLoaded (third, 0, "deleted");

        third.processor.setPlain ("gain-2", 0.0f);
        for (auto [value, shown] : { std::pair { 24, 24 }, { 30, 0 } })   // the host names an entry, then none
        {
            third.processor.setPlain ("preset", (float) value), pump();
            EXPECT_EQ (third.list.getSelectedId() * 1000 + third.processor.presetsHolder.currentIndex, shown * 1001) << value;
            third.click (Instance::remove);
        }
        EXPECT_EQ (third.processor.plainValue ("gain-2"), 0.0f);   // not loaded: entry 24 "one" has 6 dB
        EXPECT_TRUE (userNames (home.presetsFile()).isEmpty());
    }

    struct ParameterEvents : juce::AudioProcessorParameter::Listener
    {
        void parameterValueChanged (int, float) override   { ++changes; }
        void parameterGestureChanged (int, bool) override  { ++gestureEdges; }
        int changes = 0, gestureEdges = 0;
    };

    // The list shows an entry while the settings have left it; choosing that entry in the
    // popup loads it again, and tells the window. Another entry loads once.
    TEST_F (StateComponentTest, ChoosingTheShownEntryInThePopupLoadsItAgain)
    {
        {
            Instance saving;
            for (auto [name, decibels] : { std::pair { "minus nine", -9.0f }, { "minus three", -3.0f } })
                saving.processor.setPlain ("output", decibels), saving.saveAs (name);
        }

        struct Case { const char* name; std::function<int (std::optional<Instance>&)> leaveTheEntry; bool shownAlready; };
        const Case cases[] {
            { "after A/B", [] (auto& i) { i->chooseInPopup (24); i->click (Instance::ab); return 24; }, true },
            { "after turning a knob", [] (auto& i) { i->chooseInPopup (24); i->processor.setPlain ("output", 0.0f); return 24; }, true },
            { "after the host named entry 5", [] (auto& i) { i->processor.setPlain ("preset", 5.0f); return 5; }, true },
            { "another entry", [] (auto& i) { i->chooseInPopup (24); return 25; }, false },
            { "after reopening a project whose entry was deleted", [] (auto& i)   // last: it deletes an entry
              {
                  i->chooseInPopup (24);
                  const auto project = i->saved();
                  i->click (Instance::remove);   // "minus three" moves to 24, the project's ID
                  i.reset();
                  i.emplace (project);           // which names no entry now: "minus nine" is gone
                  return 24;
              }, false },
        };

        for (const auto& c : cases)
        {
            std::optional<Instance> opened (std::in_place);
            const auto id = c.leaveTheEntry (opened);
            auto& instance = *opened;
            pump();
            ASSERT_EQ (instance.list.getSelectedId() == id, c.shownAlready) << c.name;

            ParameterEvents loads, presetChoice;
            instance.processor.parameter ("output").addListener (&loads);
            instance.processor.parameter ("preset").addListener (&presetChoice);
            instance.changeMessages = 0;
            instance.chooseInPopup (id);
            instance.processor.parameter ("output").removeListener (&loads);
            instance.processor.parameter ("preset").removeListener (&presetChoice);

            EXPECT_EQ (std::vector<int> ({ loads.changes, presetChoice.gestureEdges, instance.changeMessages }),
                       std::vector<int> ({ 1, c.shownAlready ? 0 : 2, 1 })) << c.name;
            expectShownAndLoaded (instance, id, c.name);
        }
    }

    // Entries A, B, C; a project chooses B and is saved; another deletes A, and the next start
    // renumbers them. Reopened, the project names B, and "Delete preset" removes B, never C.
    TEST_F (StateComponentTest, AReopenedProjectNamesTheEntryItWasSavedWithOrNone)
    {
        const std::pair<const char*, std::function<void (std::optional<Instance>&, const juce::MemoryBlock&)>> cases[] {
            { "window opened after the restore", [] (auto& i, auto& project) { i.emplace (project); } },
            { "restored while C, at the project's ID, is shown", [] (auto& i, auto& project) { i.emplace(); i->choose (27); i->restore (project); } },
            { "restored and saved on a host thread while the window goes on", [] (auto& i, auto& project)
              { i.emplace(); std::thread host ([&] { i->restore (project); i->saved(); }); pump(); host.join(); } },
        };

        for (const auto& [name, reopen] : cases)
        {
            writeUserEntries (home.presetsFile(), 5);   // A, B, C: "user 3" to "user 5", IDs 26 to 28
            juce::MemoryBlock project;
            {
                Instance saving, other;
                saving.choose (27);
                project = saving.saved();
                other.choose (26), other.click (Instance::remove);
            }

            std::optional<Instance> reopened;
            reopen (reopened, project);
            pump();
            expectShownAndLoaded (*reopened, 26, name);
            reopened->click (Instance::remove);
            const auto left = userNames (home.presetsFile());
            EXPECT_TRUE (left.size() == 3 && left[2].endsWith (" user 5")) << name << ": " << left.joinIntoString (", ");
        }
    }
}
