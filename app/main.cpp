// Voltaro: start-up, and the one place where the program's parts are made and connected: the
// shared record, the Zephlib binding, the options store, the main window and the printed report
// (on the main window's printReport); the panels are made here too, from the panel table
// (app/panels.h), on its openKey, and the entries of the face's menu are registered here with
// what they open.
//
// One instance per user; a later start hands over to the running one and ends. Then the main
// window loads (the start-up sequence), is shaped and shown, and the program lives in its events
// and timers until the exit button has run the shutdown.
#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QMessageBox>

#include <iostream>

#include "app/panels.h"
#include "assets/resource_names.h"
#include "platform/file_writer.h"
#include "platform/foreground.h"
#include "platform/single_instance.h"
#include "platform/window_system.h"
#include "report/output.h"
#include "report/print_command.h"
#include "shell/about_window.h"
#include "shell/display_check.h"
#include "shell/effects.h"
#include "shell/face_menu.h"
#include "shell/frmmain.h"
#include "shell/help_window.h"
#include "shell/panel_host.h"
#include "shell/skin.h"
#include "zephlib/binding/zephlib_binding.h"

using namespace voltaro;

int main(int argc, char** argv) {
    platform::failWritesBeyondTheSizeLimit();
    platform::WindowSystemStart windowSystem;  // XWayland on Wayland; none at all: say so, status 1
    QApplication app(argc, argv);
    windowSystem.started();
    QApplication::setApplicationName(QStringLiteral("Voltaro"));
    QApplication::setQuitOnLastWindowClosed(false);  // the program ends through its exit button

    platform::SingleInstance instance(QStringLiteral("voltaro"));
    switch (instance.claim()) {
        case platform::SingleInstance::Role::HandedOver:
            return 0;
        case platform::SingleInstance::Role::Failed:
            std::cerr << "Voltaro: cannot tell whether Voltaro is already running\n";
            return 1;
        case platform::SingleInstance::Role::Primary:
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
    report::PrintCommand printCommand(state, reportOutput,
                                      shell::skinBitmap(assets::program::kPRNLOGO), printHooks);
    QObject::connect(&frmMain, &shell::FrmMain::printReport, &frmMain,
                     [&printCommand] { printCommand.run(); });

    // The panels the keys open, from the panel table.
    shell::ZephlibEffects effects(zephlib, state);
    const auto program = shell::launcherFor(QCoreApplication::applicationFilePath().toStdString());
    shell::PanelHost panels(state, frmMain, effects, platform::foregroundWindow,
                            app::panelTable(options, program));
    QObject::connect(&frmMain, &shell::FrmMain::openKey, &panels, &shell::PanelHost::openKey);

    // The face's menu: the calculators beyond the seven keys (every menu row of the panel
    // table, in the table's order), then Help and About.
    for (const shell::PanelRow& row : panels.rows()) {
        if (row.key != shell::PanelKey::Menu) continue;
        frmMain.faceMenu().addEntry({QString::fromLatin1(row.menuEntry), QKeySequence(),
                                     [&panels, &row] { panels.openRow(row); }});
    }
    shell::HelpWindow help;
    shell::AboutWindow about(state, QStringLiteral(VOLTARO_VERSION));
    frmMain.addOwnWindow(&help);
    frmMain.addOwnWindow(&about);
    using Section = shell::MenuEntry::Section;
    frmMain.faceMenu().addEntry({QStringLiteral("Help"), QKeySequence(Qt::Key_F1),
                                 [&help, &frmMain] { help.present(frmMain.frameGeometry()); },
                                 Section::Help});
    frmMain.faceMenu().addEntry({QStringLiteral("About Voltaro"), QKeySequence(),
                                 [&about, &frmMain] { about.present(frmMain.frameGeometry()); },
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
            std::cerr << "Voltaro: cannot start: " << reason << "\n";
            return 1;
        case shell::FrmMain::LoadResult::Loaded:
            break;
    }
    frmMain.shapeAndShow();
    return QApplication::exec();
}
