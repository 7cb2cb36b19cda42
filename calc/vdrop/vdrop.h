// The voltage-drop calculator: the drop along a run of conductors carrying a load, the voltage
// left at the load, and the smallest size of the same material that keeps the drop within a limit.
//
// Ohms per 1000 ft come from Chapter 9: for AC (single or three phase) Table 9, the resistance of
// the material in the chosen conduit with the reactance for that conduit (steel, or PVC and
// aluminum), taken at the power factor as Z = R x PF + X x sin(arccos PF); for DC Table 8, the
// stranded conductor's resistance. The drop is k x amps x feet (one way) x Z / 1000 volts, with k 2
// for single phase and DC and the square root of 3 for three phase.
//
// calculateVoltageDrop() is the calculate press: the boxes' texts as typed (read strictly: a
// number and nothing else), the lookups, then three display lines and the results log, or the
// error window's message naming the box to change. The caller hands over the reference database
// already open; sizes() gives the panel's size list for a material and system.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/common/outcome.h"
#include "refdb/database.h"

namespace voltaro::calc::vdrop {

enum class System { Single, Three, Dc };
enum class Material { Copper, Aluminum };
enum class Conduit { Pvc, Aluminum, Steel };  // AC only: what the three conductors run in

struct Inputs {
    System system = System::Single;
    std::string volts = "120";
    std::string amps = "16";
    std::string length = "100";  // feet, one way
    Material material = Material::Copper;
    std::string size = "12";  // as the tables write it: "14", "1/0", "250"
    Conduit conduit = Conduit::Steel;
    std::string pf = "0.85";  // AC only: 0 < PF <= 1
    std::string limit = "3";  // percent of the supply volts: 0 < limit < 100
};

// What the pickers show and the log writes: "Single Phase", "Three Phase", "DC"; "Copper",
// "Aluminum"; "PVC", "Aluminum", "Steel".
std::string_view systemName(System system);
std::string_view materialName(Material material);
std::string_view conduitName(Conduit conduit);

// The sizes the table holds for the material under the system (Table 8 for DC, Table 9 for AC),
// smallest first, as the tables write them: 18 AWG to 2000 kcmil for DC, 14 AWG (12 AWG in
// aluminum) to 1000 kcmil for AC. A table that cannot be read is the reference data's failure.
std::variant<std::vector<std::string>, Failure> sizes(refdb::Database& db, System system,
                                                      Material material);

// The figures of an answer, unrounded.
struct Figures {
    double resistance = 0;  // ohms per 1000 ft from the table
    double reactance = 0;   // ohms per 1000 ft from the table; 0 for DC
    double impedance = 0;   // Z used, ohms per 1000 ft
    double drop = 0;        // volts
    double percent = 0;     // of the supply volts
    std::string smallest;   // the smallest size within the limit; empty when none is
};

// The calculate press. On success `figures`, when given, receives the figures behind the lines.
Outcome calculateVoltageDrop(refdb::Database& db, const Inputs& inputs, Figures* figures = nullptr);

}  // namespace voltaro::calc::vdrop
