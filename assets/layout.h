// Where things sit on Voltaro's pictures, in pixels from each picture's top-left corner. The art
// generator draws the frames, wells and labels around these rectangles, and the windows place
// their controls on them, so the two cannot drift apart.
//
// Main window ("BASE", 268 x 546): the face plate holds, top to bottom, the wordmark and the
// "1999 NEC" badge, the display, the four square calculator keys (2 x 2), the three round keys
// and the print and exit buttons. Panels dock on both sides: a panel overlaps the face's outer
// 27 pixels (400 twips; 18.5 on the left for the options panel), so nothing of the face lies
// there. Each calculator panel is a drawer whose 22-pixel runner lies on the side that docks;
// controls sit in its remaining width.
#pragma once

#include <array>
#include <span>

namespace voltaro::assets::layout {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    constexpr int right() const { return x + w; }   // exclusive
    constexpr int bottom() const { return y + h; }  // exclusive
    constexpr int centreX() const { return x + w / 2; }
    constexpr int centreY() const { return y + h / 2; }
};

struct Size {
    int w = 0, h = 0;
};

// ---- Main window over "BASE" -----------------------------------------------------------------
namespace face {
inline constexpr Size kSize{268, 546};
// Pixels of exactly this colour (RGB) lie outside the window; "BASE" has it at (0, 0).
inline constexpr unsigned kKeyColour = 0xFF00FF;

inline constexpr Rect kFacePlate{24, 28, 220, 496};
inline constexpr Rect kHangSlot{110, 9, 48, 10};  // a hole through the holster's top
inline constexpr Rect kWordmark{34, 34, 126, 22};
inline constexpr Rect kBadge{166, 34, 68, 22};  // Image1, tool tip "1999 NEC Code Year"
inline constexpr Rect kDisplayBezel{32, 64, 204, 142};
inline constexpr Rect kDisplay{40, 72, 188, 126};  // the Display label: green (0,128,0) glass

// SmSqImage 0-3: wire size, ground and OCP, conduit fill, transformer (34 x 34 each).
inline constexpr std::array<Rect, 4> kSmSq{
    {{67, 236, 34, 34}, {167, 236, 34, 34}, {67, 300, 34, 34}, {167, 300, 34, 34}}};
inline constexpr std::array<const char*, 4> kSmSqCaption{"WIRE SIZE", "GROUND & OCP",
                                                         "CONDUIT FILL", "TRANSFORMER"};
// SmRndImage 0-2: starter, NEMA enclosure, options (36 x 36 each).
inline constexpr std::array<Rect, 3> kSmRnd{
    {{48, 384, 36, 36}, {116, 384, 36, 36}, {184, 384, 36, 36}}};
inline constexpr std::array<const char*, 3> kSmRndCaption{"STARTER", "NEMA ENCL.", "OPTIONS"};
// Captions sit centred under each key, in this band height.
inline constexpr int kCaptionGap = 4, kCaptionHeight = 12;
// Round keys sit in bezel rings; the options key's ring carries the ten spin lights.
inline constexpr int kRingInner = 26, kRingOuter = 31, kSpinLightRadius = 28;

inline constexpr Rect kPrnBut{36, 462, 85, 30};   // PrnBut, 85 x 30
inline constexpr Rect kOffBut{147, 462, 85, 30};  // OffBut, 85 x 30
inline constexpr Rect kGrille{104, 502, 60, 12};

// Section rules above the key groups.
inline constexpr int kCalculateRuleY = 222, kLookupRuleY = 360;
}  // namespace face

