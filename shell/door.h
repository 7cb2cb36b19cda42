// Door: the options panel. A circuit board ("MENU7") with six dip switches, one per option
// (Button Sounds, Slide Sounds, Auto Start, Auto Min, Auto Print, Terminal Auto), and an exit
// button. A click on a switch toggles its option at once for the running program; only the exit
// button saves all six and sets or removes the log-on start entry, then slides the board back
// and turns the options key back. Tab reaches the switches and the exit button; Space presses
// them. Leaving by switching to another program keeps the toggled
// options for this run, saves nothing and leaves the log-on entry alone.
#pragma once

#include <array>
#include <filesystem>

#include "shell/options_store.h"
#include "shell/panel.h"

namespace voltaro::shell {

class Door : public PanelForm {
    Q_OBJECT

public:
    // `program`: the program file the log-on entry starts (with "min").
    Door(PanelContext& context, const PanelRow& row, const OptionsStore& options,
         std::filesystem::path program);

    ImageButton* dipSwitch(int index) const { return DipP[static_cast<std::size_t>(index)]; }
    ImageButton* exitButton() const { return DneBut; }

    void DipP_Click(int index);
    void DneBut_Click();

protected:
    void Form_Load(bool restoreInputs) override;
    void abandoned() override;
    // Escape: the exit button (the options are saved).
    void leaveByKey() override;

private:
    void showSwitch(int index);

    const OptionsStore& options_;
    std::filesystem::path program_;
    std::array<ImageButton*, kOptionCount> DipP{};
    ImageButton* DneBut = nullptr;
};

}  // namespace voltaro::shell
