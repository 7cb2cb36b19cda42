// The main window as a window surface, for the spin of the options key: SpnFrm draws its frames
// onto this surface and each frame is on the screen before the next. While the spin's frames are
// shown they cover the whole window (its keys and display included, as the frames do); giving
// the face picture "BASE" back uncovers the window's own face and controls.
#pragma once

#include <QPointer>

#include <memory>

#include "platform/surface.h"
#include "shell/shared_state.h"

class QWidget;

namespace voltaro::shell {

class Effects;

class MainFace {
public:
    MainFace(SharedState& state, QWidget& mainWindow, Effects& effects);
    ~MainFace();
    MainFace(const MainFace&) = delete;
    MainFace& operator=(const MainFace&) = delete;

    // Face, FaceWidth and FaceHeight from the main window as it looks now.
    void refreshFace();
    // SpnFrm over Face onto the window: direction 1 forward (frames 1 to 9), 0 backward (9 to 0).
    void spin(int direction);
    // The window shows its own face again.
    void giveBaseBack();
    // True while the spin's last frame covers the window.
    bool covering() const;

    platform::Surface& surface() { return surface_; }

private:
    class Cover;

    SharedState& state_;
    QWidget& mainWindow_;
    Effects& effects_;
    platform::Surface surface_;
    QPointer<Cover> cover_;
};

}  // namespace voltaro::shell
