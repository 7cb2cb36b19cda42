// A calculator panel with no calculator: its picture at its size and an exit button that plays
// its click and slides the panel back. It opens, slides, watches and closes exactly as a
// calculator panel does, so the panel base's tests need no calculator. Header-only.
#pragma once

#include "shell/image_button.h"
#include "shell/panel.h"

namespace voltaro::testing {

class StandinPanel : public shell::CalculatorForm {
public:
    StandinPanel(shell::PanelContext& context, const shell::PanelRow& row)
        : CalculatorForm(context, row) {
        exit_ = addXButton(row.exitAt);
        connect(exit_, &shell::ImageButton::clicked, this, [this] { DneBut_Click(1); });
    }

    shell::ImageButton* exitButton() const { return exit_; }

protected:
    calc::Outcome calculate() override { return calc::Failure{"nothing to calculate"}; }

private:
    shell::ImageButton* exit_;
};

}  // namespace voltaro::testing
