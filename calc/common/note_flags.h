// Footnote flags: which rows of the FootNotes table (1 to 12) apply to the result being worked
// out. Each calculation starts with none (ClearNoteFlags) and sets those its own answer calls for,
// so a note of a failed try never reaches the next answer's log; a calculator's results log prints
// the notes its flags call for. Index 0 is never used.
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

// The start of every calculation that flags notes.
inline void ClearNoteFlags(NoteFlags& flags) { flags.fill(false); }

}  // namespace voltaro::calc
