// One running instance per user: a later start hands over and the first comes to the front.
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <atomic>
#include <thread>

#include <unistd.h>

#include "platform/single_instance.h"

using voltaro::platform::SingleInstance;

class TestSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir runtime_;

private Q_SLOTS:
    void laterStartHandsOver() {
        const QString key = "voltaro-test-" + QUuid::createUuid().toString(QUuid::Id128);
        SingleInstance first(key);
        QCOMPARE(first.claim(), SingleInstance::Role::Primary);
        QSignalSpy raised(&first, &SingleInstance::activationRequested);

        // The second start blocks until the first has taken the hand-over, so it runs on its own
        // thread while this one serves events.
        std::atomic<int> role{-1};
        std::thread second([&] {
            SingleInstance later(key);
            role = static_cast<int>(later.claim());
        });
        QVERIFY(QTest::qWaitFor([&] { return role.load() >= 0; }, 10000));
        second.join();
        QCOMPARE(role.load(), static_cast<int>(SingleInstance::Role::HandedOver));
        QCOMPARE(raised.count(), 1);
    }

    void initTestCase() { qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit()); }

    // In the private runtime folder; a squatter on the abstract name once used (anyone may take it
    // first), answering as Voltaro would, and a socket a crash left behind do not stop a start.
    void squattersAndLeftoversDoNotStopTheStart() {
        const QString key = "voltaro-test-" + QUuid::createUuid().toString(QUuid::Id128);
        QLocalServer squatter;
        squatter.setSocketOptions(QLocalServer::AbstractNamespaceOption);
        QVERIFY(squatter.listen(key + "-" + QString::number(::getuid())));
        connect(&squatter, &QLocalServer::newConnection, this,
                [&squatter] { squatter.nextPendingConnection()->write("ok\n"); });
        QFile leftover(runtime_.path() + "/" + key + ".socket");
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        SingleInstance instance(key);
        QCOMPARE(instance.serverName(), leftover.fileName());
        QCOMPARE(instance.claim(), SingleInstance::Role::Primary);
    }

    void firstOfAKindIsPrimaryAgainAfterTheOtherEnds() {
        const QString key = "voltaro-test-" + QUuid::createUuid().toString(QUuid::Id128);
        {
            SingleInstance first(key);
            QCOMPARE(first.claim(), SingleInstance::Role::Primary);
        }
        SingleInstance next(key);
        QCOMPARE(next.claim(), SingleInstance::Role::Primary);  // no stale socket left behind
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
