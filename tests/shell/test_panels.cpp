// The panels on the offscreen platform, with the waits, sounds and spin stubbed: what each key
// opens and where, the sounds and waits of its opening and closing, the panel watch's flags, and
// the options panel's switches and what its exit button writes. Switching to another program for
// real, the window shapes and the slides on a screen are checked end to end (tests/e2e).
#include <QLineEdit>
#include <QTest>

#include "assets/resource_names.h"
#include "shell/image_button.h"
#include "shell/skin.h"
#include "tests/support/golden.h"
#include "tests/support/panel_world.h"
#include "tests/support/widget_fixture.h"

using namespace voltaro;
using namespace voltaro::shell;
using namespace voltaro::app;
using testing::played;
namespace fs = std::filesystem;
namespace bitmap = voltaro::assets::program;
namespace sound = voltaro::assets::tonebank;

namespace {

// A calculator panel that records what the base asks of it.
struct Calls {
    int restored = 0, saved = 0, firstTicks = 0;
};
class ProbePanel : public PanelForm {
public:
    ProbePanel(PanelContext& context, const PanelRow& row, Calls& calls)
        : PanelForm(context, row), calls_(calls) {
        box = addControl(new QLineEdit(this), assets::layout::wire::kAmps);
    }
    bool error(const std::string& message) { return showError(message); }
    QLineEdit* box;

protected:
    void Form_Load(bool restore) override { calls_.restored += restore; }
    void firstTick() override { ++calls_.firstTicks; }
    void saveInputs() override { ++calls_.saved; }

private:
    Calls& calls_;
};

// A calculator panel whose calculation gives what the test says, counting its hooks.
class ScriptedPanel : public CalculatorForm {
public:
    ScriptedPanel(PanelContext& context, const PanelRow& row, calc::Outcome outcome)
        : CalculatorForm(context, row), outcome_(std::move(outcome)) {}
    int calculated = 0, left = 0;
    bool busy = false;

protected:
    calc::Outcome calculate() override {
        ++calculated;
        return outcome_;
    }
    bool acceptsPress() const override { return !busy; }
    void leaving() override { ++left; }

private:
    calc::Outcome outcome_;
};

bool shows(const ImageButton* button, const char* bitmap) {
    return button->picture().toImage().convertToFormat(QImage::Format_RGB32) ==
           skinBitmap(bitmap).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TestPanels : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::PanelWorld> world_;
    // The world's parts.
    fs::path app_;
    SharedState* state_ = nullptr;
    OptionsStore* options_ = nullptr;
    FrmMain* main_ = nullptr;
    testing::StubEffects* effects_ = nullptr;
    PanelHost* host_ = nullptr;
    Calls calls_;

    void setForeground(WindowId id) { world_->setForeground(id); }
    void press(std::int16_t number) { world_->press(number); }
    ImageButton* exitOf(PanelForm* panel) {
        auto* button = panel->findChild<ImageButton*>(QStringLiteral("DneBut1"));
        return button != nullptr ? button
                                 : panel->findChild<ImageButton*>(QStringLiteral("DneBut"));
    }
    void registerProbe() {
        host_->registerPanel(app::kWirePanel, [this](PanelContext& c, const PanelRow& row) {
            return std::make_unique<ProbePanel>(c, row, calls_);
        });
    }

private Q_SLOTS:
    void initTestCase() { testing::quietAboutMasks(); }
    void init() {
        world_ = std::make_unique<testing::PanelWorld>();
        app_ = world_->app;
        state_ = world_->state.get();
        options_ = world_->options.get();
        main_ = world_->main.get();
        effects_ = world_->effects.get();
        host_ = world_->host.get();
        calls_ = {};
    }
    void cleanup() { world_.reset(); }

    void keysOpenAndCloseTheirPanels_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QRect>("at");  // relative to the main window
        QTest::addColumn<QStringList>("openSounds");
        QTest::addColumn<int>("openSteps");
        QTest::addColumn<int>("openTicks");
        QTest::addColumn<QStringList>("closeSounds");
        QTest::addColumn<int>("closeSteps");
        QTest::addColumn<int>("closeTicks");
        QTest::addColumn<QString>("display");  // as the label shows it
        const QStringList square{played(sound::kTickLo, 1), played(sound::kOut, 1)},
            round{played(sound::kTick, 0), played(sound::kOut, 1)},
            back{played(sound::kTick, 0), played(sound::kIn, 1)};
        // clang-format off
        QTest::newRow("wire") << 1 << QRect(241, 90, 184, 366) << square << 160 << 4000 << back << 170 << 4000 << "Size Wire:\n";
        // clang-format off
        QTest::newRow("ground") << 3 << QRect(241, 34, 184, 172) << square << 160 << 4000 << back << 170 << 4000 << "Size GND & OCP:\n";
        QTest::newRow("conduit") << 2 << QRect(-155, 138, 182, 364) << square << 159 << 4000 << back << 164 << 4000 << "Size Conduit:\n";
        QTest::newRow("transformer") << 4 << QRect(-155, 44, 182, 259) << square << 159 << 4000 << back << 164 << 4000 << "Transformer or KVA:\n";
        QTest::newRow("starter") << 5 << QRect(241, 199, 184, 148) << round << 160 << 4000 << back << 170 << 4000 << "Size Starter:\n";
        QTest::newRow("enclosure") << 6 << QRect(-155, 89, 182, 235) << round << 159 << 4000 << back << 164 << 4000 << "Find NEMA Enclosure:\n";
        QTest::newRow("voltage drop, from the menu") << 8 << QRect(241, 83, 184, 380) << square << 160 << 4000 << back << 170 << 4000 << "Find Voltage Drop:\n";
        QTest::newRow("motor current, from the menu") << 9 << QRect(-155, 77, 182, 192) << square << 159 << 4000 << back << 164 << 4000 << "Motor Full Load Amps:\n";
        QTest::newRow("options") << 7 << QRect(-195, 319, 418, 177) << QStringList{played(sound::kTick, 0)} << 204 << 8000
                                 << QStringList{played(sound::kTickLo, 0)} << 204 << 5000 << QString();
        // clang-format on
        // clang-format on
    }
    void keysOpenAndCloseTheirPanels() {
        QFETCH(int, number);
        QFETCH(QRect, at);
        QFETCH(QStringList, openSounds);
        QFETCH(int, openSteps);
        QFETCH(int, openTicks);
        QFETCH(QStringList, closeSounds);
        QFETCH(int, closeSteps);
        QFETCH(int, closeTicks);
        QFETCH(QString, display);
        const auto n = static_cast<std::int16_t>(number);
        state_->ResultsReady = true;
        state_->NoteFlags[3] = true;
        main_->RefreshButtons();

        press(n);
        QPointer<PanelForm> panel = host_->currentPanel();
        QVERIFY(panel);
        QCOMPARE(panel->objectName(), QLatin1String(host_->row(n).formName));
        QCOMPARE(main_->pos(), centredPosition(main_->screen()->geometry(), main_->size()));
        QCOMPARE(panel->geometry(), at.translated(main_->pos()));
        QVERIFY(panel->isVisible());
        QVERIFY(panel->mask().isEmpty());  // all of it shows
        QCOMPARE(effects_->sounds, openSounds);
        std::vector<std::int32_t> lags{222222, 555555};
        lags.insert(lags.end(), static_cast<std::size_t>(openSteps), openTicks);
        QCOMPARE(effects_->lags, lags);
        QVERIFY(state_->PanelBusy);
        QVERIFY(!main_->isEnabled());
        QVERIFY(!state_->ResultsReady);
        QCOMPARE(state_->NoteFlags[3], !host_->row(n).resetsNotes);
        QVERIFY(shows(main_->printButton(), bitmap::kPRNOFF));
        QCOMPARE(state_->PanelWidth, host_->row(n).size.w);
        if (display.isEmpty()) {
            QVERIFY(state_->DisplayText.empty());
            QCOMPARE(effects_->spins, QList<int>{1});
            QVERIFY(host_->mainFace().covering());
        } else {  // the row's own picture slides out
            QCOMPARE(main_->displayLabel()->text(), display);
            QCOMPARE(state_->PanelImage->image().convertToFormat(QImage::Format_RGB32),
                     skinBitmap(host_->row(n).picture).convertToFormat(QImage::Format_RGB32));
        }

        ImageButton* exit = exitOf(panel);
        QVERIFY(exit && !exit->isVisible());
        panel->PanelT_Timer();
        QVERIFY(exit->isVisible());
        QVERIFY(state_->PanelTimerArmed);
        QCOMPARE(state_->PanelForeground, static_cast<WindowId>(panel->winId()));

        effects_->sounds.clear();
        effects_->lags.clear();
        QTest::mouseClick(exit, Qt::LeftButton);
        QCOMPARE(effects_->sounds, closeSounds);
        QCOMPARE(effects_->lags,
                 std::vector<std::int32_t>(static_cast<std::size_t>(closeSteps), closeTicks));
        QVERIFY(!state_->PanelBusy);
        QVERIFY(main_->isEnabled());
        QVERIFY(panel->isUnloaded() && !panel->isVisible());
        if (display.isEmpty()) {
            QCOMPARE(effects_->spins, (QList<int>{1, 0}));
            QVERIFY(!host_->mainFace().covering());
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!panel);
        QVERIFY(!host_->currentPanel());
    }

