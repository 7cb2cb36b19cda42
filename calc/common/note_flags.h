// Footnote flags: which rows of the FootNotes table (1 to 12) apply to the result being worked
// out. The calculators set them and never clear one; a calculator's results log prints the notes
// its flags call for; opening a panel with a square button clears them all. Index 0 is never used.
#pragma once

#include <array>
#include <cstddef>

namespace voltaro::calc {

// The footnotes by their number in the FootNotes table.
enum Note : std::size_t {
    kNoteNextSizeUp = 1,              // a larger size for the small-conductor rule's device
    kNoteGroundForVoltageDrop = 2,    // the ground grows with conductors enlarged for drop
    kNoteNextStandardDevice = 3,      // the next higher standard device, up to 800 A
    kNoteUncoveredConductor = 4,      // a type listed without its outer covering ("*")
    kNoteSpecialRaceway = 5,          // a nipple or other special raceway ("*")
    kNoteGroundNoLarger = 6,          // the ground never larger than the circuit conductors
    kNoteSmallConductors = 7,         // the sizes the small-conductor rule marks ("*")
    kNoteCrowdedRaceway = 8,          // more than 30 current-carrying conductors
    kNoteDeviceOver800 = 9,           // a device over 800 A: no rounding up
    kNoteTerminals60 = 10,            // terminals taken at 60 C
    kNoteTerminals75 = 11,            // terminals taken at 75 C
    kNoteTerminals75Everywhere = 12,  // Terminal Auto off: 75 C assumed on every circuit
};
inline constexpr std::size_t kLastNote = kNoteTerminals75Everywhere;

using NoteFlags = std::array<bool, kLastNote + 1>;

// True when any of flags 1 to 12 is set.
inline bool AnyNoteFlagged(const NoteFlags& flags) {
    for (std::size_t i = 1; i <= kLastNote; ++i)
        if (flags[i]) return true;
    return false;
}

}  // namespace voltaro::calc
