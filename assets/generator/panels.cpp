// The panel pictures: the calculator drawers (those of layout::kPlainDrawers from their rows, the
// conduit fill's "MENU2" and the NEMA enclosure's "MENU6" by hand), the conduit type dialog, the
// error window, the options circuit board ("MENU7") with the sound library's "CIRCUIT" cut from
// the same board, and the printed logo.
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPen>
#include <QRadialGradient>

#include <initializer_list>

#include "assets/generator/art.h"

namespace voltaro::assets::art {

namespace {

using layout::Rect;

// The side of the main window a drawer comes out on; a free-standing drawer (a dialog) has none
// and no runner.
enum class Side { Left, Right, None };

// A drawer: the runner on its near side (over the main window's edge), a raised frame, an
// engraved title. Returns the painter's image.
QImage drawer(layout::Size size, Side side, const char* title, int scale) {
    QImage image = canvas(size, scale);
    QLinearGradient body(0, 0, 0, size.h);
    body.setColorAt(0, QColor(44, 46, 51));
    body.setColorAt(1, QColor(30, 32, 36));
    QPainter p(&image);
    prepare(p);
    p.fillRect(QRectF(0, 0, size.w, size.h), body);

    // The runner: a darker strip with grip ridges, set off from the drawer's face.
    if (side != Side::None) {
        const qreal runnerX = side == Side::Right ? 0 : size.w - layout::kRunner;
        const QRectF runner(runnerX, 0, layout::kRunner, size.h);
        p.fillRect(runner, QColor(24, 25, 28));
        for (int y = 10; y < size.h - 8; y += 6) {
            p.fillRect(QRectF(runner.x() + 6, y, layout::kRunner - 12, 1.5), QColor(12, 12, 14));
            p.fillRect(QRectF(runner.x() + 6, y + 1.5, layout::kRunner - 12, 1),
                       QColor(54, 57, 62));
        }
        const qreal seam = side == Side::Right ? layout::kRunner : size.w - layout::kRunner;
        p.fillRect(QRectF(seam - 1, 0, 1, size.h), colour::kShadow);
        p.fillRect(QRectF(seam, 0, 1, size.h), QColor(70, 74, 80));
    }

    // Raised frame: lit top-left, shaded bottom-right.
    QPainterPath frame;
    frame.addRect(QRectF(0.5, 0.5, size.w - 1, size.h - 1));
    bevel(p, frame, QColor(104, 108, 115), colour::kShadow, 1.0);
    QPainterPath inner;
    inner.addRect(QRectF(1.5, 1.5, size.w - 3, size.h - 3));
    bevel(p, inner, QColor(66, 70, 76), QColor(20, 21, 24), 1.0);

    // Title: an amber tab and engraved letters, with a rule under the band.
    const qreal left = side == Side::Right ? layout::kRunner + 6 : 6;
    const qreal right = side == Side::Left ? size.w - layout::kRunner - 6 : size.w - 6;
    p.fillRect(QRectF(left, 8, 3, 11), colour::kAmber);
    p.setFont(sans(11, true, 1.3));
    const QRectF titleBox(left + 8, 4, right - left - 8, 18);
    p.setPen(colour::kEngrave);
    p.drawText(titleBox.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromLatin1(title));
    p.setPen(colour::kInk);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(title));
    p.fillRect(QRectF(left, layout::kTitleBand - 1, right - left, 1), colour::kEngrave);
    p.fillRect(QRectF(left, layout::kTitleBand, right - left, 1), QColor(62, 65, 71));
    return image;
}

// A window of green glass for a display-like control (text box, list, value label): the
// control covers the glass exactly; before it shows, the glass stands in for it.
void glassWell(QPainter& p, const Rect& r) {
    const QRectF box = toRectF(r);
    QPainterPath outer;
    outer.addRoundedRect(box.adjusted(-2.5, -2.5, 2.5, 2.5), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 14, 13));
    p.drawPath(outer);
    bevel(p, outer, colour::kShadow, QColor(86, 90, 96), 1.0);
    p.fillRect(box.adjusted(-1, -1, 1, 1), colour::kGlassEdge);
    p.fillRect(box, colour::kGlass);
}

// A dark groove, for a scroll bar.
void groove(QPainter& p, const Rect& r) {
    QPainterPath path;
    path.addRoundedRect(toRectF(r).adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kWell);
    p.drawPath(path);
    bevel(p, path, colour::kShadow, QColor(86, 90, 96), 1.0);
}

