#include "shell/main_face.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "shell/effects.h"
#include "shell/skin.h"

namespace voltaro::shell {

// A child of the main window over all of it, painting the surface.
class MainFace::Cover : public QWidget {
public:
    Cover(QWidget& parent, const platform::Surface& surface) : QWidget(&parent), surface_(surface) {
        setObjectName(QStringLiteral("SpinFace"));
        setAccessibleName(QStringLiteral("Options key turning"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        hide();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        surface_.paint(painter, event->rect());
    }

private:
    const platform::Surface& surface_;
};

MainFace::MainFace(SharedState& state, QWidget& mainWindow, Effects& effects)
    : state_(state), mainWindow_(mainWindow), effects_(effects) {
    cover_ = new Cover(mainWindow_, surface_);
}

MainFace::~MainFace() { delete cover_.data(); }

void MainFace::refreshFace() {
    // The copy taken at start-up predates the window's picture; the spin turns the face as it is.
    state_.Face = std::make_shared<platform::Surface>(lookOf(mainWindow_));
    state_.FaceWidth = static_cast<std::int16_t>(state_.Face->width());
    state_.FaceHeight = static_cast<std::int16_t>(state_.Face->height());
}

void MainFace::spin(int direction) {
    if (!state_.Face || !cover_) return;
    if (surface_.width() != mainWindow_.width() || surface_.height() != mainWindow_.height() ||
        surface_.scale() != state_.Face->scale())
        surface_ =
            platform::Surface(mainWindow_.width(), mainWindow_.height(), state_.Face->scale());
    cover_->setGeometry(mainWindow_.rect());
    surface_.setPresentHook([this](const QRect& changed) {
        if (cover_->isHidden()) {
            cover_->show();
            cover_->raise();
            cover_->repaint();
        } else {
            cover_->repaint(changed);
        }
    });
    effects_.SpnFrm(surface_, *state_.Face, state_.FaceWidth, state_.FaceHeight, direction);
}

void MainFace::giveBaseBack() {
    if (cover_) cover_->hide();
}

bool MainFace::covering() const { return cover_ && !cover_->isHidden(); }

}  // namespace voltaro::shell
