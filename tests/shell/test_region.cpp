// The window region cut out of the face picture.
#include <QTest>

#include "shell/region.h"

using voltaro::shell::RegionFromBitmap;

namespace {

const QRgb kKey = qRgb(255, 0, 255);

QImage picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kKey);
    return image;
}

}  // namespace

class TestRegion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyColourPixelsAreOutside() {
        QImage image = picture(10, 4);
        // Row 1: pixels 2..4 and 7..8 belong to the face; row 2 is all face; rows 0 and 3 key.
        for (int x = 2; x <= 4; ++x) image.setPixel(x, 1, qRgb(10, 20, 30));
        for (int x = 7; x <= 8; ++x) image.setPixel(x, 1, qRgb(255, 0, 254));  // one off the key
        for (int x = 0; x < 10; ++x) image.setPixel(x, 2, qRgb(0, 0, 0));
        const QRegion region = RegionFromBitmap(image, 0);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool inside =
                    (y == 1 && ((x >= 2 && x <= 4) || (x >= 7 && x <= 8))) || y == 2;
                QVERIFY2(region.contains(QPoint(x, y)) == inside,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
        QCOMPARE(region.rectCount(), 3);  // two runs on row 1, one on row 2
        QCOMPARE(region.boundingRect(), QRect(0, 1, 10, 2));
    }

    void allKeyRowsAddNothing() {
        const QImage image = picture(8, 8);
        QVERIFY(RegionFromBitmap(image, 0).isEmpty());
    }

    void runToTheRightEdge() {
        QImage image = picture(6, 1);
        for (int x = 3; x < 6; ++x) image.setPixel(x, 0, qRgb(1, 1, 1));
        const QRegion region = RegionFromBitmap(image, 0);
        QCOMPARE(region.boundingRect(), QRect(3, 0, 3, 1));
    }

    void explicitKeyIsBgr() {
        // A key given as 0xBBGGRR: 0x0000FF is red.
        QImage image(4, 1, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 0));
        image.setPixel(0, 0, qRgb(0, 0, 255));
        image.setPixel(3, 0, qRgb(0, 0, 255));
        const QRegion region = RegionFromBitmap(image, 0x0000FF);
        QCOMPARE(region.boundingRect(), QRect(0, 0, 1, 1).united(QRect(3, 0, 1, 1)));
        QCOMPARE(region.rectCount(), 2);
        // With key 0 the colour at (0, 0), blue, is the key instead.
        QCOMPARE(RegionFromBitmap(image, 0).boundingRect(), QRect(1, 0, 2, 1));
    }

    void alphaIsIgnored() {
        QImage image(3, 1, QImage::Format_ARGB32);
        image.fill(qRgba(255, 0, 255, 255));
        image.setPixel(1, 0, qRgba(255, 0, 255, 0));  // same colour, other alpha: still key
        image.setPixel(2, 0, qRgba(9, 9, 9, 255));
        QCOMPARE(RegionFromBitmap(image, 0).boundingRect(), QRect(2, 0, 1, 1));
    }

    void emptyPicture() { QVERIFY(RegionFromBitmap(QImage(), 0).isEmpty()); }
};

QTEST_APPLESS_MAIN(TestRegion)
#include "test_region.moc"
