// The history on the desktop: what the panels hand over (their title and inputs as typed), the
// keeper that records every published answer and tells of a failure once without taking the
// focus, and the History window driven from the keyboard.
#include <sqlite3.h>

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "calc/starter/starterfrm.h"
#include "calc/transformer/transformerfrm.h"
#include "calc/wire/wirefrm.h"
#include "shell/history_window.h"
#include "shell/results_log.h"
#include "tests/support/golden.h"
#include "tests/support/panel_world.h"
#include "tests/support/widget_fixture.h"

using namespace voltaro;

namespace {

calc::Answer answer(const std::string& line) {
    calc::Answer a;
    a.displayLines = {line, "See Notes"};
    a.log = calc::StartResultsLog("~ " + line + " ~");
    return a;
}

}  // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testing::quietAboutMasks(); }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        path_ = std::filesystem::path(dir_->path().toStdString()) / "Voltaro" / "history.sqlite";
    }
    void panelsHandOverTheirInputs_data();
    void panelsHandOverTheirInputs();
    void everyAnswerIsKeptEvenWithoutItsLog();
    void aFailureIsToldOnceWithoutTheFocus();
    void windowFromTheKeyboard();
    void newerFileCannotBeChanged();
    void theFaceStaysWhileTheHistoryIsOpen();

private:
    void seed(const std::vector<std::string>& calculators) {
        auto store = *history::Store::open(path_, history::Store::Mode::Record);
        std::int64_t ms = 1700000000000;
        for (const auto& c : calculators) {
            history::Entry e{0,
                             ms += 60000,
                             c,
                             {{"Full Load Amps", "40"}},
                             {c + " answer"},
                             "\r\n" + c + " log\r\n"};
            QVERIFY(!store->record(e));
        }
    }
    QPushButton* button(QWidget& window, const char* name) {
        return window.findChild<QPushButton*>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::filesystem::path path_;
};

// clang-format off
void HistoryWindowTest::panelsHandOverTheirInputs_data() {
    QTest::addColumn<int>("panel");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("calculator");
    QTest::addColumn<QString>("inputs");
    QTest::newRow("wire") << 1 << "TB0=40;TB1=6;TB2=30" << "Wire Size"
        << "Full Load Amps: 40; Conductor Type: Copper; Insulation Type: THHN; "
           "Current Carrying Conductors in Conduit: 6; Ambient Temp in C: 30";
    QTest::newRow("transformer, three phase") << 4 << "Knob1;TA=75;TV=480" << "Transformer"
        << "Full Load Amps: 75; Volts: 480; Phase: Three Phase";
    QTest::newRow("starter") << 5 << "Ts=20;Ti=480" << "Motor Starter"
        << "Full Load Amps: 20; Voltage: 480";
}
// clang-format on

void HistoryWindowTest::panelsHandOverTheirInputs() {
    QFETCH(int, panel);
    QFETCH(QString, entries);
    QFETCH(QString, calculator);
    QFETCH(QString, inputs);
    testing::PanelWorld world;
    world.registerPanel<calc::wire::WireFrm>(app::kWirePanel);
    world.registerPanel<calc::transformer::Xfmr>(app::kTransformerPanel);
    world.registerPanel<calc::starter::Starter>(app::kStarterPanel);
    std::vector<history::Entry> handed;
    world.state->RecordAnswer = [&handed](history::Entry e) { handed.push_back(std::move(e)); };
    QVERIFY(world.open(static_cast<std::int16_t>(panel)));
    for (const QString& entry : entries.split(';')) {
        const QByteArray name = entry.section('=', 0, 0).toLatin1();
        if (auto* box = world.control<QLineEdit>(name))
            box->setText(entry.section('=', 1));
        else
            QTest::mouseClick(world.control<shell::ImageButton>(name), Qt::LeftButton);
    }
    QTest::mouseClick(world.control<shell::ImageButton>("DneBut0"), Qt::LeftButton);
    QCOMPARE(handed.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(handed[0].calculator), calculator);
    QCOMPARE(QString::fromStdString(history::inputsText(handed[0].inputs, "; ")), inputs);
    QCOMPARE(handed[0].log, testing::fileBytes(world.state->ResultsPath).toStdString());
}

void HistoryWindowTest::everyAnswerIsKeptEvenWithoutItsLog() {
    shell::SharedState state;
    QWidget main;
    shell::HistoryKeeper keeper(state, path_, main, {});
    state.ResultsPath = path_.parent_path() / "no such folder" / "~qxrslt.dat";
    QVERIFY(shell::publishAnswer(state, answer("8  (THHN)"), {"Wire Size", {{"Amps", "40"}}}));
    state.ResultsPath.clear();  // no results log kept at all
    QVERIFY(!shell::publishAnswer(state, answer("10 Ground")));
    keeper.flush();
    auto store = *history::Store::open(path_, history::Store::Mode::Browse);
    auto kept = *store->list({-1, {}, true});
    QCOMPARE(kept.size(), std::size_t{2});
    QCOMPARE(kept[1].calculator, std::string("Wire Size"));
    QCOMPARE(kept[1].display, answer("8  (THHN)").displayLines);
    QCOMPARE(kept[1].log, answer("8  (THHN)").log.bytes());
    QCOMPARE(state.DisplayText,
             std::string("8  (THHN)\r\nSee Notes\r\n10 Ground\r\nSee Notes\r\n"));
}