// ---- Controls shared by the panels -------------------------------------------------------------
inline constexpr Size kDneSize{72, 28};   // "DNE_U" / "DNE_D": calculate / select
inline constexpr Size kXSize{31, 28};     // "X_UP" / "X_DN": leave the panel
inline constexpr Size kKnobSize{36, 36};  // "KNOB_U" (flag true) / "KNOB_D" (flag false)
inline constexpr Size kDipSize{15, 7};    // "DIP_O" (on) / "DIP_F" (off)
inline constexpr Size kButtonSize{85, 30};
inline constexpr Size kSquareKeySize{34, 34};
inline constexpr Size kRoundKeySize{36, 36};
inline constexpr Size kLogoSize{404, 131};     // "PRNLOGO"
inline constexpr Size kCircuitSize{214, 177};  // "CIRCUIT" in the sound library

inline constexpr int kRunner = 22;     // the docking strip of a drawer, on its near side
inline constexpr int kTitleBand = 24;  // the engraved title at the top of a drawer

// Wire size, "MENU1", right side.
namespace wire {
inline constexpr Size kSize{184, 366};
inline constexpr const char* kTitle = "WIRE SIZE";
inline constexpr Rect kCaptionAmps{28, 30, 98, 24};          // L1(0) "Full Load Amps"
inline constexpr Rect kAmps{128, 32, 50, 20};                // TB(0)
inline constexpr Rect kCaptionMaterial{28, 58, 150, 14};     // L1(4) "Conductor Type"
inline constexpr Rect kMaterial{28, 73, 150, 36};            // Lst(0)
inline constexpr Rect kCaptionInsulation{28, 116, 150, 14};  // L1(1) "Insulation Type / Rating"
inline constexpr Rect kInsulation{28, 131, 108, 100};        // Lst(1)
inline constexpr Rect kRating{140, 131, 38, 20};             // LB "90 C"
inline constexpr Rect kCaptionConductors{28, 238, 96, 44};   // L1(2), wraps to three lines
inline constexpr Rect kConductors{128, 250, 50, 20};         // TB(1)
inline constexpr Rect kCaptionAmbient{28, 288, 98, 28};      // L1(3) "Ambient Temp in C"
inline constexpr Rect kAmbient{128, 292, 50, 20};            // TB(2)
inline constexpr Rect kDne{28, 328, 72, 28};                 // DneBut(0)
inline constexpr Rect kX{147, 328, 31, 28};                  // DneBut(1)
inline constexpr Rect kWells[] = {kAmps, kMaterial, kInsulation, kRating, kConductors, kAmbient};
}  // namespace wire

// Ground and OCP, "MENU3", right side.
namespace ground {
inline constexpr Size kSize{184, 172};
inline constexpr const char* kTitle = "GROUND & OCP";
inline constexpr Rect kCaptionAmps{28, 30, 98, 24};       // L1(0) "Circuit Max Amps"
inline constexpr Rect kAmps{128, 32, 50, 20};             // TB
inline constexpr Rect kCaptionMaterial{28, 60, 150, 14};  // L1(1) "Conductor Type"
inline constexpr Rect kMaterial{28, 75, 150, 36};         // Clist
inline constexpr Rect kDne{28, 134, 72, 28};
inline constexpr Rect kX{147, 134, 31, 28};
inline constexpr Rect kWells[] = {kAmps, kMaterial};
}  // namespace ground

// Motor starter, "MENU5", right side.
namespace starter {
inline constexpr Size kSize{184, 148};
inline constexpr const char* kTitle = "MOTOR STARTER";
inline constexpr Rect kCaptionAmps{28, 32, 98, 24};   // L1(0) "Full Load Amps"
inline constexpr Rect kAmps{128, 34, 50, 20};         // Ts
inline constexpr Rect kCaptionVolts{28, 64, 98, 24};  // L1(1) "Voltage"
inline constexpr Rect kVolts{128, 66, 50, 20};        // Ti
inline constexpr Rect kDne{28, 110, 72, 28};
inline constexpr Rect kX{147, 110, 31, 28};
inline constexpr Rect kWells[] = {kAmps, kVolts};
}  // namespace starter