    void watch_data() {
        QTest::addColumn<QString>("foreground");
        QTest::addColumn<bool>("abandoned");
        // clang-format off
        QTest::newRow("the panel") << "panel" << false;
        QTest::newRow("the error window") << "error" << false;
        QTest::newRow("the disabled main window") << "main" << false;
        QTest::newRow("another program") << "none" << true;
        QTest::newRow("another window of ours, a message box") << "other" << false;
        // clang-format on
    }
    void watch() {
        QFETCH(QString, foreground);
        QFETCH(bool, abandoned);
        registerProbe();
        press(kWirePanel);
        QPointer<PanelForm> panel = host_->currentPanel();
        auto* probe = static_cast<ProbePanel*>(panel.data());
        QVERIFY(!probe->box->isVisible());
        state_->ErrorForeground = 777;
        bool errorUnloaded = false;
        state_->UnloadErrorWindow = [&] { errorUnloaded = true; };
        panel->PanelT_Timer();  // the first tick: shows the controls, never abandons
        QVERIFY(probe->box->isVisible());
        QCOMPARE(calls_.firstTicks, 1);
        const std::map<QString, WindowId> ids{{"panel", panel->winId()},
                                              {"error", 777},
                                              {"main", main_->winId()},
                                              {"none", 0},
                                              {"other", 4242}};
        setForeground(ids.at(foreground));
        panel->PanelT_Timer();
        QCOMPARE(panel->isUnloaded(), abandoned);
        QCOMPARE(state_->AbandonedPanel, abandoned ? std::int16_t{kWirePanel} : kNoPanel);
        QCOMPARE(state_->FocusLost, abandoned);
        QCOMPARE(state_->PanelBusy, !abandoned);
        QCOMPARE(main_->isEnabled(), abandoned);
        QCOMPARE(errorUnloaded, abandoned);
        QCOMPARE(calls_.saved, abandoned ? 1 : 0);
        if (!abandoned) return;

        // The next open of the same panel restores its inputs, once.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!panel);
        press(kWirePanel);
        QCOMPARE(calls_.restored, 1);
        QCOMPARE(state_->AbandonedPanel, kNoPanel);
        QVERIFY(!state_->ErrorShown && !state_->PanelTimerArmed);
    }

