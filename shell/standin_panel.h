// The stand-in for a calculator panel whose own panel is not built yet: its picture at its size,
// and an exit button that plays its click and slides the panel back. It opens, slides, watches
// and closes exactly as a calculator panel does, and calculates nothing.
#pragma once

#include "shell/panel.h"

namespace voltaro::shell {

class StandinPanel : public PanelForm {
    Q_OBJECT

  public:
    // `number`: a calculator's panel number (1 to 6).
    StandinPanel(PanelContext& context, std::int16_t number);

    ImageButton* exitButton() const { return exit_; }

  private:
    ImageButton* exit_;
};

}  // namespace voltaro::shell
