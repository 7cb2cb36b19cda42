// The program-wide record: everything the main window, the panels and the calculators share, from
// start to exit. There is exactly one per run, owned by the start-up code and passed by reference
// to whoever needs it; a test builds a fresh one. Nothing else in the program is global.
//
// Units: window geometry is in twips (15 per pixel on the usual display); surfaces and sizes in
// pixels. Window handles are opaque ids, 0 meaning none or another program.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/common/data_failure.h"
#include "calc/common/note_flags.h"
#include "history/store.h"
#include "refdb/database.h"

namespace voltaro::platform {
class Surface;  // platform/surface.h: an off-screen picture
}

namespace voltaro::shell {

// Indexes into OptionFlags / OptionKeys.
enum Option : int {
    kButtonSounds = 0,
    kSlideSounds = 1,
    kAutoStart = 2,
    kAutoMin = 3,
    kAutoPrint = 4,
    kTerminalAuto = 5,
};
inline constexpr int kOptionCount = 6;

// AbandonedPanel when no panel waits to be restored; each panel's own number is its row's in the
// panel table (app/panels.h).
inline constexpr std::int16_t kNoPanel = 0;

using WindowId = std::uintptr_t;

struct SharedState {
    // The reference database, open from start-up step 14 to exit.
    std::optional<refdb::Database> RefDb;
    // A recordset a panel keeps open between events. The cores and the footnotes open sets of
    // their own, so calling them never replaces it.
    std::optional<refdb::Recordset> WorkRs;

    std::filesystem::path DataPath;      // <app>/Voltaro.dat
    std::filesystem::path SoundLibPath;  // <app>/Tonebank.so
    std::filesystem::path ResultsPath;   // <app>/~qxrslt.dat

    // The main display's text; every line ends with CR LF.
    std::string DisplayText;
    // Sets the display label's caption; installed by the main window (none without a window).
    std::function<void(const std::string&)> SetDisplayCaption;
    // Keeps a published answer in the user's history (history/recorder.h): installed by the
    // program, empty in voltaro-cli, which keeps none. Hands the entry over and returns at once.
    std::function<void(history::Entry)> RecordAnswer;
    // The current conduit type: abbreviation, and full name once the type dialog has been used.
    std::string ConduitAbbr = "EMT";
    std::string ConduitName;

    std::array<bool, kOptionCount> OptionFlags{};
    std::array<std::string, kOptionCount> OptionKeys{};
    // Footnotes to print under the next result; index 0 is never used.
    calc::NoteFlags NoteFlags{};

    bool ResultsReady = false;  // a result is in the results log; the print button is live
    bool AutoPrinting = false;  // the current print was started by Auto Print
    bool PanelBusy = true;      // a panel is opening, open or closing (true until the first tick)
    bool PanelTimerArmed = false;  // the open panel's timer has ticked once
    WindowId PanelForeground = 0;
    bool ErrorShown = false;       // an error window was shown during the current calculation
    bool ErrorWindowOpen = false;  // the error window or the conduit type dialog is up
    WindowId ErrorForeground = 0;
    // Unloads the error window (or the conduit type dialog) while it is up, as its OK button
    // would; empty when none is up. The panel watch calls it when the user switches away.
    std::function<void()> UnloadErrorWindow;
    bool FocusLost = false;  // the user switched to another program
    std::int16_t AbandonedPanel = kNoPanel;
    bool MainTimerStarted = false;
    WindowId MainForeground = 0;

    // The ground and OCP calculator: the last answer (table cells as text), and the inputs of
    // an abandoned panel (the amps box as typed, the material list's position).
    std::string FuseSizeResult;
    std::string GroundSizeResult;
    std::string SavedOcpAmps;
    std::int16_t SavedOcpMaterial = 0;

    // The transformer calculator: the knobs (0: true = KVA from amperes, false = amperes from
    // KVA; 1: true = single phase, false = three phase), the last answer in general number
    // format, and the two boxes of an abandoned panel (TA, TV) as typed.
    std::array<bool, 2> KnobState{true, true};
    std::string TransformerResult;
    std::array<std::string, 2> SavedXfmrInputs;

    // The motor starter calculator: the last size found, and the two boxes of an abandoned panel
    // (Ts, Ti) as typed.
    std::string StarterSize;
    std::array<std::string, 2> SavedStarterInputs;

    // The conduit fill panel, between its openings: the insulation type position its list selects
    // when it opens (36, the 37th type, unless the panel was abandoned holding conductors), the
    // insulation type last chosen there (new conductors take it), and how many conductors the
    // conduit holds (DragList's rows; never below 0).
    std::int16_t SavedTypeIndex = 36;
    std::string SelectedWireType;
    std::int16_t ConductorCount = 0;

    // The NEMA enclosure panel: the entry (1 to the number of types) it showed when it was
    // abandoned; the next open shows it again.
    std::int16_t SavedEnclosure = 1;

    // The panels opened from the face's menu: what an abandoned panel showed (the boxes as
    // typed, the lists' and knobs' positions as numbers), by its panel number; the next open of
    // that panel takes it back out.
    std::map<std::int16_t, std::vector<std::string>> SavedInputs;

    std::int16_t FaceWidth = 0, FaceHeight = 0;    // pixels
    std::int32_t PanelWidth = 0, PanelHeight = 0;  // pixels

    // Off-screen pictures, each released when replaced or at exit: the copy of the main window's
    // face (the spin animation's background), the picture of the panel being opened, and what
    // the panel window covered when it was shown, with where that was (pixels).
    std::shared_ptr<platform::Surface> Face;
    std::shared_ptr<platform::Surface> PanelImage;
    std::shared_ptr<platform::Surface> Snapshot;
    struct {
        int x = 0, y = 0, width = 0, height = 0;
    } SnapshotRect;
};

// The one check that the reference database is open, for whoever calls a calculation core: runs
// `core` with RefDb when it is open; otherwise `core` is not run and the result is the failure
// every calculator reports for a closed database. `core` returns calc::Outcome or another variant
// that holds a calc::Failure.
template <typename Core>
auto withDatabase(SharedState& state, Core&& core)
    -> decltype(std::forward<Core>(core)(std::declval<refdb::Database&>())) {
    if (!state.RefDb || !state.RefDb->isOpen())
        return calc::dataFailure("The database is not open.");
    return std::forward<Core>(core)(*state.RefDb);
}

}  // namespace voltaro::shell
