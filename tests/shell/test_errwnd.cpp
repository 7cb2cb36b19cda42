// The error window: its texts, its keys, and the flags it leaves for the calculators.
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "shell/errwnd.h"
#include "tests/support/widget_fixture.h"

using namespace voltaro::shell;

namespace {

// Runs `action` on the error window once it is up.
void whenShown(std::function<void(ErrWnd*)> action) {
    QTimer::singleShot(0, [action] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<ErrWnd*>(w); window != nullptr && window->isVisible())
                return action(window);
        QFAIL("no error window is up");
    });
}

}  // namespace

class TestErrWnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheMessageOnItsLines() {
        QCOMPARE(errorText("Amp Rating Is\rToo High,\r6000 Amps Max."),
                 QStringLiteral("Amp Rating Is\nToo High,\n6000 Amps Max."));
        QCOMPARE(errorText("Values Too High\r\nCannot Compute."),
                 QStringLiteral("Values Too High\nCannot Compute."));
        SharedState state;
        ErrWnd window(state, errorText("No Conductors\r\nWere Selected."));
        QCOMPARE(window.messageLabel()->text(), QStringLiteral("No Conductors\nWere Selected."));
        QCOMPARE(window.findChild<QLabel*>("Label1")->text(), QStringLiteral("Error"));
        QVERIFY(window.findChild<QLabel*>("Label1")->font().bold());
        QCOMPARE(window.okButton()->text(), QStringLiteral("&OK"));
        QVERIFY(!window.okButton()->accessibleName().isEmpty());
        const QAccessibleInterface* about = QAccessible::queryAccessibleInterface(&window);
        QVERIFY(about->role() == QAccessible::AlertMessage &&  // read out with the message
                about->text(QAccessible::Description) == window.messageLabel()->text());
    }

    void closesWithOkEnterOrAltO_data() {
        QTest::addColumn<int>("how");
        // clang-format off
        QTest::newRow("click") << 0;
        QTest::newRow("Enter") << 1;
        QTest::newRow("Alt+O") << 2;
        // clang-format on
    }
    void closesWithOkEnterOrAltO() {
        QFETCH(int, how);
        SharedState state;
        bool openWhileShown = false;
        whenShown([&](ErrWnd* window) {
            openWhileShown = state.ErrorWindowOpen && !state.ErrorShown;
            if (how == 0) QTest::mouseClick(window->okButton(), Qt::LeftButton);
            if (how == 1) QTest::keyClick(window, Qt::Key_Return);
            // Through the window system, where access keys are matched.
            if (how == 2) QTest::keyClick(window->windowHandle(), Qt::Key_O, Qt::AltModifier);
        });
        // A window that does not close fails the test through the fixture's watchdog.
        ShowError(state, "Amp Rating Is\rToo High,\r6000 Amps Max.");
        QVERIFY(openWhileShown);
        QVERIFY(state.ErrorShown);
        QVERIFY(!state.ErrorWindowOpen);
    }

    void aWatchCanUnloadIt() {
        SharedState state;
        QPointer<ErrWnd> current;
        whenShown([&](ErrWnd*) {
            QVERIFY(current);
            QVERIFY(state.UnloadErrorWindow);
            state.UnloadErrorWindow();  // as an open panel's watch does when the user switches away
        });
        ShowError(state, "Trade Size Conduit\r\nNot Large Enough.", nullptr, &current);
        QVERIFY(!current);
        QVERIFY(!state.UnloadErrorWindow);
        QVERIFY(state.ErrorShown);
    }
};

VOLTARO_WIDGET_TEST_MAIN(TestErrWnd)
#include "test_errwnd.moc"
