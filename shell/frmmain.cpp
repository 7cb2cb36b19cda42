#include "shell/frmmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "assets/layout.h"
#include "assets/resource_names.h"
#include "numbers/numbers.h"
#include "platform/foreground.h"
#include "platform/surface.h"
#include "platform/window_shape.h"
#include "shell/display_check.h"
#include "shell/errwnd.h"
#include "shell/face_menu.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"
#include "shell/region.h"
#include "shell/session.h"
#include "shell/skin.h"
#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::shell {

namespace layout = assets::layout::face;
namespace bitmap = assets::program;

namespace {

QRect rectOf(const assets::layout::Rect& r) { return QRect(r.x, r.y, r.w, r.h); }

// Where the window first shows, and how far CaptureFace sets it off the screen's middle (left
// and down), in twips.
constexpr int kStartTwips = 1000, kCaptureOffsetTwips = 22;

constexpr std::array<const char*, 4> kSquareNames = {"Wire size", "Ground and OCP", "Conduit fill",
                                                     "Transformer"};
constexpr std::array<const char*, 3> kRoundNames = {"Motor starter", "NEMA enclosure", "Options"};
// Each key's letter, pressed without modifiers while the main window is active.
constexpr std::array<Qt::Key, 4> kSquareKeys = {Qt::Key_W, Qt::Key_G, Qt::Key_C, Qt::Key_T};
constexpr std::array<Qt::Key, 3> kRoundKeys = {Qt::Key_S, Qt::Key_N, Qt::Key_O};

// A key's name, its letter and its tool tip ("Wire size (W)").
void giveKey(ImageButton* button, const QString& name, const QKeySequence& key) {
    button->setShortcut(key);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(name, key.toString(QKeySequence::NativeText)));
}

}  // namespace

