// The wire size calculator without its panel: from the load, the conductor, the number of
// current-carrying conductors in the raceway and the ambient temperature to the smallest
// conductor size, its derated ampacity and the largest current the circuit may carry.
//
// Flow of one press of the calculate button (calculateWire):
//   ConvertFahrenheit on the ambient box -> CalSize -> display lines and results log.
// CalSize reads Correc1 (ambient correction), Correc2 (more than three conductors) and AWG
// (ampacities, walked smallest size first together with the terminal column). It sets footnote
// flags 10/11 (terminal column) and 12 (Terminal Auto off) and 1 (small-conductor step) in
// `notes` and never clears one: a failed attempt leaves what it set for the next attempt in the
// same panel. The caller hands over the reference database already open, and the option Terminal
// Auto as `terminalAuto`.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/common/note_flags.h"
#include "calc/common/outcome.h"
#include "refdb/database.h"

namespace voltaro::calc::wire {

// The panel's inputs as they stand when calculate is pressed.
struct WireInputs {
    std::string amps;        // load current box, as typed (amperes)
    std::string material;    // selected material: "Copper" or "Aluminum"
    std::string insulation;  // selected insulation type, e.g. "THHN"
    std::string rating;      // caption of the rating label, e.g. "90 C"
    std::string conductors;  // current-carrying conductors box, as typed
    std::string ambient;     // ambient box in degrees C (after ConvertFahrenheit)
};

// What a successful CalSize leaves for the panel.
struct WireSize {
    std::string size;           // the AWG Guage text, asterisk included ("8", "12*")
    double deRatedAmps = 0;     // ampacity of that size after correction and adjustment
    double circuitMaxAmps = 0;  // largest current of the circuit, never above deRatedAmps
};

// The ambient box's Fahrenheit entry: a text ending in "F" or "f" becomes whole degrees Celsius
// (the number before the letter, taken to the nearest whole degree, minus 32, times 5/9, taken to
// the nearest whole degree, halves to even). Any other text comes back unchanged. A Fahrenheit
// number that does not fit 16 bits (beyond -32768..32767) is also left unchanged: no such
// temperature is in the correction table, and CalSize turns it away with the temperature message.
std::string ConvertFahrenheit(std::string_view text);

// The insulation types of a material table ("Copper" or "Aluminum"), in the table's order; the
// panel's list sorts them.
std::variant<std::vector<std::string>, Failure> insulationTypes(refdb::Database& db,
                                                                std::string_view material);

// The caption of the rating label for an insulation type of a material table ("90 C"), as the
// panel shows it when the type is selected. nullopt when the table has no such type; a database
// failure is reported as a Failure.
std::variant<std::optional<std::string>, Failure> ShowTempRating(refdb::Database& db,
                                                                 std::string_view material,
                                                                 std::string_view type);

// The wire size, or the error window's message. `terminalAuto`: the option Terminal Auto (on:
// terminals at 60 C below 101 A; off: at 75 C).
std::variant<WireSize, Failure> CalSize(refdb::Database& db, NoteFlags& notes,
                                        const WireInputs& inputs, bool terminalAuto);

// The lines the panel appends to the display and the results log for a successful CalSize.
Answer WriteWireResults(refdb::Database& db, const NoteFlags& notes, const WireInputs& inputs,
                        const WireSize& result);

// The calculate button: converts a Fahrenheit entry in inputs.ambient in place (as the panel
// rewrites its box, also when the calculation then fails), runs CalSize and, on success, makes the
// answer; `result`, when given, then receives what CalSize found.
Outcome calculateWire(refdb::Database& db, NoteFlags& notes, WireInputs& inputs, bool terminalAuto,
                      WireSize* result = nullptr);

// The error window's messages.
inline constexpr char kTooFewConductors[] = "Must Have At Least One Conductor.";
inline constexpr char kTooManyConductors[] = "Too Many Conductors.";
inline constexpr char kAmperesTooLow[] = "Amperes Too Low.";
inline constexpr char kTempOutOfRange[] = "Enter Temp Between\r\n21C - 80C\r\n70F - 176F";
inline constexpr char kTempTooHigh[] = "Temp Is To High\r\nFor This Conductor After Derating.";
inline constexpr char kAmpsTooHigh[] = "Full Load Amps\r\nToo High.";

}  // namespace voltaro::calc::wire
