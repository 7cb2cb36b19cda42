// voltaro-screen-probe: watches the X screen for the end-to-end checks and the slide benchmark,
// from outside the program, straight through the X connection (no window of its own).
//
//   voltaro-screen-probe frames X Y W H MS DIR DESKTOP
//       Reads the screen rectangle over and over for MS milliseconds and saves every picture that
//       differs from the one before as DIR/frame-NNNN.png. Prints one line per saved picture:
//       "<ms since start> <profile>", the profile holding one character per column of the
//       rectangle: '.' when the whole column has the desktop colour DESKTOP (RRGGBB), '#' else.
//   voltaro-screen-probe watch COND...
//       Waits for each condition in turn and prints the milliseconds from the first condition met
//       to each one ("0" for the first). Conditions: change:X,Y,W,H (the rectangle differs from
//       how it looked when the wait for it began), unmapped:WINDOW (the window is not viewable).
//       Gives up after 10 s per condition (exit status 1). Says "watching" on standard error once
//       it has taken its first look, so that a caller acts only then, not after a guessed pause.
#include <xcb/xcb.h>

#include <QImage>
#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Screen {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;

    // The rectangle as 0xRRGGBB pixels, row by row; empty on failure.
    std::vector<std::uint32_t> grab(int x, int y, int w, int h) const {
        auto cookie = xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root,
                                    static_cast<int16_t>(x), static_cast<int16_t>(y),
                                    static_cast<uint16_t>(w), static_cast<uint16_t>(h), ~0u);
        std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
            xcb_get_image_reply(connection, cookie, nullptr), &std::free);
        if (!reply) return {};
        const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(reply.get()));
        const int length = xcb_get_image_data_length(reply.get());
        if (length < w * h * 4) return {};  // a 24-bit screen gives 32-bit pixels
        std::vector<std::uint32_t> pixels(
            data, data + static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (auto& p : pixels) p &= 0xffffffu;
        return pixels;
    }

    bool viewable(xcb_window_t window) const {
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
            xcb_get_window_attributes_reply(connection,
                                            xcb_get_window_attributes(connection, window), nullptr),
            &std::free);
        return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    }
};

bool parseRect(const char* text, int& x, int& y, int& w, int& h) {
    return std::sscanf(text, "%d,%d,%d,%d", &x, &y, &w, &h) == 4 && w > 0 && h > 0;
}

int frames(const Screen& screen, char** argv) {
    const int x = std::atoi(argv[0]), y = std::atoi(argv[1]), w = std::atoi(argv[2]),
              h = std::atoi(argv[3]), duration = std::atoi(argv[4]);
    const QString dir = QString::fromLocal8Bit(argv[5]);
    const std::uint32_t desktop = static_cast<std::uint32_t>(std::strtoul(argv[6], nullptr, 16));
    std::vector<std::uint32_t> last;
    int saved = 0;
    const auto start = Clock::now();
    while (msSince(start) < duration) {
        // A short pause between reads leaves the X server and the program most of the machine.
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        auto pixels = screen.grab(x, y, w, h);
        if (pixels.empty()) return 1;
        if (pixels == last) continue;
        const double at = msSince(start);
        std::string profile(static_cast<std::size_t>(w), '.');
        for (int row = 0; row < h; ++row)
            for (int column = 0; column < w; ++column)
                if (pixels[static_cast<std::size_t>(row * w + column)] != desktop)
                    profile[static_cast<std::size_t>(column)] = '#';
        QImage image(reinterpret_cast<const uchar*>(pixels.data()), w, h, w * 4,
                     QImage::Format_RGB32);
        image.save(
            QStringLiteral("%1/frame-%2.png").arg(dir).arg(saved++, 4, 10, QLatin1Char('0')));
        std::printf("%.1f %s\n", at, profile.c_str());
        std::fflush(stdout);
        last = std::move(pixels);
    }
    return 0;
}

void sayWatching() {
    std::fputs("watching\n", stderr);
    std::fflush(stderr);
}

int watch(const Screen& screen, int count, char** conditions) {
    Clock::time_point first{};
    for (int i = 0; i < count; ++i) {
        const std::string condition = conditions[i];
        const auto begun = Clock::now();
        bool met = false;
        if (condition.rfind("change:", 0) == 0) {
            int x, y, w, h;
            if (!parseRect(condition.c_str() + 7, x, y, w, h)) return 2;
            const auto before = screen.grab(x, y, w, h);
            if (i == 0) sayWatching();
            while (!met && msSince(begun) < 10000) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                const auto now = screen.grab(x, y, w, h);
                met = !now.empty() && now != before;
            }
        } else if (condition.rfind("unmapped:", 0) == 0) {
            const auto window =
                static_cast<xcb_window_t>(std::strtoul(condition.c_str() + 9, nullptr, 0));
            if (i == 0) sayWatching();
            while (!met && msSince(begun) < 10000) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                met = !screen.viewable(window);
            }
        } else {
            return 2;
        }
        if (!met) {
            std::printf("timeout %s\n", condition.c_str());
            return 1;
        }
        if (i == 0) first = Clock::now();
        std::printf("%.2f\n",
                    std::chrono::duration<double, std::milli>(Clock::now() - first).count());
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Screen screen;
    int number = 0;
    screen.connection = xcb_connect(nullptr, &number);
    if (xcb_connection_has_error(screen.connection)) {
        std::fprintf(stderr, "voltaro-screen-probe: cannot open the display\n");
        return 2;
    }
    const xcb_setup_t* setup = xcb_get_setup(screen.connection);
    auto it = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < number; ++i) xcb_screen_next(&it);
    screen.root = it.data->root;

    const std::string mode = argc > 1 ? argv[1] : "";
    int status = 2;
    if (mode == "frames" && argc == 9)
        status = frames(screen, argv + 2);
    else if (mode == "watch" && argc > 2)
        status = watch(screen, argc - 2, argv + 2);
    else
        std::fprintf(stderr,
                     "usage: voltaro-screen-probe frames X Y W H MS DIR RRGGBB | watch COND...\n");
    xcb_disconnect(screen.connection);
    return status;
}
