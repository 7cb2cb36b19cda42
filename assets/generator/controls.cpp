// The small control pictures: the main window's keys and buttons, and the panels' buttons,
// knob and dip switch. Each sits in a recessed slot of the picture below it, so its background
// is the slot's colour and its edges meet the slot without a seam.
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPen>
#include <QRadialGradient>
#include <QtMath>

#include "assets/generator/art.h"

namespace voltaro::assets::art {

namespace {

QImage blank(layout::Size size, int scale) {
    QImage image = canvas(size, scale);
    image.fill(colour::kWell);
    return image;
}

// A keycap: raised and lit from the top left; pressed, it sits a pixel lower and to the right,
// darker, with its shadow gone.
void keycap(QPainter& p, const QPainterPath& shape, bool pressed, const QColor& top,
            const QColor& bottom) {
    const QPainterPath cap = pressed ? shape.translated(1, 1) : shape;
    const QRectF box = cap.boundingRect();
    p.setPen(Qt::NoPen);
    if (!pressed) {
        p.setBrush(QColor(0, 0, 0, 150));
        p.drawPath(shape.translated(1, 1.5));
    }
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, pressed ? top.darker(118) : top);
    fill.setColorAt(1, pressed ? bottom.darker(118) : bottom);
    p.setBrush(fill);
    p.drawPath(cap);
    if (pressed)
        bevel(p, cap, colour::kShadow, top.darker(105), 1.0);
    else
        bevel(p, cap, top.lighter(150), colour::kShadow, 1.0);
}

void led(QPainter& p, const QPointF& at, qreal radius, const QColor& on, bool lit) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kShadow);
    p.drawEllipse(at, radius + 0.8, radius + 0.8);
    if (lit) {
        QRadialGradient glow(at - QPointF(radius / 3, radius / 3), radius * 1.2);
        glow.setColorAt(0, on.lighter(150));
        glow.setColorAt(1, on);
        p.setBrush(glow);
    } else {
        p.setBrush(on.darker(420));
    }
    p.drawEllipse(at, radius, radius);
}

const QColor kCapTop{104, 109, 117};
const QColor kCapBottom{62, 65, 71};

}  // namespace

// A soft sheen over the upper half of a cap: light from above.
void sheen(QPainter& p, const QPainterPath& cap) {
    const QRectF box = cap.boundingRect();
    QLinearGradient gloss(box.topLeft(), QPointF(box.left(), box.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 46));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.save();
    p.setClipPath(cap);
    p.fillRect(QRectF(box.left(), box.top(), box.width(), box.height() / 2), gloss);
    p.restore();
}

QImage squareKey(bool pressed, int scale) {
    QImage image = blank(layout::kSquareKeySize, scale);
    QPainter p(&image);
    prepare(p);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(1.5, 1.5, 31, 31), 6, 6);
    keycap(p, shape, pressed, kCapTop, kCapBottom);
    const qreal d = pressed ? 1 : 0;
    if (!pressed) sheen(p, shape);
    // The key's lamp, a short bar: amber while its panel is open.
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kShadow);
    p.drawRoundedRect(QRectF(10 + d, 23 + d, 14, 4.5), 2.2, 2.2);
    p.setBrush(pressed ? colour::kAmber : colour::kAmberOff);
    p.drawRoundedRect(QRectF(11 + d, 24 + d, 12, 2.5), 1.2, 1.2);
    return image;
}

QImage roundKey(bool pressed, int scale) {
    QImage image = blank(layout::kRoundKeySize, scale);
    const QPointF c(layout::kRoundKeySize.w / 2.0, layout::kRoundKeySize.h / 2.0);
    QPainter p(&image);
    prepare(p);
    p.fillRect(QRectF(QPointF(), image.deviceIndependentSize()), cupBrush(c));
    QPainterPath shape;
    shape.addEllipse(c, 15.5, 15.5);
    keycap(p, shape, pressed, kCapTop, kCapBottom);
    const qreal d = pressed ? 1 : 0;
    if (!pressed) sheen(p, shape);
    QPainterPath dish;
    dish.addEllipse(c + QPointF(d, d), 9.5, 9.5);
    bevel(p, dish, QColor(0, 0, 0, 70), QColor(255, 255, 255, 40), 1.0);
    led(p, c + QPointF(d, d), 2.0, colour::kAmber, pressed);
    return image;
}

