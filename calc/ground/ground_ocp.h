// The ground conductor and overcurrent protection calculator without its panel: from the largest
// current of a circuit to the next standard fuse or breaker rating (FuseSize) and the equipment
// ground conductor for that rating (GndWire).
//
// Flow of one press of the calculate button (calculateGround):
//   the current box read as a whole number -> CalGround -> display lines and results log.
// CalGround sets footnote 9 in `notes` above 800 A, before it can fail, and never clears it. The
// caller hands over the reference database already open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "calc/common/note_flags.h"
#include "calc/common/outcome.h"
#include "refdb/database.h"

namespace voltaro::calc::ground {

// The panel's inputs as they stand when calculate is pressed.
struct GroundInputs {
    std::string amps;      // the circuit's largest current, as typed (amperes)
    std::string material;  // selected: "Copper" or "Aluminum" (also copper-clad aluminum)
};

// What a successful CalGround leaves for the panel: both as the text of their table cells.
struct GroundSize {
    std::string fuse;    // standard device rating in amperes ("45")
    std::string ground;  // ground conductor size ("10", "1/0")
};

// The current box as CalGround takes it: the nearest whole number, halves to even. A number
// beyond 32 bits is pinned to the end of the range on its side, so anything huge is too high and
// anything hugely negative takes the smallest rating.
std::int32_t readCurrent(std::string_view text);

// The device rating and the ground conductor for `amps`, or the error window's message.
std::variant<GroundSize, Failure> CalGround(refdb::Database& db, NoteFlags& notes,
                                            std::int32_t amps, std::string_view material);

// The lines the panel shows on the display and the results log for a successful CalGround.
Answer WriteGroundResults(refdb::Database& db, const NoteFlags& notes, const GroundInputs& inputs,
                          const GroundSize& result);

// The calculate button. On success `result`, when given, receives the rating and the ground.
Outcome calculateGround(refdb::Database& db, NoteFlags& notes, const GroundInputs& inputs,
                        GroundSize* result = nullptr);

// The error window's messages; their parts are separated by a carriage return alone.
inline constexpr char kAmpRatingTooHigh[] = "Amp Rating Is\rToo High,\r6000 Amps Max.";
inline constexpr char kNoGroundWire[] = "Can't Find Correct\rGround Wire Size.";

}  // namespace voltaro::calc::ground
