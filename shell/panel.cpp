#include "shell/panel.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cassert>

#include "assets/resource_names.h"
#include "shell/effects.h"
#include "shell/errwnd.h"
#include "shell/image_button.h"
#include "shell/results_log.h"
#include "shell/skin.h"
#include "shell/slide_player.h"

namespace voltaro::shell {

namespace layout = assets::layout;
namespace bitmap = assets::program;
namespace sound = assets::tonebank;

namespace {

// The region of the columns that are set, one rectangle per run.
QRegion columnsRegion(const std::vector<bool>& columns, int height) {
    QRegion region;
    const int width = static_cast<int>(columns.size());
    for (int x = 0; x < width;) {
        if (!columns[static_cast<std::size_t>(x)]) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < width && columns[static_cast<std::size_t>(x)]) ++x;
        region += QRect(start, 0, x - start, height);
    }
    return region;
}

}  // namespace

PanelForm::PanelForm(PanelContext& context, const PanelRow& info)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), context_(context), info_(info) {
    setObjectName(QString::fromLatin1(info.formName));
    setWindowTitle(QString::fromLatin1(info.title));
    setAccessibleName(QString::fromLatin1(info.title));
    // The panel paints every pixel itself, from its surface.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    PanelT.setInterval(info.timerMs);
    connect(&PanelT, &QTimer::timeout, this, &PanelForm::PanelT_Timer);
}

PanelForm::~PanelForm() = default;

void PanelForm::registerControl(QWidget* control, const assets::layout::Rect& at) {
    control->setParent(this);
    control->setGeometry(at.x, at.y, at.w, at.h);
    control->hide();
    controls_.emplace_back(control);
}

namespace {

// A picture button showing `up`, and `down` while it is pressed.
ImageButton* pictureButton(QWidget* panel, const QString& objectName, const QString& name,
                           const char* up, const char* down) {
    auto* button = new ImageButton(objectName, name, panel);
    button->setPicture(skinPixmap(up));
    QObject::connect(button, &ImageButton::pressed, panel,
                     [button, down] { button->setPicture(skinPixmap(down)); });
    QObject::connect(button, &ImageButton::released, panel,
                     [button, up] { button->setPicture(skinPixmap(up)); });
    return button;
}

}  // namespace

ImageButton* PanelForm::addDneButton(const assets::layout::Rect& at, const QString& accessibleName,
                                     const QString& objectName) {
    return addControl(
        pictureButton(this, objectName, accessibleName, bitmap::kDNE_U, bitmap::kDNE_D), at);
}

ImageButton* PanelForm::addXButton(const assets::layout::Rect& at, const QString& objectName) {
    auto* button =
        pictureButton(this, objectName, QStringLiteral("Exit"), bitmap::kX_UP, bitmap::kX_DN);
    button->setToolTip(QStringLiteral("Exit"));
    return addControl(button, at);
}

std::array<ImageButton*, 2> CalculatorForm::addDneButtons(const assets::layout::Rect& dne,
                                                          const QString& dneTip,
                                                          const assets::layout::Rect& x,
                                                          const QString& xTip) {
    std::array<ImageButton*, 2> buttons{addDneButton(dne, dneTip), addXButton(x)};
    dneButtons_ = buttons;
    buttons[0]->setToolTip(dneTip);
    buttons[1]->setToolTip(xTip);
    buttons[1]->setAccessibleName(xTip);
    for (int i = 0; i < 2; ++i)
        connect(buttons[static_cast<std::size_t>(i)], &ImageButton::clicked, this,
                [this, i] { DneBut_Click(i); });
    return buttons;
}

void CalculatorForm::leaving() {
    for (auto* list : findChildren<QComboBox*>()) list->hidePopup();
}

void CalculatorForm::firstTick() {
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        auto* list = qobject_cast<QComboBox*>(control);
        QLineEdit* box = list != nullptr ? list->lineEdit() : qobject_cast<QLineEdit*>(control);
        if (box == nullptr) continue;
        control->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return;
    }
}

void CalculatorForm::leaveByKey() {
    if (dneButtons_[1] != nullptr && dneButtons_[1]->isVisible()) dneButtons_[1]->click();
}

void CalculatorForm::calculateByKey() {
    if (dneButtons_[0] != nullptr && dneButtons_[0]->isVisible()) dneButtons_[0]->click();
}