// Conduit fill, "MENU2", left side.
namespace conduit {
inline constexpr Size kSize{182, 364};
inline constexpr const char* kTitle = "CONDUIT FILL";
inline constexpr Rect kCaptionType{6, 30, 100, 24};        // L1(3) "Current Conduit Type"
inline constexpr Rect kType{108, 32, 46, 20};              // Text1
inline constexpr Rect kCaptionInsulation{6, 58, 148, 14};  // L1(4) "Select Conductor Type"
inline constexpr Rect kInsulation{6, 73, 148, 68};         // Mlist
inline constexpr Rect kCaptionDrag{6, 146, 148, 28};       // L1(2), two lines
inline constexpr Rect kCaptionRack{6, 176, 54, 14};        // L1(0) "Wire Rack"
inline constexpr Rect kCaptionConduit{64, 176, 62, 14};    // L1(1) "Conduit"
inline constexpr Rect kCount{128, 176, 26, 14};            // L1(5) conductor count
inline constexpr Rect kRack{6, 191, 54, 126};              // List1
inline constexpr Rect kInConduit{64, 191, 90, 126};        // List2
inline constexpr Rect kDne{6, 326, 72, 28};
inline constexpr Rect kX{123, 326, 31, 28};
}  // namespace conduit

// The conduit type dialog SelCond, "SELCOND": a small drawer of its own, without a runner, that
// grows out of the conduit panel's corner. The list shows every conduit type by its full name
// without scrolling, one row of the glass font each.
namespace selcond {
inline constexpr Size kSize{312, 267};
inline constexpr Rect kHeading{14, 4, 288, 18};       // Label1(0) "Select a new type of Conduit"
inline constexpr Rect kTypes{10, 33, 292, 186};       // List1: 13 rows of 14 pixels, the full names
inline constexpr Rect kCaptionAbbr{10, 229, 60, 26};  // drawn: "CHOSEN TYPE"
inline constexpr Rect kAbbr{72, 232, 80, 20};         // Label1(1), the chosen abbreviation
inline constexpr Rect kOk{230, 229, 72, 28};          // OK, "O&K"
}  // namespace selcond

// The error window, "ERRWND": a free-standing drawer like the conduit type dialog, its title
// "Error" in the engraved band, the message on a glass well (up to five lines), one OK key.
namespace errwnd {
inline constexpr Size kSize{300, 150};
inline constexpr Rect kHeading{14, 4, 272, 18};   // Label1 "Error"
inline constexpr Rect kMessage{10, 30, 280, 74};  // LB1, the message
inline constexpr Rect kOk{114, 114, 72, 28};      // OKbut, "&OK"
}  // namespace errwnd

// Transformer, "MENU4", left side.
namespace transformer {
inline constexpr Size kSize{182, 259};
inline constexpr const char* kTitle = "TRANSFORMER";
inline constexpr Rect kModeKnob{8, 32, 36, 36};         // Knob(0)
inline constexpr Rect kCaptionKva{50, 33, 104, 16};     // L1(0) "Transformer KVA" (true)
inline constexpr Rect kCaptionFla{50, 51, 104, 16};     // L1(1) "Full Load Amps" (false)
inline constexpr Rect kPhaseKnob{8, 80, 36, 36};        // Knob(1)
inline constexpr Rect kCaptionSingle{50, 81, 104, 16};  // L1(2) "Single Phase" (true)
inline constexpr Rect kCaptionThree{50, 99, 104, 16};   // L1(3) "Three Phase" (false)
inline constexpr Rect kModeGroup{4, 28, 152, 44};       // Shape1(4)
inline constexpr Rect kPhaseGroup{4, 76, 152, 44};      // Shape1(5)
inline constexpr Rect kCaptionInput{6, 130, 98, 24};    // L1(6) names TA
inline constexpr Rect kInput{106, 132, 48, 20};         // TA
inline constexpr Rect kCaptionVolts{6, 160, 98, 24};    // L1(7) "Volts"
inline constexpr Rect kVolts{106, 162, 48, 20};         // TV
inline constexpr Rect kDne{6, 221, 72, 28};
inline constexpr Rect kX{123, 221, 31, 28};
inline constexpr Rect kWells[] = {kInput, kVolts};
}  // namespace transformer

