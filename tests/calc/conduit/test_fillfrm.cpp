// The conduit fill panel and its type dialog on the offscreen platform, with the waits stubbed: a
// fresh panel, the drops and their keyboard twins against DragList, leaving and coming back, the
// calculate press, and the dialog's result. Dragging with a real mouse, and the results log
// against voltaro-cli, are checked end to end (tests/e2e/raceway.sh).
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "calc/conduit/fill_data.h"
#include "calc/conduit/fillfrm.h"
#include "calc/conduit/selcond.h"
#include "tests/support/golden.h"
#include "tests/support/panel_world.h"
#include "tests/support/widget_fixture.h"

using namespace voltaro;
using namespace voltaro::calc::conduit;

namespace {

QStringList itemsOf(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

QPoint centreOf(const QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); }

}  // namespace

class TestFillFrm : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::PanelWorld> world_;
    QPointer<FillFrm> panel_;

    QStringList dragList() {
        QStringList rows;
        const auto conductors = calc::conduit::dragList(*world_->state->RefDb);
        for (const auto& c : std::get<std::vector<Conductor>>(conductors))
            rows << QString::fromStdString(entryOf(c));
        return rows;
    }
    // A drag with the mouse: pressed on `row` of `from` (-1: below the last entry), dropped at
    // `to` (global).
    void drag(FillFrm::DragFrom from, int row, const QPoint& to) {
        QListWidget* list = from == FillFrm::kRack ? panel_->rack() : panel_->conduit();
        const QPoint at = row >= 0 ? list->visualItemRect(list->item(row)).center()
                                   : QPoint(5, list->viewport()->height() - 2);
        panel_->List_MouseDown(from, at);
        panel_->List_DragOver(to);
        panel_->List_DragDrop(to);
    }
    void chooseType(const char* type) {
        panel_->typeList()->setCurrentItem(
            panel_->typeList()->findItems(QLatin1String(type), Qt::MatchExactly).front());
    }
    void dropGauge(const char* gauge) {
        drag(FillFrm::kRack, itemsOf(panel_->rack()).indexOf(QLatin1String(gauge)),
             centreOf(panel_->conduit()));
    }
    // The conduit holds exactly `entries`, DragList mirrors them in order, and the count says so.
    void expectConduit(const QStringList& entries) {
        QCOMPARE(itemsOf(panel_->conduit()), entries);
        QCOMPARE(dragList(), entries);
        QCOMPARE(panel_->countLabel()->text(), QString::number(entries.size()));
        QCOMPARE(int(world_->state->ConductorCount), int(entries.size()));
    }
    // Runs `act` on the type dialog once it is up (grown and modal) and returns its size then.
    QSize whileTheDialogIsUp(const std::function<void(SelCond&)>& act) {
        QSize grown;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            SelCond* dialog = panel_->typeDialog();
            if (dialog == nullptr || QApplication::activeModalWidget() != dialog) return;
            poll.stop();
            grown = dialog->size();
            act(*dialog);
        });
        poll.start(5);
        panel_->Text1_Click();
        return grown;
    }

    // Opens the panel (an unloaded one gone first) as its key does, through its first tick.
    void reopen() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        panel_ = static_cast<FillFrm*>(world_->open(app::kConduitPanel));
        world_->effects->sounds.clear();
    }

