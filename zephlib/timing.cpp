// Lag and Sync: the exported delays.
#include "zephlib/delay.h"
#include "zephlib/zephlib.h"

int32_t Lag(int32_t ticks) { return voltaro::zephlib::busyWait(ticks); }

// There is no vertical retrace to wait for here: the window system composes the screen and shows
// each presented surface by itself. Sync is therefore the delay alone.
int32_t Sync(int32_t ticks) {
    voltaro::zephlib::busyWait(ticks);
    return ticks;
}
