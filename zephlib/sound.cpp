#include "zephlib/sound.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QThread>

#include <cstdio>
#include <optional>

#include "platform/resource_module.h"
#include "platform/shared_library.h"
#include "zephlib/audio_output.h"

namespace voltaro::zephlib {

namespace {
constexpr std::string_view kCaption = "P_Sound";
}

void showMessageBox(std::string_view caption, std::string_view text) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app != nullptr && QThread::currentThread() == app->thread()) {
        QMessageBox::warning(nullptr, QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                             QString::fromUtf8(text.data(), qsizetype(text.size())),
                             QMessageBox::Ok);
        return;
    }
    std::fprintf(stderr, "%.*s: %.*s\n", int(caption.size()), caption.data(), int(text.size()),
                 text.data());
}

std::int32_t playSoundResource(const char* libraryPath, const char* name, std::int32_t mode,
                               const MessageSink& sink) {
    // The three steps of the desktop's resource loading, each reported when it fails; an earlier
    // failure makes the later steps fail as well.
    platform::SharedLibrary library;
    if (libraryPath == nullptr || !library.open(libraryPath)) sink(kCaption, "LoadLibrary FAILED");

    std::optional<platform::ResourceData> sound;
    if (library.isOpen() && name != nullptr)
        sound = platform::findResource(library.handle(), platform::kSoundResource, name);
    if (!sound) sink(kCaption, "FindResource FAILED");
    if (!sound) sink(kCaption, "LoadResource FAILED");

    // No sound stops the one still playing and is not accepted. The output copies the samples,
    // so the library may go when this returns, even while an asynchronous sound plays on.
    AudioOutput& output = AudioOutput::process();
    if (!sound) {
        output.stop();
        return 0;
    }
    return output.play(sound->bytes, sound->size, mode == 1) ? 1 : 0;
}

}  // namespace voltaro::zephlib
