// The program reaches Zephlib only through the binding: a library found by path, exports by name.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <filesystem>

#include "zephlib/binding/zephlib_binding.h"

using voltaro::platform::ZephlibBinding;

class TestZephlibBinding : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bindsExportsFromTheApplicationFolder() {
        auto zephlib = ZephlibBinding::inFolder(VOLTARO_TEST_APP_DIR);
        QCOMPARE(zephlib.HexToDec("4F"), std::optional<std::int32_t>(79));
        std::array<char, 16> out{};
        QCOMPARE(zephlib.StrCvrt(out.data(), 0, "abc"), std::optional<std::int32_t>(1));
        QCOMPARE(std::string(out.data()), std::string("616263"));
        QCOMPARE(zephlib.TransCal(out.data(), 4, "abc", " "), std::optional<std::int32_t>(0));
        QVERIFY(zephlib.bindError().empty());
    }

    void missingLibraryIsAResultNotACrash() {
        QTemporaryDir empty;
        auto zephlib = ZephlibBinding::inFolder(empty.path().toStdString());
        std::array<char, 50> out{};
        out.fill('#');
        QCOMPARE(zephlib.TransCal(out.data(), 1, "B1E3", " "), std::nullopt);
        QVERIFY(zephlib.bindError().find("Zephlib.so") != std::string::npos);
        QCOMPARE(out[0], '#');  // nothing was called
        // Every later call fails the same way.
        QCOMPARE(zephlib.HexToDec("FF"), std::nullopt);
    }

    void libraryThatIsNotALibrary() {
        QTemporaryDir dir;
        const auto path = std::filesystem::path(dir.path().toStdString()) / "Zephlib.so";
        QFile file(QString::fromStdString(path.string()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a shared library");
        file.close();
        ZephlibBinding zephlib(path);
        QCOMPARE(zephlib.HexToDec("FF"), std::nullopt);
        QVERIFY(!zephlib.bindError().empty());
    }

    void missingExport() {
        auto zephlib = ZephlibBinding::inFolder(VOLTARO_TEST_APP_DIR);
        QVERIFY(zephlib.resolve<void()>("NoSuchExport") == nullptr);
        QVERIFY(zephlib.bindError().find("NoSuchExport") != std::string::npos);
        // The library itself is still usable.
        QCOMPARE(zephlib.HexToDec("A"), std::optional<std::int32_t>(10));
    }
};

QTEST_APPLESS_MAIN(TestZephlibBinding)
#include "test_zephlib_binding.moc"
