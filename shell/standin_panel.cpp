#include "shell/standin_panel.h"

#include "shell/image_button.h"

namespace voltaro::shell {

namespace {

namespace layout = assets::layout;

const layout::Rect& exitRect(std::int16_t number) {
    switch (number) {
        case kWirePanel:
            return layout::wire::kX;
        case kConduitPanel:
            return layout::conduit::kX;
        case kGroundPanel:
            return layout::ground::kX;
        case kTransformerPanel:
            return layout::transformer::kX;
        case kStarterPanel:
            return layout::starter::kX;
        default:
            return layout::enclosure::kX;
    }
}

}  // namespace

StandinPanel::StandinPanel(PanelContext& context, std::int16_t number)
    : PanelForm(context, panelInfo(number)) {
    exit_ = addXButton(exitRect(number));
    connect(exit_, &ImageButton::clicked, this, [this] {
        if (!beginClosing()) return;
        playButtonSound();
        closePanel();
    });
}

}  // namespace voltaro::shell
