// The display check: colour depth and width, never the height.
#include <QTest>

#include "shell/display_check.h"

using voltaro::shell::ChkScrRes;

class TestDisplayCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void check_data() {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("planes");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("passes");
        // clang-format off
        QTest::newRow("1024 wide, 24-bit") << 24 << 1 << 1024 << true;
        QTest::newRow("800 wide passes") << 32 << 1 << 800 << true;
        QTest::newRow("799 wide fails") << 32 << 1 << 799 << false;
        QTest::newRow("640 wide fails") << 32 << 1 << 640 << false;
        QTest::newRow("16-bit passes") << 16 << 1 << 1024 << true;
        QTest::newRow("15-bit fails") << 15 << 1 << 1024 << false;
        QTest::newRow("256 colours fail") << 8 << 1 << 1024 << false;
        QTest::newRow("planes multiply") << 4 << 4 << 1024 << true;
        QTest::newRow("no colour") << 0 << 1 << 1024 << false;
        // clang-format on
    }
    void check() {
        QFETCH(int, bits);
        QFETCH(int, planes);
        QFETCH(int, width);
        QFETCH(bool, passes);
        QCOMPARE(ChkScrRes(bits, planes, width), passes);
    }
};

QTEST_APPLESS_MAIN(TestDisplayCheck)
#include "test_display_check.moc"
