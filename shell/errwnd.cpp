#include "shell/errwnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/foreground.h"

namespace voltaro::shell {

QString errorText(const std::string& message) {
    QString text = QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size()));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

ErrWnd::ErrWnd(SharedState& state, const QString& message, QWidget* parent)
    : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("ErrWnd"));
    setWindowTitle(QStringLiteral("Voltaro"));
    setAccessibleName(QStringLiteral("Error"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Label1 = new QLabel(QStringLiteral("Error"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    Label1->setFont(bold);

    LB1 = new QLabel(message, this);
    LB1->setObjectName(QStringLiteral("LB1"));
    LB1->setTextFormat(Qt::PlainText);
    LB1->setAlignment(Qt::AlignCenter);
    LB1->setAccessibleName(QStringLiteral("Error message"));

    OKbut = new QPushButton(QStringLiteral("&OK"), this);
    OKbut->setObjectName(QStringLiteral("OKbut"));
    OKbut->setAccessibleName(QStringLiteral("OK"));
    OKbut->setFont(QFont(QStringLiteral("Arial")));
    OKbut->setDefault(true);
    OKbut->setAutoDefault(true);
    OKbut->installEventFilter(this);
    connect(OKbut, &QPushButton::clicked, this, &ErrWnd::unload);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(12);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    layout->addWidget(LB1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKbut);
    buttons->addStretch();
    layout->addLayout(buttons);
    setMinimumWidth(220);
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