void buttonSlots(QPainter& p, const Rect& dne, const Rect& x) {
    slot(p, toRectF(dne), 6);
    slot(p, toRectF(x), 6);
}

}  // namespace

QImage plainDrawer(const layout::PlainDrawer& d, int scale) {
    QImage image = drawer(d.size, d.dockRight ? Side::Right : Side::Left, d.title, scale);
    QPainter p(&image);
    prepare(p);
    for (const layout::KnobGroup& group : d.knobGroups) {
        QPainterPath frame;
        frame.addRoundedRect(toRectF(group.frame).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        p.setPen(QPen(colour::kEngrave, 1.0));
        p.setBrush(QColor(28, 30, 34));
        p.drawPath(frame);
        p.setPen(QPen(QColor(62, 65, 71), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(frame.translated(1, 1));
    }
    for (const layout::KnobGroup& group : d.knobGroups) slot(p, toRectF(group.knob), 6);
    for (const Rect& r : d.wells) glassWell(p, r);
    if (d.rule.w > 0) {
        p.fillRect(QRectF(d.rule.x, d.rule.y + 0.5, d.rule.w, 1), colour::kEngrave);
        p.fillRect(QRectF(d.rule.x, d.rule.y + 1.5, d.rule.w, 1), QColor(62, 65, 71));
    }
    buttonSlots(p, d.dne, d.x);
    return image;
}

QImage conduitPanel(int scale) {
    using namespace layout::conduit;
    QImage image = drawer(kSize, Side::Left, kTitle, scale);
    QPainter p(&image);
    prepare(p);
    for (const Rect& r : {kType, kInsulation, kRack, kInConduit}) glassWell(p, r);
    // An arrow between the rack and the conduit: conductors travel across.
    const qreal y = kRack.y + kRack.h / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kAmberDeep);
    p.drawPolygon(QPolygonF({QPointF(kRack.right() + 0.5, y - 4), QPointF(kInConduit.x - 0.5, y),
                             QPointF(kRack.right() + 0.5, y + 4)}));
    buttonSlots(p, kDne, kX);
    return image;
}

QImage typeDialog(int scale) {
    // Its title is a control of the dialog (Label1(0)) in the band the drawer engraves.
    using namespace layout::selcond;
    QImage image = drawer(kSize, Side::None, "", scale);
    QPainter p(&image);
    prepare(p);
    glassWell(p, kTypes);
    glassWell(p, kAbbr);
    p.setFont(sans(9, true, 0.8));
    p.setPen(colour::kInkDim);
    p.drawText(toRectF(kCaptionAbbr), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               QStringLiteral("CHOSEN TYPE"));
    slot(p, toRectF(kOk), 6);
    return image;
}

QImage errorWindow(int scale) {
    // Its title is a control of the window (Label1) in the band the drawer engraves.
    using namespace layout::errwnd;
    QImage image = drawer(kSize, Side::None, "", scale);
    QPainter p(&image);
    prepare(p);
    glassWell(p, kMessage);
    slot(p, toRectF(kOk), 6);
    return image;
}

QImage enclosurePanel(int scale) {
    using namespace layout::enclosure;
    QImage image = drawer(kSize, Side::Left, kTitle, scale);
    QPainter p(&image);
    prepare(p);
    glassWell(p, kType);
    groove(p, kScroll);
    glassWell(p, kDescription);
    buttonSlots(p, kDne, kX);
    return image;
}

// ---- The options board -----------------------------------------------------------------------

namespace {

// The bare board: solder mask, copper, the switch row's footprint, resistors and the chip they
// feed. `offsetX` places a part of the board: the options panel is the whole board, "CIRCUIT" its
// right-hand part. Traces are routed so that none crosses another or the silkscreen.
void paintBoard(QPainter& p, int offsetX) {
    using namespace layout::options;
    p.save();
    p.translate(-offsetX, 0);
    p.fillRect(QRectF(0, 0, kSize.w, kSize.h), colour::kBoard);

    const QPen trace(colour::kTrace, 1.8, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    auto via = [&p](const QPointF& at) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kCopper);
        p.drawEllipse(at, 2.4, 2.4);
        p.setBrush(QColor(12, 44, 28));
        p.drawEllipse(at, 0.9, 0.9);
    };
    auto run = [&p, &trace](const QPolygonF& points) {
        p.setPen(trace);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(points);
    };

    const QRectF chip(386, 80, 22, 50);
    const qreal busTop = 46, busStep = 3, housingTop = kDip[0].y - 19,
                housingBottom = kDip[0].y + 19;
    const qreal railY = 166;
    for (std::size_t i = 0; i < kDip.size(); ++i) {
        const qreal x = kDip[i].x + kDip[i].w / 2.0;
        // Up from the switch to its line of the bus, along to the chip, down into its top.
        const qreal busY = busTop + busStep * qreal(i);
        const qreal pinX = chip.right() - 3 - 3 * qreal(i);
        run(QPolygonF({QPointF(x, housingTop + 2), QPointF(x, busY + 3), QPointF(x + 3, busY),
                       QPointF(pinX - 3, busY), QPointF(pinX, busY + 3),
                       QPointF(pinX, chip.top())}));
        // Down from the switch through its resistor to the common rail.
        run(QPolygonF({QPointF(x, housingBottom - 2), QPointF(x, 148)}));
        run(QPolygonF({QPointF(x, 158), QPointF(x, railY)}));
        via(QPointF(x, 142));
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kCopper);
        p.drawRect(QRectF(x - 2.5, 146, 5, 3));
        p.drawRect(QRectF(x - 2.5, 157, 5, 3));
        p.setBrush(QColor(30, 30, 32));
        p.drawRect(QRectF(x - 2, 149, 4, 8));
        // The switch row's footprint: a pad above and below each switch.
        p.setBrush(colour::kCopper);
        p.drawRect(QRectF(x - 3, housingTop - 3, 6, 4));
        p.drawRect(QRectF(x - 3, housingBottom - 1, 6, 4));
    }
    run(QPolygonF({QPointF(kDip.front().x + 7.5, railY), QPointF(chip.center().x() - 3, railY),
                   QPointF(chip.center().x(), railY - 3),
                   QPointF(chip.center().x(), chip.bottom())}));
    // The footprint's outline, and the chip.
    p.setPen(QPen(QColor(200, 204, 196), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(kDip.front().x - 16.5, housingTop - 5.5,
                      kDip.back().right() - kDip.front().x + 33, housingBottom - housingTop + 11));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor(196, 198, 202));
        p.drawRect(QRectF(chip.left() - 3, chip.top() + 5 + i * 7.5, 3, 3));
        p.drawRect(QRectF(chip.right(), chip.top() + 5 + i * 7.5, 3, 3));
    }
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRect(chip.translated(1, 1.5));
    p.setBrush(QColor(26, 26, 28));
    p.drawRect(chip);
    p.setBrush(QColor(58, 58, 62));
    p.drawEllipse(QPointF(chip.left() + 5, chip.top() + 5), 1.6, 1.6);
    p.save();
    p.translate(chip.center());
    p.rotate(90);
    p.setPen(QColor(160, 160, 164));
    p.setFont(sans(8, true, 0.6));
    p.drawText(QRectF(-25, -8, 50, 16), Qt::AlignCenter, QStringLiteral("VT-99"));
    p.restore();

    // Mounting holes in the corners.
    for (const QPointF& c :
         {QPointF(10, 10), QPointF(kSize.w - 10, kSize.h - 10), QPointF(10, kSize.h - 10)}) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kCopper);
        p.drawEllipse(c, 5.5, 5.5);
        p.setBrush(QColor(10, 10, 12));
        p.drawEllipse(c, 3.2, 3.2);
    }
    p.restore();
}