FrmMain::FrmMain(SharedState& state, platform::ZephlibBinding& zephlib, const OptionsStore& options,
                 std::filesystem::path appDir, QStringList arguments)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      zephlib_(zephlib),
      options_(options),
      appDir_(std::move(appDir)),
      arguments_(std::move(arguments)) {
    useAccessibleRoles();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Voltaro"));
    setAccessibleName(QStringLiteral("Voltaro"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    Display = new QLabel(this);
    Display->setObjectName(QStringLiteral("Display"));
    Display->setAccessibleName(QStringLiteral("Display"));
    Display->setAccessibleDescription(QStringLiteral("Display"));
    Display->setGeometry(rectOf(layout::kDisplay).adjusted(6, 4, -6, -4));
    Display->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Display->setWordWrap(true);
    Display->setTextFormat(Qt::PlainText);
    Display->setAttribute(Qt::WA_TransparentForMouseEvents);  // dragging works over the display
    QFont displayFont(QStringLiteral("Liberation Sans"));
    displayFont.setPixelSize(13);
    displayFont.setBold(true);
    Display->setFont(displayFont);
    QPalette palette = Display->palette();
    palette.setColor(QPalette::WindowText, panel_style::kGlassText);
    Display->setPalette(palette);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("1999 NEC Code Year"));
    Image1->setToolTip(QStringLiteral("1999 NEC Code Year"));
    Image1->setGeometry(rectOf(layout::kBadge));

    for (std::size_t i = 0; i < SmSqImage.size(); ++i) {
        auto* key = new ImageButton(QStringLiteral("SmSqImage%1").arg(i), kSquareNames[i], this);
        key->setGeometry(rectOf(layout::kSmSq[i]));
        giveKey(key, kSquareNames[i], kSquareKeys[i]);
        connect(key, &ImageButton::pressed, this, [this, key, i] {
            if (state_.PanelBusy) return;
            key->setPicture(skinPixmap(bitmap::kSMSQDN));
            Q_EMIT openKey(PanelKey::Square, static_cast<int>(i));
        });
        connect(key, &ImageButton::released, this, [this, key] {
            if (!state_.PanelBusy) key->setPicture(skinPixmap(bitmap::kSMSQUP));
        });
        SmSqImage[i] = key;
    }
    for (std::size_t i = 0; i < SmRndImage.size(); ++i) {
        auto* key = new ImageButton(QStringLiteral("SmRndImage%1").arg(i), kRoundNames[i], this);
        key->setGeometry(rectOf(layout::kSmRnd[i]));
        key->setOutline(ImageButton::Outline::Round);
        giveKey(key, kRoundNames[i], kRoundKeys[i]);
        connect(key, &ImageButton::pressed, this, [this, key, i] {
            if (state_.PanelBusy) return;
            key->setPicture(skinPixmap(bitmap::kSMRNDDN));
            Q_EMIT openKey(PanelKey::Round, static_cast<int>(i));
        });
        connect(key, &ImageButton::released, this, [this, key] {
            if (!state_.PanelBusy) key->setPicture(skinPixmap(bitmap::kSMRNDUP));
        });
        SmRndImage[i] = key;
    }

    PrnBut = new ImageButton(QStringLiteral("PrnBut"), QStringLiteral("Print"), this);
    PrnBut->setGeometry(rectOf(layout::kPrnBut));
    giveKey(PrnBut, QStringLiteral("Print"), QKeySequence(Qt::Key_P));
    connect(PrnBut, &ImageButton::pressed, this, [this] {
        if (!state_.PanelBusy && state_.ResultsReady)
            PrnBut->setPicture(skinPixmap(bitmap::kPRN_D));
    });
    connect(PrnBut, &ImageButton::released, this, [this] {
        if (!state_.PanelBusy && state_.ResultsReady)
            PrnBut->setPicture(skinPixmap(bitmap::kPRN_U));
    });
    connect(PrnBut, &ImageButton::clicked, this, &FrmMain::print);

    OffBut = new ImageButton(QStringLiteral("OffBut"), QStringLiteral("Exit"), this);
    OffBut->setGeometry(rectOf(layout::kOffBut));
    giveKey(OffBut, QStringLiteral("Exit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(OffBut, &ImageButton::pressed, this, [this] {
        if (!state_.PanelBusy) OffBut->setPicture(skinPixmap(bitmap::kEXIT_D));
    });
    connect(OffBut, &ImageButton::released, this, [this] {
        if (!state_.PanelBusy) OffBut->setPicture(skinPixmap(bitmap::kEXIT_U));
    });
    connect(OffBut, &ImageButton::clicked, this, [this] {
        if (state_.OptionFlags[kButtonSounds]) {
            const auto library = state_.SoundLibPath.string();
            zephlib_.P_Sound(library.c_str(), assets::tonebank::kOff, 0);
        }
        Shutdown();
    });

    Menu = new FaceMenu(this, [this] { return !state_.PanelBusy && isEnabled(); });

    // The window itself holds the focus until Tab reaches the first key, so that the first Tab
    // lands on WIRE SIZE and no key is pressed by a Space the user did not aim.
    setFocusPolicy(Qt::ClickFocus);
    setFocus(Qt::OtherFocusReason);

    MainT.setInterval(300);
    connect(&MainT, &QTimer::timeout, this, &FrmMain::MainT_Timer);
    state_.SetDisplayCaption = [this](const std::string& text) { setDisplayCaption(text); };
    // Where the focus was in this window, for when the window is active again: the focus itself
    // is taken away while a panel has the window disabled (a panel opened from the menu as much
    // as one opened by its key).
    focusTrack_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && now->window() == this) focusBack_ = now;
    });
    focusWatch_ =
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
            // A window of ours taking the focus is in front now, whether or not a timer tick
            // sees it before the user switches away again.
            if (window == nullptr)
                foreground_.leftFront();
            else
                foreground_();
        });
}

FrmMain::~FrmMain() {
    disconnect(focusWatch_);  // the window's own end moves the focus
    disconnect(focusTrack_);
    state_.SetDisplayCaption = nullptr;
}

QString FrmMain::displayCaption(const std::string& text) {
    const QString raw = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QString shown;
    shown.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == QLatin1Char('&')) {
            if (i + 1 < raw.size() && raw[i + 1] == QLatin1Char('&')) {
                shown += QLatin1Char('&');
                ++i;
            }
            continue;  // a lone ampersand marks an access key
        }
        if (c == QLatin1Char('\r')) {
            if (i + 1 < raw.size() && raw[i + 1] == QLatin1Char('\n')) ++i;
            shown += QLatin1Char('\n');
            continue;
        }
        shown += c;
    }
    return shown;
}

void FrmMain::setDisplayCaption(const std::string& text) {
    const QString shown = displayCaption(text);
    // A figure keeps its percent sign when a long line wraps: "(12.47 %)" never ends a line "%)".
    Display->setText(QString(shown).replace(QStringLiteral(" %"), QStringLiteral("\u00A0%")));
    // Screen readers read the display's lines as its name, told of each change.
    const QString lines = shown.trimmed();
    Display->setAccessibleName(lines.isEmpty() ? QStringLiteral("Display") : lines);
    Display->repaint();
}