void PanelForm::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        leaveByKey();
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
               modifiers == Qt::ControlModifier) {
        calculateByKey();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void CalculatorForm::DneBut_Click(int index) {
    if (isUnloaded() || isClosing() || !acceptsPress()) return;
    playButtonSound();
    if (index == 0) {
        const calc::Outcome outcome = calculate();
        if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
            // The panel stays open with everything as typed, unless the user left meanwhile.
            if (showError(failure->message)) state().ErrorShown = false;
            return;
        }
        if (!publish(std::get<calc::Answer>(outcome))) return;
    }
    if (!beginClosing()) return;
    leaving();
    closePanel();
}

namespace {

// Enter in one of the boxes moves to the next enabled one, the last back to the first; Tab
// follows the panel's own order.
class BoxChain : public QObject {
public:
    BoxChain(std::vector<QWidget*> boxes, QObject* parent)
        : QObject(parent), boxes_(std::move(boxes)) {
        for (QWidget* box : boxes_) box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* press = static_cast<QKeyEvent*>(event);
        if ((press->key() != Qt::Key_Return && press->key() != Qt::Key_Enter) ||
            press->modifiers().testFlag(Qt::ControlModifier))  // Ctrl+Return calculates
            return false;
        const auto from = std::find(boxes_.begin(), boxes_.end(), watched);
        if (from == boxes_.end()) return false;
        if (auto* list = qobject_cast<QComboBox*>(*from)) list->hidePopup();
        auto next = from;
        do {
            next = std::next(next) == boxes_.end() ? boxes_.begin() : std::next(next);
        } while (!(*next)->isEnabled() && next != from);
        (*next)->setFocus(Qt::TabFocusReason);
        auto* list = qobject_cast<QComboBox*>(*next);
        if (QLineEdit* box = list != nullptr ? list->lineEdit() : qobject_cast<QLineEdit*>(*next))
            box->selectAll();
        return true;
    }

private:
    std::vector<QWidget*> boxes_;
};

}  // namespace

void PanelForm::pairBoxes(QLineEdit* first, QLineEdit* second) {
    setTabOrder(first, second);
    chainBoxes({first, second});
}

void PanelForm::chainBoxes(const std::vector<QWidget*>& boxes) { new BoxChain(boxes, this); }

PanelForm::Knob* PanelForm::addKnob(const assets::layout::Rect& at, const QString& objectName,
                                    const QString& subject, std::array<QLabel*, 2> captions,
                                    bool& upper, std::function<void()> shown) {
    auto* button = addControl(new ImageButton(objectName, subject, this), at);
    button->setToolTip(QStringLiteral("Click to Toggle"));
    button->setOutline(ImageButton::Outline::Round);
    return new Knob(*this, button, subject, captions, upper, std::move(shown));
}

PanelForm::Knob::Knob(PanelForm& panel, ImageButton* button, QString subject,
                      std::array<QLabel*, 2> captions, bool& upper, std::function<void()> shown)
    : QObject(button),
      panel_(panel),
      button_(button),
      subject_(std::move(subject)),
      captions_(captions),
      upper_(upper),
      shown_(std::move(shown)) {
    button->installEventFilter(this);
    connect(button, &ImageButton::clicked, this, &Knob::turn);
}

void PanelForm::Knob::show() {
    button_->setPicture(skinPixmap(upper_ ? bitmap::kKNOB_U : bitmap::kKNOB_D));
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        QPalette palette = captions_[i]->palette();
        palette.setColor(QPalette::WindowText, (i == 0) == upper_ ? kLit : kUnlit);
        captions_[i]->setPalette(palette);
    }
    button_->setAccessibleName(
        QStringLiteral("%1: %2").arg(subject_, captions_[upper_ ? 0 : 1]->text()));
    if (shown_) shown_();
}

void PanelForm::Knob::turn() {
    if (panel_.isUnloaded()) return;
    upper_ = !upper_;
    show();
    panel_.playButtonSound();
}

bool PanelForm::Knob::eventFilter(QObject* watched, QEvent* event) {
    if (watched == button_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool up = key == Qt::Key_Up || key == Qt::Key_Left;
        if (up || key == Qt::Key_Down || key == Qt::Key_Right) {
            if (upper_ != up) turn();
            return true;
        }
    }
    return false;
}

void PanelForm::playButtonSound() { playSound(sound::kTick, kButtonSounds, true); }

