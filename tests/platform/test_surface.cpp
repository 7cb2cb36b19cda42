// Surfaces: block copies with their raster operations and clipping, copies within one surface,
// the window's present hook; DIB reading and writing; the resource table lookup; the counter.
#include <QtTest>

#include <thread>
#include <vector>

#include "platform/counter.h"
#include "platform/dib.h"
#include "platform/resource_module.h"
#include "platform/surface.h"

using namespace voltaro::platform;

namespace {

// A surface whose pixel (x, y) is (x, y, 7): every pixel tells where it came from.
Surface numbered(int width, int height) {
    Surface s(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) s.image().setPixel(x, y, qRgb(x, y, 7));
    return s;
}

}  // namespace

class PlatformSurfaceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void freshSurfaceIsBlack() {
        const Surface s(3, 2);
        QCOMPARE(*pixelAt(s, 2, 1), qRgb(0, 0, 0));
        QVERIFY(!pixelAt(s, 3, 0));
        QVERIFY(!pixelAt(s, 0, -1));
    }

    void rasterOperationsCombinePerComponent_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<QRgb>("target");
        QTest::addColumn<QRgb>("source");
        QTest::addColumn<QRgb>("expected");
        // clang-format off
        QTest::newRow("copy") << int(RasterOp::Copy) << qRgb(1, 2, 3) << qRgb(200, 100, 50) << qRgb(200, 100, 50);
        QTest::newRow("and") << int(RasterOp::And) << qRgb(0xF0, 0x0F, 0xFF) << qRgb(0x3C, 0x3C, 0x00)
                             << qRgb(0x30, 0x0C, 0x00);
        QTest::newRow("or") << int(RasterOp::Or) << qRgb(0xF0, 0x0F, 0x00) << qRgb(0x0C, 0x30, 0x81)
                            << qRgb(0xFC, 0x3F, 0x81);
        QTest::newRow("and with white keeps the target") << int(RasterOp::And) << qRgb(9, 8, 7)
                                                         << qRgb(255, 255, 255) << qRgb(9, 8, 7);
        // clang-format on
    }
    void rasterOperationsCombinePerComponent() {
        QFETCH(int, op);
        QFETCH(QRgb, target);
        QFETCH(QRgb, source);
        QFETCH(QRgb, expected);
        Surface to(2, 2), from(2, 2);
        to.image().fill(target);
        from.image().fill(source);
        blockCopy(to, 0, 0, 2, 2, from, 0, 0, RasterOp(op));
        QCOMPARE(*pixelAt(to, 1, 1), expected);
    }

    void copiesAreClippedToBothSurfaces_data() {
        QTest::addColumn<QRect>("block");  // x, y: target position; size
        QTest::addColumn<QPoint>("sourceAt");
        QTest::addColumn<QRect>("written");
        // clang-format off
        QTest::newRow("inside") << QRect(1, 1, 2, 2) << QPoint(0, 0) << QRect(1, 1, 2, 2);
        QTest::newRow("past the target's right edge") << QRect(3, 0, 4, 1) << QPoint(0, 0) << QRect(3, 0, 2, 1);
        QTest::newRow("from left of the target") << QRect(-2, 0, 4, 1) << QPoint(0, 0) << QRect(0, 0, 2, 1);
        QTest::newRow("from left of the source") << QRect(0, 0, 4, 1) << QPoint(-3, 0) << QRect(3, 0, 1, 1);
        QTest::newRow("past the source's bottom") << QRect(0, 0, 1, 9) << QPoint(0, 2) << QRect(0, 0, 1, 2);
        QTest::newRow("nothing left") << QRect(9, 9, 2, 2) << QPoint(0, 0) << QRect();
        QTest::newRow("zero width") << QRect(0, 0, 0, 2) << QPoint(0, 0) << QRect();
        // clang-format on
    }
    void copiesAreClippedToBothSurfaces() {
        QFETCH(QRect, block);
        QFETCH(QPoint, sourceAt);
        QFETCH(QRect, written);
        Surface to(5, 5);
        to.image().fill(0xff111111);
        const Surface from = numbered(4, 4);
        QCOMPARE(blockCopy(to, block.x(), block.y(), block.width(), block.height(), from,
                           sourceAt.x(), sourceAt.y()),
                 written);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const QRgb expected = written.contains(x, y) ? qRgb(x - block.x() + sourceAt.x(),
                                                                    y - block.y() + sourceAt.y(), 7)
                                                             : 0xff111111;
                QCOMPARE(*pixelAt(to, x, y), expected);
            }
    }

    void overlappingCopyWithinOneSurfaceReadsTheOldPixels_data() {
        QTest::addColumn<QPoint>("shift");
        QTest::addColumn<int>("scale");
        // clang-format off
        QTest::newRow("one column left, as a closing slide") << QPoint(-1, 0) << 1;
        QTest::newRow("one column right")                    << QPoint(1, 0)  << 1;
        QTest::newRow("down and left, at 2x")                << QPoint(-1, 2) << 2;
        QTest::newRow("up and right, at 2x")                 << QPoint(2, -1) << 2;
        // clang-format on
    }
    void overlappingCopyWithinOneSurfaceReadsTheOldPixels() {
        QFETCH(QPoint, shift);
        QFETCH(int, scale);
        const Surface original = numbered(6, 6);
        Surface s(6, 6, scale);
        blockCopy(s, 0, 0, 6, 6, original, 0, 0);
        const QPoint from(std::max(0, -shift.x()), std::max(0, -shift.y()));
        blockCopy(s, from.x() + shift.x(), from.y() + shift.y(), 4, 4, s, from.x(), from.y());
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(*pixelAt(s, from.x() + shift.x() + x, from.y() + shift.y() + y),
                         *pixelAt(original, from.x() + x, from.y() + y));
    }

    void windowSurfacePresentsWhatChanged() {
        Surface window(10, 10);
        std::vector<QRect> presented;
        window.setPresentHook([&](const QRect& r) { presented.push_back(r); });
        const Surface from = numbered(4, 4);
        blockCopy(window, 8, 1, 4, 4, from, 0, 0);
        blockCopy(window, 20, 20, 4, 4, from, 0, 0);  // nothing written, nothing shown
        QCOMPARE(presented.size(), std::size_t(1));
        QCOMPARE(presented[0], QRect(8, 1, 2, 4));
        Surface memory(10, 10);
        QVERIFY(!memory.isWindow());
    }

    void dibRoundTripsAtEveryRowPadding_data() {
        QTest::addColumn<int>("width");
        for (int w : {1, 2, 3, 4, 5})
            QTest::newRow(qPrintable(QStringLiteral("%1 wide").arg(w))) << w;
    }
    void dibRoundTripsAtEveryRowPadding() {
        QFETCH(int, width);
        const Surface original = numbered(width, 3);
        const std::vector<unsigned char> bytes = encodeDib(original.image());
        const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
        QCOMPARE(bytes.size(), kBitmapInfoHeaderSize + stride * 3);
        // Bottom-up, blue first: the first stored pixel is the bottom-left one.
        QCOMPARE(int(bytes[kBitmapInfoHeaderSize + 0]), 7);
        QCOMPARE(int(bytes[kBitmapInfoHeaderSize + 1]), 2);
        QCOMPARE(int(bytes[kBitmapInfoHeaderSize + 2]), 0);
        const auto dib = readDib(bytes.data(), bytes.size());
        QVERIFY(dib);
        QCOMPARE(dib->header.imageSize, std::uint32_t(stride * 3));
        QCOMPARE(surfaceFromDib(*dib).image(), original.image());
    }

    void dibWithTopDownRowsAndNoImageSize() {
        std::vector<unsigned char> bytes = encodeDib(numbered(2, 2).image());
        // Flip to top-down by hand: negative height, rows swapped; size-of-image left as 0.
        bytes[8] = 0xFE, bytes[9] = bytes[10] = bytes[11] = 0xFF;
        bytes[20] = bytes[21] = bytes[22] = bytes[23] = 0;
        std::swap_ranges(bytes.begin() + 40, bytes.begin() + 48, bytes.begin() + 48);
        const auto dib = readDib(bytes.data(), bytes.size());
        QVERIFY(dib);
        QCOMPARE(surfaceFromDib(*dib).image(), numbered(2, 2).image());
    }

    void dibReadingRefusesWhatItCannotDraw_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("truncateBy");
        // clang-format off
        QTest::newRow("8 bits per pixel") << 14 << 8 << 0;
        QTest::newRow("compressed") << 16 << 1 << 0;
        QTest::newRow("two planes") << 12 << 2 << 0;
        QTest::newRow("header size too small") << 0 << 12 << 0;
        QTest::newRow("zero width") << 4 << 0 << 0;
        QTest::newRow("pixels cut short") << 0 << 40 << 1;
        QTest::newRow("image size past the end") << 20 << 200 << 0;
        // clang-format on
    }
    void dibReadingRefusesWhatItCannotDraw() {
        QFETCH(int, offset);
        QFETCH(int, value);
        QFETCH(int, truncateBy);
        std::vector<unsigned char> bytes = encodeDib(numbered(3, 3).image());
        bytes[std::size_t(offset)] = static_cast<unsigned char>(value);
        bytes.resize(bytes.size() - std::size_t(truncateBy));
        QVERIFY(!readDib(bytes.data(), bytes.size()));
        QVERIFY(!readDib(bytes.data(), 39));
        QVERIFY(!readDib(nullptr, 100));
    }

    void dibDrawnAtAnOffsetIsClipped() {
        const std::vector<unsigned char> bytes = encodeDib(numbered(3, 3).image());
        Surface to(4, 4);
        setDibitsToSurface(to, 2, -1, *readDib(bytes.data(), bytes.size()));
        QCOMPARE(*pixelAt(to, 2, 0), qRgb(0, 1, 7));
        QCOMPARE(*pixelAt(to, 3, 1), qRgb(1, 2, 7));
        QCOMPARE(*pixelAt(to, 1, 0), qRgb(0, 0, 0));
        QCOMPARE(*pixelAt(to, 2, 2), qRgb(0, 0, 0));
    }

    // Surfaces at 2x: coordinates stay in window pixels, each covering two device pixels each
    // way; a source of the other scale is scaled to the target's, and a 2x picture lands whole.
    void copiesBetweenScales_data() {
        QTest::addColumn<int>("fromScale");
        QTest::addColumn<int>("toScale");
        QTest::addColumn<QRgb>("deviceOneOne");  // the target's device pixel (1, 1) after the copy
        // clang-format off
        QTest::newRow("2x onto 2x, pixels unchanged") << 2 << 2 << qRgb(60, 60, 7);
        QTest::newRow("1x onto 2x, each pixel doubled") << 1 << 2 << qRgb(0, 0, 7);
        QTest::newRow("2x onto 1x, scaled down") << 2 << 1 << qRgb(150, 150, 7);
        // clang-format on
    }
    void copiesBetweenScales() {
        QFETCH(int, fromScale);
        QFETCH(int, toScale);
        QFETCH(QRgb, deviceOneOne);
        Surface from(2, 2, fromScale);
        for (int y = 0; y < 2 * fromScale; ++y)
            for (int x = 0; x < 2 * fromScale; ++x)
                from.image().setPixel(x, y, qRgb(x * 60, y * 60, 7));
        Surface to(3, 3, toScale);
        QCOMPARE(blockCopy(to, 0, 0, 2, 2, from, 0, 0), QRect(0, 0, 2, 2));
        QCOMPARE(to.image().size(), QSize(3, 3) * toScale);
        const QRgb got = to.image().pixel(1, 1);
        QVERIFY2(qAbs(qRed(got) - qRed(deviceOneOne)) <= 12 &&
                     qAbs(qGreen(got) - qGreen(deviceOneOne)) <= 12,
                 qPrintable(QString::number(got, 16)));
        QCOMPARE(*pixelAt(to, 2, 2), qRgb(0, 0, 0));  // outside the block
    }

    void twoXPictureAndShapeKeepTheirGeometry() {
        // A 4x4 picture drawn at 2x is a 2x2 surface, placed at window pixel (1, 0).
        const std::vector<unsigned char> bytes = encodeDib(numbered(4, 4).image());
        Surface to(3, 3, 2);
        setDibitsToSurface(to, 1, 0, *readDib(bytes.data(), bytes.size()), 2);
        QCOMPARE(to.image().pixel(2, 0), qRgb(0, 0, 7));
        QCOMPARE(to.image().pixel(5, 3), qRgb(3, 3, 7));
        QCOMPARE(surfaceFromDib(*readDib(bytes.data(), bytes.size()), 2).rect(), QRect(0, 0, 2, 2));
        QCOMPARE(scaledResourceName("BASE", 2), std::string("BASE@2x"));
        QCOMPARE(scaledResourceName("BASE", 1), std::string("BASE"));
    }

    void resourceTableLookupIgnoresCase_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("found");  // index into the table, -1 for none
        // clang-format off
        QTest::newRow("exact") << "SOUND" << "Tick" << 0;
        QTest::newRow("other case") << "sound" << "TICK" << 0;
        QTest::newRow("same name, other type") << "BITMAP" << "tick" << 1;
        QTest::newRow("prefix only") << "SOUND" << "Tic" << -1;
        QTest::newRow("longer name") << "SOUND" << "TickLo" << -1;
        QTest::newRow("unknown type") << "ICON" << "Tick" << -1;
        // clang-format on
    }
    void resourceTableLookupIgnoresCase() {
        QFETCH(QString, type);
        QFETCH(QString, name);
        QFETCH(int, found);
        static const unsigned char data[] = {1, 2, 3, 4, 5};
        const ResourceEntry table[] = {{"SOUND", "Tick", data, data + 3},
                                       {"BITMAP", "Tick", data + 3, data + 5}};
        const unsigned char* bytes = nullptr;
        std::uint32_t size = 99;
        const int result = lookupResourceInTable(table, 2, type.toLatin1().constData(),
                                                 name.toLatin1().constData(), &bytes, &size);
        QCOMPARE(result, found >= 0 ? 1 : 0);
        if (found >= 0) {
            QCOMPARE(bytes, table[found].begin);
            QCOMPARE(size, std::uint32_t(table[found].end - table[found].begin));
        } else {
            QCOMPARE(size, std::uint32_t(99));
        }
        QVERIFY(!findResource(nullptr, "SOUND", "Tick"));
    }

    void counterRunsAtTenMillionTicksASecond() {
        const std::int64_t start = performanceCounter();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const std::int64_t elapsed = performanceCounter() - start;
        // At least the 20 ms slept: 200,000 ticks. (No upper bound: the machine may be busy.)
        QVERIFY2(elapsed >= 200000, qPrintable(QString::number(elapsed)));
        QCOMPARE(kCounterFrequency, std::int64_t(10'000'000));
    }
};

QTEST_GUILESS_MAIN(PlatformSurfaceTest)
#include "test_surface.moc"