private Q_SLOTS:
    void initTestCase() { testing::quietAboutMasks(); }
    void init() {
        world_ = std::make_unique<testing::PanelWorld>();
        world_->registerPanel<FillFrm>(app::kConduitPanel);
        world_->state->OptionFlags[shell::kButtonSounds] = true;
        world_->state->OptionFlags[shell::kSlideSounds] = true;
        QVERIFY(!addToDragList(*world_->state->RefDb, {"6", "TW"}));  // left by an earlier run
        reopen();
    }
    void cleanup() { world_.reset(); }

    void opensFreshAndTakesDrops() {
        QCOMPARE(panel_->typeList()->count(), 53);
        QCOMPARE(panel_->typeList()->currentRow(), 36);
        QCOMPARE(panel_->typeList()->currentItem()->text(), QStringLiteral("THHN"));
        const QStringList thhn{"14",  "12",  "10",  "8",   "6",   "4",   "3",   "2",
                               "1",   "1/0", "2/0", "3/0", "4/0", "250", "300", "350",
                               "400", "500", "600", "700", "750", "800", "900", "1000"};
        QCOMPARE(itemsOf(panel_->rack()), thhn);
        QCOMPARE(panel_->typeBox()->text(), QStringLiteral("EMT"));
        expectConduit({});  // what an earlier run left is kept for an abandoned panel only
        for (const char* name : {"Text1", "Mlist", "List1", "List2", "L1_0", "L1_5", "DneBut1"})
            QVERIFY2(!panel_->findChild<QWidget*>(QLatin1String(name))->accessibleName().isEmpty(),
                     name);
        for (int i = 0; i < 3; ++i) dropGauge("10");
        expectConduit({"10 - THHN", "10 - THHN", "10 - THHN"});
        QCOMPARE(panel_->conduit()->currentRow(), 2);
    }

    void drops_data() {
        QTest::addColumn<QString>("how");  // "mouse" or "keys"
        QTest::addColumn<int>("from");     // 1 rack, 2 conduit
        QTest::addColumn<int>("row");      // the pressed entry; -1 below the last
        QTest::addColumn<QString>("onto");
        QTest::addColumn<QStringList>("after");
        const QStringList start{"10 - THHN", "12 - THW", "10 - THHN"};
        // clang-format off
        QTest::newRow("a rack entry onto the conduit") << "mouse" << 1 << 3 << "conduit" << (start + QStringList{"8 - THHN"});
        // clang-format off
        QTest::newRow("the second of two equal entries onto the rack") << "mouse" << 2 << 2 << "rack" << QStringList{"10 - THHN", "12 - THW"};
        QTest::newRow("the middle entry onto the rack") << "mouse" << 2 << 1 << "rack" << QStringList{"10 - THHN", "10 - THHN"};
        QTest::newRow("a press below the last entry") << "mouse" << 2 << -1 << "rack" << start;
        QTest::newRow("a rack entry onto the rack") << "mouse" << 1 << 3 << "rack" << start;
        QTest::newRow("a conduit entry onto the conduit") << "mouse" << 2 << 0 << "conduit" << start;
        QTest::newRow("a rack entry onto the type list") << "mouse" << 1 << 3 << "types" << start;
        QTest::newRow("a rack entry beyond the panel") << "mouse" << 1 << 3 << "outside" << start;
        QTest::newRow("Enter on a rack entry") << "keys" << 1 << 3 << "" << (start + QStringList{"8 - THHN"});
        QTest::newRow("Delete on a conduit entry") << "keys" << 2 << 0 << "" << QStringList{"12 - THW", "10 - THHN"};
        // clang-format on
        // clang-format on
    }
    void drops() {
        QFETCH(QString, how);
        QFETCH(int, from);
        QFETCH(int, row);
        QFETCH(QString, onto);
        QFETCH(QStringList, after);
        dropGauge("10");
        chooseType("THW");  // changes nothing in the conduit; new conductors take it
        dropGauge("12");
        chooseType("THHN");
        dropGauge("10");
        const auto list = static_cast<FillFrm::DragFrom>(from);
        QListWidget* widget = list == FillFrm::kRack ? panel_->rack() : panel_->conduit();
        if (how == QLatin1String("keys")) {
            widget->setCurrentRow(row);
            QTest::keyClick(widget, list == FillFrm::kRack ? Qt::Key_Return : Qt::Key_Delete);
        } else {
            const std::map<QString, QPoint> targets{
                {"rack", centreOf(panel_->rack())},
                {"conduit", centreOf(panel_->conduit())},
                {"types", centreOf(panel_->typeList())},
                {"outside", panel_->mapToGlobal(QPoint(-40, 10))}};
            drag(list, row, targets.at(onto));
            QVERIFY(!panel_->dragging() && !panel_->dragOutline()->isVisible());
        }
        expectConduit(after);
    }

    // The pointer says where a drop can go; the outline follows it.
    void dragPointer() {
        QListWidget* rack = panel_->rack();
        const QPoint pressed = rack->visualItemRect(rack->item(0)).center();
        panel_->List_MouseDown(FillFrm::kRack, pressed);
        QVERIFY(panel_->dragOutline()->isVisible());
        QCOMPARE(panel_->dragOutline()->width(), rack->width() / 2);
        const QPoint grab = panel_->dragOutline()->pos() - rack->viewport()->mapTo(panel_, pressed);
        const std::vector<std::pair<QPoint, Qt::CursorShape>> over{
            {centreOf(panel_->conduit()), Qt::ArrowCursor},
            {centreOf(panel_->typeList()), Qt::ForbiddenCursor},
            {centreOf(panel_->typeBox()), Qt::ForbiddenCursor},
            {panel_->mapToGlobal(QPoint(-40, 10)), Qt::ArrowCursor}};
        for (const auto& [at, shape] : over) {
            panel_->List_DragOver(at);
            QCOMPARE(QApplication::overrideCursor()->shape(), shape);
            QCOMPARE(panel_->dragOutline()->pos(), panel_->mapFromGlobal(at) + grab);
        }
        QTest::keyClick(rack, Qt::Key_Escape);  // called off
        QVERIFY(!panel_->dragging() && QApplication::overrideCursor() == nullptr);
        expectConduit({});
    }

    // Leaving for another program keeps the conduit for the next open; the exit button empties
    // it; an empty conduit comes back fresh.
    void leavingAndComingBack() {
        dropGauge("10");
        chooseType("THW");
        dropGauge("12");
        dropGauge("12");
        world_->setForeground(0);
        panel_->PanelT_Timer();
        QVERIFY(panel_->isUnloaded());
        QCOMPARE(world_->state->AbandonedPanel, app::kConduitPanel);
        reopen();
        QCOMPARE(itemsOf(panel_->conduit()), (QStringList{"10 - THHN", "12 - THW", "12 - THW"}));
        QCOMPARE(panel_->conduit()->currentRow(), 2);
        QCOMPARE(panel_->countLabel()->text(), QStringLiteral("3"));
        QCOMPARE(panel_->typeList()->currentItem()->text(), QStringLiteral("THW"));

        panel_->DneBut_Click(1);
        QVERIFY(panel_->isUnloaded());
        QCOMPARE(world_->effects->sounds, (QStringList{"Tick/0", "in/1"}));
        QVERIFY(dragList().isEmpty());
        for (int i = 0; i < 2; ++i) {  // after the exit button, then after leaving it empty
            reopen();
            QCOMPARE(panel_->typeList()->currentRow(), 36);
            expectConduit({});
            panel_->PanelT_Timer();  // the foreground is still another program's
            QVERIFY(panel_->isUnloaded());
        }
    }

    void calculate() {
        testing::ErrorCloser closer;
        panel_->DneBut_Click(0);  // an empty conduit: the panel stays open
        QCOMPARE(closer.message, QStringLiteral("No Conductors\nWere Selected."));
        QVERIFY(!panel_->isUnloaded() && !world_->state->ErrorShown);
        QVERIFY(!std::filesystem::exists(world_->state->ResultsPath));

        for (int i = 0; i < 6; ++i) dropGauge("10");
        world_->effects->sounds.clear();
        panel_->DneBut_Click(0);
        QVERIFY(panel_->isUnloaded());
        QCOMPARE(world_->effects->sounds, (QStringList{"Tick/0", "in/1"}));
        QCOMPARE(world_->state->DisplayText, std::string("Size Conduit:\r\n3/4 in.  EMT\r\n"));
        QVERIFY(testing::fileBytes(world_->state->ResultsPath)
                    .endsWith("3/4 in.  EMT\r\n\r\nNotes:\r\n"));
        QVERIFY(world_->state->ResultsReady);
        QVERIFY(dragList().isEmpty());
    }

    void typeDialog_data() {
        QTest::addColumn<QString>("click");  // the type clicked; empty for none
        QTest::addColumn<bool>("leave");     // the user switches away instead of OK
        QTest::addColumn<QString>("abbr");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("display");  // after a calculation with one 10 THHN
        const QString nipple = "EMT Nipple 24 in. Max (60% Fill)";
        // clang-format off
        QTest::newRow("OK without a click keeps the type and names it") << "" << false << "EMT" << "Electrical Metallic Tubing" << "1/2 in.  EMT\r\n";
        // clang-format off
        QTest::newRow("a click on another type") << "Rigid Metal Conduit" << false << "RMC" << "Rigid Metal Conduit" << "1/2 in.  RMC\r\n";
        QTest::newRow("a type ending in * flags its note") << nipple << false << "EMT-NIP*" << nipple << "1/2 in.  EMT-NIP*\r\nSee Notes\r\n";
        QTest::newRow("switching away closes both, the type stays") << "Rigid Metal Conduit" << true << "EMT" << "" << "";
        // clang-format on
        // clang-format on
    }
    void typeDialog() {
        QFETCH(QString, click);
        QFETCH(bool, leave);
        QFETCH(QString, abbr);
        QFETCH(QString, name);
        QFETCH(QString, display);
        const QSize grown = whileTheDialogIsUp([&](SelCond& dialog) {
            QCOMPARE(dialog.pos(), panel_->pos() + QPoint(13, 27));
            QVERIFY(!panel_->typeBox()->isVisible());
            QCOMPARE(dialog.abbreviation()->text(), QStringLiteral("EMT"));
            // The watch does not take the dialog for another program.
            world_->setForeground(world_->state->ErrorForeground);
            panel_->PanelT_Timer();
            QVERIFY(!panel_->isUnloaded());
            if (!click.isEmpty())
                dialog.types()->setCurrentItem(
                    dialog.types()->findItems(click, Qt::MatchExactly).front());
            if (leave) {
                world_->setForeground(0);
                panel_->PanelT_Timer();
                return;
            }
            QCOMPARE(dialog.abbreviation()->text(), abbr);
            QTest::keyClick(&dialog, Qt::Key_K, Qt::AltModifier);
        });
        QCOMPARE(grown, QSize(312, 267));
        QCOMPARE(QString::fromStdString(world_->state->ConduitAbbr), abbr);
        QCOMPARE(QString::fromStdString(world_->state->ConduitName), name);
        QVERIFY(!world_->state->ErrorWindowOpen);
        QCOMPARE(panel_->isUnloaded(), leave);
        if (leave) return;
        QVERIFY(panel_->typeBox()->isVisible());
        QCOMPARE(panel_->typeBox()->text(), abbr);
        // Shown whole: the box less its padding and margins holds the whole abbreviation.
        const QLineEdit* box = panel_->typeBox();
        QVERIFY(QFontMetrics(box->font()).horizontalAdvance(abbr) <= box->width() - 8);
        dropGauge("10");
        world_->setForeground(panel_->winId());
        panel_->DneBut_Click(0);
        QCOMPARE(QString::fromStdString(world_->state->DisplayText), "Size Conduit:\r\n" + display);
        QVERIFY(testing::fileBytes(world_->state->ResultsPath)
                    .contains(("\r\n" + name + "\r\n").toLatin1()));
    }
};

VOLTARO_WIDGET_TEST_MAIN(TestFillFrm)
#include "test_fillfrm.moc"
