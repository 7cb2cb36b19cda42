#include "shell/image_button.h"

#include <QMouseEvent>
#include <QPainter>

namespace voltaro::shell {

ImageButton::ImageButton(const QString& objectName, const QString& accessibleName, QWidget* parent)
    : QWidget(parent) {
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::setPicture(const QPixmap& picture) {
    picture_ = picture;
    repaint();  // shown at once, as the program's busy waits process no events
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

// Any mouse button presses an image control, as on the desktop it was drawn for.
void ImageButton::mousePressEvent(QMouseEvent*) {
    down_ = true;
    Q_EMIT pressed();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool inside = rect().contains(event->position().toPoint());
    const bool wasDown = down_;
    down_ = false;
    Q_EMIT released();
    if (wasDown && inside) Q_EMIT clicked();
}

}  // namespace voltaro::shell
