// Zephlib's picture and delay exports, called through the program's binding on the built
// Zephlib.so, drawing from Testbank.so (tests/zephlib/testbank.h) and Tonebank.so.
#include <QtTest>

#include <dlfcn.h>

#include <string>
#include <vector>

#include "assets/resource_names.h"
#include "platform/counter.h"
#include "platform/dib.h"
#include "platform/shared_library.h"
#include "platform/surface.h"
#include "tests/zephlib/testbank.h"
#include "zephlib/binding/zephlib_binding.h"

using voltaro::platform::pixelAt;
using voltaro::platform::Surface;
using voltaro::platform::ZephlibBinding;
namespace tonebank = voltaro::assets::tonebank;
namespace bank = voltaro::tests::testbank;

namespace {

const std::string kAppDir = VOLTARO_TEST_APP_DIR;
const std::string kTestbank = kAppDir + "/tests/Testbank.so";
const std::string kTonebank = kAppDir + "/Tonebank.so";
constexpr QRgb kUntouched = 0xff404040;

Surface filled(int width, int height, QRgb colour = kUntouched, int scale = 1) {
    Surface s(width, height, scale);
    s.image().fill(colour);
    return s;
}

Surface background(int scale = 1) {
    Surface s(bank::kFrameWidth, bank::kFrameHeight);
    for (int y = 0; y < bank::kFrameHeight; ++y)
        for (int x = 0; x < bank::kFrameWidth; ++x)
            s.image().setPixel(x, y, bank::backgroundPixel(x, y));
    Surface scaled(bank::kFrameWidth, bank::kFrameHeight, scale);
    blockCopy(scaled, 0, 0, bank::kFrameWidth, bank::kFrameHeight, s, 0, 0);
    return scaled;
}

// Spin frame i as a whole picture at `scale`: each component of 255 in the frame's bitmap shows
// the background's, any other replaces it; the missing frame is the background alone.
QImage spinFrame(int frame, int scale) {
    QImage image = background().image();
    for (int y = 0; y < bank::kFrameHeight; ++y)
        for (int x = 0; x < bank::kFrameWidth; ++x) {
            const QRgb b = frame == bank::kMissingFrame ? 0xffffffffu
                                                        : bank::framePixel(frame, x, y),
                       under = bank::backgroundPixel(x, y);
            const auto mix = [](int own, int below) { return own == 255 ? below : own; };
            image.setPixel(x, y,
                           qRgb(mix(qRed(b), qRed(under)), mix(qGreen(b), qGreen(under)),
                                mix(qBlue(b), qBlue(under))));
        }
    QImage scaled = image.scaled(image.size() * scale);
    scaled.setDevicePixelRatio(scale);
    return scaled;
}

// A window surface that records what each copy onto it showed, and when.
struct RecordingWindow {
    Surface surface;
    std::vector<QImage> shown;
    std::vector<std::int64_t> at;
    explicit RecordingWindow(int scale = 1)
        : surface(filled(bank::kFrameWidth, bank::kFrameHeight, kUntouched, scale)) {
        surface.setPresentHook([this](const QRect&) {
            at.push_back(voltaro::platform::performanceCounter());
            shown.push_back(surface.image().copy());
        });
    }
};

// Whether the library at `path` is loaded in this process now.
bool isLoaded(const std::string& path) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return false;
    ::dlclose(handle);
    return true;
}

}  // namespace