void FrmMain::lag(int ticks) { zephlib_.Lag(ticks); }

FrmMain::LoadResult FrmMain::Form_Load(std::string& reason) {
    state_.DisplayText.clear();
    ShowOnDisplay(state_, "Loading...");

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || !ChkScrRes(screen->depth(), 1, screen->geometry().width()))
        return LoadResult::DisplayRejected;

    if (options_.isFirstStart()) options_.WriteDefaultOptions(state_);

    MainT.start();
    state_.PanelBusy = true;
    CaptureFace();

    base_ = skinPixmap(bitmap::kBASE);
    if (base_.isNull()) {
        reason = "the face picture BASE is missing from the program";
        return LoadResult::Failed;
    }
    OffBut->setPicture(skinPixmap(bitmap::kEXIT_U));
    PrnBut->setPicture(skinPixmap(bitmap::kPRNOFF));
    RefreshButtons();

    if (auto failure = OpenSession(state_, appDir_, dataFolderFor(appDir_), zephlib_, options_)) {
        reason = *failure;
        return LoadResult::Failed;
    }
    return LoadResult::Loaded;
}

void FrmMain::shapeAndShow() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setFixedSize(base_.deviceIndependentSize().toSize());
    platform::setWindowShape(*this, RegionFromBitmap(base_.toImage(), 0),
                             qRound(base_.devicePixelRatio()));
    move(twipsToPixels(kStartTwips), twipsToPixels(kStartTwips));
    show();
    QApplication::restoreOverrideCursor();
}

void FrmMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, base_);
}

void FrmMain::RefreshButtons() {
    Display->setFrameStyle(QFrame::NoFrame);
    lag(10);
    if (state_.ResultsReady) {
        PrnBut->setPicture(skinPixmap(bitmap::kPRN_U));
        if (state_.OptionFlags[kAutoPrint]) {
            state_.AutoPrinting = true;
            print();
        }
    }
    const QPixmap round = skinPixmap(bitmap::kSMRNDUP);
    for (auto* key : SmRndImage) key->setPicture(round);
    const QPixmap square = skinPixmap(bitmap::kSMSQUP);
    for (auto* key : SmSqImage) key->setPicture(square);
}

void FrmMain::print() {
    if (state_.PanelBusy) return;
    if (!state_.ResultsReady) {
        state_.AutoPrinting = false;
        return;
    }
    Q_EMIT printReport();
}

void FrmMain::CaptureFace() {
    state_.FaceWidth = static_cast<std::int16_t>(width());
    state_.FaceHeight = static_cast<std::int16_t>(height());
    // Centred, 22 twips left of and below the middle of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const double left = (area.width() - width()) * kTwipsPerPixel / 2.0 - kCaptureOffsetTwips;
        const double top = (area.height() - height()) * kTwipsPerPixel / 2.0 + kCaptureOffsetTwips;
        const auto topTwips = numbers::toInt16(top).value_or(top < 0 ? -32768 : 32767);
        move(twipsToPixels(left), twipsToPixels(topTwips));
    }
    state_.Face = std::make_shared<platform::Surface>(lookOf(*this));
}

void FrmMain::Form_Activate() {
    // Back in the window: the focus returns to the key the keyboard left it on (disabling the
    // window while a panel was open took it away), else to the window itself, so that the first
    // Tab lands on WIRE SIZE.
    QWidget* back = focusBack_;
    const auto* key = qobject_cast<ImageButton*>(back);
    (key != nullptr && key->keyboardFocus() ? back : this)->setFocus(Qt::OtherFocusReason);
    RefreshButtons();
    setDisplayCaption(state_.DisplayText);
}

void FrmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        const bool active = isActiveWindow();
        if (active && !wasActive_) Form_Activate();
        wasActive_ = active;
    } else if (event->type() == QEvent::EnabledChange && isEnabled()) {
        // Made active while still disabled (the window manager's focus reached it during a
        // panel's closing slide), the window skipped its activation then, and none comes now:
        // it has it once the panel's handler has returned.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isEnabled() && isActiveWindow() && !wasActive_) {
                    wasActive_ = true;
                    Form_Activate();
                }
            },
            Qt::QueuedConnection);
    }
    QWidget::changeEvent(event);
}

