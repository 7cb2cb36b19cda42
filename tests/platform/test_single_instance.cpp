// One running instance per user: a later start hands over and the first comes to the front.
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <atomic>
#include <thread>

#include "platform/single_instance.h"

using voltaro::platform::SingleInstance;

class TestSingleInstance : public QObject {
    Q_OBJECT

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

    void nameIsPerUser() {
        SingleInstance instance("voltaro");
        QVERIFY(instance.serverName().startsWith("voltaro-"));
        QVERIFY(instance.serverName().size() > QString("voltaro-").size());
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
