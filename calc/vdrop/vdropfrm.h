// VDropFrm: the voltage-drop panel, the drawer that slides out on the right of the main window
// from the face's menu entry "Voltage Drop...". The user picks the system (single phase, three
// phase or DC), the conductor material and, for AC, the conduit; the size list follows the
// material and the system (Table 9 for AC, Table 8 for DC), keeping the size chosen when the new
// list holds it. Then the supply volts, the load amperes, the one-way length in feet, the power
// factor (AC only; the box is dimmed for DC, as is the conduit list) and the limit in percent.
// Enter in a box moves to the next box, Tab through every control. Calculate shows the drop, the
// volts at the load and the smallest size within the limit on the display, writes the results log
// and slides the panel back; an error comes up in the error window and leaves the panel open.
// Switching to another program keeps everything in SavedInputs until the panel opens again.
#pragma once

#include <array>
#include <optional>

#include "calc/common/outcome.h"
#include "calc/vdrop/vdrop.h"
#include "shell/panel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace voltaro::calc::vdrop {

class VDropFrm : public shell::CalculatorForm {
    Q_OBJECT

public:
    VDropFrm(shell::PanelContext& context, const shell::PanelRow& row);

protected:
    Outcome calculate() override;
    void leaving() override;
    void Form_Load(bool restoreInputs) override;
    void saveInputs() override;

private:
    Inputs inputs() const;
    // Refills the size list for the chosen material and system, keeping `size` when it is listed
    // (else the table's 12, else its first size); dims what DC does not use.
    void fillSizes(const QString& size);

    std::array<QListWidget*, 3> Lst{};  // system, material, conduit
    QComboBox* Sz = nullptr;            // conductor size
    std::array<QLineEdit*, 5> TB{};     // volts, amps, length, power factor, limit
    std::array<QLabel*, 9> L1{};
    bool loading_ = false;  // list changes made by the load itself do not refill the sizes
    // A reference table that could not be read for the size list: the calculation reports it.
    std::optional<Failure> listFailure_;
};

}  // namespace voltaro::calc::vdrop
