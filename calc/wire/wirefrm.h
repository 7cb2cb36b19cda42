// WireFrm: the wire size panel, the drawer that slides out on the right of the main window from
// the WIRE SIZE key. The user types the load, picks the conductor material and its insulation
// (whose temperature rating shows beside the list), and types the number of current-carrying
// conductors in the raceway and the ambient temperature (Celsius, or Fahrenheit with a trailing F,
// turned into Celsius when the box is left). Calculate shows the smallest conductor size, its
// derated ampacity and the circuit's largest current on the display, writes the results log and
// slides the panel back; an error comes up in the error window and leaves the panel open with its
// inputs. Switching to another program keeps the five inputs in the work table KeepWires until the
// panel is opened again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "calc/common/outcome.h"
#include "shell/panel.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace voltaro::calc::wire {

class WireFrm : public shell::CalculatorForm {
    Q_OBJECT

public:
    WireFrm(shell::PanelContext& context, const shell::PanelRow& row);

protected:
    Outcome calculate() override;
    void leaving() override;
    void Form_Load(bool restoreInputs) override;
    void firstTick() override;
    void saveInputs() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillInsulList(const std::string& material);
    void Lst_Click(int index);
    void ShowTempRating();
    void convertAmbient();
    std::string material() const;
    std::string insulation() const;

    std::array<QLineEdit*, 3> TB{};     // load amperes, conductor count, ambient temperature
    std::array<QListWidget*, 2> Lst{};  // material, insulation type (sorted)
    QLabel* LB = nullptr;               // the selected insulation's rating, "90 C"
    std::array<QLabel*, 5> L1{};
    std::array<shell::ImageButton*, 2> DneBut{};

    std::int16_t InsulStartIndex = 11;  // insulation selected at the first tick
    bool PanelLoading = false;          // list changes made by the load itself do nothing
    // A reference table that could not be read for the lists: the calculation reports it.
    std::optional<Failure> listFailure_;

    // The last calculation's answer.
    std::string WireSizeResult;
    double DeRatedAmps = 0;     // amperes
    double CircuitMaxAmps = 0;  // amperes
};

}  // namespace voltaro::calc::wire
