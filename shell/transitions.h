// The arithmetic of the panel transitions, with no window in sight: where a panel is placed beside
// the main window, and what each step of a slide copies. The player (shell/slide_player.h) runs
// these steps on a real window; tests read them directly.
//
// A slide is hand-drawn, one pixel column per step with a busy wait before each step. Three
// pictures take part: the panel's picture (PanelImage), what the panel window covered when it was
// shown (Snapshot), and the panel window itself. Every copy is a plain block copy, clipped to both
// pictures. Sizes are pixels; offsets of PlacePanel are twips (15 to the pixel).
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

namespace voltaro::shell {

// Where a panel sits: 0 left of the main window, 1 right of it, 2 the options panel (left,
// overlapping the main window, 418 pixels wide).
enum class PanelSide { Left = 0, Right = 1, Options = 2 };

// What opens a panel: a square or a round key of the main window's face (by its index), or an
// entry of the main window's menu.
enum class PanelKey { Square, Round, Menu };

// The window width of the options panel, whatever its slide width (PanelWidth 214).
inline constexpr int kOptionsWindowWidth = 418;
// How far a calculator panel reaches over the main window's edge, and how far the options
// panel's slide width reaches past the main window's left edge, in twips.
inline constexpr int kDockOverlapTwips = 400, kOptionsDockTwips = 278;

// PlacePanel's geometry for a panel of width x height pixels beside a main window at `main`
// (pixels). Computed in twips as the window system of the original does, then rounded to the
// nearest pixel: top = (main height - height) / 2 + main top + offset; left = main left - width
// + the overlap (left side), main left + main width - the overlap (right side), or main left -
// width + kOptionsDockTwips with the window then 418 pixels wide (options).
QRect panelGeometry(const QRect& main, PanelSide side, int offsetTwips, int width, int height);

// The main window centred on the screen, without offsets (CentreMainWindow).
QPoint centredPosition(const QRect& screen, const QSize& window);
// CentreMainWindow's pauses before and after the move, in counter ticks.
inline constexpr std::int32_t kCentreBeforeTicks = 222222, kCentreAfterTicks = 555555;

enum class Slide {
    OpenRight,     // SlidePanelOpen, side 1: the picture emerges to the right, 4000 ticks a step
    OpenLeft,      // SlidePanelOpen, sides 0: emerges to the left, 4000 ticks a step
    CloseRight,    // SlidePanelClosed, side 1: back to the left, 4000 ticks a step
    CloseLeft,     // SlidePanelClosed, side 0: back to the right, 4000 ticks a step
    OpenOptions,   // OpenOptionsPanel: the board comes in from the right, 8000 ticks a step
    CloseOptions,  // CloseOptionsPanel: slides back to the right, 5000 ticks a step
};

// Where a copy reads from.
enum class Source { PanelImage, Snapshot, Window };

struct StepCopy {
    Source from;
    QRect source;  // in the source picture; may reach past its edges (clipped when copied)
    QPoint to;     // top-left in the panel window

    friend bool operator==(const StepCopy&, const StepCopy&) = default;
};

// How many steps the slide of a panel `width` pixels wide takes (width is PanelWidth: 214 for the
// options panel).
int slideStepCount(Slide slide, int width);

// The busy wait before every step, in counter ticks (10,000,000 a second).
std::int32_t slideStepTicks(Slide slide);

// The copies of step `step` (0 to slideStepCount - 1), in order, for a panel of width x height.
std::vector<StepCopy> slideStep(Slide slide, int width, int height, int step);

// Which columns of the panel window show the panel rather than what lies behind it, after one
// step's copies: a copy from PanelImage draws its columns, one from Snapshot gives them back to
// what is behind, one within the window moves the columns' state with their pixels. `drawn` has
// one entry per column of the window; PanelImage and Snapshot are `panelWidth` wide. Copies are
// clipped as block copies are.
void applyToColumns(const std::vector<StepCopy>& copies, int panelWidth, std::vector<bool>& drawn);

}  // namespace voltaro::shell
