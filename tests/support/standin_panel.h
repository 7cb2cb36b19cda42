// A calculator panel with no calculator: its picture at its size and an exit button that plays
// its click and slides the panel back. It opens, slides, watches and closes exactly as a
// calculator panel does, so the panel base's tests need no calculator. Header-only.
#pragma once

#include "shell/image_button.h"
#include "shell/panel.h"

namespace voltaro::testing {

class StandinPanel : public shell::PanelForm {
public:
    // `number`: a calculator's panel number (1 to 6).
    StandinPanel(shell::PanelContext& context, std::int16_t number)
        : PanelForm(context, shell::panelInfo(number)) {
        exit_ = addXButton(exitRect(number));
        connect(exit_, &shell::ImageButton::clicked, this, [this] {
            if (!beginClosing()) return;
            playButtonSound();
            closePanel();
        });
    }

    shell::ImageButton* exitButton() const { return exit_; }

private:
    static const assets::layout::Rect& exitRect(std::int16_t number) {
        namespace layout = assets::layout;
        switch (number) {
            case shell::kWirePanel:
                return layout::wire::kX;
            case shell::kConduitPanel:
                return layout::conduit::kX;
            case shell::kGroundPanel:
                return layout::ground::kX;
            case shell::kTransformerPanel:
                return layout::transformer::kX;
            case shell::kStarterPanel:
                return layout::starter::kX;
            default:
                return layout::enclosure::kX;
        }
    }

    shell::ImageButton* exit_;
};

}  // namespace voltaro::testing
