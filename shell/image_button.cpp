#include "shell/image_button.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include "shell/panel_style.h"

namespace voltaro::shell {

namespace {

// How far the ring stands outside the picture, in pixels.
constexpr int kRingMargin = 3;

// The ring: a sibling just larger than the button, above it, blind to the mouse.
class FocusRing : public QWidget {
public:
    FocusRing(QWidget* parent, ImageButton::Outline outline) : QWidget(parent), outline_(outline) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        const QRectF outer = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
        const auto draw = [&](const QColor& colour, qreal width, qreal inset) {
            p.setPen(QPen(colour, width));
            const QRectF at = outer.adjusted(inset, inset, -inset, -inset);
            if (outline_ == ImageButton::Outline::Round)
                p.drawEllipse(at);
            else
                p.drawRoundedRect(at, 4, 4);
        };
        draw(panel_style::kFocusEdge, 3.0, 0);  // a dark edge, so it shows on light art too
        draw(panel_style::kFocusRing, 1.6, 0);
    }

private:
    ImageButton::Outline outline_;
};

bool isPressKey(const QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    return modifiers == Qt::NoModifier &&
           (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
}

// An image control for screen readers: a push button whose press action clicks it.
class ImageButtonAccessible : public QAccessibleWidget {
public:
    explicit ImageButtonAccessible(ImageButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Accelerator)
            return button()->shortcut().toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    ImageButton* button() const { return static_cast<ImageButton*>(widget()); }
};

QAccessibleInterface* accessibleRole(const QString&, QObject* object) {
    if (auto* button = qobject_cast<ImageButton*>(object)) return new ImageButtonAccessible(button);
    if (object != nullptr && object->inherits("voltaro::shell::ErrWnd"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    // The main window and the panels are windows (frames) of their own, announced by their title
    // when they become active, not fillers.
    if (object != nullptr && (object->inherits("voltaro::shell::FrmMain") ||
                              object->inherits("voltaro::shell::PanelForm")))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

void useAccessibleRoles() {
    static const bool installed = [] {
        QAccessible::installFactory(&accessibleRole);
        return true;
    }();
    (void)installed;
}

ImageButton::ImageButton(const QString& objectName, const QString& accessibleName, QWidget* parent)
    : QWidget(parent) {
    useAccessibleRoles();
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void ImageButton::setPicture(const QPixmap& picture) {
    picture_ = picture;
    repaint();  // shown at once, as the program's busy waits process no events
}

void ImageButton::setShortcut(const QKeySequence& key) {
    shortcut_ = key;
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &ImageButton::click);
}

void ImageButton::click() {
    down_ = false;
    Q_EMIT pressed();
    Q_EMIT released();
    Q_EMIT clicked();
}

bool ImageButton::ringShown() const { return ring_ && ring_->isVisible(); }

void ImageButton::showRing(bool cues) {
    cues_ = cues;
    const bool show = cues_ && hasFocus() && isVisible();
    if (!show) {
        if (ring_) ring_->hide();
        return;
    }
    if (!ring_) ring_ = new FocusRing(parentWidget(), outline_);
    ring_->setGeometry(geometry().adjusted(-kRingMargin, -kRingMargin, kRingMargin, kRingMargin));
    ring_->show();
    ring_->raise();
    ring_->repaint();
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

// Any mouse button presses an image control, as on the desktop it was drawn for.
void ImageButton::mousePressEvent(QMouseEvent*) {
    showRing(false);
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

// Space or Return presses the control while the key is down, as a mouse button does.
void ImageButton::keyPressEvent(QKeyEvent* event) {
    if (!isPressKey(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->isAutoRepeat() || keyDown_ || down_) return;
    showRing(true);
    keyDown_ = down_ = true;
    Q_EMIT pressed();
}

void ImageButton::keyReleaseEvent(QKeyEvent* event) {
    if (!isPressKey(event) || event->isAutoRepeat() || !keyDown_) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    keyDown_ = down_ = false;
    Q_EMIT released();
    Q_EMIT clicked();
}

void ImageButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    switch (event->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            showRing(true);
            break;
        case Qt::MouseFocusReason:
            showRing(false);
            break;
        default:  // back in an active window, or given the focus by the program: as it was
            showRing(cues_);
    }
}

void ImageButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // A press whose key comes up elsewhere (the main window's key opened a panel) ends here,
    // without a click.
    if (keyDown_) {
        keyDown_ = down_ = false;
        Q_EMIT released();
    }
    const auto reason = event->reason();
    showRing(reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                     reason == Qt::MouseFocusReason
                 ? false
                 : cues_);
}

void ImageButton::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (ring_) ring_->hide();
}

}  // namespace voltaro::shell