namespace {

// The print and exit buttons: a wide cap with an icon and a legend, and a lamp at its left.
QImage wideButton(bool pressed, bool available, const QString& legend,
                  const std::function<void(QPainter&, const QPointF&, const QColor&)>& icon,
                  const QColor& iconColour, const QColor* lamp, int scale) {
    QImage image = blank(layout::kButtonSize, scale);
    QPainter p(&image);
    prepare(p);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(1.5, 1.5, 82, 27), 6, 6);
    if (available) {
        keycap(p, shape, pressed, kCapTop, kCapBottom);
    } else {
        // Unavailable: flat, sunk in its slot, nothing lit.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 42, 46));
        p.drawPath(shape);
        bevel(p, shape, QColor(56, 59, 64), colour::kShadow, 1.0);
    }
    const qreal d = pressed ? 1 : 0;
    if (lamp != nullptr) led(p, QPointF(11.5 + d, 15 + d), 2.2, *lamp, available);
    const QColor ink = available ? colour::kInk : QColor(84, 88, 94);
    // Icon and legend centred together in the room right of the lamp.
    const QFont font = sans(11, true, 0.8);
    const qreal iconWidth = 14, gap = 6;
    const qreal textWidth = QFontMetricsF(font).horizontalAdvance(legend);
    const qreal roomLeft = lamp != nullptr ? 18 : 4, roomRight = 81;
    const qreal left = roomLeft + (roomRight - roomLeft - iconWidth - gap - textWidth) / 2 + d;
    icon(p, QPointF(left + iconWidth / 2, 15 + d), available ? iconColour : QColor(84, 88, 94));
    const QRectF text(left + iconWidth + gap, 2 + d, textWidth + 4, 26);
    p.setFont(font);
    if (available) {
        p.setPen(colour::kEngrave);
        p.drawText(text.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter, legend);
    }
    p.setPen(ink);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, legend);
    return image;
}

void printerIcon(QPainter& p, const QPointF& c, const QColor& ink) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(c.x() - 7, c.y() - 2.5, 14, 6.5), 1.5, 1.5);  // body
    p.drawRect(QRectF(c.x() - 4, c.y() - 7, 8, 4));                        // paper in
    p.setBrush(colour::kWell);
    p.drawRect(QRectF(c.x() - 4, c.y() + 1.5, 8, 1.2));
    p.setBrush(ink);
    p.drawRect(QRectF(c.x() - 4, c.y() + 2.7, 8, 4.3));  // page out
    p.restore();
}

void powerIcon(QPainter& p, const QPointF& c, const QColor& ink) {
    p.save();
    QPen pen(ink, 2.0, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF ring(c.x() - 6, c.y() - 5, 12, 12);
    p.drawArc(ring, (90 + 40) * 16, (360 - 80) * 16);
    p.drawLine(QPointF(c.x(), c.y() - 7), QPointF(c.x(), c.y() + 0.5));
    p.restore();
}

}  // namespace

QImage printButton(PrintState state, int scale) {
    const QColor lamp = colour::kReadyGreen;
    return wideButton(state == PrintState::Down, state != PrintState::Off, QStringLiteral("PRINT"),
                      printerIcon, colour::kInk, &lamp, scale);
}

QImage exitButton(bool pressed, int scale) {
    return wideButton(pressed, true, QStringLiteral("OFF"), powerIcon, colour::kPowerRed, nullptr,
                      scale);
}

QImage doneButton(bool pressed, int scale) {
    // The panels' main action: an amber key, "ENTER" with a return arrow.
    QImage image = blank(layout::kDneSize, scale);
    QPainter p(&image);
    prepare(p);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(1.5, 1.5, 69, 25), 6, 6);
    keycap(p, shape, pressed, QColor(248, 190, 70), QColor(206, 136, 22));
    const qreal d = pressed ? 1 : 0;
    const QColor ink(40, 28, 8);
    p.setFont(sans(11, true, 1.0));
    p.setPen(QColor(255, 226, 150));
    const QRectF text(8 + d, 2 + d, 46, 24);
    p.drawText(text.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ENTER"));
    p.setPen(ink);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ENTER"));
    // The return arrow.
    QPen pen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    const qreal x = 60 + d, y = 14 + d;
    p.drawPolyline(QPolygonF({QPointF(x, y - 5), QPointF(x, y), QPointF(x - 8, y)}));
    p.drawPolyline(QPolygonF({QPointF(x - 5, y - 3), QPointF(x - 8, y), QPointF(x - 5, y + 3)}));
    return image;
}

