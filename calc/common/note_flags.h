// Footnote flags: which rows of the FootNotes table (1 to 12) apply to the result being worked
// out. The calculators set them and never clear one; a calculator's results log prints the notes
// its flags call for; opening a panel with a square button clears them all. Index 0 is never used.
#pragma once

#include <array>
#include <cstddef>

namespace voltaro::calc {

using NoteFlags = std::array<bool, 13>;

// True when any of flags 1 to 12 is set.
inline bool AnyNoteFlagged(const NoteFlags& flags) {
    for (std::size_t i = 1; i <= 12; ++i)
        if (flags[i]) return true;
    return false;
}

}  // namespace voltaro::calc
