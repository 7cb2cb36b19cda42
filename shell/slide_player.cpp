#include "shell/slide_player.h"

#include "platform/surface.h"
#include "shell/effects.h"

namespace voltaro::shell {

int playSlide(Slide slide, int width, int height, SlideTarget& target, Effects& effects) {
    const int steps = slideStepCount(slide, width);
    const std::int64_t wait = slideStepTicks(slide);
    std::int64_t due = effects.counter();
    for (int step = 0; step < steps; ++step) {
        due += wait;
        if (const std::int64_t left = due - effects.counter(); left > 0)
            effects.Lag(static_cast<std::int32_t>(left));

        const auto copies = slideStep(slide, width, height, step);
        QRect changed;
        for (const StepCopy& copy : copies) {
            const platform::Surface& from = copy.from == Source::PanelImage ? target.panelImage
                                            : copy.from == Source::Snapshot ? target.snapshot
                                                                            : target.window;
            changed |=
                platform::blockCopy(target.window, copy.to.x(), copy.to.y(), copy.source.width(),
                                    copy.source.height(), from, copy.source.x(), copy.source.y());
        }
        applyToColumns(copies, width, target.drawn);
        target.present(target.drawn, changed);
    }
    return steps;
}

}  // namespace voltaro::shell
