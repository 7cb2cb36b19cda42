// Plays a slide (shell/transitions.h) on a panel window, step by step: wait, copy the step's
// columns into the window's pixels, and present the step at once (its shape and its pixels)
// before the next one starts. Nothing is skipped or merged.
//
// Pacing: step k is due at the slide's start plus k waits. Each step busy-waits (Lag) only for
// what is left until it is due, so the time spent presenting a step is taken out of the next
// wait instead of being added to it, and a slide keeps its nominal length. When presenting costs
// more than a wait, the steps follow one another without waiting until they are on time again.
#pragma once

#include <QRect>

#include <functional>
#include <vector>

#include "shell/transitions.h"

namespace voltaro::platform {
class Surface;
}

namespace voltaro::shell {

class Effects;

struct SlideTarget {
    platform::Surface& window;            // the panel window's pixels (no present hook)
    const platform::Surface& panelImage;  // PanelImage
    const platform::Surface& snapshot;    // Snapshot
    // Per column of the window: true where it shows the panel, false where what lies behind the
    // window shows through. Updated by every step.
    std::vector<bool>& drawn;
    // Shows the step on the screen before returning: the window's shape from `drawn`, and the
    // pixels of `changed`.
    std::function<void(const std::vector<bool>& drawn, const QRect& changed)> present;
};

// Plays `slide` for a panel of width x height pixels (PanelWidth, PanelHeight). Returns the number
// of steps presented.
int playSlide(Slide slide, int width, int height, SlideTarget& target, Effects& effects);

}  // namespace voltaro::shell
