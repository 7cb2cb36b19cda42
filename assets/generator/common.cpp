#include "assets/generator/art.h"

#include <QLinearGradient>
#include <QPen>
#include <QRadialGradient>

namespace voltaro::assets::art {

QFont sans(int pixelSize, bool bold, qreal letterSpacing) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    if (letterSpacing != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return font;
}

QImage canvas(layout::Size size, int scale, QImage::Format format) {
    QImage image(size.w * scale, size.h * scale, format);
    image.setDevicePixelRatio(scale);
    return image;
}

void prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void bevel(QPainter& painter, const QPainterPath& path, const QColor& light, const QColor& dark,
           qreal width) {
    const QRectF box = path.boundingRect();
    QLinearGradient gradient(box.topLeft(), box.bottomRight());
    gradient.setColorAt(0.0, light);
    gradient.setColorAt(0.45, light);
    gradient.setColorAt(0.55, dark);
    gradient.setColorAt(1.0, dark);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(gradient), width));
    painter.drawPath(path);
    painter.restore();
}

void centredText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                 const QColor& colour, bool engraved) {
    painter.save();
    painter.setFont(font);
    if (engraved) {
        painter.setPen(colour::kEngrave);
        painter.drawText(box.translated(0, 1), Qt::AlignCenter, text);
    }
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

QBrush cupBrush(const QPointF& centre) {
    QRadialGradient gradient(centre, layout::face::kRingInner);
    gradient.setColorAt(0.0, QColor(12, 13, 15));
    gradient.setColorAt(0.62, QColor(16, 17, 19));
    gradient.setColorAt(1.0, QColor(34, 36, 40));
    return QBrush(gradient);
}

void slot(QPainter& painter, const QRectF& r, qreal radius) {
    QPainterPath path;
    const QRectF outer = r.adjusted(-2.5, -2.5, 2.5, 2.5);
    path.addRoundedRect(outer, radius + 2, radius + 2);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour::kWell);
    painter.drawPath(path);
    painter.restore();
    // A recess: shaded at its top-left lip, catching light at its bottom-right one.
    bevel(painter, path, colour::kShadow, colour::kPlateLight, 1.0);
}

void paintBolt(QPainter& p, const QRectF& box, const QColor& colour) {
    const qreal x = box.x(), y = box.y(), w = box.width(), h = box.height();
    QPainterPath bolt;
    bolt.moveTo(x + 0.62 * w, y);
    bolt.lineTo(x + 0.08 * w, y + 0.58 * h);
    bolt.lineTo(x + 0.46 * w, y + 0.58 * h);
    bolt.lineTo(x + 0.34 * w, y + h);
    bolt.lineTo(x + 0.92 * w, y + 0.40 * h);
    bolt.lineTo(x + 0.54 * w, y + 0.40 * h);
    bolt.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(bolt);
}

}  // namespace voltaro::assets::art
