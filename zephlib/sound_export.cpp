// P_Sound: resource sounds, with failures shown to the user.
#include "zephlib/sound.h"
#include "zephlib/zephlib.h"

int32_t P_Sound(const char* libraryPath, const char* name, int32_t mode) {
    return voltaro::zephlib::playSoundResource(libraryPath, name, mode,
                                               voltaro::zephlib::showMessageBox);
}