// NEMA enclosure, "MENU6", left side.
namespace enclosure {
inline constexpr Size kSize{182, 235};
inline constexpr const char* kTitle = "NEMA ENCLOSURE";
inline constexpr Rect kCaptionType{6, 30, 104, 24};         // L1(0) "Nema  Enclosure Type"
inline constexpr Rect kType{112, 32, 42, 20};               // L2
inline constexpr Rect kScroll{6, 58, 148, 17};              // Scrol1
inline constexpr Rect kCaptionDescription{6, 80, 148, 14};  // L1(1) "NEMA Type Description"
inline constexpr Rect kDescription{6, 95, 148, 92};         // DescT, five lines
inline constexpr Rect kDne{6, 197, 72, 28};
inline constexpr Rect kX{123, 197, 31, 28};
}  // namespace enclosure

// Voltage drop, "MENU8", right side, opened from the face's menu. The system, material and
// conduit lists show every choice without scrolling (14-pixel rows); the size list drops down.
namespace vdrop {
inline constexpr Size kSize{184, 380};
inline constexpr const char* kTitle = "VOLTAGE DROP";
inline constexpr Rect kCaptionSystem{28, 30, 150, 14};   // "System"
inline constexpr Rect kSystem{28, 45, 150, 44};          // Lst0: three rows
inline constexpr Rect kCaptionMaterial{28, 96, 72, 14};  // "Material"
inline constexpr Rect kMaterial{28, 111, 72, 30};        // Lst1: two rows
inline constexpr Rect kCaptionConduit{106, 96, 72, 14};  // "Conduit"
inline constexpr Rect kConduit{106, 111, 72, 44};        // Lst2: three rows
inline constexpr Rect kCaptionSize{28, 162, 88, 24};     // "Conductor Size"
inline constexpr Rect kConductorSize{118, 164, 60, 20};  // Sz, a drop-down list
inline constexpr std::array<Rect, 5> kCaptionBox{{{28, 192, 98, 24},
                                                  {28, 220, 98, 24},
                                                  {28, 248, 98, 24},
                                                  {28, 276, 98, 24},
                                                  {28, 304, 98, 24}}};
// TB0-4: volts, amps, length (feet, one way), power factor, limit (percent).
inline constexpr std::array<Rect, 5> kBox{{{128, 194, 50, 20},
                                           {128, 222, 50, 20},
                                           {128, 250, 50, 20},
                                           {128, 278, 50, 20},
                                           {128, 306, 50, 20}}};
inline constexpr Rect kDne{28, 342, 72, 28};
inline constexpr Rect kX{147, 342, 31, 28};
inline constexpr Rect kWells[] = {kSystem, kMaterial, kConduit, kConductorSize, kBox[0],
                                  kBox[1], kBox[2],   kBox[3],  kBox[4]};
inline constexpr Rect kRule{28, 187, 150, 2};  // between the choices and the figures
}  // namespace vdrop

// Motor full-load current, "MENU9", left side, opened from the face's menu. The phase knob sits
// in a group like the transformer's; the horsepower box drops down the table's ratings.
namespace motor {
inline constexpr Size kSize{182, 192};
inline constexpr const char* kTitle = "MOTOR CURRENT";
inline constexpr Rect kPhaseGroup{4, 28, 152, 44};
inline constexpr Rect kPhaseKnob{8, 32, 36, 36};        // Knob
inline constexpr Rect kCaptionSingle{50, 33, 104, 16};  // L1(0) "Single Phase" (true)
inline constexpr Rect kCaptionThree{50, 51, 104, 16};   // L1(1) "Three Phase" (false)
inline constexpr Rect kCaptionHp{6, 82, 84, 24};        // L1(2) "Horsepower"
inline constexpr Rect kHp{92, 84, 62, 20};              // Hp, typed or dropped down
inline constexpr Rect kCaptionVolts{6, 112, 84, 24};    // L1(3) "Volts"
inline constexpr Rect kVolts{106, 114, 48, 20};         // TV
inline constexpr Rect kDne{6, 154, 72, 28};
inline constexpr Rect kX{123, 154, 31, 28};
inline constexpr Rect kWells[] = {kHp, kVolts};
}  // namespace motor

