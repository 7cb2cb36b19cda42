#include "shell/panel_host.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>

#include <iostream>

#include "assets/resource_names.h"
#include "platform/surface.h"
#include "shell/effects.h"
#include "shell/frmmain.h"
#include "shell/image_button.h"
#include "shell/results_log.h"
#include "shell/session.h"
#include "shell/skin.h"

namespace voltaro::shell {

namespace sound = assets::tonebank;

PanelHost::PanelHost(SharedState& state, FrmMain& mainWindow, Effects& effects,
                     std::function<WindowId()> foreground)
    : state_(state),
      main_(mainWindow),
      effects_(effects),
      mainFace_(state, mainWindow, effects),
      context_{state, effects, mainWindow, mainFace_, std::move(foreground)} {
    main_.installEventFilter(this);
}

PanelHost::~PanelHost() {
    main_.removeEventFilter(this);
    delete current_.data();
}

void PanelHost::registerPanel(std::int16_t number, Factory factory) {
    factories_[number] = std::move(factory);
}

void PanelHost::sound(const char* name, Option guard, bool wait) {
    if (state_.OptionFlags[static_cast<std::size_t>(guard)]) effects_.P_Sound(name, wait ? 0 : 1);
}

void PanelHost::CentreMainWindow() {
    effects_.Lag(222222);
    const QScreen* screen = main_.screen();
    if (screen != nullptr) main_.move(centredPosition(screen->geometry(), main_.size()));
    QCoreApplication::processEvents();
    effects_.Lag(555555);
}

void PanelHost::LoadPanelImage(const char* name) {
    auto image = std::make_shared<platform::Surface>(state_.PanelWidth, state_.PanelHeight);
    // The reference picture only names a pixel format, and every surface has the same one.
    effects_.PicLoad(*image, *image, state_.PanelWidth, state_.PanelHeight, name);
    state_.PanelImage = std::move(image);
}

void PanelHost::activateSoon(QWidget* window) {
    // Queued: the program's own idea of the active window changes at once when the events come
    // round (what the window manager does next only confirms it), and never inside the
    // activation change that asked for it.
    QMetaObject::invokeMethod(
        this,
        [window = QPointer<QWidget>(window)] {
            if (!window || !window->isVisible()) return;
            if (!window->isActiveWindow()) QApplication::setActiveWindow(window);
            window->activateWindow();
        },
        Qt::QueuedConnection);
}

void PanelHost::printButtonOff() {
    main_.printButton()->setPicture(skinPixmap(assets::program::kPRNOFF));
}

PanelForm* PanelHost::create(std::int16_t number) {
    const auto factory = factories_.find(number);
    if (factory == factories_.end()) return nullptr;
    PanelForm* panel = factory->second(context_).release();  // it deletes itself when it unloads
    current_ = panel;
    connect(panel, &PanelForm::unloaded, this, [this](bool abandoned) {
        // Closed normally, the panel hands the user back to the main window, as closing the
        // active window activates its owner; abandoned, the user is in another program. The
        // activation comes once the panel's handler has returned (the options panel still turns
        // the key back), and before any timer that fell due meanwhile: the main timer must not
        // find no window of ours active and take it for a switch to another program.
        if (!abandoned) activateSoon(&main_);
    });
    return panel;
}

void PanelHost::open(std::int16_t number) {
    if (factories_.find(number) == factories_.end()) {
        std::cerr << "Voltaro: no panel for key " << number << "\n";
        return;
    }
    const PanelInfo& info = panelInfo(number);
    // Busy from the press on, not only from step 5: centring the window processes events, and a
    // second press (a double click) would otherwise open a second panel inside the first.
    state_.PanelBusy = true;
    if (!info.roundKey) {
        sound(sound::kTickLo, kButtonSounds, false);
        CentreMainWindow();
        state_.DisplayText.clear();
        sound(sound::kOut, kSlideSounds, false);
        state_.PanelBusy = true;
        ResetResults(state_);
        printButtonOff();
    } else {
        sound(sound::kTick, kButtonSounds, true);
        CentreMainWindow();
        state_.DisplayText.clear();
        state_.PanelBusy = true;
        state_.ResultsReady = false;  // the note flags are left as they are
        printButtonOff();
        if (number != kOptionsPanel) sound(sound::kOut, kSlideSounds, false);
    }

    if (info.side == PanelSide::Options) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        mainFace_.refreshFace();
        mainFace_.spin(1);
        state_.PanelWidth = info.size.w;
        state_.PanelHeight = info.size.h;
        QApplication::restoreOverrideCursor();
        if (PanelForm* panel = create(number)) panel->OpenOptionsPanel();
        return;
    }
    state_.PanelWidth = info.size.w;
    state_.PanelHeight = info.size.h;
    LoadPanelImage(info.picture);
    if (PanelForm* panel = create(number)) panel->SlidePanelOpen();
    if (info.displayLine != nullptr) ShowOnDisplay(state_, info.displayLine);
}

bool PanelHost::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &main_ && event->type() == QEvent::ActivationChange && main_.isActiveWindow() &&
        !main_.isEnabled() && current_ && !current_->isUnloaded()) {
        QWidget* modal = QApplication::activeModalWidget();
        activateSoon(modal != nullptr ? modal : current_.data());
        return true;  // not an activation of the main window: no refresh of its keys
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace voltaro::shell