class ZephlibPicturesTest : public QObject {
    Q_OBJECT

private:
    ZephlibBinding zeph_ = ZephlibBinding::inFolder(kAppDir);

private Q_SLOTS:
    void getResPicPlacesByPlacement_data() {
        QTest::addColumn<int>("placement");
        QTest::addColumn<QPoint>("origin");
        // clang-format off
        QTest::newRow("placement 0 at the corner") << 0 << QPoint(0, 0);
        QTest::newRow("placement 1 at 155,435") << 1 << QPoint(155, 435);
        QTest::newRow("placement 2 at the corner") << 2 << QPoint(0, 0);
        QTest::newRow("placement -1 at the corner") << -1 << QPoint(0, 0);
        // clang-format on
    }
    void getResPicPlacesByPlacement() {
        QFETCH(int, placement);
        QFETCH(QPoint, origin);
        Surface target = filled(170, 445);
        QCOMPARE(zeph_
                     .GetResPic(kTestbank.c_str(), target, bank::kPatchWidth, bank::kPatchHeight,
                                "PATCH", placement)
                     .value_or(-1),
                 1);
        for (int y = 0; y < bank::kPatchHeight; ++y)
            for (int x = 0; x < bank::kPatchWidth; ++x)
                QCOMPARE(*pixelAt(target, origin.x() + x, origin.y() + y), bank::patchPixel(x, y));
        // Just outside the patch, nothing was drawn.
        QCOMPARE(*pixelAt(target, origin.x() + bank::kPatchWidth, origin.y()), kUntouched);
        QCOMPARE(*pixelAt(target, origin.x(), origin.y() + bank::kPatchHeight), kUntouched);
        const QPoint other = origin.isNull() ? QPoint(155, 435) : QPoint(0, 0);
        QCOMPARE(*pixelAt(target, other.x(), other.y()), kUntouched);
    }

    void getResPicCopiesOnlyTheSizeAsked() {
        Surface target = filled(20, 20);
        QCOMPARE(zeph_.GetResPic(kTestbank.c_str(), target, 3, 2, "PATCH", 0).value_or(-1), 1);
        QCOMPARE(*pixelAt(target, 2, 1), bank::patchPixel(2, 1));
        QCOMPARE(*pixelAt(target, 3, 0), kUntouched);
        QCOMPARE(*pixelAt(target, 0, 2), kUntouched);
    }