void PanelForm::playSound(const char* name, Option guard, bool wait) {
    if (state().OptionFlags[static_cast<std::size_t>(guard)]) effects().P_Sound(name, wait ? 0 : 1);
}

bool PanelForm::showError(const std::string& message) {
    NestedScope nested(*this);
    ShowError(state(), message, this);
    return !unloaded_;
}

std::vector<history::Input> PanelForm::typedInputs() {
    std::vector<history::Input> inputs;
    for (const auto& control : controls_) {
        if (!control) continue;
        QString value;
        if (const auto* box = qobject_cast<const QLineEdit*>(control.data()))
            value = box->text();
        else if (const auto* list = qobject_cast<const QListWidget*>(control.data());
                 list != nullptr && list->currentItem() != nullptr &&
                 list->currentItem()->isSelected())
            value = list->currentItem()->text();
        else if (const auto* bar = qobject_cast<const QAbstractSlider*>(control.data()))
            value = QString::number(bar->value());
        else
            continue;
        const QString name =
            control->accessibleName().isEmpty() ? control->objectName() : control->accessibleName();
        inputs.push_back({name.toStdString(), value.toStdString()});
    }
    return inputs;
}

bool PanelForm::publish(const calc::Answer& answer) {
    const auto failure = publishAnswer(state(), answer, {info_.title, typedInputs()});
    if (!failure) return true;
    const bool open = showError(*failure);
    state().ErrorShown = false;  // the calculation itself succeeded; only its log is missing
    return open;
}

PanelForm::NestedScope::NestedScope(PanelForm& panel) : panel_(panel) { ++panel_.nesting_; }

PanelForm::NestedScope::~NestedScope() {
    // Deleting the panel from inside a nested event loop would pull it from under the handler
    // that started the loop; deleteLater from here waits until that handler has returned.
    if (--panel_.nesting_ == 0 && panel_.unloaded_) panel_.deleteLater();
}

bool PanelForm::beginClosing() {
    if (closing_ || unloaded_) return false;
    closing_ = true;
    return true;
}

// ---- Loading and placing ---------------------------------------------------------------------

void PanelForm::load() {
    if (loaded_) return;
    loaded_ = true;
    SharedState& s = state();
    s.ErrorShown = false;
    s.PanelTimerArmed = false;
    const bool restore = s.AbandonedPanel == info_.number;
    if (restore) s.AbandonedPanel = kNoPanel;
    Form_Load(restore);
    // A calculator's timer runs from its load; the options panel starts its own after its slide.
    if (info_.side != PanelSide::Options) PanelT.start();
}

