// P_Sound: its failure messages (through the injectable sink and through the real export's
// stderr stand-in), and real playing of Tonebank.so's sounds. The test runs with
// SDL_AUDIODRIVER=dummy; two more CTest entries rerun single functions with the disk driver
// (diskOutput*) and with no usable driver (noAudioDevice); elsewhere those functions skip.
#include <QtTest>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <future>
#include <string>
#include <vector>

#include "assets/resource_names.h"
#include "platform/resource_module.h"
#include "platform/shared_library.h"
#include "zephlib/audio_output.h"
#include "zephlib/binding/zephlib_binding.h"
#include "zephlib/sound.h"

using voltaro::platform::ZephlibBinding;
namespace tonebank = voltaro::assets::tonebank;

namespace {

const std::string kAppDir = VOLTARO_TEST_APP_DIR;
const std::string kTonebank = kAppDir + "/Tonebank.so";

// Sends standard error into a temporary file while it lives.
class StderrCapture {
public:
    StderrCapture() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        file_.open();
        ::dup2(file_.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }
    QString text() {
        restore();
        file_.seek(0);
        return QString::fromUtf8(file_.readAll());
    }

private:
    void restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }
    QTemporaryFile file_;
    int saved_ = -1;
};

// The 16-bit samples of a WAVE image's data chunk.
QByteArray waveSamples(const unsigned char* bytes, std::size_t size) {
    const QByteArray wav(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const qsizetype data = wav.indexOf("data");
    if (data < 0) return {};
    const quint32 length = qFromLittleEndian<quint32>(wav.constData() + data + 4);
    return wav.mid(data + 8, length);
}

QByteArray tonebankSamples(const char* name) {
    voltaro::platform::SharedLibrary library(kTonebank);
    const auto sound =
        voltaro::platform::findResource(library.handle(), voltaro::platform::kSoundResource, name);
    return sound ? waveSamples(sound->bytes, sound->size) : QByteArray();
}

bool driverIs(const char* driver) {
    return qEnvironmentVariable("SDL_AUDIODRIVER") == QLatin1String(driver);
}

}  // namespace

class ZephlibSoundTest : public QObject {
    Q_OBJECT

private:
    ZephlibBinding zeph_ = ZephlibBinding::inFolder(kAppDir);

private Q_SLOTS:
    // The dummy and disk drivers open one device at a time: the sound this test plays through
    // its own copy of the audio output is stopped before Zephlib.so's copy plays.
    void cleanup() { voltaro::zephlib::AudioOutput::process().stop(); }

