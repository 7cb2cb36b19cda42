// The printed report: one portrait page with a fixed header band (the logo, four rules, the rights
// notice, the maker line, the tagline and the calculation date) and under it every line of the
// results log, one line each 0.15 in from 2.5 in down, empty lines included, none wrapped.
//
// Units: positions are inches from the top-left corner of the target's printable area, mapped to
// the target's own resolution (its logical dots per inch), so the same page lands on a printer, a
// PDF writer or an image. A text's position is the top-left corner of its line. Font sizes are
// points times the scale factor f, 1 on paper.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

class QPainter;

namespace voltaro::report {

// What the page shows besides its fixed texts.
struct PageContent {
    QImage logo;        // "PRNLOGO" (404 x 131); the page leaves its place empty when it is null
    QString date;       // the calculation date, as the locale writes a short date
    QStringList lines;  // the results log, line by line
};

// The fixed texts of the header band.
inline constexpr const char* kRightsNotice = "Copyright \u00A9 2026 Voltaro. All rights reserved.";
inline constexpr const char* kMakerLine = "Voltaro * Calculator for Electricians * 1999 NEC";
inline constexpr const char* kTagline = "'Let The Machine Do The Work.'";
inline constexpr const char* kDateCaption = "Calculation Date:";

// Draws the page on `target`, which must be active (begun on its device). Leaves the painter's
// pen, font and hints as it found them.
void ComposePage(QPainter& target, double f, const PageContent& content);

// The results log's lines: each ends at CR LF, a lone CR or a lone LF; a last line without an
// end still counts, and nothing follows the final line end. The bytes are UTF-8 text, as the panels
// write what was typed.
QStringList splitLogLines(const QByteArray& bytes);

}  // namespace voltaro::report
