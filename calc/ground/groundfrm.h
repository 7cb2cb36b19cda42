// GndOcp: the ground and overcurrent protection panel, the drawer that slides out on the right of
// the main window from the GROUND & OCP key. The user types the largest current the circuit's
// conductors may carry after derating and picks the conductor material; calculate (or Enter in
// the box) shows the equipment ground conductor and the standard fuse or breaker rating on the
// display with "See Notes", writes the results log and slides the panel back. An error comes up
// in the error window and leaves the panel open. Switching to another program keeps the two
// inputs in SharedState (SavedOcpAmps, SavedOcpMaterial) until the panel is opened again.
#pragma once

#include <array>

#include "shell/panel.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace voltaro::calc::ground {

class GndOcp : public shell::CalculatorForm {
    Q_OBJECT

public:
    GndOcp(shell::PanelContext& context, const shell::PanelRow& row);

protected:
    Outcome calculate() override;
    void Form_Load(bool restoreInputs) override;
    void saveInputs() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* TB = nullptr;       // the circuit's largest current, amperes
    QListWidget* Clist = nullptr;  // "Copper", "Aluminum"
    std::array<QLabel*, 2> L1{};
    std::array<shell::ImageButton*, 2> DneBut{};
};

}  // namespace voltaro::calc::ground
