#include "report/print_command.h"

#include <QDir>
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

// The display shows UTF-8 text, and a lone "&" marks an access key there.
std::string displayText(const QString& s) {
    QString escaped = s;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return escaped.toStdString();
}

// The folder a PDF went to, short enough for a line of the display: "~/Documents" for one in the
// home folder; a longer one keeps its last folders after ".../".
QString displayFolder(const QString& file) {
    constexpr qsizetype kWidth = 26;
    QString folder = QFileInfo(file).absolutePath();
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + QLatin1Char('/')))
        folder = QLatin1Char('~') + folder.mid(home.size());
    if (folder.size() <= kWidth) return folder;
    QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString tail = parts.takeLast();
    while (!parts.isEmpty() && tail.size() + parts.last().size() + 5 <= kWidth)
        tail = parts.takeLast() + QLatin1Char('/') + tail;
    tail = QStringLiteral(".../") + tail;
    return tail.size() <= kWidth ? tail : tail.left(kWidth - 3) + QStringLiteral("...");
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
            // The display names the file and its folder; the whole path goes to stderr.
            errors << "Voltaro: " << (delivery.reason.empty() ? "" : delivery.reason + "; ")
                   << "the report was saved as " << delivery.file.toLocal8Bit().constData() << "\n";
            state_.DisplayText.clear();
            shell::ShowOnDisplay(state_, "Saved As PDF:");
            shell::ShowOnDisplay(state_, displayText(QFileInfo(delivery.file).fileName()));
            shell::ShowOnDisplay(state_,
                                 displayText(QStringLiteral("in ") + displayFolder(delivery.file)));
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
