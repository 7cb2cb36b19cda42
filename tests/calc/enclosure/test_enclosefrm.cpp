// The NEMA enclosure panel on the offscreen platform, with the waits stubbed: the scroll bar's
// ends, the five description lines with empty fields, select and exit, and leaving and coming
// back. The results log against voltaro-cli is checked end to end (tests/e2e/raceway.sh).
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "calc/enclosure/enclosefrm.h"
#include "calc/enclosure/enclosure.h"
#include "tests/support/golden.h"
#include "tests/support/panel_world.h"
#include "tests/support/widget_fixture.h"

using namespace voltaro;
using namespace voltaro::calc::enclosure;

class TestEnclose : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::PanelWorld> world_;
    QPointer<Enclose> panel_;

    // Opens the panel (an unloaded one gone first) as its key does, through its first tick.
    void reopen() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        panel_ = static_cast<Enclose*>(world_->open(app::kEnclosurePanel));
        world_->effects->sounds.clear();
    }

private Q_SLOTS:
    void initTestCase() { testing::quietAboutMasks(); }
    void init() {
        world_ = std::make_unique<testing::PanelWorld>();
        world_->registerPanel<Enclose>(app::kEnclosurePanel);
        world_->state->OptionFlags[shell::kButtonSounds] = true;
        world_->state->OptionFlags[shell::kSlideSounds] = true;
        reopen();
    }
    void cleanup() { world_.reset(); }

    // The arrows move one entry a click and stop at both ends; each entry shows its type and
    // five lines, empty ones included.
    void arrows() {
        QScrollBar* bar = panel_->scrollBar();
        QCOMPARE(bar->minimum(), 1);
        QCOMPARE(bar->maximum(), 18);
        const auto shows = [&](int value, const char* nema, const QString& text) {
            QCOMPARE(bar->value(), value);
            QCOMPARE(panel_->typeLabel()->text(), QLatin1String(nema));
            QCOMPARE(panel_->description()->toPlainText(), text);
        };
        // The first entry from the table at once, not only its first line.
        shows(
            1, "1",
            "General Purpose, Indoor\nKeeps fingers off live\nparts and keeps out\nfalling dirt\n");
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        shows(
            1, "1",
            "General Purpose, Indoor\nKeeps fingers off live\nparts and keeps out\nfalling dirt\n");
        for (int i = 0; i < 6; ++i) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        shows(7, "4X",
              "Watertight, Corrosion-Res.\nSame as Type 4 and also\nresists corrosion\n\n");
        QCOMPARE(panel_->description()->document()->blockCount(), 5);
        bar->setValue(18);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        shows(18, "13",
              "Oiltight/Dusttight, Indoor\nDust, lint, sprayed water,\noil and "
              "noncorrosive\ncoolant\n");
        QTest::keyClick(bar, Qt::Key_Left);  // the arrow keys step as the arrows do
        QCOMPARE(bar->value(), 17);
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(bar->value(), 18);
    }

    void selectAndExit_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("sounds");
        // clang-format off
        QTest::newRow("select") << 0 << QStringList{"Tick/0", "in/1"};
        QTest::newRow("exit") << 1 << QStringList{"Tick/0", "in/1"};
        // clang-format on
    }
    void selectAndExit() {
        QFETCH(int, button);
        QFETCH(QStringList, sounds);
        panel_->scrollBar()->setValue(7);
        world_->state->DisplayText = "Find NEMA Enclosure:\r\n";
        panel_->DneBut_Click(button);
        QVERIFY(panel_->isUnloaded());
        QCOMPARE(world_->effects->sounds, sounds);
        QVERIFY(!world_->state->PanelBusy);
        if (button == 1) {  // neither the display nor the log changes
            QCOMPARE(world_->state->DisplayText, std::string("Find NEMA Enclosure:\r\n"));
            QVERIFY(!std::filesystem::exists(world_->state->ResultsPath));
            return;
        }
        QCOMPARE(
            world_->state->DisplayText,
            std::string("NEMA 4X Enclosure\r\nWatertight, Corrosion-Res.\r\nSame as Type 4 and "
                        "also\r\nresists corrosion\r\n\r\n\r\n"));
        const auto expected = selectEnclosure(*world_->state->RefDb, 7);
        QCOMPARE(testing::fileBytes(world_->state->ResultsPath),
                 QByteArray::fromStdString(std::get<calc::Answer>(expected).log.bytes()));
        QVERIFY(world_->state->ResultsReady);
    }

    void leavingAndComingBack() {
        panel_->scrollBar()->setValue(11);
        world_->setForeground(0);
        panel_->PanelT_Timer();
        QVERIFY(panel_->isUnloaded());
        reopen();
        QCOMPARE(panel_->scrollBar()->value(), 11);
        QCOMPARE(panel_->typeLabel()->text(), QStringLiteral("7"));
        panel_->DneBut_Click(1);
        reopen();  // exit forgets the entry
        QCOMPARE(panel_->scrollBar()->value(), 1);
    }
};

VOLTARO_WIDGET_TEST_MAIN(TestEnclose)
#include "test_enclosefrm.moc"
