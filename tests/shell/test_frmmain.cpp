// The main window on the offscreen platform: start-up, pictures of the keys and buttons, the
// print button, the display, the exit button, the face's menu, Help and About. The real window
// shape and switching to other programs are checked end to end (tests/e2e).
#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

#include "assets/resource_names.h"
#include "platform/surface.h"
#include "platform/window_shape.h"
#include "refdb/password.h"
#include "shell/about_window.h"
#include "shell/face_menu.h"
#include "shell/frmmain.h"
#include "shell/help_window.h"
#include "shell/image_button.h"
#include "shell/region.h"
#include "shell/session.h"
#include "shell/skin.h"
#include "tests/support/widget_fixture.h"
#include "zephlib/binding/zephlib_binding.h"

using namespace voltaro;
using namespace voltaro::shell;
namespace fs = std::filesystem;
namespace bitmap = voltaro::assets::program;

namespace {

bool shows(const ImageButton* button, const char* bitmap) {
    return button->picture().toImage().convertToFormat(QImage::Format_RGB32) ==
           skinBitmap(bitmap).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    fs::path app_;
    std::unique_ptr<SharedState> state_;
    std::unique_ptr<platform::ZephlibBinding> zephlib_;
    std::unique_ptr<OptionsStore> options_;
    std::unique_ptr<FrmMain> window_;

    void load() {
        std::string reason;
        QCOMPARE(window_->Form_Load(reason), FrmMain::LoadResult::Loaded);
        window_->shapeAndShow();
    }
    void firstTick() { window_->MainT_Timer(); }
    // The seven panel keys, square then round, and the picture of each when up.
    ImageButton* key(int i) const {
        return i < 4 ? window_->squareButton(i) : window_->roundButton(i - 4);
    }
    static const char* up(int i) { return i < 4 ? bitmap::kSMSQUP : bitmap::kSMRNDUP; }

    // A mouse event at a point of the screen, as the window system delivers it.
    void mouse(QEvent::Type type, Qt::MouseButton button, QPoint global) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, QPointF(global - window_->pos()), QPointF(global),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &event);
    }
    // The menu's entries as it shows them; a separator is "".
    QStringList menuEntries() const {
        QStringList texts;
        for (const auto* action : window_->faceMenu().actions()) texts << action->text();
        return texts;
    }
    // A loaded, freed window whose menu holds three entries, registered out of order; `help` is
    // what Help and F1 open.
    void menuWorld(HelpWindow& help) {
        load();
        firstTick();
        using Section = MenuEntry::Section;
        auto& menu = window_->faceMenu();
        menu.addEntry({QStringLiteral("Help"), QKeySequence(Qt::Key_F1),
                       [this, &help] { help.present(window_->frameGeometry()); }, Section::Help});
        menu.addEntry({QStringLiteral("Voltage Drop..."), {}, [] {}, Section::Tools});
        menu.addEntry({QStringLiteral("About Voltaro"), {}, [] {}, Section::Help});
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        app_ = dir_->path().toStdString();
        for (const char* file : {"Zephlib.so", "Voltaro.dat"})
            fs::copy_file(fs::path(VOLTARO_TEST_APP_DIR) / file, app_ / file);
        state_ = std::make_unique<SharedState>();
        zephlib_ = std::make_unique<platform::ZephlibBinding>(app_ / "Zephlib.so");
        options_ = std::make_unique<OptionsStore>(app_ / "config.ini", app_ / "autostart");
        window_ = std::make_unique<FrmMain>(*state_, *zephlib_, *options_, app_, QStringList{});
    }
    void cleanup() {
        window_.reset();
        state_.reset();
        dir_.reset();
    }

    // One start: loading, the window's shape and place, and the first tick that frees it.
    void startUp() {
        std::ofstream(app_ / "~qxrslt.dat") << "stale";
        std::string reason;
        QCOMPARE(window_->Form_Load(reason), FrmMain::LoadResult::Loaded);
        QCOMPARE(state_->DisplayText, std::string("Loading...\r\n"));
        QCOMPARE(window_->displayLabel()->text(), QStringLiteral("Loading...\n"));
        QVERIFY(state_->PanelBusy);
        QVERIFY(window_->mainTimer().isActive());
        QCOMPARE(window_->mainTimer().interval(), 300);
        QVERIFY(state_->Face != nullptr);
        QVERIFY(state_->RefDb && state_->RefDb->isOpen());
        QVERIFY(!fs::exists(app_ / "~qxrslt.dat"));
        // First start: the defaults were written (Auto Min, Auto Print and Auto Start off).
        QVERIFY(!options_->isFirstStart());
        QVERIFY(state_->OptionFlags[kButtonSounds] && !state_->OptionFlags[kAutoMin]);
        QVERIFY(shows(window_->exitButton(), bitmap::kEXIT_U));
        QVERIFY(shows(window_->printButton(), bitmap::kPRNOFF));
        for (int i = 0; i < 7; ++i) QVERIFY(shows(key(i), up(i)));

        window_->shapeAndShow();
        // Also run on a 2x screen (test_shell_frmmain_2x): the face drawn at 2x, the same window.
        const int scale = qApp->devicePixelRatio() > 1 ? 2 : 1;
        const QImage base = skinBitmap(bitmap::kBASE);
        QCOMPARE(base.devicePixelRatio(), qreal(scale));
        QCOMPARE(base.size(), QSize(268, 546) * scale);
        QCOMPARE(window_->size(), QSize(268, 546));
        QCOMPARE(window_->mask(), platform::regionAtScaleOne(RegionFromBitmap(base, 0), scale));
        QVERIFY(!window_->mask().contains(QPoint(0, 0)));
        QVERIFY(window_->mask().contains(QPoint(134, 273)));
        QCOMPARE(window_->pos(), QPoint(67, 67));  // 1000 twips
        for (auto* widget : window_->findChildren<QWidget*>()) {
            QVERIFY2(!widget->objectName().isEmpty(), widget->metaObject()->className());
            QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
        }

        firstTick();
        QVERIFY(!state_->PanelBusy);
        QVERIFY(state_->MainTimerStarted);
        QCOMPARE(state_->MainForeground, static_cast<WindowId>(window_->winId()));
        QCOMPARE(state_->FaceWidth, 268);
        QCOMPARE(state_->FaceHeight, 546);
        QVERIFY(window_->displayLabel()->text().isEmpty());  // the caption, not DisplayText
        QCOMPARE(state_->DisplayText, std::string("Loading...\r\n"));
    }

    // Auto Min: only leaving us (1: the main window) for another program (0), not for a window
    // of ours (2: a message box), nor a start behind another program.
    void autoMinOnlyWhenTheUserLeaves_data() {
        QTest::addColumn<QList<int>>("readings");  // the foreground, tick by tick
        QTest::addColumn<bool>("minimised");
        QTest::newRow("left for another program") << QList<int>{1, 0} << true;
        QTest::newRow("a message box of ours") << QList<int>{1, 2, 2} << false;
        QTest::newRow("started behind another program") << QList<int>{0, 0, 0} << false;
    }
    void autoMinOnlyWhenTheUserLeaves() {
        QFETCH(QList<int>, readings);
        QFETCH(bool, minimised);
        load();
        firstTick();
        state_->OptionFlags[kAutoMin] = true;
        std::uintptr_t reading = 0;  // read by the window until the test ends
        std::int64_t now = 0;
        window_->setForeground(platform::Foreground([&] { return reading; }, [&] { return now; }));
        for (const int r : readings) {
            reading = r == 1 ? window_->winId() : static_cast<std::uintptr_t>(r);
            now += 300;
            window_->MainT_Timer();
        }
        QCOMPARE(window_->isMinimized(), minimised);
    }

    void keysShowTheirPressedPictures() {
        load();
        QStringList opened;
        const auto collecting =
            connect(window_.get(), &FrmMain::openKey, this, [&](PanelKey key, int index) {
                opened << QStringLiteral("%1%2").arg(key == PanelKey::Round ? 'r' : 's').arg(index);
            });
        // Until the first tick everything is busy: presses change nothing and open nothing.
        QTest::mousePress(window_->squareButton(0), Qt::LeftButton);
        QVERIFY(shows(window_->squareButton(0), bitmap::kSMSQUP));
        QTest::mouseRelease(window_->squareButton(0), Qt::LeftButton);
        QVERIFY(opened.empty());

        firstTick();
        for (int i = 0; i < 7; ++i) {
            QTest::mousePress(key(i), Qt::LeftButton);
            QVERIFY(shows(key(i), i < 4 ? bitmap::kSMSQDN : bitmap::kSMRNDDN));
            QTest::mouseRelease(key(i), Qt::LeftButton);
            QVERIFY(shows(key(i), up(i)));
        }
        QCOMPARE(opened, QStringList({"s0", "s1", "s2", "s3", "r0", "r1", "r2"}));
        // A panel that has opened keeps its key pressed until the window is active again.
        disconnect(collecting);
        connect(window_.get(), &FrmMain::openKey, this, [this] { state_->PanelBusy = true; });
        QTest::mousePress(window_->squareButton(2), Qt::LeftButton);
        QTest::mouseRelease(window_->squareButton(2), Qt::LeftButton);
        QVERIFY(shows(window_->squareButton(2), bitmap::kSMSQDN));
        window_->RefreshButtons();
        QVERIFY(shows(window_->squareButton(2), bitmap::kSMSQUP));
    }

    void keyboardPressesTheKeys_data() {
        QTest::addColumn<QString>("keys");     // typed in turn
        QTest::addColumn<QString>("pressed");  // the panel keys pressed, "print"
        QTest::addColumn<QString>("ring");     // the key the focus ring is on at the end
        // clang-format off
        QTest::newRow("letters") << "W G C T S N O P" << "s0 s1 s2 s3 r0 r1 r2 print" << "";
        QTest::newRow("Tab, Space") << "Tab Space" << "s0" << "SmSqImage0";
        QTest::newRow("4 Tabs, Return") << "Tab Tab Tab Tab Return" << "s3" << "SmSqImage3";
        QTest::newRow("2 Shift+Tabs, Space") << "Shift+Tab Shift+Tab Space" << "print" << "PrnBut";
        // clang-format on
    }
    void keyboardPressesTheKeys() {
        QFETCH(QString, keys);
        QFETCH(QString, pressed);
        QFETCH(QString, ring);
        load();
        firstTick();
        state_->ResultsReady = true;
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QStringList seen;
        connect(window_.get(), &FrmMain::openKey, this, [&](PanelKey key, int index) {
            seen << QStringLiteral("%1%2").arg(key == PanelKey::Round ? 'r' : 's').arg(index);
        });
        connect(window_.get(), &FrmMain::printReport, this, [&] { seen << "print"; });
        for (const QString& name : keys.split(' ')) {
            auto* focus = qobject_cast<ImageButton*>(window_->focusWidget());
            const QKeyCombination key = QKeySequence::fromString(name)[0];
            const QImage up = focus ? focus->picture().toImage() : QImage();
            QTest::keyPress(window_->windowHandle(), key.key(), key.keyboardModifiers());
            if (key.key() == Qt::Key_Space || key.key() == Qt::Key_Return)  // down, as clicked
                QVERIFY(focus->picture().toImage() != up);
            QTest::keyRelease(window_->windowHandle(), key.key(), key.keyboardModifiers());
        }
        QCOMPARE(seen.join(' '), pressed);
        auto* focus = qobject_cast<ImageButton*>(window_->focusWidget());
        QCOMPARE(focus && focus->ringShown() ? focus->objectName() : QString(), ring);
        QCOMPARE(window_->squareButton(0)->toolTip(), QStringLiteral("Wire size (W)"));
    }

    void printButtonFollowsTheResult() {
        load();
        firstTick();
        QSignalSpy printed(window_.get(), &FrmMain::printReport);
        QTest::mouseClick(window_->printButton(), Qt::LeftButton);
        QVERIFY(
            shows(window_->printButton(), bitmap::kPRNOFF));  // nothing to print: nothing happens
        QCOMPARE(printed.count(), 0);

        state_->ResultsReady = true;
        state_->OptionFlags[kAutoPrint] = false;
        window_->RefreshButtons();
        QVERIFY(shows(window_->printButton(), bitmap::kPRN_U));
        QCOMPARE(printed.count(), 0);
        QTest::mousePress(window_->printButton(), Qt::LeftButton);
        QVERIFY(shows(window_->printButton(), bitmap::kPRN_D));
        QTest::mouseRelease(window_->printButton(), Qt::LeftButton);
        QVERIFY(shows(window_->printButton(), bitmap::kPRN_U));
        QCOMPARE(printed.count(), 1);

        state_->OptionFlags[kAutoPrint] = true;
        window_->RefreshButtons();
        QVERIFY(state_->AutoPrinting);
        QCOMPARE(printed.count(), 2);
    }

    void displayShowsOneAmpersand() {
        QCOMPARE(FrmMain::displayCaption("Size GND && OCP:\r\n"),
                 QStringLiteral("Size GND & OCP:\n"));
        QCOMPARE(FrmMain::displayCaption("&Lone\r\nAB&&&C"), QStringLiteral("Lone\nAB&C"));
        load();
        state_->DisplayText.clear();
        ShowOnDisplay(*state_, "Size GND && OCP:");
        ShowOnDisplay(*state_, "45 Fuse");
        QCOMPARE(window_->displayLabel()->text(), QStringLiteral("Size GND & OCP:\n45 Fuse\n"));
        // Screen readers read the lines as the display's name.
        QCOMPARE(
            QAccessible::queryAccessibleInterface(window_->displayLabel())->text(QAccessible::Name),
            QStringLiteral("Size GND & OCP:\n45 Fuse"));
        QCOMPARE(state_->DisplayText, std::string("Size GND && OCP:\r\n45 Fuse\r\n"));
        // The record outlives the window, which takes its caption hook with it.
        window_.reset();
        QVERIFY(!state_->SetDisplayCaption);
        ShowOnDisplay(*state_, "After the window");
    }

    void exitButtonShutsDown() {
        load();
        firstTick();
        state_->OptionFlags[kButtonSounds] = false;
        std::ofstream(state_->ResultsPath) << "a result";
        QSignalSpy finished(window_.get(), &FrmMain::finished);
        QTest::mousePress(window_->exitButton(), Qt::LeftButton);
        QVERIFY(shows(window_->exitButton(), bitmap::kEXIT_D));
        QTest::mouseRelease(window_->exitButton(), Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!fs::exists(state_->ResultsPath));
        QVERIFY(!state_->RefDb);
        QVERIFY(!window_->mainTimer().isActive());
        auto db = refdb::Database::open(app_ / "Voltaro.dat", *refdb::recoverPassword(*zephlib_));
        QVERIFY(db.ok());
    }

    // The menu opens from a right-click that does not move the window, the Menu key or Shift+F10;
    // never while a panel is open (busy, the main window disabled), by keys, mouse or shortcut.
    void menuOpensUnlessAPanelIsOpen_data() {
        QTest::addColumn<QString>("input");  // keys, or a mouse button: "right" or "left"
        QTest::addColumn<int>("travel");     // pixels the pointer moves between press and release
        QTest::addColumn<bool>("opens");
        // clang-format off
        QTest::newRow("right click")            << "right"     << 0  << true;
        QTest::newRow("right click, a tremble") << "right"     << 3  << true;
        QTest::newRow("right press and move")   << "right"     << 40 << false;
        QTest::newRow("left click")             << "left"      << 0  << false;
        QTest::newRow("left press and move")    << "left"      << 40 << false;
        QTest::newRow("Menu")                   << "Menu"      << 0  << true;
        QTest::newRow("Shift+F10")              << "Shift+F10" << 0  << true;
        QTest::newRow("F10 alone")              << "F10"       << 0  << false;
        // clang-format on
    }
    void menuOpensUnlessAPanelIsOpen() {
        QFETCH(QString, input);
        QFETCH(int, travel);
        QFETCH(bool, opens);
        HelpWindow help;
        menuWorld(help);
        auto& menu = window_->faceMenu();
        const QPoint start = window_->pos();
        const QPoint at = window_->mapToGlobal(QPoint(134, 120));  // the display: the face's
        const bool mouseInput = input == "right" || input == "left";
        const Qt::MouseButton button = input == "right" ? Qt::RightButton : Qt::LeftButton;
        const QKeyCombination key = QKeySequence::fromString(input)[0];
        const auto give = [&] {
            if (!mouseInput)
                return QTest::keyClick(window_.get(), key.key(), key.keyboardModifiers());
            mouse(QEvent::MouseButtonPress, button, at);
            for (int step = 1; step <= travel; ++step)
                mouse(QEvent::MouseMove, button, at + QPoint(step, 0));
            mouse(QEvent::MouseButtonRelease, button, at + QPoint(travel, 0));
        };
        state_->PanelBusy = true;
        window_->setEnabled(false);
        give();
        QVERIFY(!menu.openAt(at, true));
        QVERIFY(!menu.isVisible());
        QCOMPARE(menu.actions().at(2)->shortcut(), QKeySequence(Qt::Key_F1));
        menu.actions().at(2)->trigger();  // Help's shortcut, had it reached the window
        QVERIFY(!help.isVisible());

        state_->PanelBusy = false;
        window_->setEnabled(true);
        window_->move(start);
        give();
        QCOMPARE(menu.isVisible(), opens);
        QCOMPARE(window_->pos(), travel > 3 ? start + QPoint(travel, 0) : start);
        if (!opens) return;
        QCOMPARE(menuEntries(),
                 (QStringList{QStringLiteral("Voltage Drop..."), QString(), QStringLiteral("Help"),
                              QStringLiteral("About Voltaro")}));
        // The mouse chooses; the keys start on the first entry, for the arrows.
        QCOMPARE(menu.activeAction(), mouseInput ? nullptr : menu.actions().constFirst());
    }

    // F1 opens Help, a window of ours: Auto Min does not take it for another program.
    void f1OpensHelp() {
        HelpWindow help;
        menuWorld(help);
        state_->OptionFlags[kAutoMin] = true;
        QTest::keyClick(window_->windowHandle(), Qt::Key_F1);  // as the window system sends it
        QVERIFY(QTest::qWaitForWindowActive(&help));
        window_->MainT_Timer();
        QVERIFY(!state_->FocusLost);
        QVERIFY(!window_->isMinimized());
        QCOMPARE(help.windowTitle(), QStringLiteral("Voltaro Help"));
        QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("The code tables")));
        // Every picture the guide shows is drawn; the face keeps its shape's outside clear.
        const QRegularExpression source(QStringLiteral("src=\"pictures/([^\"]+)\""));
        QStringList shown;
        for (const auto& match : source.globalMatch(helpPageHtml())) shown << match.captured(1);
        QVERIFY(shown.size() >= 8);
        for (const QString& name : shown)  // and at 2x, twice the size, for a 2x screen
            QVERIFY2(helpPicture(name, 2).size() == helpPicture(name).size() * 2, qPrintable(name));
        // Each picture is shown at its own size: a page that scales one blurs it.
        const QRegularExpression sized(
            QStringLiteral("src=\"pictures/([^\"]+)\"\\s+width=\"(\\d+)\"\\s+height=\"(\\d+)\""));
        int checked = 0;
        for (const auto& match : sized.globalMatch(helpPageHtml())) {
            const QSize shownAt(match.captured(2).toInt(), match.captured(3).toInt());
            if (match.captured(1) == QLatin1String("knob.png")) continue;  // a small inline copy
            QCOMPARE(helpPicture(match.captured(1)).size(), shownAt);
            ++checked;
        }
        QCOMPARE(checked, shown.size() - 1);
        const QImage face = helpPicture(QStringLiteral("face.png"));
        QCOMPARE(qAlpha(face.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(face.pixel(face.width() / 2, face.height() / 2)), 255);
    }

    void aboutNamesWhatThisCopyHolds() {
        load();
        AboutWindow about(*state_, QStringLiteral("7.5"));
        about.present(window_->frameGeometry());
        QCOMPARE(about.windowTitle(), QStringLiteral("About Voltaro"));
        QVERIFY(about.versionLabel()->text().contains(QStringLiteral("Version 7.5")));
        QVERIFY(about.versionLabel()->text().contains(QStringLiteral("1999 NEC")));
        const QString tables = about.tablesBox()->toPlainText();
        QVERIFY(tables.contains(QStringLiteral("Table 250-122")));
        QVERIFY(!tables.contains(QStringLiteral("KeepWires")));  // work tables are no code
        QCOMPARE(about.folderLabel()->text(), QString::fromStdString(app_.string()));
        QVERIFY(about.noticeLabel()->text().startsWith(QStringLiteral("Copyright 2026 Voltaro")));
        // A table this copy does not know is named as the database names it.
        QCOMPARE(tableDescription("Ch9Tbl9"), QStringLiteral("Ch9Tbl9"));
        state_->RefDb->close();
        about.present(window_->frameGeometry());
        QCOMPARE(about.tablesBox()->toPlainText(),
                 QStringLiteral("The reference database is not open."));
    }

    void helpAndAboutStandBesideTheWindow_data() {
        QTest::addColumn<QRect>("anchor");  // the main window's frame on the 800 x 800 screen
        QTest::addColumn<int>("width");     // the window placed
        QTest::addColumn<QPoint>("at");
        // clang-format off
        QTest::newRow("room on the right")     << QRect(10, 30, 268, 546)  << 300 << QPoint(285, 30);
        QTest::newRow("room on the left only") << QRect(500, 30, 268, 546) << 300 << QPoint(190, 30);
        QTest::newRow("low: raised to fit")    << QRect(10, 600, 268, 546) << 300 << QPoint(285, 475);
        QTest::newRow("no room: centred")      << QRect(260, 30, 268, 546) << 500 << QPoint(148, 237);
        // clang-format on
    }
    void helpAndAboutStandBesideTheWindow() {
        QFETCH(QRect, anchor);
        QFETCH(int, width);
        QFETCH(QPoint, at);
        QWidget window;
        window.resize(width, 298);
        placeBeside(&window, anchor);
        QCOMPARE(window.pos(), at);
    }

    void aboutQuotesTheCopyrightFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("copyright");
        QTest::addColumn<QString>("licence");
        // clang-format off
        QTest::newRow("two paragraphs") << "Files: *\nCopyright: 2026 A\nLicense: MIT\n First line\n second.\n .\n Next.\n"
                                        << "Copyright 2026 A" << "Licence: MIT. First line second.\nNext.";
        QTest::newRow("CR LF, text ends") << "Copyright: 1999 B\r\nLicense: GPL-2\r\n Text\r\nComment: x\r\n Not it\r\n"
                                          << "Copyright 1999 B" << "Licence: GPL-2. Text";
        QTest::newRow("first of each")  << "Copyright: C\nLicense: X\nCopyright: D\nLicense: Y\n Z\n"
                                        << "Copyright C" << "Licence: X.";
        QTest::newRow("no fields")      << "Format: 1.0\n" << "" << "";
        // clang-format on
    }
    void aboutQuotesTheCopyrightFile() {
        QFETCH(QString, file);
        QFETCH(QString, copyright);
        QFETCH(QString, licence);
        const Notice notice = parseNotice(file);
        QCOMPARE(notice.copyright, copyright);
        QCOMPARE(notice.licence, licence);
    }

    void missingDatabaseFailsTheLoad() {
        fs::remove(app_ / "Voltaro.dat");
        std::string reason;
        QCOMPARE(window_->Form_Load(reason), FrmMain::LoadResult::Failed);
        QVERIFY(reason.find("Voltaro.dat") != std::string::npos);
    }
};

VOLTARO_WIDGET_TEST_MAIN(TestFrmMain)
#include "test_frmmain.moc"
