#include "shell/errwnd.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "assets/layout.h"
#include "assets/resource_names.h"
#include "platform/foreground.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"
#include "shell/skin.h"

namespace voltaro::shell {

QString errorText(const std::string& message) {
    QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

ErrWnd::ErrWnd(SharedState& state, const QString& message, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), state_(state) {
    namespace at = assets::layout::errwnd;
    setObjectName(QStringLiteral("ErrWnd"));
    setWindowTitle(QStringLiteral("Voltaro"));
    // Screen readers take it for an alert: its role, an alert event when it shows, and the
    // message as its description.
    useAccessibleRoles();
    setAccessibleName(QStringLiteral("Error"));
    setAccessibleDescription(message);
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(at::kSize.w, at::kSize.h);

    Label1 = new QLabel(QStringLiteral("Error"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(QStringLiteral("Error"));
    panel_style::caption(Label1);
    QFont bold = panel_style::glassFont();
    bold.setPixelSize(13);
    Label1->setFont(bold);
    Label1->setGeometry(at::kHeading.x, at::kHeading.y, at::kHeading.w, at::kHeading.h);

    // A path in a message (a file that cannot be written) has no blanks to wrap at: it may break
    // after any slash.
    QString shown = message;
    shown.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    LB1 = new QLabel(shown, this);
    LB1->setObjectName(QStringLiteral("LB1"));
    LB1->setAccessibleName(QStringLiteral("Error message"));
    LB1->setAccessibleDescription(message);
    panel_style::glass(LB1);
    LB1->setTextFormat(Qt::PlainText);
    LB1->setWordWrap(true);
    LB1->setAlignment(Qt::AlignCenter);
    LB1->setGeometry(at::kMessage.x, at::kMessage.y, at::kMessage.w, at::kMessage.h);

    OKbut = new QPushButton(QStringLiteral("&OK"), this);
    OKbut->setObjectName(QStringLiteral("OKbut"));
    OKbut->setAccessibleName(QStringLiteral("OK"));
    panel_style::keyButton(OKbut);
    OKbut->setFont(QFont(QStringLiteral("Arial"), -1, QFont::Bold));
    OKbut->setDefault(true);
    OKbut->setAutoDefault(true);
    OKbut->installEventFilter(this);
    OKbut->setGeometry(at::kOk.x, at::kOk.y, at::kOk.w, at::kOk.h);
    connect(OKbut, &QPushButton::clicked, this, &ErrWnd::unload);
}

void ErrWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skinPixmap(assets::program::kERRWND));
}

void ErrWnd::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void ErrWnd::unload() { done(QDialog::Accepted); }

bool ErrWnd::eventFilter(QObject* watched, QEvent* event) {
    // The panel watch must not take this window for another program: record it as foreground
    // when its button gets the focus.
    if (watched == OKbut && event->type() == QEvent::FocusIn && state_.ErrorWindowOpen)
        state_.ErrorForeground = platform::foregroundWindow();
    return QDialog::eventFilter(watched, event);
}

void ShowError(SharedState& state, const std::string& message, QWidget* parent,
               QPointer<ErrWnd>* current) {
    state.ErrorWindowOpen = true;
    {
        ErrWnd window(state, errorText(message), parent);
        if (current != nullptr) *current = &window;
        state.UnloadErrorWindow = [&window] { window.unload(); };
        window.exec();
        state.UnloadErrorWindow = nullptr;
        if (current != nullptr) *current = nullptr;
    }
    state.ErrorShown = true;
    QCoreApplication::processEvents();
    state.ErrorWindowOpen = false;
}

}  // namespace voltaro::shell