// A calculator drawer the art generator draws from this description alone: its frame, runner and
// title, its knob groups (a framed group with a knob's slot, its captions beside the knob), its
// glass wells (text boxes, lists, drop-down lists, value labels), an engraved rule and its two
// button slots.
struct KnobGroup {
    Rect frame;  // the group's rounded frame
    Rect knob;   // Knob: its slot
};
struct PlainDrawer {
    const char* picture;  // its bitmap's name
    Size size;
    bool dockRight;  // docks on the main window's right (its runner on its left)
    const char* title;
    std::span<const Rect> wells;
    Rect dne, x;                                 // DneBut 0 and 1
    std::span<const KnobGroup> knobGroups = {};  // drawn under everything else
    Rect rule = {};  // two engraved lines, rule.w long, from rule.y + 0.5 down; none when w is 0
};

namespace transformer {
inline constexpr KnobGroup kKnobGroups[] = {{kModeGroup, kModeKnob}, {kPhaseGroup, kPhaseKnob}};
}  // namespace transformer
namespace motor {
inline constexpr KnobGroup kKnobGroups[] = {{kPhaseGroup, kPhaseKnob}};
}  // namespace motor

// The drawers drawn from their description alone. Each entry starts its own line with its
// picture's name: the build takes the names from there (assets/CMakeLists.txt).
inline constexpr PlainDrawer kPlainDrawers[] = {
    {"MENU1", wire::kSize, true, wire::kTitle, wire::kWells, wire::kDne, wire::kX},
    {"MENU3", ground::kSize, true, ground::kTitle, ground::kWells, ground::kDne, ground::kX},
    {"MENU4", transformer::kSize, false, transformer::kTitle, transformer::kWells,
     transformer::kDne, transformer::kX, transformer::kKnobGroups},
    {"MENU5", starter::kSize, true, starter::kTitle, starter::kWells, starter::kDne, starter::kX},
    {"MENU8",
     vdrop::kSize,
     true,
     vdrop::kTitle,
     vdrop::kWells,
     vdrop::kDne,
     vdrop::kX,
     {},
     vdrop::kRule},
    {"MENU9", motor::kSize, false, motor::kTitle, motor::kWells, motor::kDne, motor::kX,
     motor::kKnobGroups},
};

// Options, "MENU7" (418 x 177): a circuit board with a row of six dip switches, legends printed
// under them. Its right 222 pixels lie over the main window's lower left when open.
namespace options {
inline constexpr Size kSize{418, 177};
// DipP(0-5), in option order: Button Sounds, Slide Sounds, Auto Start, Auto Min, Auto Print,
// Terminal Auto.
inline constexpr std::array<Rect, 6> kDip{{{61, 88, 15, 7},
                                           {117, 88, 15, 7},
                                           {173, 88, 15, 7},
                                           {229, 88, 15, 7},
                                           {285, 88, 15, 7},
                                           {341, 88, 15, 7}}};
inline constexpr std::array<const char*, 6> kDipLegend{"BUTTON\nSOUNDS", "SLIDE\nSOUNDS",
                                                       "AUTO\nSTART",    "AUTO\nMINIMIZE",
                                                       "AUTO\nPRINT",    "TERMINAL\nAUTO"};
inline constexpr Rect kX{378, 12, 31, 28};  // DneBut
}  // namespace options

}  // namespace voltaro::assets::layout
