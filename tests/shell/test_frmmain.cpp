// The main window on the offscreen platform: start-up, pictures of the keys and buttons, the
// print button, the display and the exit button. The real window shape and switching to other
// programs are checked end to end (tests/e2e).
#include <QAccessible>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

#include "assets/resource_names.h"
#include "platform/surface.h"
#include "refdb/password.h"
#include "shell/frmmain.h"
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
        for (int i = 0; i < 4; ++i) QVERIFY(shows(window_->squareButton(i), bitmap::kSMSQUP));
        for (int i = 0; i < 3; ++i) QVERIFY(shows(window_->roundButton(i), bitmap::kSMRNDUP));
    }

    void shapedAndPlaced() {
        load();
        const QImage base = skinBitmap(bitmap::kBASE);
        QCOMPARE(window_->size(), QSize(268, 546));
        QCOMPARE(window_->mask(), RegionFromBitmap(base, 0));
        QVERIFY(!window_->mask().contains(QPoint(0, 0)));
        QVERIFY(window_->mask().contains(QPoint(134, 273)));
        QCOMPARE(window_->pos(), QPoint(67, 67));  // 1000 twips
        for (auto* widget : window_->findChildren<QWidget*>()) {
            QVERIFY2(!widget->objectName().isEmpty(), widget->metaObject()->className());
            QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
        }
    }

    void firstTickFreesTheWindow() {
        load();
        firstTick();
        QVERIFY(!state_->PanelBusy);
        QVERIFY(state_->MainTimerStarted);
        QCOMPARE(state_->MainForeground, static_cast<WindowId>(window_->winId()));
        QCOMPARE(state_->FaceWidth, 268);
        QCOMPARE(state_->FaceHeight, 546);
        QVERIFY(window_->displayLabel()->text().isEmpty());  // the caption, not DisplayText
        QCOMPARE(state_->DisplayText, std::string("Loading...\r\n"));
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
        for (int i = 0; i < 4; ++i) {
            QTest::mousePress(window_->squareButton(i), Qt::LeftButton);
            QVERIFY(shows(window_->squareButton(i), bitmap::kSMSQDN));
            QTest::mouseRelease(window_->squareButton(i), Qt::LeftButton);
            QVERIFY(shows(window_->squareButton(i), bitmap::kSMSQUP));
        }
        for (int i = 0; i < 3; ++i) {
            QTest::mousePress(window_->roundButton(i), Qt::LeftButton);
            QVERIFY(shows(window_->roundButton(i), bitmap::kSMRNDDN));
            QTest::mouseRelease(window_->roundButton(i), Qt::LeftButton);
            QVERIFY(shows(window_->roundButton(i), bitmap::kSMRNDUP));
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

    void missingDatabaseFailsTheLoad() {
        fs::remove(app_ / "Voltaro.dat");
        std::string reason;
        QCOMPARE(window_->Form_Load(reason), FrmMain::LoadResult::Failed);
        QVERIFY(reason.find("Voltaro.dat") != std::string::npos);
    }
};

VOLTARO_WIDGET_TEST_MAIN(TestFrmMain)
#include "test_frmmain.moc"
