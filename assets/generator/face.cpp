// The main window face "BASE" and the spin frames "0B" to "9B" made from it.
#include <QLinearGradient>
#include <QPen>
#include <QRadialGradient>
#include <QtMath>

#include "assets/generator/art.h"

namespace voltaro::assets::art {

namespace {

using namespace layout::face;

// The holster's outline: a rounded body with a slight waist on both sides and a hang slot
// through its top.
QPainterPath silhouette() {
    const qreal w = kSize.w - 0.5, h = kSize.h - 0.5, l = 0.5, t = 0.5;
    const qreal top = 34, bottom = 42;  // corner radii
    const qreal waist = 6;              // how far the grip is drawn in at each side
    QPainterPath body;
    body.moveTo(l + top, t);
    body.lineTo(w - top, t);
    body.arcTo(QRectF(w - 2 * top, t, 2 * top, 2 * top), 90, -90);
    body.lineTo(w, 96);
    body.cubicTo(w, 136, w - waist, 126, w - waist, 166);
    body.lineTo(w - waist, 380);
    body.cubicTo(w - waist, 420, w, 410, w, 450);
    body.lineTo(w, h - bottom);
    body.arcTo(QRectF(w - 2 * bottom, h - 2 * bottom, 2 * bottom, 2 * bottom), 0, -90);
    body.lineTo(l + bottom, h);
    body.arcTo(QRectF(l, h - 2 * bottom, 2 * bottom, 2 * bottom), 270, -90);
    body.lineTo(l, 450);
    body.cubicTo(l, 410, l + waist, 420, l + waist, 380);
    body.lineTo(l + waist, 166);
    body.cubicTo(l + waist, 126, l, 136, l, 96);
    body.lineTo(l, t + top);
    body.arcTo(QRectF(l, t, 2 * top, 2 * top), 180, -90);
    body.closeSubpath();
    QPainterPath hole;
    hole.addRoundedRect(toRectF(kHangSlot), 5, 5);
    return body.subtracted(hole);
}

void paintHolster(QPainter& p, const QPainterPath& outline) {
    QLinearGradient fill(0, 0, kSize.w, kSize.h);
    fill.setColorAt(0, colour::kHolsterLight);
    fill.setColorAt(1, colour::kHolsterDark);
    p.fillRect(QRectF(0, 0, kSize.w, kSize.h), fill);

    // Grip ribs along both sides, in the band the panels dock over.
    p.setPen(Qt::NoPen);
    for (int y = 176; y <= 370; y += 7) {
        for (const qreal x : {10.0, kSize.w - 21.0}) {
            p.setBrush(QColor(20, 21, 24));
            p.drawRoundedRect(QRectF(x, y, 11, 2.2), 1, 1);
            p.setBrush(QColor(74, 77, 83));
            p.drawRoundedRect(QRectF(x, y + 2.2, 11, 1.0), 0.5, 0.5);
        }
    }

    // The hang slot's lip.
    QPainterPath hole;
    hole.addRoundedRect(toRectF(kHangSlot).adjusted(-1.5, -1.5, 1.5, 1.5), 6.5, 6.5);
    bevel(p, hole, colour::kRim, QColor(98, 102, 108), 2.0);

    // Rim: a soft highlight inside the top-left edge, and a dark edge all round.
    p.save();
    p.setClipPath(outline);
    bevel(p, outline, QColor(112, 116, 122), QColor(14, 14, 16), 5.0);
    p.restore();
    p.setPen(QPen(colour::kRim, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
}

void paintPlate(QPainter& p) {
    QPainterPath plate;
    plate.addRoundedRect(toRectF(kFacePlate), 14, 14);
    // A drop shadow under the raised plate, then the plate with its lit top-left edge.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(plate.translated(1.5, 2));
    p.setBrush(colour::kPlate);
    p.drawPath(plate);
    bevel(p, plate, colour::kPlateLight, colour::kShadow, 1.2);
}

void paintBrand(QPainter& p) {
    const QRectF mark = toRectF(kWordmark);
    paintBolt(p, QRectF(mark.x() + 2, mark.y() + 3, 12, 17), colour::kAmber);
    QFont font = sans(17, true, 1.6);
    p.setFont(font);
    const QRectF text(mark.x() + 19, mark.y(), mark.width() - 19, mark.height());
    p.setPen(colour::kEngrave);
    p.drawText(text.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VOLTARO"));
    p.setPen(colour::kInk);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VOLTARO"));

    // The "1999 NEC" enamel badge.
    const QRectF badge = toRectF(kBadge);
    QPainterPath shape;
    shape.addRoundedRect(badge.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    QLinearGradient enamel(badge.topLeft(), badge.bottomLeft());
    enamel.setColorAt(0, QColor(250, 194, 70));
    enamel.setColorAt(1, QColor(222, 150, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(shape.translated(1, 1.5));
    p.setBrush(enamel);
    p.drawPath(shape);
    bevel(p, shape, QColor(255, 226, 150), colour::kAmberDeep, 1.0);
    centredText(p, badge.translated(0, -0.5), QStringLiteral("1999 NEC"), sans(12, true, 0.6),
                QColor(36, 28, 12), false);
}

void paintDisplay(QPainter& p) {
    QPainterPath bezel;
    bezel.addRoundedRect(toRectF(kDisplayBezel), 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(15, 17, 16));
    p.drawPath(bezel);
    // Recessed: shaded at the top left, lit at the bottom right.
    bevel(p, bezel, colour::kShadow, colour::kPlateLight, 1.2);
    // The glass sits a little deeper still, with a dark green edge around the lit area.
    const QRectF glass = toRectF(kDisplay);
    QPainterPath edge;
    edge.addRoundedRect(glass.adjusted(-3, -3, 3, 3), 3, 3);
    p.setBrush(colour::kGlassEdge);
    p.drawPath(edge);
    p.setBrush(QColor(0, 104, 0));
    p.drawRect(glass.adjusted(-1, -1, 1, 1));
    p.fillRect(glass, colour::kGlass);
    // A faint reflection on the bezel's upper edge.
    QLinearGradient gloss(0, kDisplayBezel.y, 0, kDisplayBezel.y + 6);
    gloss.setColorAt(0, QColor(255, 255, 255, 26));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.save();
    p.setClipPath(bezel);
    p.fillRect(QRectF(kDisplayBezel.x + 10, kDisplayBezel.y + 1, kDisplayBezel.w - 20, 5), gloss);
    p.restore();
}

void sectionRule(QPainter& p, int y, const QString& title) {
    const QFont font = sans(8, true, 1.4);
    const QFontMetricsF metrics(font);
    const qreal textWidth = metrics.horizontalAdvance(title);
    const qreal left = kFacePlate.x + 12, right = kFacePlate.right() - 12;
    const qreal mid = (left + right) / 2;
    const QRectF box(mid - textWidth / 2 - 2, y - 6, textWidth + 4, 12);
    centredText(p, box, title, font, colour::kInkDim);
    for (const auto& [a, b] :
         {std::pair{left, box.left() - 6}, std::pair{box.right() + 6, right}}) {
        p.fillRect(QRectF(a, y - 0.5, b - a, 1), colour::kEngrave);
        p.fillRect(QRectF(a, y + 0.5, b - a, 1), QColor(58, 61, 67));
    }
}

QRectF captionBox(const layout::Rect& key, int width) {
    return QRectF(key.centreX() - width / 2.0, key.bottom() + kCaptionGap, width, kCaptionHeight);
}

void paintKeys(QPainter& p, int litSpinLights, bool optionsLit) {
    const QFont captionFont = sans(9, true, 0.5);
    for (std::size_t i = 0; i < kSmSq.size(); ++i) {
        slot(p, toRectF(kSmSq[i]), 6);
        centredText(p, captionBox(kSmSq[i], 100), QString::fromLatin1(kSmSqCaption[i]), captionFont,
                    colour::kInk);
    }
    for (std::size_t i = 0; i < kSmRnd.size(); ++i) {
        const QPointF centre(kSmRnd[i].x + kSmRnd[i].w / 2.0, kSmRnd[i].y + kSmRnd[i].h / 2.0);
        // A brushed bezel ring around a deep cup; the key image fills the cup's middle.
        QRadialGradient ring(centre, kRingOuter);
        ring.setColorAt(qreal(kRingInner) / kRingOuter, QColor(92, 96, 103));
        ring.setColorAt(1.0, QColor(52, 55, 60));
        QPainterPath bezelPath;
        bezelPath.addEllipse(centre, kRingOuter, kRingOuter);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 80));
        p.drawPath(bezelPath.translated(1, 1.5));
        p.setBrush(ring);
        p.drawPath(bezelPath);
        bevel(p, bezelPath, QColor(130, 134, 140), colour::kShadow, 1.0);
        QPainterPath cup;
        cup.addEllipse(centre, kRingInner, kRingInner);
        p.setBrush(cupBrush(centre));
        p.drawPath(cup);
        bevel(p, cup, colour::kShadow, QColor(70, 74, 80), 1.2);

        const bool options = i == 2;
        if (options) {
            // Ten lights round the options ring, clockwise from the top.
            for (int j = 0; j < 10; ++j) {
                const qreal angle = qDegreesToRadians(-90.0 + 36.0 * j);
                const QPointF at =
                    centre + QPointF(std::cos(angle), std::sin(angle)) * kSpinLightRadius;
                const bool lit = j < litSpinLights;
                const bool head = lit && j == litSpinLights - 1;
                p.setBrush(QColor(12, 12, 14));
                p.drawEllipse(at, 2.4, 2.4);
                if (lit) {
                    QRadialGradient glow(at, 2.2);
                    glow.setColorAt(0, head ? QColor(255, 244, 200) : QColor(255, 214, 110));
                    glow.setColorAt(1, head ? colour::kAmber : QColor(214, 140, 24));
                    p.setBrush(glow);
                } else {
                    p.setBrush(colour::kAmberOff);
                }
                p.drawEllipse(at, 1.7, 1.7);
            }
        }
        const QColor captionColour = options && optionsLit ? colour::kAmber : colour::kInk;
        centredText(p, captionBox(kSmRnd[i], 68).translated(0, kRingOuter - kSmRnd[i].h / 2.0),
                    QString::fromLatin1(kSmRndCaption[i]), captionFont, captionColour);
    }
    slot(p, toRectF(kPrnBut), 6);
    slot(p, toRectF(kOffBut), 6);
}

void paintGrille(QPainter& p) {
    const QRectF g = toRectF(kGrille);
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 11; ++col) {
            const QPointF at(g.x() + 3 + col * 5.4 + (row % 2) * 2.7, g.y() + 2 + row * 4.2);
            p.setBrush(QColor(74, 78, 84));
            p.drawEllipse(at + QPointF(0.4, 0.6), 1.4, 1.4);
            p.setBrush(colour::kShadow);
            p.drawEllipse(at, 1.4, 1.4);
        }
    }
}

}  // namespace

QImage face(int scale, int litSpinLights, bool optionsLit) {
    const QPainterPath outline = silhouette();

    QImage body = canvas(kSize, scale);
    body.fill(colour::kHolsterDark);
    {
        QPainter p(&body);
        prepare(p);
        paintHolster(p, outline);
        paintPlate(p);
        paintBrand(p);
        paintDisplay(p);
        sectionRule(p, kCalculateRuleY, QStringLiteral("CALCULATE"));
        sectionRule(p, kLookupRuleY, QStringLiteral("LOOK UP  \u00B7  SET UP"));
        paintKeys(p, litSpinLights, optionsLit);
        paintGrille(p);
    }

    // The window's shape is cut from the key colour, one pixel or none: a pixel at least half
    // inside the outline belongs to the body, everything else is the key colour exactly. At 2x
    // that is decided for each of the finer pixels, so the outline is as exact as the screen.
    QImage coverage = canvas(kSize, scale, QImage::Format_Grayscale8);
    coverage.fill(0);
    {
        QPainter p(&coverage);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.fillPath(outline, Qt::white);
    }
    QImage out = canvas(kSize, scale);
    for (int y = 0; y < out.height(); ++y) {
        const uchar* cover = coverage.constScanLine(y);
        const auto* in = reinterpret_cast<const QRgb*>(body.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            to[x] = cover[x] >= 128 ? in[x] : (0xff000000u | kKeyColour);
    }
    return out;
}

QImage spinFrame(int index, int scale) {
    // Frame i lights i + 1 of the ring's lights (frame 0 one, frame 9 all ten) and, from frame 1
    // on, the options caption. Only the pixels that differ from the face are stored; the rest is
    // white, which shows the face through. A stored component of 255 would also show the face's
    // component, so changed colours are held to 254 at most.
    const QImage base = face(scale);
    const QImage lit = face(scale, index + 1, index >= 1);
    QImage frame = canvas(kSize, scale);
    for (int y = 0; y < base.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(base.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(lit.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(frame.scanLine(y));
        for (int x = 0; x < base.width(); ++x) {
            if (a[x] == b[x]) {
                to[x] = 0xffffffffu;
            } else {
                to[x] = qRgb(std::min(qRed(b[x]), 254), std::min(qGreen(b[x]), 254),
                             std::min(qBlue(b[x]), 254));
            }
        }
    }
    return frame;
}

}  // namespace voltaro::assets::art
