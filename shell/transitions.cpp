#include "shell/transitions.h"

#include <QtNumeric>

#include <algorithm>

#include "shell/twips.h"

namespace voltaro::shell {

QRect panelGeometry(const QRect& main, PanelSide side, int offsetTwips, int width, int height) {
    const double px = kTwipsPerPixel;
    const double top = (main.height() * px - height * px) / 2 + main.y() * px + offsetTwips;
    double left = 0;
    int windowWidth = width;
    switch (side) {
        case PanelSide::Left:
            left = main.x() * px - width * px + kDockOverlapTwips;
            break;
        case PanelSide::Right:
            left = main.x() * px + main.width() * px - kDockOverlapTwips;
            break;
        case PanelSide::Options:
            left = main.x() * px - width * px + kOptionsDockTwips;
            windowWidth = kOptionsWindowWidth;
            break;
    }
    return QRect(twipsToPixels(left), twipsToPixels(top), windowWidth, height);
}

QPoint centredPosition(const QRect& screen, const QSize& window) {
    const double px = kTwipsPerPixel;
    return QPoint(screen.x() + twipsToPixels((screen.width() * px - window.width() * px) / 2),
                  screen.y() + twipsToPixels((screen.height() * px - window.height() * px) / 2));
}

int slideStepCount(Slide slide, int width) {
    switch (slide) {
        case Slide::OpenRight:  // k = 1 to W - 24
            return std::max(0, width - 24);
        case Slide::OpenLeft:  // x = W - 24 down to 0
            return std::max(0, width - 23);
        case Slide::CloseRight:  // k = W - 25 down to -10
            return std::max(0, width - 14);
        case Slide::CloseLeft:  // k = 1 to W - 18
            return std::max(0, width - 18);
        case Slide::OpenOptions:   // i = W - 1 down to 10
        case Slide::CloseOptions:  // c = 1 to W - 10
            return std::max(0, width - 10);
    }
    return 0;
}

std::int32_t slideStepTicks(Slide slide) {
    switch (slide) {
        case Slide::OpenOptions:
            return 8000;
        case Slide::CloseOptions:
            return 5000;
        default:
            return 4000;
    }
}

std::vector<StepCopy> slideStep(Slide slide, int width, int height, int step) {
    const int w = width, h = height;
    switch (slide) {
        case Slide::OpenRight: {
            const int k = step + 1;
            return {{Source::PanelImage, QRect(w - 24 - k, 0, k + 24, h), QPoint(0, 0)}};
        }
        case Slide::OpenLeft: {
            const int x = w - 24 - step;
            return {{Source::PanelImage, QRect(0, 0, w - x, h), QPoint(x, 0)}};
        }
        case Slide::CloseRight: {
            const int k = w - 25 - step;
            return {{Source::Window, QRect(1, 0, k + 24, h), QPoint(0, 0)},
                    {Source::Snapshot, QRect(k + 24, 0, 1, h), QPoint(k + 24, 0)}};
        }
        case Slide::CloseLeft: {
            const int k = step + 1;
            return {{Source::Window, QRect(k - 1, 0, w - 1, h), QPoint(k, 0)},
                    {Source::Snapshot, QRect(0, 0, k, h), QPoint(0, 0)}};
        }
        case Slide::OpenOptions: {
            const int i = w - 1 - step;
            return {{Source::Window, QRect(i - 9, 0, w, h), QPoint(i - 10, 0)},
                    {Source::PanelImage, QRect(i, 0, w - 1 - i, h), QPoint(w + i - 10, 0)}};
        }
        case Slide::CloseOptions: {
            const int c = step + 1;
            return {{Source::Window, QRect(c - 1, 0, w, h), QPoint(c, 0)},
                    {Source::Snapshot, QRect(0, 0, c, h), QPoint(0, 0)}};
        }
    }
    return {};
}

void applyToColumns(const std::vector<StepCopy>& copies, int panelWidth, std::vector<bool>& drawn) {
    const int windowWidth = static_cast<int>(drawn.size());
    for (const StepCopy& copy : copies) {
        const int sourceWidth = copy.from == Source::Window ? windowWidth : panelWidth;
        const int sx = copy.source.x(), dx = copy.to.x();
        // The block's columns that lie inside both pictures, as a block copy clips them.
        const int x0 = std::max({0, -sx, -dx});
        const int x1 = std::min({copy.source.width(), sourceWidth - sx, windowWidth - dx});
        if (x0 >= x1 || copy.source.height() <= 0) continue;
        const std::vector<bool> before = drawn;  // a move within the window reads the old state
        for (int i = x0; i < x1; ++i) {
            const auto to = static_cast<std::size_t>(dx + i);
            switch (copy.from) {
                case Source::PanelImage:
                    drawn[to] = true;
                    break;
                case Source::Snapshot:
                    drawn[to] = false;
                    break;
                case Source::Window:
                    drawn[to] = before[static_cast<std::size_t>(sx + i)];
                    break;
            }
        }
    }
}

}  // namespace voltaro::shell