    void failuresAreReportedInOrder_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("messages");
        const QStringList all{"LoadLibrary FAILED", "FindResource FAILED", "LoadResource FAILED"};
        // clang-format off
        QTest::newRow("missing library") << QString::fromStdString(kAppDir + "/NoSuch.so") << "Tick" << all;
        QTest::newRow("missing sound") << QString::fromStdString(kTonebank) << "Buzz" << all.mid(1);
        QTest::newRow("a bitmap is not a sound") << QString::fromStdString(kTonebank) << tonebank::kCIRCUIT << all.mid(1);
        QTest::newRow("sound found") << QString::fromStdString(kTonebank) << "tick" << QStringList{};
        // clang-format on
    }
    void failuresAreReportedInOrder() {
        QFETCH(QString, library);
        QFETCH(QString, name);
        QFETCH(QStringList, messages);
        for (const int mode : {0, 1}) {
            QStringList seen;
            const int result = voltaro::zephlib::playSoundResource(
                library.toUtf8().constData(), name.toUtf8().constData(), mode,
                [&seen](std::string_view caption, std::string_view text) {
                    QCOMPARE(QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                             QStringLiteral("P_Sound"));
                    seen << QString::fromUtf8(text.data(), qsizetype(text.size()));
                });
            QCOMPARE(seen, messages);
            // The dummy driver accepts every sound that was found.
            QCOMPARE(result, messages.isEmpty() ? 1 : 0);
        }
    }

    void theExportShowsItsMessagesOnStderrWithoutAnApplication() {
        StderrCapture capture;
        const int result = zeph_.P_Sound((kAppDir + "/NoSuch.so").c_str(), "Tick", 0).value_or(-1);
        const QString text = capture.text();
        QCOMPARE(result, 0);
        QCOMPARE(text, QStringLiteral("P_Sound: LoadLibrary FAILED\nP_Sound: FindResource FAILED\n"
                                      "P_Sound: LoadResource FAILED\n"));
    }

    void everyLibrarySoundPlays_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : tonebank::kSounds) QTest::newRow(name) << name;
    }
    void everyLibrarySoundPlays() {
        QFETCH(QString, name);
        QCOMPARE(zeph_.P_Sound(kTonebank.c_str(), name.toUtf8().constData(), 0).value_or(-1), 1);
    }

    void theLibraryIsFreedEvenWhileASoundPlaysOn_data() {
        QTest::addColumn<int>("mode");
        // clang-format off
        QTest::newRow("waited for") << 0;
        QTest::newRow("played on") << 1;
        // clang-format on
    }
    void theLibraryIsFreedEvenWhileASoundPlaysOn() {
        QFETCH(int, mode);
        QCOMPARE(zeph_.P_Sound(kTonebank.c_str(), tonebank::kOut, mode).value_or(-1), 1);
        void* handle = ::dlopen(kTonebank.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle != nullptr) ::dlclose(handle);
        QVERIFY(handle == nullptr);
    }

    void aNewSoundReplacesOneStillPlaying() {
        QCOMPARE(zeph_.P_Sound(kTonebank.c_str(), tonebank::kOff, 1).value_or(-1), 1);
        QCOMPARE(zeph_.P_Sound(kTonebank.c_str(), tonebank::kOut, 1).value_or(-1), 1);
        QCOMPARE(zeph_.P_Sound(kTonebank.c_str(), tonebank::kTick, 0).value_or(-1), 1);
    }

    void diskOutputHoldsTheSoundPlayed_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mode");
        // clang-format off
        QTest::newRow("Tick, waited for") << tonebank::kTick << 0;
        QTest::newRow("out, played on after the call") << tonebank::kOut << 1;
        // clang-format on
    }
    void diskOutputHoldsTheSoundPlayed() {
        if (!driverIs("disk")) QSKIP("runs as test_zephlib_sound_disk, with SDL's disk driver");
        QFETCH(QString, name);
        QFETCH(int, mode);
        const QString output = qEnvironmentVariable("SDL_DISKAUDIOFILE");
        QVERIFY(!output.isEmpty());
        const QByteArray samples = tonebankSamples(name.toUtf8().constData());
        QVERIFY(samples.size() > 100);
        QCOMPARE(zeph_.P_Sound(kTonebank.c_str(), name.toUtf8().constData(), mode).value_or(-1), 1);
        // Waited for, the sound is all there on return. Played on, it arrives after the call has
        // returned and freed the library.
        auto written = [&] {
            QFile file(output);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        if (mode == 0)
            QVERIFY(written().contains(samples));
        else
            QTRY_VERIFY_WITH_TIMEOUT(written().contains(samples), 10000);
    }

    // With ALSA and no sound card, unloading (a copy of) Zephlib after a sound ends at once.
    void unloadingEndsWithoutASoundCard() {
        if (!driverIs("alsa")) QSKIP("runs as test_zephlib_sound_alsa, with no sound card");
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QString::fromStdString(kAppDir + "/Zephlib.so"), dir.filePath("Z.so")));
        auto unloaded = std::async(std::launch::async, [&dir] {
            ZephlibBinding copy(dir.filePath("Z.so").toStdString());
            (void)copy.P_Sound(kTonebank.c_str(), tonebank::kTick, 0);
        });
        if (unloaded.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
            qFatal("unloading Zephlib hangs");
    }

    void noAudioDevice() {
        if (!driverIs("voltaro-none"))
            QSKIP("runs as test_zephlib_sound_nodevice, with no usable driver");
        StderrCapture capture;
        const int result = zeph_.P_Sound(kTonebank.c_str(), tonebank::kTick, 0).value_or(-1);
        const QString text = capture.text();
        QCOMPARE(result, 0);
        QVERIFY2(!text.contains(QLatin1String("P_Sound")), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(ZephlibSoundTest)
#include "test_sound.moc"
