// The wire size, ground and OCP, transformer, motor starter, voltage-drop and motor current panels
// in the program's windows on the offscreen platform, the waits stubbed. What they share runs as
// rows of one table per behaviour: a fresh panel, the keys, tool tips, a result (display, results
// log, sounds, Auto Print), an error (message, the panel left as it was) and the inputs kept while
// the user is in another program; then what only the wire panel's lists and ambient box do, and the
// lists that follow the voltage-drop panel's system and material and the motor panel's phase.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <algorithm>

#include "assets/resource_names.h"
#include "calc/ground/groundfrm.h"
#include "calc/motor/motorfrm.h"
#include "calc/starter/starterfrm.h"
#include "calc/transformer/transformerfrm.h"
#include "calc/vdrop/vdropfrm.h"
#include "calc/wire/wirefrm.h"
#include "shell/image_button.h"
#include "shell/skin.h"
#include "tests/support/golden.h"
#include "tests/support/panel_world.h"
#include "tests/support/widget_fixture.h"

using namespace voltaro;
using calc::transformer::Xfmr;
namespace sound = voltaro::assets::tonebank;

class TestCalculatorPanels : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::PanelWorld> world_;

    shell::PanelForm* open(int number) {
        const auto n = static_cast<std::int16_t>(number);
        shell::PanelForm* panel = world_->open(n);
        if (panel != nullptr && !QTest::qWaitForWindowActive(panel)) return nullptr;
        return panel;
    }
    // Types into the open panel: "TB0=40" replaces a box's text, "Lst0=1" selects a list's row,
    // "Knob0" clicks a knob; entries separated by ";".
    void enter(const QString& entries) {
        for (const QString& entry : entries.split(';', Qt::SkipEmptyParts)) {
            const QString name = entry.section('=', 0, 0);
            const QString value = entry.section('=', 1);
            const QByteArray key = name.toLatin1();
            if (auto* box = world_->control<QLineEdit>(key))
                box->setText(value);
            else if (auto* list = world_->control<QListWidget>(key))
                list->setCurrentRow(value.toInt());
            else if (auto* combo = world_->control<QComboBox>(key))
                combo->setCurrentText(value);
            else if (auto* knob = world_->control<shell::ImageButton>(key); value.isEmpty())
                QTest::mouseClick(knob, Qt::LeftButton);
            else  // "Knob1=Down": a key pressed on it
                QTest::keyClick(knob, QKeySequence::fromString(value)[0].key());
        }
    }
    // The text box of a control: a box, or the box of an editable drop-down list.
    static QLineEdit* boxOf(QWidget* control) {
        auto* combo = qobject_cast<QComboBox*>(control);
        return combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(control);
    }
    // What the panel shows, by object name: boxes (the transformer's first with its tool tip, which
    // follows the mode), lists' and drop-down lists' selections (a dimmed one marked "~"), value
    // labels, the knobs ("U" for KNOB_U) and which captions are lit ("L1_0*").
    QString shown() {
        auto widgets = world_->host->currentPanel()->findChildren<QWidget*>();
        std::sort(widgets.begin(), widgets.end(),
                  [](auto* a, auto* b) { return a->objectName() < b->objectName(); });
        QStringList parts;
        for (QWidget* w : widgets) {
            const QString name = w->objectName() + (w->isEnabled() ? "" : "~");
            if (name.isEmpty()) continue;  // a drop-down list's own box
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                parts << name + "=" + combo->currentText();
            } else if (auto* box = qobject_cast<QLineEdit*>(w)) {
                parts << name + "=" + box->text() +
                             (name == "TA" ? " (" + box->toolTip() + ")" : "");
            } else if (auto* list = qobject_cast<QListWidget*>(w)) {
                parts << name + "=" + (list->currentItem() ? list->currentItem()->text() : "-");
            } else if (auto* label = qobject_cast<QLabel*>(w)) {
                if (name == "LB" || name == "L1_6")
                    parts << name + "=" + label->text();
                else if (label->palette().color(QPalette::WindowText) ==
                         shell::PanelForm::Knob::kLit)
                    parts << name + "*";
            } else if (auto* knob = qobject_cast<shell::ImageButton*>(w);
                       knob && name.startsWith("Knob")) {
                const QImage up = shell::skinBitmap(assets::program::kKNOB_U);
                parts << name + "=" +
                             (knob->picture().toImage().convertToFormat(up.format()) == up ? "U"
                                                                                           : "D");
            }
        }
        return parts.join(';');
    }

