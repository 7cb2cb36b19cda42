#include "shell/panel_host.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>

#include <iostream>
#include <set>
#include <stdexcept>
#include <utility>

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

std::optional<std::string> checkPanelTable(const std::vector<PanelRow>& rows) {
    std::set<std::int16_t> numbers;
    std::set<std::pair<PanelKey, int>> keys;
    std::set<std::string> entries;
    for (const PanelRow& row : rows) {
        const std::string name = row.title != nullptr ? row.title : "a panel without a title";
        if (row.number <= 0) return name + ": panel number " + std::to_string(row.number);
        if (!numbers.insert(row.number).second)
            return name + ": panel number " + std::to_string(row.number) + " is taken";
        if (row.key == PanelKey::Menu) {
            if (row.menuEntry == nullptr || *row.menuEntry == '\0')
                return name + ": a menu row needs its entry";
            if (!entries.insert(row.menuEntry).second) return name + ": its menu entry is taken";
        } else {
            const auto keysOnFace =
                static_cast<int>(row.key == PanelKey::Square ? assets::layout::face::kSmSq.size()
                                                             : assets::layout::face::kSmRnd.size());
            if (row.keyIndex < 0 || row.keyIndex >= keysOnFace)
                return name + ": no key " + std::to_string(row.keyIndex) + " on the face";
            if (!keys.insert({row.key, row.keyIndex}).second) return name + ": its key is taken";
        }
        if (!row.factory) return name + ": no factory";
        if (row.formName == nullptr || row.picture == nullptr || row.size.w <= 0 || row.size.h <= 0)
            return name + ": no form name, picture or size";
    }
    return std::nullopt;
}

PanelHost::PanelHost(SharedState& state, FrmMain& mainWindow, Effects& effects,
                     std::function<WindowId()> foreground, std::vector<PanelRow> rows)
    : state_(state),
      main_(mainWindow),
      effects_(effects),
      mainFace_(state, mainWindow, effects),
      context_{state, effects, mainWindow, mainFace_, std::move(foreground)},
      rows_(std::move(rows)) {
    if (const auto wrong = checkPanelTable(rows_))
        throw std::invalid_argument("the panel table: " + *wrong);
    main_.installEventFilter(this);
}

PanelHost::~PanelHost() {
    main_.removeEventFilter(this);
    delete current_.data();
}

const PanelRow& PanelHost::row(std::int16_t number) const {
    for (const PanelRow& row : rows_)
        if (row.number == number) return row;
    throw std::out_of_range("no panel " + std::to_string(number));
}

void PanelHost::registerPanel(std::int16_t number, PanelFactory factory) {
    const_cast<PanelRow&>(row(number)).factory = std::move(factory);
}

void PanelHost::sound(const char* name, Option guard, bool wait) {
    if (state_.OptionFlags[static_cast<std::size_t>(guard)]) effects_.P_Sound(name, wait ? 0 : 1);
}

void PanelHost::CentreMainWindow() {
    effects_.Lag(kCentreBeforeTicks);
    const QScreen* screen = main_.screen();
    if (screen != nullptr) main_.move(centredPosition(screen->geometry(), main_.size()));
    QCoreApplication::processEvents();
    effects_.Lag(kCentreAfterTicks);
}

void PanelHost::LoadPanelImage(const char* name) {
    auto image =
        std::make_shared<platform::Surface>(state_.PanelWidth, state_.PanelHeight, skinScale());
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

PanelForm* PanelHost::create(const PanelRow& row) {
    PanelForm* panel = row.factory(context_, row).release();  // it deletes itself when it unloads
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

bool PanelHost::open(std::int16_t number) {
    for (const PanelRow& row : rows_) {
        if (row.number != number) continue;
        openRow(row);
        return true;
    }
    std::cerr << "Voltaro: no panel " << number << "\n";
    return false;
}

bool PanelHost::openKey(PanelKey key, int index) {
    for (const PanelRow& row : rows_) {
        if (row.key != key || row.keyIndex != index) continue;
        openRow(row);
        return true;
    }
    std::cerr << "Voltaro: no panel for key " << index << "\n";
    return false;
}

void PanelHost::openRow(const PanelRow& row) {
    // Busy from the press on: centring the window processes events, and a second press (a double
    // click) would otherwise open a second panel inside the first.
    state_.PanelBusy = true;
    if (row.pressSound != nullptr) sound(row.pressSound, kButtonSounds, row.pressSoundWaited);
    CentreMainWindow();
    state_.DisplayText.clear();
    if (row.slideSound != nullptr) sound(row.slideSound, kSlideSounds, false);
    state_.PanelBusy = true;
    if (row.resetsNotes)
        ResetResults(state_);
    else
        state_.ResultsReady = false;  // the note flags are left as they are
    printButtonOff();
    state_.PanelWidth = row.size.w;
    state_.PanelHeight = row.size.h;

    if (row.side == PanelSide::Options) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        mainFace_.refreshFace();
        mainFace_.spin(1);
        QApplication::restoreOverrideCursor();
        create(row)->OpenOptionsPanel();
        return;
    }
    LoadPanelImage(row.picture);
    create(row)->SlidePanelOpen();
    if (row.displayLine != nullptr) ShowOnDisplay(state_, row.displayLine);
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