void silk(QPainter& p, const QRectF& box, const QString& text, int pixelSize, Qt::Alignment align,
          qreal spacing = 0.6) {
    p.setFont(sans(pixelSize, true, spacing));
    p.setPen(colour::kSilk);
    p.drawText(box, align, text);
}

}  // namespace

QImage optionsPanel(int scale) {
    using namespace layout::options;
    QImage image = canvas(kSize, scale);
    QPainter p(&image);
    prepare(p);
    paintBoard(p, 0);

    // Board edge.
    QPainterPath edge;
    edge.addRect(QRectF(0.5, 0.5, kSize.w - 1, kSize.h - 1));
    bevel(p, edge, QColor(60, 140, 96), QColor(8, 40, 24), 1.0);

    silk(p, QRectF(24, 8, 200, 16), QStringLiteral("OPTIONS"), 13, Qt::AlignLeft | Qt::AlignVCenter,
         2.0);
    silk(p, QRectF(24, 24, 260, 12), QStringLiteral("CLICK A SWITCH TO CHANGE IT"), 8,
         Qt::AlignLeft | Qt::AlignVCenter, 0.8);

    // One red housing for the row of six switches, numbered, with the "ON" side marked.
    const QRectF housing(kDip.front().x - 17, kDip.front().y - 19,
                         kDip.back().right() - kDip.front().x + 34, 38);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(housing.translated(1.5, 2), 3, 3);
    QLinearGradient red(housing.topLeft(), housing.bottomLeft());
    red.setColorAt(0, colour::kDipRed.lighter(118));
    red.setColorAt(1, colour::kDipRed.darker(120));
    p.setBrush(red);
    p.drawRoundedRect(housing, 3, 3);
    QPainterPath housingPath;
    housingPath.addRoundedRect(housing, 3, 3);
    bevel(p, housingPath, QColor(236, 120, 110), QColor(90, 14, 12), 1.0);
    for (std::size_t i = 0; i < kDip.size(); ++i) {
        const Rect& d = kDip[i];
        p.fillRect(QRectF(d.x - 2, d.y - 2, d.w + 4, d.h + 4), QColor(110, 22, 20));
        p.fillRect(QRectF(d.x - 1, d.y - 1, d.w + 2, d.h + 2), QColor(20, 18, 18));
        p.setFont(sans(9, true));
        p.setPen(QColor(255, 228, 220));
        p.drawText(QRectF(d.x - 6, housing.y() + 2, d.w + 12, 12), Qt::AlignCenter,
                   QString::number(i + 1));
        silk(p, QRectF(d.x + d.w / 2.0 - 28, housing.bottom() + 5, 56, 24),
             QString::fromLatin1(kDipLegend[i]), 8, Qt::AlignHCenter | Qt::AlignTop, 0.4);
    }
    p.setFont(sans(8, true, 0.8));
    p.setPen(QColor(255, 228, 220));
    p.drawText(QRectF(housing.right() - 34, housing.bottom() - 12, 30, 10),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("ON \u25B8"));

    // The exit key's slot, and its silkscreen.
    slot(p, toRectF(kX), 6);
    silk(p, QRectF(kX.x - 74, kX.y + 8, 68, 12), QStringLiteral("SAVE & CLOSE"), 8,
         Qt::AlignRight | Qt::AlignVCenter, 0.5);
    return image;
}