private Q_SLOTS:
    void initTestCase() { testing::quietAboutMasks(); }
    void init() {
        world_ = std::make_unique<testing::PanelWorld>();
        world_->registerPanel<calc::wire::WireFrm>(app::kWirePanel);
        world_->registerPanel<calc::ground::GndOcp>(app::kGroundPanel);
        world_->registerPanel<Xfmr>(app::kTransformerPanel);
        world_->registerPanel<calc::starter::Starter>(app::kStarterPanel);
        world_->registerPanel<calc::vdrop::VDropFrm>(app::kVdropPanel);
        world_->registerPanel<calc::motor::MotorFrm>(app::kMotorPanel);
    }
    void cleanup() { world_.reset(); }

    // clang-format off
    void opensFresh_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("first");  // the box with the focus, its text selected
        QTest::addColumn<QString>("tips");   // control=tool tip, spaces kept
        QTest::addColumn<QString>("order");  // where Tab goes from the first box, round to it
        // clang-format off
        QTest::newRow("wire") << 1 << "LB=90 C;Lst0=Copper;Lst1=THHN;TB0=20;TB1=3;TB2=30" << "TB0" << "TB1=Number of Current Carrying Conductors in Conduit;DneBut0=Calculate Minimum Conductor Size" << "Lst0 Lst1 TB1 TB2 DneBut0 DneBut1 TB0";
        QTest::newRow("ground") << 3 << "Clist=Copper;TB=20" << "TB" << "TB=Enter Max Amps of Conductor After De-Rating ;Clist=Copper or  Aluminum/Copper Clad Conductor " << "Clist DneBut0 DneBut1 TB";
        QTest::newRow("transformer") << 4 << "Knob0=U;Knob1=U;L1_0*;L1_2*;L1_6=Full Load Amps;TA=1 (Enter Full Load Amperes);TV=115" << "TA" << "Knob0=Click to Toggle;L1_3=Three Phase Power;DneBut1=Exit Without Calculation" << "TV DneBut0 DneBut1 Knob0 Knob1 TA";
        QTest::newRow("starter") << 5 << "Ti=480;Ts=20" << "Ts" << "Ti=Enter 3 Phase Volts;DneBut0=Calculate Starter Size" << "Ti DneBut0 DneBut1 Ts";
        QTest::newRow("voltage drop") << 8 << "L1_6=Length (ft, one way);Lst0=Single Phase;Lst1=Copper;Lst2=Steel;Sz=12;TB0=120;TB1=16;TB2=100;TB3=0.85;TB4=3" << "TB0" << "Sz=Conductor Size;TB2=Enter One-Way Length in Feet;DneBut0=Calculate Voltage Drop" << "TB1 TB2 TB3 TB4 DneBut0 DneBut1 Lst0 Lst1 Lst2 Sz TB0";
        QTest::newRow("motor") << 9 << "Hp=10;Knob=D;L1_1*;TV=460" << "Hp" << "Hp=Pick or Type the Motor Horsepower;Knob=Click to Toggle" << "TV DneBut0 DneBut1 Knob Hp";
        // clang-format on
    }
    // clang-format on
    void opensFresh() {
        QFETCH(int, panel);
        QFETCH(QString, fresh);
        QFETCH(QString, first);
        QFETCH(QString, tips);
        QFETCH(QString, order);
        QVERIFY(open(panel));
        QCOMPARE(shown(), fresh);
        for (const QString& tip : tips.split(';'))
            QCOMPARE(world_->control<QWidget>(tip.section('=', 0, 0).toLatin1())->toolTip(),
                     tip.section('=', 1));
        QWidget* focus = QApplication::focusWidget();
        QLineEdit* box = boxOf(focus);
        QVERIFY(box && focus->objectName() == first && box->selectedText() == box->text());
        QStringList reached;  // Tab reaches every control, each named and described
        while (reached.size() < 12 && (reached.isEmpty() || reached.last() != first)) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
            const auto* about = QAccessible::queryAccessibleInterface(QApplication::focusWidget());
            QVERIFY(!about->text(QAccessible::Name).isEmpty() &&
                    !about->text(QAccessible::Description).isEmpty());
        }
        QCOMPARE(reached.join(' '), order);
    }

    // clang-format off
    void keys_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");  // the control with the focus; "-": the panel left
        // clang-format off
        QTest::newRow("wire: Enter in the count box") << 1 << "TB1" << int(Qt::Key_Return) << "TB0";
        QTest::newRow("wire: Enter in the ambient box") << 1 << "TB2" << int(Qt::Key_Enter) << "TB0";
        QTest::newRow("wire: Escape in a list") << 1 << "Lst1" << int(Qt::Key_Escape) << "-";
        QTest::newRow("transformer: Enter in TA") << 4 << "TA" << int(Qt::Key_Return) << "TV";
        QTest::newRow("transformer: Tab in TA") << 4 << "TA" << int(Qt::Key_Tab) << "TV";
        QTest::newRow("transformer: Enter in TV") << 4 << "TV" << int(Qt::Key_Return) << "TA";
        QTest::newRow("transformer: Tab in TV, on to calculate") << 4 << "TV" << int(Qt::Key_Tab) << "DneBut0";
        QTest::newRow("transformer: Shift+Tab in TA, back to a knob") << 4 << "TA" << int(Qt::Key_Backtab) << "Knob1";
        QTest::newRow("starter: Enter in Ts") << 5 << "Ts" << int(Qt::Key_Return) << "Ti";
        QTest::newRow("starter: Escape on calculate") << 5 << "DneBut0" << int(Qt::Key_Escape) << "-";
        QTest::newRow("voltage drop: Enter in volts") << 8 << "TB0" << int(Qt::Key_Return) << "TB1";
        QTest::newRow("voltage drop: Enter in the limit") << 8 << "TB4" << int(Qt::Key_Enter) << "TB0";
        QTest::newRow("motor: Enter in the horsepower") << 9 << "Hp" << int(Qt::Key_Return) << "TV";
        QTest::newRow("motor: Tab in the volts, on to calculate") << 9 << "TV" << int(Qt::Key_Tab) << "DneBut0";
        // clang-format on
    }
    // clang-format on
    void keys() {
        QFETCH(int, panel);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, key);
        QVERIFY(open(panel));
        auto* source = world_->control<QWidget>(from.toLatin1());
        source->setFocus();
        world_->effects->sounds.clear();
        QTest::keyClick(source, static_cast<Qt::Key>(key));
        if (to == "-") {  // left without calculating, as by the exit button
            QVERIFY(!world_->panelOpen() && !world_->state->ResultsReady);
            QCOMPARE(world_->effects->sounds.value(0), testing::played(sound::kTick, 0));
            return;
        }
        auto* target = world_->control<QWidget>(to.toLatin1());
        QVERIFY(target->hasFocus());
        if (QLineEdit* box = boxOf(target); box && panel != 1)
            QCOMPARE(box->selectedText(), box->text());
        QVERIFY(world_->panelOpen());  // only the calculate button calculates
    }

    // clang-format off
    void calculates_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("how");  // the button clicked, or a key in a control
        QTest::addColumn<QString>("lines");  // on the display after the panel's title
        QTest::addColumn<QString>("golden");
        // clang-format off
        QTest::newRow("wire, Fahrenheit in the box, by Ctrl+Return") << 1 << "TB0=40;TB1=6;TB2=104F" << "TB2=Ctrl+Return"
            << "8  (THHN)\r\nDe-Rated Amps: 40.04\r\nCircuit Max Amps: 40\r\nSee Notes\r\n" << "wire-40a-thhn-6-at-40c.log";
        QTest::newRow("ground, by Enter") << 3 << "TB=801;Clist=1" << "TB=Return"
            << "4/0 Ground\r\n1000 Fuse\r\nSee Notes\r\n" << "ground-801a-aluminum.log";
        QTest::newRow("transformer, knobs by key, Space on calculate") << 4 << "Knob0=Space;Knob1=Down;Knob1=Right;TA=75;TV=480" << "DneBut0=Space"
            << "90.21 Full Load Amps\r\nThree Phase\r\n" << "transformer-75kva-480v-three.log";
        QTest::newRow("starter") << 5 << "" << "DneBut0" << "Use Size 2 Starter\r\n" << "starter-20a-480v.log";
        QTest::newRow("voltage drop, by Ctrl+Return in a box") << 8 << "Lst0=1;Lst2=0;Sz=3;TB0=480;TB1=100;TB2=200" << "TB2=Ctrl+Return"
            << "Voltage Drop: 8.22 V (1.71 %)\r\nAt Load: 471.78 V\r\nSmallest For 3 %: 4\r\n" << "vdrop-480v-three-3awg-pvc.log";
        QTest::newRow("motor") << 9 << "Hp=25;TV=575" << "DneBut0"
            << "Full Load Amps: 27\r\nConductor Ampacity (125 %): 33.75\r\nUse Size 2 Starter\r\n" << "motor-25hp-575v-three.log";
        // clang-format on
    }
    // clang-format on
    void calculates() {
        QFETCH(int, panel);
        QFETCH(QString, entries);
        QFETCH(QString, how);
        QFETCH(QString, lines);
        QFETCH(QString, golden);
        QVERIFY(open(panel));
        QSignalSpy prints(world_->main.get(), &shell::FrmMain::printReport);
        world_->state->OptionFlags[shell::kAutoPrint] = true;
        enter(entries);
        world_->effects->sounds.clear();
        auto* control = world_->control<QWidget>(how.section('=', 0, 0).toLatin1());
        if (how.contains('=')) {
            const QKeyCombination key = QKeySequence::fromString(how.section('=', 1))[0];
            QTest::keyClick(control, key.key(), key.keyboardModifiers());
        } else {
            QTest::mouseClick(control, Qt::LeftButton);
        }
        QVERIFY(!world_->panelOpen());
        QCOMPARE(world_->effects->sounds,
                 QStringList({testing::played(sound::kTick, 0), testing::played(sound::kIn, 1)}));
        QCOMPARE(QString::fromStdString(world_->state->DisplayText),
                 QString(world_->host->row(static_cast<std::int16_t>(panel)).displayLine) + "\r\n" +
                     lines);
        QCOMPARE(testing::fileBytes(world_->state->ResultsPath),
                 testing::golden(golden.toLatin1()));
        // Back on the main window, Auto Print prints the result.
        QTRY_COMPARE(prints.count(), 1);
    }

    // clang-format off
    void anErrorLeavesThePanelOpen_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("message");  // as the error window shows it
        QTest::addColumn<QString>("after");    // the panel afterwards
        // clang-format off
        QTest::newRow("wire: 86F becomes 30 C first") << 1 << "TB1=0;TB2=86F" << "Must Have At Least One Conductor."
            << "LB=90 C;Lst0=Copper;Lst1=THHN;TB0=20;TB1=0;TB2=30";
        QTest::newRow("ground") << 3 << "TB=6001" << "Amp Rating Is\nToo High,\n6000 Amps Max." << "Clist=Copper;TB=6001";
        QTest::newRow("transformer") << 4 << "Knob0;TV=0" << "Values Too High\nCannot Compute."
            << "Knob0=D;Knob1=U;L1_1*;L1_2*;L1_6=Transformer KVA;TA=1 (Enter Transformer KVA);TV=0";
        QTest::newRow("starter") << 5 << "Ti=576" << "Volt Rating Is\nToo High.\n575 Volts Max." << "Ti=576;Ts=20";
        QTest::newRow("voltage drop") << 8 << "TB2=12abc" << "Enter Length As\nA Plain Number,\nFor Example 100."
            << "L1_6=Length (ft, one way);Lst0=Single Phase;Lst1=Copper;Lst2=Steel;Sz=12;TB0=120;TB1=16;TB2=12abc;TB3=0.85;TB4=3";
        QTest::newRow("motor, the knob turned by key") << 9 << "Knob=Left;Knob=Up;Hp=ten" << "Enter Horsepower As\n10, 1/\u200B2, 1 1/\u200B2,\n1-1/\u200B2 Or 1.5." << "Hp=ten;Knob=U;L1_0*;TV=460";
        // clang-format on
    }
    // clang-format on
    void anErrorLeavesThePanelOpen() {
        QFETCH(int, panel);
        QFETCH(QString, entries);
        QFETCH(QString, message);
        QFETCH(QString, after);
        QVERIFY(open(panel));
        enter(entries);
        const std::string display = world_->state->DisplayText;
        testing::ErrorCloser closer;
        QTest::mouseClick(world_->control<shell::ImageButton>("DneBut0"), Qt::LeftButton);
        QCOMPARE(closer.message, message);
        QVERIFY(world_->panelOpen() && !world_->state->ErrorShown && !world_->state->ResultsReady);
        QCOMPARE(shown(), after);
        QCOMPARE(world_->state->DisplayText, display);
    }

    // clang-format off
    void switchingAwayKeepsTheInputs_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("entries");
        // clang-format off
        QTest::newRow("wire, aluminum") << 1 << "Lst0=1;Lst1=3;TB0=55 A;TB1=7;TB2=86F";
        QTest::newRow("ground") << 3 << "TB=75.5;Clist=1";
        QTest::newRow("transformer") << 4 << "Knob1;TA=112.5;TV=208";
        QTest::newRow("starter") << 5 << "Ts=27.5;Ti=208 V";
        QTest::newRow("voltage drop, DC aluminum") << 8 << "Lst0=2;Lst1=1;Sz=1/0;TB0=24;TB1=30.5;TB2=75 ft;TB4=5";
        QTest::newRow("motor, single phase") << 9 << "Knob;Hp=1 1/2;TV=230";
        // clang-format on
    }
    // clang-format on
    void switchingAwayKeepsTheInputs() {
        QFETCH(int, panel);
        QFETCH(QString, entries);
        QVERIFY(open(panel));
        enter(entries);
        const QString left = shown();
        world_->switchAway();
        QVERIFY(!world_->panelOpen());
        QCOMPARE(world_->state->AbandonedPanel, panel);
        QVERIFY(open(panel));
        QCOMPARE(shown(), left);
    }

    void wireListsFollowTheMaterial() {
        QVERIFY(open(app::kWirePanel));
        auto* insulation = world_->control<QListWidget>("Lst1");
        QCOMPARE(insulation->currentRow(), 11);
        enter("Lst0=1");
        QCOMPARE(insulation->count() * 100 + insulation->currentRow(), 2307);  // 23 types, the 8th
        enter("Lst1=14");
        QCOMPARE(world_->control<QLabel>("LB")->text(), "60 C");  // TW
        enter("Lst0=0");
        QCOMPARE(insulation->count() * 100 + insulation->currentRow(), 2811);
    }

    // A size the new list lacks gives way to 12, or to the table's first size; DC dims the
    // conduit and the power factor. The motor's ratings follow the phase, the typed text stays.
    void listsFollowTheChoices() {
        QVERIFY(open(app::kVdropPanel));
        auto* sizes = world_->control<QComboBox>("Sz");
        const auto list = [sizes] {
            return QString("%1 sizes, %2 to %3, at %4")
                .arg(sizes->count())
                .arg(sizes->itemText(0), sizes->itemText(sizes->count() - 1), sizes->currentText());
        };
        enter("Sz=14;Lst1=1");
        QCOMPARE(list(), "20 sizes, 12 to 1000, at 12");
        enter("Sz=1/0;Lst0=2");
        QCOMPARE(list(), "30 sizes, 18 to 2000, at 1/0");
        QVERIFY(!world_->control<QWidget>("Lst2")->isEnabled() &&
                !world_->control<QWidget>("TB3")->isEnabled());
        QTest::keyClick(world_->control<QLineEdit>("TB2"), Qt::Key_Return);  // past the dimmed box
        QVERIFY(world_->control<QWidget>("TB4")->hasFocus());
        enter("Lst1=0;Lst0=0");
        QCOMPARE(list(), "21 sizes, 14 to 1000, at 1/0");
        world_.reset();
        init();
        QVERIFY(open(app::kMotorPanel));
        auto* hp = world_->control<QComboBox>("Hp");
        const int three = hp->count();
        enter("Hp=7 1/2;Knob");
        QCOMPARE(QString("%1 %2 %3")
                     .arg(hp->itemText(0))
                     .arg(int(hp->count() == three))
                     .arg(hp->currentText()),
                 "1/6 0 7 1/2");
    }

    // clang-format off
    void wireAmbientTakesFahrenheit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("celsius");
        for (const auto& [typed, celsius] : {std::pair{"77F", "25"}, {"70f", "21"}, {"176F", "80"},
                                             {"F", "-18"}, {"69F", "21"}, {"177F", "81"},
                                             {"30", "30"}, {"F5", "F5"}})
            QTest::newRow(typed) << typed << celsius;
    }
    // clang-format on
    // When the box is left (here by Enter, which goes to the load box).
    void wireAmbientTakesFahrenheit() {
        QVERIFY(open(app::kWirePanel));
        auto* ambient = world_->control<QLineEdit>("TB2");
        ambient->setFocus();
        QFETCH(QString, typed);
        QFETCH(QString, celsius);
        ambient->setText(typed);
        QTest::keyClick(ambient, Qt::Key_Return);
        QCOMPARE(ambient->text(), celsius);
    }
};

VOLTARO_WIDGET_TEST_MAIN(TestCalculatorPanels)
#include "test_calculator_panels.moc"