    // After a panel the focus is back where it was: on the key the ring was on, or on the window
    // itself so that the next Tab lands on WIRE SIZE. No key takes it while the panel opens, and a
    // main window the window manager activated during the slide is activated once freed.
    void focusComesBackAfterAPanel_data() {
        QTest::addColumn<QString>("keys");  // typed on the main window; the last one opens a panel
        QTest::addColumn<bool>("early");    // the main window is activated before the panel closes
        QTest::addColumn<QString>("back");  // the key with the ring after the panel ("": none)
        QTest::addColumn<QString>("tab");   // where the next Tab puts it
        // clang-format off
        QTest::newRow("by its letter")          << "G" << false << "" << "SmSqImage0";
        QTest::newRow("by Tab and Space")       << "Tab Tab Space" << false << "SmSqImage1" << "SmSqImage2";
        QTest::newRow("by a letter, ring on")   << "Tab Tab Tab C" << false << "SmSqImage2" << "SmSqImage3";
        QTest::newRow("from the menu, ring on") << "Tab menu" << false << "SmSqImage0" << "SmSqImage1";
        QTest::newRow("activated in the slide") << "Tab Space" << true << "SmSqImage0" << "SmSqImage1";
        QTest::newRow("by its letter, early")   << "G" << true << "" << "SmSqImage0";
        // clang-format on
    }
    void focusComesBackAfterAPanel() {
        QFETCH(QString, keys);
        QFETCH(bool, early);
        QFETCH(QString, back);
        QFETCH(QString, tab);
        const auto ringOn = [this] {
            const auto* key = qobject_cast<ImageButton*>(main_->focusWidget());
            return key != nullptr && key->ringShown() ? key->objectName() : QString();
        };
        QStringList focused;  // the main window's controls that took the focus meanwhile
        QObject watching;
        const QStringList typed = keys.split(' ');
        for (const QString& name : typed) {
            if (&name == &typed.last())
                connect(qApp, &QApplication::focusChanged, &watching, [&](QWidget*, QWidget* now) {
                    if (now != nullptr && now->window() == main_) focused << now->objectName();
                });
            if (name == QLatin1String("menu"))  // an entry of the face's menu opens it
                host_->openRow(host_->row(kGroundPanel));
            else
                QTest::keyClick(main_->windowHandle(), QKeySequence::fromString(name)[0].key());
        }
        PanelForm* panel = host_->currentPanel();
        QVERIFY(panel);
        panel->PanelT_Timer();
        QCOMPARE(focused, QStringList());
        if (early) QApplication::setActiveWindow(main_);
        QTest::mouseClick(exitOf(panel), Qt::LeftButton);
        QTRY_VERIFY(main_->isActiveWindow() && main_->focusWidget() != nullptr);
        QTRY_VERIFY(shows(main_->squareButton(1), bitmap::kSMSQUP));  // the keys refreshed
        QCOMPARE(ringOn(), back);
        QTest::keyClick(main_->windowHandle(), Qt::Key_Tab);
        QCOMPARE(ringOn(), tab);
    }