void HistoryWindowTest::aFailureIsToldOnceWithoutTheFocus() {
    QFile blocker(dir_->filePath("Voltaro"));  // a file where the history's folder would be
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    shell::SharedState state;
    QWidget main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    shell::HistoryKeeper keeper(state, path_, main, {});
    QVERIFY(!shell::publishAnswer(state, answer("8  (THHN)")));
    keeper.flush();
    QTRY_VERIFY(keeper.noticeText().contains(QString::fromStdString(path_.parent_path().string())));
    QWidget* notice = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "HistoryNotice") notice = w;
    QVERIFY(notice);
    QTRY_VERIFY(notice->isVisible());
    QCOMPARE(QApplication::activeWindow(), &main);
    QTest::mouseClick(notice, Qt::LeftButton);
    QVERIFY(!notice->isVisible());
    QVERIFY(!shell::publishAnswer(state, answer("10 Ground")));
    keeper.flush();
    QTest::qWait(50);
    QVERIFY(!notice->isVisible());  // once a run
}

void HistoryWindowTest::windowFromTheKeyboard() {
    seed({"Wire Size", "Motor Starter", "Transformer"});
    std::vector<std::int64_t> printed;
    QString pdfFile;
    std::vector<bool> answers{false, true};  // the first Clear History is refused
    shell::HistoryWindow::Hooks hooks;
    hooks.print = [&](const history::Entry& e) {
        printed.push_back(e.id);
        return QStringLiteral("Printing Complete.");
    };
    hooks.chooseFile = [&](QWidget*, const QString& suggested) {
        return suggested.endsWith(".pdf") ? dir_->filePath("a.pdf") : QString();
    };
    hooks.saveAsPdf = [&](const history::Entry&, const QString& file) {
        pdfFile = file;
        return QString();
    };
    hooks.confirm = [&](QWidget*, const QString& question) {
        const bool yes = answers.front();
        answers.erase(answers.begin());
        return question.contains("all 2 answers") && yes;
    };
    shell::HistoryWindow window(path_, hooks);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* list = window.findChild<QTableView*>("HistoryList");
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(list->model()->index(0, 1).data().toString(), "Transformer");  // newest first
    // Typing filters; Down goes into the list; Ctrl+P prints the selected entry.
    QTest::keyClicks(QApplication::focusWidget(), "STARTER");
    QCOMPARE(list->model()->rowCount(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(list, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(printed, std::vector<std::int64_t>{2});
    QCOMPARE(window.status(), "Printing Complete.");
    button(window, "HistoryPdf")->click();
    QCOMPARE(pdfFile, dir_->filePath("a.pdf"));
    button(window, "HistoryCopy")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), "\nMotor Starter log\n");
    // Delete removes it from the file; Clear History asks first.
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(list->model()->rowCount(), 0);
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTRY_COMPARE(list->model()->rowCount(), 2);
    button(window, "HistoryClear")->click();
    QCOMPARE(list->model()->rowCount(), 2);
    button(window, "HistoryClear")->click();
    QCOMPARE(list->model()->rowCount(), 0);
    QCOMPARE(*(*history::Store::open(path_, history::Store::Mode::Browse))->count(), 0);
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

void HistoryWindowTest::newerFileCannotBeChanged() {
    seed({"Wire Size"});
    {
        auto store = *history::Store::open(path_, history::Store::Mode::Record);
        sqlite3_exec(store->handle(), "PRAGMA user_version = 9", nullptr, nullptr, nullptr);
    }
    shell::HistoryWindow window(path_, {});
    window.show();
    QCOMPARE(window.findChild<QTableView*>("HistoryList")->model()->rowCount(), 1);
    QVERIFY(!button(window, "HistoryDelete")->isEnabled());
    QVERIFY(!button(window, "HistoryClear")->isEnabled());
    QVERIFY(window.status().contains("newer Voltaro"));
}

// Ctrl+H's window is the program's own: Auto Min does not take it for another program.
void HistoryWindowTest::theFaceStaysWhileTheHistoryIsOpen() {
    testing::PanelWorld world;
    world.state->OptionFlags[shell::kAutoMin] = true;
    shell::HistoryKeeper keeper(*world.state, path_, *world.main, {});
    keeper.showHistory();
    QVERIFY(QTest::qWaitForWindowActive(keeper.window()));
    world.main->MainT_Timer();
    QVERIFY(!world.main->isMinimized());
    QVERIFY(!world.state->FocusLost);
}

VOLTARO_WIDGET_TEST_MAIN(HistoryWindowTest)
#include "test_history_window.moc"
