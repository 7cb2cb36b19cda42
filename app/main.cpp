// Voltaro: start-up, and the one place where the program's parts are made and connected: the
// shared record, the Zephlib binding, the options store, the main window and the printed report
// (on the main window's printReport); the panels are made here too, from the panel table
// (app/panels.h), on its openKey, and the entries of the face's menu are registered here with what
// they open.
//
// One instance per user; a later start hands over to the running one and ends. Then the main
// window loads (the start-up sequence), is shaped and shown, and the program lives in its events
// and timers until the exit button has run the shutdown.
#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>
#include <QSocketNotifier>

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <optional>

#include "app/panels.h"
#include "assets/resource_names.h"
#include "platform/file_writer.h"
#include "platform/single_instance.h"
#include "platform/window_system.h"
#include "report/output.h"
#include "report/page.h"
#include "report/print_command.h"
#include "shell/about_window.h"
#include "shell/display_check.h"
#include "shell/effects.h"
#include "shell/face_menu.h"
#include "shell/frmmain.h"
#include "shell/help_window.h"
#include "shell/history_window.h"
#include "shell/panel_host.h"
#include "shell/skin.h"
#include "zephlib/binding/zephlib_binding.h"

using namespace voltaro;

namespace {

// SIGTERM and SIGINT (logging out, `kill`, Ctrl+C) end the program as a close of its window does.
// They are blocked in every thread (before Qt starts any) and read from a signal descriptor by the
// event loop, which then quits: no handler runs in the middle of anything.
int blockEndSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    if (::pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) return -1;
    const int descriptor = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (descriptor < 0) ::pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);  // as they were
    return descriptor;
}

void endOnSignals(int descriptor, QObject* owner) {
    if (descriptor < 0) return;
    auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [descriptor] {
        signalfd_siginfo received{};
        (void)!::read(descriptor, &received, sizeof received);
        QCoreApplication::quit();
    });
}

