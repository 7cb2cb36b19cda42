// An image control: paints one picture and reports presses and releases of the mouse. What a
// press or release shows and does is the owner's business (the main window swaps the pictures).
#pragma once

#include <QPixmap>
#include <QWidget>

namespace voltaro::shell {

class ImageButton : public QWidget {
    Q_OBJECT

public:
    ImageButton(const QString& objectName, const QString& accessibleName, QWidget* parent);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

Q_SIGNALS:
    void pressed();
    void released();
    // A release inside the control after a press on it.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
    bool down_ = false;
};

}  // namespace voltaro::shell
