// The application icon for the desktop's menus and task bars: the printed logo's amber badge with
// its bolt, on a transparent ground, drawn afresh at each size so that small ones stay crisp.
#include <QLinearGradient>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "assets/generator/art.h"

namespace voltaro::assets::art {

QImage appIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    prepare(p);
    // A margin of a sixteenth, as the desktop's own icons keep, except at the smallest sizes, where
    // every pixel goes to the bolt; an outline of whole pixels.
    const qreal margin = size <= 24 ? 0.0 : std::round(size / 16.0);
    const qreal line = std::max(1.0, std::round(size / 40.0));
    const QRectF badge(margin + line / 2, margin + line / 2, size - 2 * margin - line,
                       size - 2 * margin - line);
    QLinearGradient enamel(badge.topLeft(), badge.bottomLeft());
    enamel.setColorAt(0, QColor(250, 194, 70));
    enamel.setColorAt(1, QColor(222, 150, 26));
    p.setPen(QPen(QColor(150, 100, 20), line));
    p.setBrush(enamel);
    const qreal radius = badge.width() * 0.2;
    p.drawRoundedRect(badge, radius, radius);
    // The bolt in the badge where the printed logo has it (26, 14 and 58 x 82 of 110).
    const qreal w = badge.width();
    paintBolt(
        p, QRectF(badge.x() + w * 26 / 110, badge.y() + w * 14 / 110, w * 58 / 110, w * 82 / 110),
        QColor(34, 36, 40));
    return image;
}

}  // namespace voltaro::assets::art
