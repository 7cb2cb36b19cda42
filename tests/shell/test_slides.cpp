// The slides without a window: how many steps each takes, what its first, a middle and its last
// step copy, which columns then show the panel, and how the player paces its steps.
#include <QTest>

#include "platform/surface.h"
#include "shell/effects.h"
#include "shell/slide_player.h"
#include "shell/transitions.h"

using namespace voltaro;
using namespace voltaro::shell;

Q_DECLARE_METATYPE(voltaro::shell::Slide)

namespace {

// A clock that only waits and presents move: Lag advances it by its ticks, a present by `cost`.
struct ClockEffects : Effects {
    std::int64_t now = 0, cost = 0;
    std::vector<std::int32_t> lags;
    void Lag(std::int32_t ticks) override {
        lags.push_back(ticks);
        now += ticks;
    }
    std::int64_t counter() override { return now; }
    void P_Sound(const char*, std::int32_t) override {}
    void SpnFrm(platform::Surface&, const platform::Surface&, std::int32_t, std::int32_t,
                std::int32_t) override {}
    void GetResPic(platform::Surface&, std::int32_t, std::int32_t, const char*) override {}
    bool PicLoad(platform::Surface&, platform::Surface&, std::int32_t, std::int32_t,
                 const char*) override {
        return true;
    }
};

// The first and last drawn column, or (-1, -1) when none is.
QPair<int, int> drawnSpan(const std::vector<bool>& drawn) {
    int first = -1, last = -1;
    for (int x = 0; x < static_cast<int>(drawn.size()); ++x)
        if (drawn[static_cast<std::size_t>(x)]) {
            if (first < 0) first = x;
            last = x;
        }
    return {first, last};
}

}  // namespace