// A start that fails says why on stderr and, as a start from the desktop's menu has no terminal,
// in one message box; then the program ends with status 1.
int failedStart(const std::string& reason) {
    std::cerr << "Voltaro: " << reason << "\n";
    QMessageBox::critical(
        nullptr, QStringLiteral("Voltaro cannot start"),
        QString::fromLocal8Bit(reason.data(), static_cast<qsizetype>(reason.size())));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int endSignals = blockEndSignals();
    platform::failWritesBeyondTheSizeLimit();
    platform::WindowSystemStart windowSystem;  // XWayland on Wayland; none at all: say so, status 1
    QApplication app(argc, argv);
    windowSystem.started();
    QApplication::setApplicationName(QStringLiteral("Voltaro"));
    // The program ends through its exit button, a close of its main window or a signal, not when
    // a panel or a message box closes last.
    QApplication::setQuitOnLastWindowClosed(false);
    endOnSignals(endSignals, &app);

    platform::SingleInstance instance(QStringLiteral("voltaro"));
    switch (instance.claim()) {
        case platform::SingleInstance::Role::HandedOver:
            return 0;
        case platform::SingleInstance::Role::Failed:
            return failedStart(
                "Voltaro is already running but does not answer; end it and start again");
        case platform::SingleInstance::Role::Primary:
            if (!instance.warning().isEmpty())
                std::cerr << "Voltaro: " << instance.warning().toLocal8Bit().constData() << "\n";
            break;
    }

    const QString appFolder = QCoreApplication::applicationDirPath();
    const std::filesystem::path appDir = appFolder.toStdString();
    // The icon the task bar and the window switcher show. An installed copy keeps its pictures two
    // folders above the application folder, wherever the prefix: PREFIX/share/icons/hicolor/
    // SIZE/apps/voltaro.png (read from there, as the icon theme may not be searched under PREFIX).
    QIcon windowIcon;
    QDirIterator pictures(appFolder + QStringLiteral("/../../share/icons/hicolor"),
                          {QStringLiteral("voltaro.png")}, QDir::Files,
                          QDirIterator::Subdirectories);
    while (pictures.hasNext()) windowIcon.addFile(pictures.next());
    QApplication::setWindowIcon(windowIcon);
    QGuiApplication::setDesktopFileName(QStringLiteral("voltaro"));
    shell::SharedState state;
    auto zephlib = platform::ZephlibBinding::inFolder(appDir);
    const auto options = shell::OptionsStore::forUser();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    shell::FrmMain frmMain(state, zephlib, options, appDir, arguments);
    QObject::connect(&instance, &platform::SingleInstance::activationRequested, &frmMain,
                     [&frmMain] {
                         if (frmMain.isMinimized()) frmMain.showNormal();
                         frmMain.raise();
                         frmMain.activateWindow();
                     });
    QObject::connect(&frmMain, &shell::FrmMain::finished, &app, &QCoreApplication::quit);

    // The printed report, from the print button and from Auto Print: the default printer, or a PDF
    // in the documents folder (VOLTARO_REPORT_PDF names the file instead).
    report::SystemOutput reportOutput;
    report::PrintCommand::Hooks printHooks;
    printHooks.playSound = [&state, &zephlib](const char* sound) {
        const auto library = state.SoundLibPath.string();
        zephlib.P_Sound(library.c_str(), sound, 0);  // waits until the sound has ended
    };
    printHooks.showBusy = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    // The logo drawn at 2x on every screen: paper is finer than any of them.
    const QImage printLogo = shell::skinBitmap(assets::program::kPRNLOGO, 2);
    report::PrintCommand printCommand(state, reportOutput, printLogo, printHooks);
    QObject::connect(&frmMain, &shell::FrmMain::printReport, &frmMain,
                     [&printCommand] { printCommand.run(); });

    // The history of answers: every answer published is kept in the user's data folder; Ctrl+H
    // opens the History window, whose pages (dated with the calculation's date) go where the print
    // button's go, or into a PDF the user names.
    const auto historyPage = [logo = printLogo](const history::Entry& entry) {
        report::PageContent content{
            logo, {}, report::splitLogLines(QByteArray::fromStdString(entry.log))};
        content.date = QLocale::system().toString(
            QDateTime::fromMSecsSinceEpoch(entry.recordedMs).date(), QLocale::ShortFormat);
        return [content](QPainter& page) { report::ComposePage(page, 1.0, content); };
    };
    shell::HistoryWindow::Hooks historyHooks;
    historyHooks.print = [&reportOutput, historyPage](const history::Entry& entry) {
        const auto delivery = reportOutput.send(historyPage(entry));
        if (delivery.kind == report::Delivery::Kind::Printed)
            return QStringLiteral("Printing Complete.");
        if (delivery.kind == report::Delivery::Kind::SavedAsPdf)
            return QStringLiteral("Saved As PDF: ") + delivery.file;
        return QStringLiteral("Printing Failed.: ") + QString::fromStdString(delivery.reason);
    };
    historyHooks.saveAsPdf = [historyPage](const history::Entry& entry, const QString& file) {
        const auto delivery = report::writePdf(historyPage(entry), file, report::pdfPageLayout());
        return delivery.kind == report::Delivery::Kind::SavedAsPdf
                   ? QString()
                   : QString::fromStdString(delivery.reason);
    };
    shell::HistoryKeeper historyKeeper(state, history::defaultPath(), frmMain, historyHooks);

    // The panels the keys open, from the panel table.
    shell::ZephlibEffects effects(zephlib, state);
    const auto program = shell::launcherFor(QCoreApplication::applicationFilePath().toStdString());
    shell::PanelHost panels(state, frmMain, effects, frmMain.foreground().reader(),
                            app::panelTable(options, program));
    QObject::connect(&frmMain, &shell::FrmMain::openKey, &panels, &shell::PanelHost::openKey);

    // The face's menu: the calculators beyond the seven keys (every menu row of the panel
    // table, in the table's order), the History window (Ctrl+H), then Help and About.
    for (const shell::PanelRow& row : panels.rows()) {
        if (row.key != shell::PanelKey::Menu) continue;
        frmMain.faceMenu().addEntry({QString::fromLatin1(row.menuEntry), QKeySequence(),
                                     [&panels, &row] { panels.openRow(row); }});
    }
    frmMain.faceMenu().addEntry({QStringLiteral("History..."),
                                 QKeySequence(QStringLiteral("Ctrl+H")),
                                 [&historyKeeper] { historyKeeper.showHistory(); }});
    // Made when first asked for: the guide lays out its page and draws its pictures as it loads,
    // which the start-up need not wait for.
    std::optional<shell::HelpWindow> help;
    std::optional<shell::AboutWindow> about;
    using Section = shell::MenuEntry::Section;
    frmMain.faceMenu().addEntry({QStringLiteral("Help"), QKeySequence(Qt::Key_F1),
                                 [&help, &frmMain] {
                                     if (!help) help.emplace();
                                     help->present(frmMain.frameGeometry());
                                 },
                                 Section::Help});
    frmMain.faceMenu().addEntry({QStringLiteral("About Voltaro"), QKeySequence(),
                                 [&about, &state, &frmMain] {
                                     if (!about)
                                         about.emplace(state, QStringLiteral(VOLTARO_VERSION));
                                     about->present(frmMain.frameGeometry());
                                 },
                                 Section::Help});

    std::string reason;
    switch (frmMain.Form_Load(reason)) {
        case shell::FrmMain::LoadResult::DisplayRejected:
            std::cerr << "Voltaro: " << shell::kDisplayMessage << "\n";
            // The title repeats the message: on a display with too few colours the box itself
            // cannot be painted, but the window manager still draws its title.
            QMessageBox::critical(
                nullptr, QStringLiteral("Voltaro: ") + QString::fromLatin1(shell::kDisplayMessage),
                QString::fromLatin1(shell::kDisplayMessage));
            return 1;
        case shell::FrmMain::LoadResult::Failed:
            return failedStart(reason);
        case shell::FrmMain::LoadResult::Loaded:
            break;
    }
    frmMain.shapeAndShow();
    return QApplication::exec();
}