    // The watch may abandon the panel while its error window is up; the panel's handler then
    // learns it from showError, and the panel is deleted only after that handler has returned.
    void abandonedWhileAnErrorIsShown() {
        registerProbe();
        press(kWirePanel);
        QPointer<PanelForm> panel = host_->currentPanel();
        panel->PanelT_Timer();
        QTimer::singleShot(0, this, [&] {
            QVERIFY(state_->UnloadErrorWindow);
            setForeground(0);
            panel->PanelT_Timer();
        });
        const bool stillOpen =
            static_cast<ProbePanel*>(panel.data())->error("Values Too High\r\nCannot Compute.");
        QVERIFY(!stillOpen);
        QVERIFY(panel);  // not yet deleted: its handler is still running
        QVERIFY(!state_->UnloadErrorWindow && state_->ErrorShown);
        QCOMPARE(state_->AbandonedPanel, kWirePanel);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!panel);
    }

    void optionsSwitchesAndExit_data() {
        QTest::addColumn<bool>("byExit");
        QTest::addColumn<bool>("autoStart");
        QTest::addColumn<bool>("writable");  // the settings file can be written
        QTest::addColumn<bool>("keyboard");  // Tab and Space on the switches, Escape to leave
        // clang-format off
        QTest::newRow("exit, Auto Start on") << true << true << true << false;
        QTest::newRow("exit, Auto Start off") << true << false << true << false;
        QTest::newRow("exit, settings not writable") << true << false << false << false;
        QTest::newRow("switched away") << false << true << true << false;
        QTest::newRow("keyboard, Auto Start on") << true << true << true << true;
        // clang-format on
    }
    void optionsSwitchesAndExit() {
        QFETCH(bool, byExit);
        QFETCH(bool, autoStart);
        QFETCH(bool, writable);
        QFETCH(bool, keyboard);
        options_->SetRunEntry("Voltaro", "/old/Voltaro", "min");  // left by an earlier run
        const QByteArray iniBefore = testing::fileBytes(app_ / "config.ini");
        press(kOptionsPanel);
        auto* door = static_cast<Door*>(host_->currentPanel());
        door->PanelT_Timer();
        QCOMPARE(door->dipSwitch(0)->toolTip(), QStringLiteral("Button Sounds  On / Off "));
        QCOMPARE(door->dipSwitch(5)->toolTip(),
                 QStringLiteral("Terminal Ratings Automatic / Terminals Rated At 75C"));
        QCOMPARE(door->exitButton()->toolTip(), QStringLiteral("Exit"));

        // Button Sounds off: its own click still sounds, the next one does not.
        effects_->sounds.clear();
        QTest::mouseClick(door->dipSwitch(kButtonSounds), Qt::LeftButton);
        QVERIFY(!state_->OptionFlags[kButtonSounds]);
        QVERIFY(shows(door->dipSwitch(kButtonSounds), bitmap::kDIP_F));
        QTest::mouseClick(door->dipSwitch(kAutoMin), Qt::LeftButton);
        QVERIFY(state_->OptionFlags[kAutoMin]);
        QVERIFY(shows(door->dipSwitch(kAutoMin), bitmap::kDIP_O));
        QCOMPARE(effects_->sounds, QStringList{played(sound::kDip, 0)});
        if (autoStart != state_->OptionFlags[kAutoStart])
            QTest::mouseClick(door->dipSwitch(kAutoStart), Qt::LeftButton);
        if (keyboard) {  // Space flips Button Sounds back on; Tab goes on over the six to exit
            door->dipSwitch(0)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(door->focusWidget(), Qt::Key_Space);
            for (int i = 0; i < kOptionCount; ++i)
                QTest::keyClick(door->focusWidget(), Qt::Key_Tab);
            QCOMPARE(door->focusWidget(), door->exitButton());
        }
        if (!writable) {  // a folder where the settings file should be
            fs::remove(app_ / "config.ini");
            fs::create_directory(app_ / "config.ini");
        }
        testing::ErrorCloser closer;  // an error window closes as soon as it shows
        if (byExit && keyboard) {
            QTest::keyClick(door->focusWidget(), Qt::Key_Escape);
        } else if (byExit) {
            QTest::mouseClick(door->exitButton(), Qt::LeftButton);
        } else {
            setForeground(0);
            door->PanelT_Timer();
        }
        QVERIFY(door->isUnloaded());
        QVERIFY(!host_->mainFace().covering());  // "BASE" again
        QVERIFY(state_->OptionFlags[kAutoMin]);  // for this run, either way
        const auto entry = testing::fileBytes(options_->runEntryPath("Voltaro"));
        if (!byExit) {
            QCOMPARE(testing::fileBytes(app_ / "config.ini"), iniBefore);
            QVERIFY(entry.contains("Exec=\"/old/Voltaro\" min"));
            QCOMPARE(state_->AbandonedPanel, kOptionsPanel);
            return;
        }
        // A failure to save is said, and the panel still closes.
        QCOMPARE(closer.message.startsWith(QLatin1String("Options Not Saved:\n")), !writable);
        if (!writable) return;
        SharedState read;
        options_->LoadOptions(read, false);
        QCOMPARE(read.OptionFlags, state_->OptionFlags);  // all six, as switched
        const std::string exec = "Exec=\"" + (app_ / "Voltaro").string() + "\" min\n";
        QCOMPARE(entry.contains(exec.c_str()), autoStart);
        QCOMPARE(fs::exists(options_->runEntryPath("Voltaro")), autoStart);
    }
    // Both buttons of every calculator run one sequence: the click, the calculation (DneBut 0),
    // the error window or the answer, then leaving, "in" and the slide back.
    void calculateAndExit_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<bool>("busy");  // a drag under way
        QTest::addColumn<QStringList>("sounds");
        QTest::addColumn<bool>("closes");
        const QStringList tick{played(sound::kTick, 0)}, back{tick[0], played(sound::kIn, 1)};
        // clang-format off
        QTest::newRow("calculate") << 0 << false << false << back << true;
        QTest::newRow("calculate, failing") << 0 << true << false << tick << false;
        QTest::newRow("exit") << 1 << false << false << back << true;
        QTest::newRow("exit, busy") << 1 << false << true << QStringList() << false;
        // clang-format on
    }
    void calculateAndExit() {
        QFETCH(int, button);
        QFETCH(bool, fails);
        QFETCH(bool, busy);
        QFETCH(QStringList, sounds);
        QFETCH(bool, closes);
        calc::Answer answer;
        answer.displayLines = {"Use Size 2 Starter"};
        answer.log = calc::StartResultsLog("~ Test ~");
        const calc::Outcome outcome =
            fails ? calc::Outcome(calc::Failure{"Volt Rating Is\r\nToo High."}) : answer;
        host_->registerPanel(kStarterPanel, [&](PanelContext& c, const PanelRow& row) {
            return std::make_unique<ScriptedPanel>(c, row, outcome);
        });
        press(kStarterPanel);
        auto* panel = static_cast<ScriptedPanel*>(host_->currentPanel());
        panel->PanelT_Timer();
        panel->busy = busy;
        effects_->sounds.clear();
        testing::ErrorCloser closer;
        panel->DneBut_Click(button);
        QCOMPARE(effects_->sounds, sounds);
        QCOMPARE(panel->calculated, button == 0 ? 1 : 0);
        QCOMPARE(closer.shown, fails ? 1 : 0);
        QCOMPARE(panel->isUnloaded(), closes);
        QCOMPARE(panel->left, closes ? 1 : 0);
        QCOMPARE(state_->ResultsReady, closes && button == 0);
        QVERIFY(!state_->ErrorShown);
        if (!closes) return;
        panel->DneBut_Click(0);  // a press on a panel that has closed does nothing
        QCOMPARE(panel->calculated, button == 0 ? 1 : 0);
    }

    // The table is the one list of panels: a row that contradicts another is refused when the
    // host is made, and a number no row has opens nothing.
    void theTableIsChecked_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("refusal");  // empty: accepted
        // clang-format off
        QTest::newRow("the program's table") << 0 << "";
        QTest::newRow("a number taken") << 1 << "Conduit Fill: panel number 1 is taken";
        QTest::newRow("a key taken") << 2 << "Conduit Fill: its key is taken";
        QTest::newRow("a key off the face") << 3 << "Conduit Fill: no key 4 on the face";
        QTest::newRow("a menu row without its entry") << 4 << "Conduit Fill: a menu row needs its entry";
        QTest::newRow("no factory") << 5 << "Conduit Fill: no factory";
        QTest::newRow("no number") << 6 << "Conduit Fill: panel number 0";
        // clang-format on
    }
    void theTableIsChecked() {
        QFETCH(int, change);
        QFETCH(QString, refusal);
        std::vector<PanelRow> rows = host_->rows();
        PanelRow& conduit = rows[1];
        switch (change) {
            case 1:
                conduit.number = kWirePanel;
                break;
            case 2:
                conduit.keyIndex = 0;
                break;
            case 3:
                conduit.keyIndex = 4;
                break;
            case 4:
                conduit.key = PanelKey::Menu;
                break;
            case 5:
                conduit.factory = nullptr;
                break;
            case 6:
                conduit.number = 0;
                break;
        }
        QCOMPARE(QString::fromStdString(checkPanelTable(rows).value_or("")), refusal);
    }
    void anUnknownPanelOpensNothing() {
        QVERIFY(!host_->open(99));
        QVERIFY(!host_->currentPanel() && !state_->PanelBusy);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, host_->row(99));
    }
};

VOLTARO_WIDGET_TEST_MAIN(TestPanels)
#include "test_panels.moc"