    void getResPicWithoutPictureDrawsNothingAndReturnsOne_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("name");
        // clang-format off
        QTest::newRow("missing bitmap") << QString::fromStdString(kTestbank) << "NOSUCH";
        QTest::newRow("missing library") << QString::fromStdString(kAppDir + "/NoSuch.so") << "PATCH";
        // clang-format on
    }
    void getResPicWithoutPictureDrawsNothingAndReturnsOne() {
        QFETCH(QString, library);
        QFETCH(QString, name);
        Surface target = filled(20, 20);
        const QImage before = target.image().copy();
        QCOMPARE(
            zeph_
                .GetResPic(library.toUtf8().constData(), target, 8, 6, name.toUtf8().constData(), 0)
                .value_or(-1),
            1);
        QCOMPARE(target.image(), before);
    }

    // A 2x surface gets the board drawn at 2x, whole, in the same window pixels.
    void getResPicDrawsTheOptionsBoard_data() {
        QTest::addColumn<int>("scale");
        QTest::newRow("1x") << 1;
        QTest::newRow("2x") << 2;
    }
    void getResPicDrawsTheOptionsBoard() {
        QFETCH(int, scale);
        Surface target(214, 177, scale);
        target.image().fill(kUntouched);
        QCOMPARE(zeph_.GetResPic(kTonebank.c_str(), target, 214, 177, tonebank::kCIRCUIT, 0)
                     .value_or(-1),
                 1);
        voltaro::platform::SharedLibrary library(kTonebank);
        const auto found =
            voltaro::platform::findBitmap(library.handle(), tonebank::kCIRCUIT, scale);
        QVERIFY(found && found->scale == scale);
        QCOMPARE(target.image(), voltaro::platform::surfaceFromDib(found->dib, scale).image());
    }

    void picLoadDrawsFromAModuleHandle() {
        voltaro::platform::SharedLibrary module(kTestbank);
        QVERIFY2(module.isOpen(), module.error().c_str());
        Surface reference(1, 1);
        Surface target = filled(20, 20);
        QCOMPARE(zeph_
                     .PicLoad(module.handle(), reference, target, bank::kPatchWidth,
                              bank::kPatchHeight, "patch")
                     .value_or(-1),
                 1);
        QCOMPARE(*pixelAt(target, 0, 0), bank::patchPixel(0, 0));
        QCOMPARE(*pixelAt(target, 7, 5), bank::patchPixel(7, 5));
        QCOMPARE(*pixelAt(target, 8, 0), kUntouched);
    }

    void picLoadWithoutTheBitmapReturnsZeroAndDrawsNothing_data() {
        QTest::addColumn<bool>("nullModule");
        QTest::addColumn<QString>("name");
        // clang-format off
        QTest::newRow("name not in module") << false << "MENU9";
        QTest::newRow("null module") << true << "PATCH";
        // clang-format on
    }
    void picLoadWithoutTheBitmapReturnsZeroAndDrawsNothing() {
        QFETCH(bool, nullModule);
        QFETCH(QString, name);
        voltaro::platform::SharedLibrary module(kTestbank);
        Surface reference(1, 1);
        Surface target = filled(20, 20);
        const QImage before = target.image().copy();
        QCOMPARE(zeph_
                     .PicLoad(nullModule ? nullptr : module.handle(), reference, target, 8, 6,
                              name.toUtf8().constData())
                     .value_or(-1),
                 0);
        QCOMPARE(target.image(), before);
    }

    void spinShowsFramesInDirectionOrder_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QList<int>>("frames");
        const QList<int> forward{1, 2, 3, 4, 5, 6, 7, 8, 9};
        const QList<int> backward{9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
        // clang-format off
        QTest::newRow("direction 1: frames 1 to 9") << 1 << 1 << forward;
        QTest::newRow("direction 0: frames 9 to 0") << 0 << 1 << backward;
        QTest::newRow("direction 2 goes backward") << 2 << 1 << backward;
        QTest::newRow("direction -1 goes backward") << -1 << 1 << backward;
        QTest::newRow("direction 1 at 2x, 1x bitmaps") << 1 << 2 << forward;
        QTest::newRow("direction 0 at 2x, 1x bitmaps") << 0 << 2 << backward;
        // clang-format on
    }
    void spinShowsFramesInDirectionOrder() {
        QFETCH(int, direction);
        QFETCH(int, scale);
        QFETCH(QList<int>, frames);
        RecordingWindow window(scale);
        const Surface from = background(scale);
        const std::int64_t start = voltaro::platform::performanceCounter();
        QCOMPARE(zeph_
                     .SpnFrm(kTestbank.c_str(), window.surface, from, bank::kFrameWidth,
                             bank::kFrameHeight, 10, direction)
                     .value_or(-1),
                 0);
        QCOMPARE(window.shown.size(), std::size_t(frames.size()));
        for (qsizetype k = 0; k < frames.size(); ++k) {
            // The whole window shows the frame, every pixel of it.
            QCOMPARE(window.shown[k], spinFrame(frames[k], scale));
            // Every copy comes after a wait of 99999 ticks at least.
            const std::int64_t previous = k == 0 ? start : window.at[k - 1];
            QVERIFY2(window.at[k] - previous >= 99999,
                     qPrintable(QString::number(window.at[k] - previous)));
        }
    }

    void spinFrameLetsFullComponentsThrough_data() {
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QRgb>("expected");
        const QRgb bg1 = bank::backgroundPixel(1, 0), bg2 = bank::backgroundPixel(2, 0);
        // clang-format off
        QTest::newRow("(255,255,255) shows the background") << QPoint(0, 0) << bank::backgroundPixel(0, 0);
        QTest::newRow("(10,20,30) shows itself") << QPoint(1, 0) << qRgb(10, 20, 30);
        QTest::newRow("(255,0,0) keeps the background's red") << QPoint(2, 0) << qRgb(qRed(bg2), 0, 0);
        QTest::newRow("white rows show the background") << QPoint(4, 3) << bank::backgroundPixel(4, 3);
        // clang-format on
        Q_UNUSED(bg1);
    }
    void spinFrameLetsFullComponentsThrough() {
        QFETCH(QPoint, pixel);
        QFETCH(QRgb, expected);
        RecordingWindow window;
        const Surface from = background();
        zeph_.SpnFrm(kTestbank.c_str(), window.surface, from, bank::kFrameWidth, bank::kFrameHeight,
                     10, 0);
        QCOMPARE(window.shown.size(), std::size_t(10));
        // Frame 0, the last shown going backward, and frame 5 obey the same rule.
        for (const QImage& shown : {window.shown.back(), window.shown[4]})
            QCOMPARE(shown.pixel(pixel) | 0xff000000u, expected);
        // The background itself is left alone.
        QCOMPARE(*pixelAt(from, 1, 0), bank::backgroundPixel(1, 0));
    }

    void spinWithoutLibraryShowsNothing() {
        RecordingWindow window;
        const Surface from = background();
        QCOMPARE(zeph_
                     .SpnFrm((kAppDir + "/NoSuch.so").c_str(), window.surface, from,
                             bank::kFrameWidth, bank::kFrameHeight, 10, 1)
                     .value_or(-1),
                 0);
        QVERIFY(window.shown.empty());
    }

    void exportsFreeTheLibraryTheyLoaded_data() {
        QTest::addColumn<int>("exportIndex");
        // clang-format off
        QTest::newRow("GetResPic") << 0;
        QTest::newRow("SpnFrm") << 1;
        // clang-format on
    }
    void exportsFreeTheLibraryTheyLoaded() {
        QFETCH(int, exportIndex);
        QVERIFY(!isLoaded(kTestbank));
        RecordingWindow window;
        const Surface from = background();
        if (exportIndex == 0)
            zeph_.GetResPic(kTestbank.c_str(), window.surface, 8, 6, "PATCH", 0);
        else
            zeph_.SpnFrm(kTestbank.c_str(), window.surface, from, bank::kFrameWidth,
                         bank::kFrameHeight, 10, 1);
        QVERIFY(!window.shown.empty());
        QVERIFY(!isLoaded(kTestbank));
    }

    void lagReturnsTheCounterItWaitedFor_data() {
        QTest::addColumn<int>("ticks");
        // clang-format off
        QTest::newRow("0 returns at once") << 0;
        QTest::newRow("negative returns at once") << -5;
        QTest::newRow("20000 ticks") << 20000;
        // clang-format on
    }
    void lagReturnsTheCounterItWaitedFor() {
        QFETCH(int, ticks);
        const auto before = static_cast<std::uint32_t>(voltaro::platform::performanceCounter());
        const auto result = static_cast<std::uint32_t>(*zeph_.Lag(ticks));
        const auto after = static_cast<std::uint32_t>(voltaro::platform::performanceCounter());
        // The start value (result - ticks) was read between `before` and `after` (32-bit wrap).
        const std::uint32_t start = result - static_cast<std::uint32_t>(ticks);
        QVERIFY(start - before <= after - before);
        // A positive count is waited out in full.
        if (ticks > 0) QVERIFY(after - start >= static_cast<std::uint32_t>(ticks));
    }

    void syncReturnsItsArgument_data() {
        QTest::addColumn<int>("ticks");
        // clang-format off
        QTest::newRow("0") << 0;
        QTest::newRow("1000") << 1000;
        QTest::newRow("-7") << -7;
        // clang-format on
    }
    void syncReturnsItsArgument() {
        QFETCH(int, ticks);
        QCOMPARE(zeph_.Sync(ticks).value_or(-1), ticks);
    }
};

QTEST_GUILESS_MAIN(ZephlibPicturesTest)
#include "test_pictures.moc"