void PanelForm::PlacePanel() {
    load();
    QWidget& main = context_.mainWindow;
    const QRect at =
        panelGeometry(main.geometry(), info_.side, info_.offsetTwips, info_.size.w, info_.size.h);
    setFixedSize(at.size());
    move(at.topLeft());
    surface_ = platform::Surface(at.width(), at.height(), skinScale());
    drawn_.assign(static_cast<std::size_t>(at.width()), false);
    shapedAs_.clear();
    // Kept above the main window by the window manager, without being its child: disabling the
    // main window must not disable the panel.
    winId();
    if (QWindow* mainWindow = main.windowHandle()) windowHandle()->setTransientParent(mainWindow);
    present(drawn_, {});  // shown with nothing of it visible yet
    show();
    // The steps must reach the screen, so the window must be there before the first one. Input
    // waits; timers and window-system events go on.
    const QDeadlineTimer deadline(1000);
    while (!windowHandle()->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
}

void PanelForm::SnapshotPanel() {
    // What the window showed at (0, 0) right after it was shown. The window shows nothing of its
    // own yet, so the snapshot stands for what lies behind it: a column given back from it is a
    // column taken out of the window's shape.
    const int w = info_.size.w, h = info_.size.h;
    auto snapshot = std::make_shared<platform::Surface>(w, h, surface_.scale());
    platform::blockCopy(*snapshot, 0, 0, w, h, surface_, 0, 0);
    state().Snapshot = std::move(snapshot);
    state().SnapshotRect = {0, 0, w, h};
}

// ---- The slides --------------------------------------------------------------------------------

void PanelForm::present(const std::vector<bool>& drawn, const QRect& changed) {
    if (drawn != shapedAs_) {
        shapedAs_ = drawn;
        const QRegion shape = columnsRegion(drawn, height());
        if (shape == QRegion(rect())) {
            clearMask();
        } else if (shape.isEmpty()) {
            // An empty mask would mean "no mask": a region outside the window shows nothing.
            setMask(QRegion(-1, -1, 1, 1));
        } else {
            setMask(shape);
        }
    }
    if (!changed.isEmpty() && isVisible()) repaint(changed);
}

void PanelForm::slide(Slide kind) {
    SharedState& s = state();
    platform::Surface blank;
    const platform::Surface& image = s.PanelImage ? *s.PanelImage : blank;
    const platform::Surface& snapshot = s.Snapshot ? *s.Snapshot : blank;
    SlideTarget target{
        surface_, image, snapshot, drawn_,
        [this](const std::vector<bool>& drawn, const QRect& changed) { present(drawn, changed); }};
    playSlide(kind, info_.size.w, info_.size.h, target, effects());
}

void PanelForm::SlidePanelOpen() {
    PlacePanel();
    SnapshotPanel();
    slide(info_.side == PanelSide::Right ? Slide::OpenRight : Slide::OpenLeft);
    context_.mainWindow.setEnabled(false);
    activateWindow();
}

void PanelForm::OpenOptionsPanel() {
    load();
    state().PanelImage =
        std::make_shared<platform::Surface>(info_.size.w, info_.size.h, skinScale());
    PlacePanel();
    SnapshotPanel();
    effects().GetResPic(*state().PanelImage, info_.size.w, info_.size.h, info_.picture);
    slide(Slide::OpenOptions);
    context_.mainWindow.setEnabled(false);
    PanelT.start();
    // The slide leaves the board's left part as the window first showed it; the panel now shows
    // its own picture whole.
    showWhole(picture_);
    activateWindow();
}

void PanelForm::showWhole(const QImage& picture) {
    surface_ = platform::Surface(width(), height(), skinScale());
    if (!picture.isNull())
        platform::blockCopy(surface_, 0, 0, width(), height(), platform::Surface(picture), 0, 0);
    drawn_.assign(drawn_.size(), true);
    present(drawn_, rect());
}

void PanelForm::captureLook() {
    // The panel slides back as it looks, controls included; the controls themselves then stay
    // hidden so that they do not stand still while the picture moves.
    platform::Surface look = lookOf(*this);
    for (const auto& control : controls_)
        if (control) control->hide();
    surface_ = std::move(look);
    drawn_.assign(static_cast<std::size_t>(width()), true);
}

void PanelForm::SlidePanelClosed() {
    captureLook();
    slide(info_.side == PanelSide::Right ? Slide::CloseRight : Slide::CloseLeft);
    context_.mainWindow.setEnabled(true);
}

void PanelForm::CloseOptionsPanel() {
    captureLook();
    slide(Slide::CloseOptions);
    context_.mainWindow.setEnabled(true);
}

void PanelForm::closePanel() {
    closing_ = true;
    playSound(sound::kIn, kSlideSounds, false);
    SlidePanelClosed();
    state().PanelBusy = false;
    unload();
}

void PanelForm::unload(bool abandoned) {
    if (unloaded_) return;
    unloaded_ = true;
    PanelT.stop();
    hide();
    Q_EMIT unloaded(abandoned);
    if (nesting_ == 0) deleteLater();
}

void PanelForm::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    surface_.paint(painter, event->rect());
}

// ---- The watch ---------------------------------------------------------------------------------

void PanelForm::PanelT_Timer() {
    if (unloaded_) return;
    SharedState& s = state();
    if (!s.PanelTimerArmed) {
        for (const auto& control : controls_)
            if (control) control->show();
        // The panel itself, whether or not the window system has activated it yet.
        s.PanelForeground = static_cast<WindowId>(winId());
        s.PanelTimerArmed = true;
        firstTick();
        return;
    }
    // The user has switched away when the foreground is another program's (0). Any window of
    // ours in front is not (platform/foreground.h): the panel, the error window, the conduit type
    // dialog, a message box, or the main window, which is disabled while a panel is open and hands
    // a click back to the panel (the host).
    if (context_.foreground() != 0) return;
    saveInputs();
    s.AbandonedPanel = info_.number;
    s.FocusLost = true;
    s.PanelBusy = false;
    context_.mainWindow.setEnabled(true);
    if (s.UnloadErrorWindow) s.UnloadErrorWindow();
    unload(true);
    abandoned();
}

}  // namespace voltaro::shell