QImage circuit(int scale) {
    // The right-hand part of the bare options board: it slides in over the main window and the
    // options panel then shows the same board with its switches.
    const layout::Size size = layout::kCircuitSize;
    QImage image = canvas(size, scale);
    QPainter p(&image);
    prepare(p);
    paintBoard(p, layout::options::kSize.w - size.w);
    QPainterPath edge;
    edge.addRect(QRectF(0.5, 0.5, size.w - 1, size.h - 1));
    bevel(p, edge, QColor(60, 140, 96), QColor(8, 40, 24), 1.0);
    return image;
}

QImage printLogo(int scale) {
    // The report's logo, for white paper: an amber badge with a bolt, the name, the code year.
    const layout::Size size = layout::kLogoSize;
    QImage image = canvas(size, scale);
    image.fill(Qt::white);
    QPainter p(&image);
    prepare(p);
    const QRectF badge(6, 10, 110, 110);
    QLinearGradient enamel(badge.topLeft(), badge.bottomLeft());
    enamel.setColorAt(0, QColor(250, 194, 70));
    enamel.setColorAt(1, QColor(222, 150, 26));
    p.setPen(QPen(QColor(150, 100, 20), 3));
    p.setBrush(enamel);
    p.drawRoundedRect(badge, 22, 22);
    paintBolt(p, QRectF(badge.x() + 26, badge.y() + 14, 58, 82), QColor(34, 36, 40));

    // The name as large as fits beside the badge.
    const QString name = QStringLiteral("VOLTARO");
    int pixels = 80;
    while (pixels > 20 && QFontMetricsF(sans(pixels, true, 1.5)).horizontalAdvance(name) > 262)
        --pixels;
    p.setPen(QColor(34, 36, 40));
    p.setFont(sans(pixels, true, 1.5));
    p.drawText(QRectF(132, 4, 272, 84), Qt::AlignLeft | Qt::AlignVCenter, name);
    p.fillRect(QRectF(134, 88, 266, 3), QColor(32, 160, 111));
    p.setPen(QColor(32, 160, 111));
    p.setFont(sans(19, true, 2.2));
    p.drawText(QRectF(134, 94, 270, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("1999 NEC CALCULATOR"));
    return image;
}

}  // namespace voltaro::assets::art