QImage closeButton(bool pressed, int scale) {
    QImage image = blank(layout::kXSize, scale);
    QPainter p(&image);
    prepare(p);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(1.5, 1.5, 28, 25), 6, 6);
    keycap(p, shape, pressed, kCapTop, kCapBottom);
    const qreal d = pressed ? 1 : 0;
    const QPointF c(15 + d, 13.5 + d);
    p.setPen(QPen(colour::kEngrave, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-4.5, -3.5), c + QPointF(4.5, 5.5));
    p.drawLine(c + QPointF(4.5, -3.5), c + QPointF(-4.5, 5.5));
    p.setPen(QPen(colour::kPowerRed.lighter(110), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-4.5, -4.5), c + QPointF(4.5, 4.5));
    p.drawLine(c + QPointF(4.5, -4.5), c + QPointF(-4.5, 4.5));
    return image;
}

QImage knob(bool flag, int scale) {
    // A two-position rotary knob: pointing up and to the right (at the upper caption) for a true
    // flag, down and to the right (at the lower one) for a false flag.
    QImage image = blank(layout::kKnobSize, scale);
    QPainter p(&image);
    prepare(p);
    const QPointF c(17.5, 17.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawEllipse(c + QPointF(1, 1.5), 15, 15);
    // Knurled skirt.
    QRadialGradient skirt(c - QPointF(5, 5), 22);
    skirt.setColorAt(0, QColor(120, 125, 133));
    skirt.setColorAt(1, QColor(46, 48, 53));
    p.setBrush(skirt);
    p.drawEllipse(c, 15, 15);
    p.setPen(QPen(QColor(30, 31, 35), 1.0));
    for (int i = 0; i < 36; ++i) {
        const qreal a = qDegreesToRadians(i * 10.0);
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(c + dir * 12.8, c + dir * 14.6);
    }
    // Domed top.
    QRadialGradient dome(c - QPointF(4, 4), 14);
    dome.setColorAt(0, QColor(150, 155, 163));
    dome.setColorAt(1, QColor(70, 74, 80));
    p.setPen(Qt::NoPen);
    p.setBrush(dome);
    p.drawEllipse(c, 11.5, 11.5);
    QPainterPath top;
    top.addEllipse(c, 11.5, 11.5);
    bevel(p, top, QColor(190, 194, 200), colour::kShadow, 1.0);
    // Pointer.
    const qreal angle = qDegreesToRadians(flag ? -35.0 : 35.0);
    const QPointF dir(std::cos(angle), std::sin(angle));
    p.setPen(QPen(colour::kEngrave, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + dir * 2.5, c + dir * 10.5);
    p.setPen(QPen(colour::kAmber, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + dir * 2.5, c + dir * 10.5);
    return image;
}

QImage dip(bool on, int scale) {
    // A slide switch seen from above: a dark slot with an ivory slider, right for on.
    QImage image = canvas(layout::kDipSize, scale);
    image.fill(QColor(24, 22, 22));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(0, 0, 15, 1, QColor(12, 11, 11));
    p.fillRect(0, 0, 1, 7, QColor(12, 11, 11));
    const int x = on ? 8 : 1;
    p.fillRect(x, 1, 6, 5, QColor(236, 230, 212));
    p.fillRect(x, 1, 6, 1, QColor(252, 250, 242));
    p.fillRect(x + 5, 1, 1, 5, QColor(168, 160, 140));
    p.fillRect(x, 5, 6, 1, QColor(168, 160, 140));
    p.fillRect(x + 2, 2, 2, 3, QColor(200, 192, 172));  // the finger grip
    // The uncovered end of the slot shows the housing's "on" tint when the switch is on.
    if (on) p.fillRect(2, 3, 4, 1, QColor(120, 40, 36));
    return image;
}

}  // namespace voltaro::assets::art
