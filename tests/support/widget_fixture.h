// Widget tests run headless and on their own: VOLTARO_WIDGET_TEST_MAIN(TestClass) takes the place
// of QTEST_MAIN. Before the application starts, the test is put on the offscreen platform (unless
// its run names a platform, as the screen-size runs do) and the user's settings, data and cache
// folders are moved into a temporary folder, so no test reads or writes the real ones. While the
// tests run, a watchdog fails a test that leaves a modal window open for kModalDeadline and closes
// that window, so the run goes on and says which window it was, instead of hanging until CTest's
// timeout.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>

namespace voltaro::testing {

// How long a modal window may stay open before the test that left it fails. Every modal window a
// test opens on purpose is closed by the test within a few event-loop turns.
inline constexpr std::chrono::milliseconds kModalDeadline{5000};

class WidgetEnvironment {
public:
    WidgetEnvironment() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!home_.isValid()) qFatal("cannot make a temporary folder");
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            qputenv(name, QFile::encodeName(home_.filePath(QString::fromLatin1(name))));
    }

private:
    QTemporaryDir home_;
};

class ModalWatchdog : public QObject {
public:
    ModalWatchdog() {
        timer_.setInterval(100);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { check(); });
        timer_.start();
    }

private:
    void check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != watched_) {
            watched_ = modal;
            since_.start();
            return;
        }
        if (modal == nullptr || since_.elapsed() < kModalDeadline.count()) return;
        const QByteArray name = modal->objectName().isEmpty()
                                    ? QByteArray(modal->metaObject()->className())
                                    : modal->objectName().toUtf8();
        const QByteArray message = "a modal window was left open: " + name;
        QTest::qFail(message.constData(), __FILE__, __LINE__);
        modal->close();
        watched_ = nullptr;
    }

    QTimer timer_;
    QPointer<QWidget> watched_;
    QElapsedTimer since_;
};

}  // namespace voltaro::testing

#define VOLTARO_WIDGET_TEST_MAIN(TestObject)             \
    int main(int argc, char** argv) {                    \
        voltaro::testing::WidgetEnvironment environment; \
        QApplication app(argc, argv);                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);         \
        voltaro::testing::ModalWatchdog watchdog;        \
        TestObject test;                                 \
        QTEST_SET_MAIN_SOURCE_PATH                       \
        return QTest::qExec(&test, argc, argv);          \
    }
