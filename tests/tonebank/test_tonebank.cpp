// Tonebank.so, as Zephlib loads it by path: the six sounds are clean 16-bit WAVE images of
// sensible length, "CIRCUIT" and the ten spin frames are there, and the frames only ever change
// the face inside the window's shape, a little more with every frame.
#include <QtTest>

#include <cmath>

#include "assets/layout.h"
#include "assets/resource_names.h"
#include "platform/dib.h"
#include "platform/resource_module.h"
#include "platform/shared_library.h"

using namespace voltaro::platform;
namespace layout = voltaro::assets::layout;
namespace tonebank = voltaro::assets::tonebank;

namespace {

const std::string kTonebank = std::string(VOLTARO_TEST_APP_DIR) + "/Tonebank.so";

std::optional<QImage> bitmapIn(void* module, const char* name) {
    const auto data = findResource(module, kBitmapResource, name);
    if (!data) return std::nullopt;
    const auto dib = readDib(data->bytes, data->size);
    if (!dib) return std::nullopt;
    return surfaceFromDib(*dib).image();
}

struct Wave {
    int channels = 0, rate = 0, bits = 0;
    std::vector<qint16> samples;
};

std::optional<Wave> readWave(const unsigned char* bytes, std::size_t size) {
    const QByteArray wav(reinterpret_cast<const char*>(bytes), qsizetype(size));
    if (!wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE") return std::nullopt;
    Wave w;
    for (qsizetype at = 12; at + 8 <= wav.size();) {
        const QByteArray id = wav.mid(at, 4);
        const quint32 length = qFromLittleEndian<quint32>(wav.constData() + at + 4);
        const char* body = wav.constData() + at + 8;
        if (at + 8 + qsizetype(length) > wav.size()) return std::nullopt;
        if (id == "fmt ") {
            if (qFromLittleEndian<quint16>(body) != 1) return std::nullopt;  // PCM only
            w.channels = qFromLittleEndian<quint16>(body + 2);
            w.rate = int(qFromLittleEndian<quint32>(body + 4));
            w.bits = qFromLittleEndian<quint16>(body + 14);
        } else if (id == "data") {
            for (quint32 i = 0; i + 1 < length; i += 2)
                w.samples.push_back(qFromLittleEndian<qint16>(body + i));
        }
        at += 8 + qsizetype(length) + (length & 1);
    }
    return w;
}

}  // namespace

class TonebankTest : public QObject {
    Q_OBJECT

private:
    SharedLibrary library_{kTonebank};

private Q_SLOTS:
    void initTestCase() { QVERIFY2(library_.isOpen(), library_.error().c_str()); }

    void soundsAreShortCleanWaves_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("minSeconds");
        QTest::addColumn<double>("maxSeconds");
        // clang-format off
        QTest::newRow("Tick, a click") << tonebank::kTick << 0.005 << 0.06;
        QTest::newRow("TickLo, a lower click") << tonebank::kTickLo << 0.005 << 0.06;
        QTest::newRow("Dip, a snap") << tonebank::kDip << 0.005 << 0.05;
        QTest::newRow("out, a whoosh as long as a slide") << tonebank::kOut << 0.15 << 0.6;
        QTest::newRow("in, a whoosh as long as a slide") << tonebank::kIn << 0.15 << 0.6;
        QTest::newRow("Off, a power-down") << tonebank::kOff << 0.2 << 0.8;
        // clang-format on
    }
    void soundsAreShortCleanWaves() {
        QFETCH(QString, name);
        QFETCH(double, minSeconds);
        QFETCH(double, maxSeconds);
        const auto data =
            findResource(library_.handle(), kSoundResource, name.toLatin1().constData());
        QVERIFY(data);
        const auto wave = readWave(data->bytes, data->size);
        QVERIFY2(wave, "not a PCM WAVE image");
        QCOMPARE(wave->bits, 16);
        QVERIFY(wave->channels >= 1 && wave->rate >= 11025);
        const double seconds = double(wave->samples.size()) / wave->channels / wave->rate;
        QVERIFY2(seconds >= minSeconds && seconds <= maxSeconds,
                 qPrintable(QString::number(seconds)));
        int peak = 0;
        for (const qint16 s : wave->samples) peak = std::max(peak, std::abs(int(s)));
        QVERIFY2(peak > 3000, "too quiet");
        QVERIFY2(peak < 32000, "clipped");
        // No step at either end: the sound starts and stops at silence.
        QVERIFY(std::abs(int(wave->samples.front())) < 200);
        QVERIFY(std::abs(int(wave->samples.back())) < 200);
    }

    void circuitIsThereAtItsSize() {
        const auto circuit = bitmapIn(library_.handle(), tonebank::kCIRCUIT);
        QVERIFY(circuit);
        QCOMPARE(circuit->size(), QSize(214, 177));
    }

    void spinFramesChangeOnlyTheWindowAndMoreEachFrame() {
        const auto base = bitmapIn(programModule(), voltaro::assets::program::kBASE);
        QVERIFY(base);
        qsizetype previous = 0;
        for (const char* name :
             {tonebank::k0B, tonebank::k1B, tonebank::k2B, tonebank::k3B, tonebank::k4B,
              tonebank::k5B, tonebank::k6B, tonebank::k7B, tonebank::k8B, tonebank::k9B}) {
            const auto frame = bitmapIn(library_.handle(), name);
            QVERIFY2(frame, name);
            QCOMPARE(frame->size(), QSize(268, 546));
            qsizetype changed = 0;
            for (int y = 0; y < frame->height(); ++y)
                for (int x = 0; x < frame->width(); ++x) {
                    const QRgb f = frame->pixel(x, y) & 0xffffffu;
                    if (f == 0xffffffu) continue;
                    ++changed;
                    // Only inside the window's shape, and never half see-through.
                    QVERIFY((base->pixel(x, y) & 0xffffffu) != layout::face::kKeyColour);
                    QVERIFY(qRed(f) < 255 && qGreen(f) < 255 && qBlue(f) < 255);
                }
            QVERIFY2(changed > previous, name);
            previous = changed;
        }
    }
};

QTEST_GUILESS_MAIN(TonebankTest)
#include "test_tonebank.moc"
