#include "report/print_command.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <exception>
#include <iostream>

#include "report/page.h"
#include "shell/session.h"

namespace voltaro::report {

namespace {

// Shows the hourglass for its lifetime: the normal pointer comes back however the work ends.
class BusyPointer {
public:
    explicit BusyPointer(const std::function<void(bool)>& show) : show_(show) {
        if (show_) show_(true);
    }
    ~BusyPointer() {
        if (show_) show_(false);
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    const std::function<void(bool)>& show_;
};

// The display shows text as 8-bit characters, and a lone "&" marks an access key there.
std::string displayText(const QString& s) {
    QString escaped = s;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return escaped.toLatin1().toStdString();
}

}  // namespace

PrintCommand::PrintCommand(shell::SharedState& state, ReportOutput& output, QImage logo,
                           Hooks hooks)
    : state_(state), output_(output), logo_(std::move(logo)), hooks_(std::move(hooks)) {}

void PrintCommand::run() {
    if (state_.PanelBusy) return;
    if (!state_.ResultsReady) {
        state_.AutoPrinting = false;
        return;
    }
    if (state_.OptionFlags[shell::kButtonSounds] && !state_.AutoPrinting && hooks_.playSound)
        hooks_.playSound("TickLo");

    Delivery delivery;
    {
        BusyPointer hourglass(hooks_.showBusy);
        try {
            delivery = printLog();
        } catch (const std::exception& error) {
            delivery = {Delivery::Kind::Failed, {}, error.what()};
        }
    }

    std::ostream& errors = hooks_.errors != nullptr ? *hooks_.errors : std::cerr;
    switch (delivery.kind) {
        case Delivery::Kind::Printed:
            state_.DisplayText = "Printing";
            shell::ShowOnDisplay(state_, " Complete.");
            break;
        case Delivery::Kind::SavedAsPdf:
            if (!delivery.reason.empty())
                errors << "Voltaro: " << delivery.reason << "; the report was saved as "
                       << delivery.file.toLocal8Bit().constData() << "\n";
            state_.DisplayText.clear();
            shell::ShowOnDisplay(state_, "Saved As PDF:");
            shell::ShowOnDisplay(state_, displayText(QFileInfo(delivery.file).fileName()));
            break;
        case Delivery::Kind::Failed:
            errors << "Voltaro: the report was not printed: " << delivery.reason << "\n";
            state_.DisplayText = "Printing";
            shell::ShowOnDisplay(state_, " Failed.");
            break;
    }
    state_.AutoPrinting = false;
}

Delivery PrintCommand::printLog() {
    QFile log(QFile::decodeName(state_.ResultsPath.c_str()));
    const auto unreadable = [&] {
        return Delivery{Delivery::Kind::Failed,
                        {},
                        "cannot read the results log " + state_.ResultsPath.string() + ": " +
                            log.errorString().toLocal8Bit().toStdString()};
    };
    if (!log.open(QIODevice::ReadOnly)) return unreadable();
    PageContent content;
    content.lines = splitLogLines(log.readAll());
    if (log.error() != QFileDevice::NoError) return unreadable();
    log.close();
    content.logo = logo_;
    content.date = QLocale::system().toString(hooks_.today(), QLocale::ShortFormat);
    return output_.send([&content](QPainter& target) { ComposePage(target, 1.0, content); });
}

}  // namespace voltaro::report