bool FrmMain::focusNextPrevChild(bool next) {
    // Disabling the window for a panel asks it for the next control, as a Tab would: the first
    // key would take the focus as if by Tab, its ring flashing while the panel opens and the key
    // marked as in keyboard use afterwards. While the window is disabled no key takes the focus.
    if (!isEnabled()) return false;
    return QWidget::focusNextPrevChild(next);
}

void FrmMain::MainT_Timer() {
    // Any window of ours in front is not switching away (platform/foreground.h), and neither is a
    // start while another program is active: only leaving a window of ours is.
    const auto foreground = foreground_();
    if (state_.MainTimerStarted) {
        if (foreground == 0 && foreground_.everInFront()) {
            if (state_.PanelBusy) return;
            state_.FocusLost = true;
            if (state_.OptionFlags[kAutoMin] && !isMinimized()) showMinimized();
        }
    } else {
        setDisplayCaption({});  // "Loading..." goes, for screen readers too
        state_.FaceWidth = static_cast<std::int16_t>(width());
        state_.FaceHeight = static_cast<std::int16_t>(height());
        // The main window itself, whether or not the window system has activated it yet.
        state_.MainForeground = static_cast<WindowId>(winId());
        state_.PanelBusy = false;
        state_.MainTimerStarted = true;
        if (arguments_ == QStringList{QStringLiteral("min")}) showMinimized();
    }
    if (foreground == state_.MainForeground && state_.FocusLost && !isMinimized()) {
        // The face is copied from the window itself, which need not be hidden for it: hidden and
        // shown again, it would lose the front to the program the user came from, and Auto Min
        // would minimise it once more.
        lag(10);
        CaptureFace();
        state_.FocusLost = false;
    }
}

void FrmMain::mousePressEvent(QMouseEvent* event) {
    if (state_.PanelBusy) return;
    // The window follows the pointer by hand rather than through the window manager's move: a
    // window-manager move takes the pointer away from the program, the window stops being the
    // active one meanwhile, and the main timer would take that for a switch to another program
    // (and re-centre the window when the move ends).
    pressedAt_ = event->globalPosition().toPoint();
    dragOffset_ = pressedAt_ - frameGeometry().topLeft();
    dragged_ = false;
}

void FrmMain::mouseMoveEvent(QMouseEvent* event) {
    if (!dragOffset_) return;
    const QPoint at = event->globalPosition().toPoint();
    // A right-click opens the menu, so that button moves the window only once the pointer has
    // clearly left the place of the press; a hand's tremble is still a click.
    if (!dragged_ && (event->buttons() & Qt::RightButton) &&
        (at - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    dragged_ = true;
    move(at - *dragOffset_);
}

void FrmMain::mouseReleaseEvent(QMouseEvent* event) {
    const bool menuClick = dragOffset_ && !dragged_ && event->button() == Qt::RightButton;
    dragOffset_.reset();
    if (menuClick) Menu->openAt(event->globalPosition().toPoint(), false);
}

void FrmMain::openMenuFromKeyboard() {
    Menu->openAt(mapToGlobal(Display->geometry().topLeft() + QPoint(8, 8)), true);
}

void FrmMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        openMenuFromKeyboard();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmMain::contextMenuEvent(QContextMenuEvent* event) {
    // The window system's own menu request from the keyboard (a mouse's is a right-click above).
    if (event->reason() == QContextMenuEvent::Keyboard) openMenuFromKeyboard();
}

void FrmMain::Shutdown() {
    // Nothing minimises the window from here on: a failed compaction's message must stay in sight.
    MainT.stop();
    shutDown_ = true;
    state_.Snapshot.reset();
    state_.PanelImage.reset();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto errors = CloseSession(state_, zephlib_);
    QApplication::restoreOverrideCursor();
    for (const auto& error : errors)
        QMessageBox::information(this, QStringLiteral("Voltaro"),
                                 errorText(compactErrorText(error)), QMessageBox::Ok);
    hide();
    Q_EMIT finished();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // Closed by the window manager (its close button, Alt+F4) rather than by the exit button: the
    // program ends all the same, without deleting the results log or compacting.
    event->accept();
    if (shutDown_) return;
    shutDown_ = true;
    MainT.stop();
    Q_EMIT finished();
}

}  // namespace voltaro::shell
