// The panel table: every panel of the program, one row each, in the order of their numbers. The
// host (shell/panel_host.h) opens a row from its key or menu entry; the main window's keys, the
// tests' world and the layout the scripts read (voltaro-layout) all come from here.
//
// A new calculator's panel is one more row: its number (the next free one), `PanelKey::Menu`
// with its menu entry (the face has no free key), its window's names, its picture (a plain
// drawer of assets/layout.h's kPlainDrawers) and size, the side it docks on and its vertical
// offset, the display line, the sounds of a square key ("TickLo", "out", the notes reset) and its
// factory.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "assets/layout.h"
#include "assets/resource_names.h"
#include "calc/conduit/fillfrm.h"
#include "calc/enclosure/enclosefrm.h"
#include "calc/ground/groundfrm.h"
#include "calc/motor/motorfrm.h"
#include "calc/starter/starterfrm.h"
#include "calc/transformer/transformerfrm.h"
#include "calc/vdrop/vdropfrm.h"
#include "calc/wire/wirefrm.h"
#include "shell/door.h"
#include "shell/panel.h"

namespace voltaro::app {

// The panels' numbers, as AbandonedPanel records them.
enum Panel : std::int16_t {
    kWirePanel = 1,
    kConduitPanel = 2,
    kGroundPanel = 3,
    kTransformerPanel = 4,
    kStarterPanel = 5,
    kEnclosurePanel = 6,
    kOptionsPanel = 7,
    kVdropPanel = 8,
    kMotorPanel = 9,
};

// The factory of a panel whose constructor takes the context and its row.
template <typename Form>
std::unique_ptr<shell::PanelForm> make(shell::PanelContext& context, const shell::PanelRow& row) {
    return std::make_unique<Form>(context, row);
}

// `options` and `program` are the options panel's: the store its exit button writes and the
// program the log-on entry starts. `options` must outlive the panels.
inline std::vector<shell::PanelRow> panelTable(const shell::OptionsStore& options,
                                               std::filesystem::path program) {
    namespace layout = assets::layout;
    namespace bitmap = assets::program;
    namespace sound = assets::tonebank;
    using shell::PanelKey;
    using shell::PanelSide;
    const auto square = PanelKey::Square;
    const auto round = PanelKey::Round;
    const auto menu = PanelKey::Menu;
    // clang-format off
    return {
        // number, key, key index, menu entry, form, title, picture, size, side, offset (twips),
        // display line, press sound, waited, slide sound, notes reset, timer (ms), exit button,
        // factory
        {kWirePanel, square, 0, nullptr, "WireFrm", "Wire Size", bitmap::kMENU1, layout::wire::kSize,
         PanelSide::Right, 0, "Size Wire:", sound::kTickLo, false, sound::kOut, true, 500,
         layout::wire::kX, make<calc::wire::WireFrm>},
        {kConduitPanel, square, 2, nullptr, "FillFrm", "Conduit Fill", bitmap::kMENU2, layout::conduit::kSize,
         PanelSide::Left, 700, "Size Conduit:", sound::kTickLo, false, sound::kOut, true, 500,
         layout::conduit::kX, make<calc::conduit::FillFrm>},
        {kGroundPanel, square, 1, nullptr, "GndOcp", "Ground and OCP", bitmap::kMENU3, layout::ground::kSize,
         PanelSide::Right, -2300, "Size GND && OCP:", sound::kTickLo, false, sound::kOut, true, 500,
         layout::ground::kX, make<calc::ground::GndOcp>},
        {kTransformerPanel, square, 3, nullptr, "Xfmr", "Transformer", bitmap::kMENU4, layout::transformer::kSize,
         PanelSide::Left, -1500, "Transformer or KVA:", sound::kTickLo, false, sound::kOut, true, 500,
         layout::transformer::kX, make<calc::transformer::Xfmr>},
        {kStarterPanel, round, 0, nullptr, "Starter", "Motor Starter", bitmap::kMENU5, layout::starter::kSize,
         PanelSide::Right, 0, "Size Starter:", sound::kTick, true, sound::kOut, false, 500,
         layout::starter::kX, make<calc::starter::Starter>},
        {kEnclosurePanel, round, 1, nullptr, "Enclose", "NEMA Enclosure", bitmap::kMENU6, layout::enclosure::kSize,
         PanelSide::Left, -1000, "Find NEMA Enclosure:", sound::kTick, true, sound::kOut, false, 500,
         layout::enclosure::kX, make<calc::enclosure::Enclose>},
        {kOptionsPanel, round, 2, nullptr, "Door", "Options", sound::kCIRCUIT, layout::kCircuitSize,
         PanelSide::Options, 2013, nullptr, sound::kTick, true, nullptr, false, 100,
         layout::options::kX,
         [&options, program](shell::PanelContext& context, const shell::PanelRow& row) {
             return std::make_unique<shell::Door>(context, row, options, program);
         }},
        {kVdropPanel, menu, -1, "Voltage Drop...", "VDropFrm", "Voltage Drop", bitmap::kMENU8, layout::vdrop::kSize,
         PanelSide::Right, 0, "Find Voltage Drop:", sound::kTickLo, false, sound::kOut, true, 500,
         layout::vdrop::kX, make<calc::vdrop::VDropFrm>},
        {kMotorPanel, menu, -1, "Motor Full-Load Current...", "MotorFrm", "Motor Current", bitmap::kMENU9, layout::motor::kSize,
         PanelSide::Left, -1500, "Motor Full Load Amps:", sound::kTickLo, false, sound::kOut, true, 500,
         layout::motor::kX, make<calc::motor::MotorFrm>},
    };
    // clang-format on
}

}  // namespace voltaro::app