class TestSlides : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void steps_data() {
        QTest::addColumn<Slide>("slide");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("step");
        QTest::addColumn<QList<QRect>>("sources");  // (x, y, w, h) of each copy, in order
        QTest::addColumn<QList<int>>("targets");    // x of each copy's target
        QTest::addColumn<int>("drawnFirst");        // drawn columns after the step (-1: none)
        QTest::addColumn<int>("drawnLast");
        const int h = 100;
        auto row = [&](const char* name, Slide slide, int width, int steps, int ticks, int step,
                       QList<QRect> sources, QList<int> targets, int first, int last) {
            // clang-format off
            QTest::newRow(name) << slide << width << steps << ticks << step << sources << targets
                                << first << last;
            // clang-format on
        };
        // clang-format off
        // Right side, 184 wide: k = 1 to 160 opening, k = 159 down to -10 closing.
        row("open right, first", Slide::OpenRight, 184, 160, 4000, 0, {{159, 0, 25, h}}, {0}, 0, 24);
        row("open right, middle", Slide::OpenRight, 184, 160, 4000, 80, {{79, 0, 105, h}}, {0}, 0, 104);
        row("open right, last", Slide::OpenRight, 184, 160, 4000, 159, {{0, 0, 184, h}}, {0}, 0, 183);
        row("close right, first", Slide::CloseRight, 184, 170, 4000, 0,
            {{1, 0, 183, h}, {183, 0, 1, h}}, {0, 183}, 0, 182);
        row("close right, middle", Slide::CloseRight, 184, 170, 4000, 85,
            {{1, 0, 98, h}, {98, 0, 1, h}}, {0, 98}, 0, 97);
        row("close right, last", Slide::CloseRight, 184, 170, 4000, 169,
            {{1, 0, 14, h}, {14, 0, 1, h}}, {0, 14}, 0, 13);
        // Left side, 182 wide: x = 158 down to 0 opening, k = 1 to 164 closing.
        row("open left, first", Slide::OpenLeft, 182, 159, 4000, 0, {{0, 0, 24, h}}, {158}, 158, 181);
        row("open left, middle", Slide::OpenLeft, 182, 159, 4000, 79, {{0, 0, 103, h}}, {79}, 79, 181);
        row("open left, last", Slide::OpenLeft, 182, 159, 4000, 158, {{0, 0, 182, h}}, {0}, 0, 181);
        row("close left, first", Slide::CloseLeft, 182, 164, 4000, 0,
            {{0, 0, 181, h}, {0, 0, 1, h}}, {1, 0}, 1, 181);
        row("close left, middle", Slide::CloseLeft, 182, 164, 4000, 81,
            {{81, 0, 181, h}, {0, 0, 82, h}}, {82, 0}, 82, 181);
        row("close left, last", Slide::CloseLeft, 182, 164, 4000, 163,
            {{163, 0, 181, h}, {0, 0, 164, h}}, {164, 0}, 164, 181);
        // Options, 214 wide in a 418-wide window: i = 213 down to 10, c = 1 to 204. Opening, the
        // board is drawn at its place from the right; nothing of it shows at the first step.
        row("open options, first", Slide::OpenOptions, 214, 204, 8000, 0,
            {{204, 0, 214, h}, {213, 0, 0, h}}, {203, 417}, -1, -1);
        row("open options, middle", Slide::OpenOptions, 214, 204, 8000, 102,
            {{102, 0, 214, h}, {111, 0, 102, h}}, {101, 315}, 315, 416);
        row("open options, last", Slide::OpenOptions, 214, 204, 8000, 203,
            {{1, 0, 214, h}, {10, 0, 203, h}}, {0, 214}, 214, 416);
        row("close options, first", Slide::CloseOptions, 214, 204, 5000, 0,
            {{0, 0, 214, h}, {0, 0, 1, h}}, {1, 0}, 1, 417);
        row("close options, middle", Slide::CloseOptions, 214, 204, 5000, 101,
            {{101, 0, 214, h}, {0, 0, 102, h}}, {102, 0}, 102, 417);
        row("close options, last", Slide::CloseOptions, 214, 204, 5000, 203,
            {{203, 0, 214, h}, {0, 0, 204, h}}, {204, 0}, 204, 417);
        // clang-format on
    }
    void steps() {
        QFETCH(Slide, slide);
        QFETCH(int, width);
        QFETCH(int, steps);
        QFETCH(int, ticks);
        QFETCH(int, step);
        QFETCH(QList<QRect>, sources);
        QFETCH(QList<int>, targets);
        QFETCH(int, drawnFirst);
        QFETCH(int, drawnLast);
        const int height = 100;
        QCOMPARE(slideStepCount(slide, width), steps);
        QCOMPARE(slideStepTicks(slide), ticks);
        const auto copies = slideStep(slide, width, height, step);
        QCOMPARE(copies.size(), static_cast<std::size_t>(sources.size()));
        for (qsizetype i = 0; i < sources.size(); ++i) {
            QCOMPARE(copies[static_cast<std::size_t>(i)].source, sources[i]);
            QCOMPARE(copies[static_cast<std::size_t>(i)].to, QPoint(targets[i], 0));
        }

        // Played for real up to that step: the window's columns, and its pixels at the edges of
        // what shows. The panel's picture is one colour per column, so a column tells where its
        // pixels came from.
        const bool opening =
            slide == Slide::OpenRight || slide == Slide::OpenLeft || slide == Slide::OpenOptions;
        const int windowWidth = slide == Slide::OpenOptions || slide == Slide::CloseOptions
                                    ? kOptionsWindowWidth
                                    : width;
        platform::Surface image(width, height), snapshot(width, height),
            window(windowWidth, height);
        for (int x = 0; x < width; ++x) image.image().setPixel(x, 0, qRgb(x, 1, 1));
        std::vector<bool> drawn(static_cast<std::size_t>(windowWidth), !opening);
        ClockEffects clock;
        int presented = 0;
        QPair<int, int> spanAtStep{-2, -2};
        SlideTarget target{window, image, snapshot, drawn,
                           [&](const std::vector<bool>& now, const QRect&) {
                               if (presented++ == step) spanAtStep = drawnSpan(now);
                           }};
        QCOMPARE(playSlide(slide, width, height, target, clock), steps);
        QCOMPARE(presented, steps);
        QCOMPARE(spanAtStep, qMakePair(drawnFirst, drawnLast));
        if (slide == Slide::OpenRight || slide == Slide::OpenLeft)  // the whole picture, in place
            for (int x : {0, width / 2, width - 1}) QCOMPARE(qRed(window.image().pixel(x, 0)), x);
        QCOMPARE(clock.now, std::int64_t{steps} * ticks);
    }

    // Presenting a step costs time; the next wait is shortened by it, never lengthened, and when
    // a step costs more than a wait the steps follow one another at once, all of them presented.
    void pacing_data() {
        QTest::addColumn<int>("cost");
        QTest::addColumn<int>("lagCalls");
        QTest::addColumn<qint64>("total");
        // clang-format off
        QTest::newRow("free") << 0 << 160 << qint64{160 * 4000};
        QTest::newRow("cheaper than a wait") << 1000 << 160 << qint64{160 * 4000 + 1000};
        QTest::newRow("dearer than a wait") << 6000 << 1 << qint64{4000 + 160 * 6000};
        // clang-format on
    }
    void pacing() {
        QFETCH(int, cost);
        QFETCH(int, lagCalls);
        QFETCH(qint64, total);
        platform::Surface image(184, 10), snapshot(184, 10), window(184, 10);
        std::vector<bool> drawn(184, false);
        ClockEffects clock;
        SlideTarget target{window, image, snapshot, drawn,
                           [&](const std::vector<bool>&, const QRect&) { clock.now += cost; }};
        QCOMPARE(playSlide(Slide::OpenRight, 184, 10, target, clock), 160);
        QCOMPARE(static_cast<int>(clock.lags.size()), lagCalls);
        QCOMPARE(clock.now, total);
        for (std::int32_t lag : clock.lags) QVERIFY(lag > 0 && lag <= 4000);
    }
};

QTEST_MAIN(TestSlides)
#include "test_slides.moc"
