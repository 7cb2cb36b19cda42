#include "shell/face_menu.h"

#include "shell/panel_style.h"

namespace voltaro::shell {

namespace {

// The panels' lists: green glass, yellow text, the chosen line inverted, in a charcoal bezel
// with the drawers' light edge; the separator is a strip of the bezel between two wells.
const char* const kMenuSheet =
    "QMenu { background: rgb(30, 31, 34); border: 1px solid rgb(86, 90, 96); padding: 4px; }"
    "QMenu::item { color: rgb(255, 255, 0); background: rgb(0, 128, 0);"
    "  padding: 6px 20px 6px 12px; min-width: 160px; }"
    "QMenu::item:selected { background: rgb(255, 255, 0); color: rgb(0, 64, 0); }"
    "QMenu::item:disabled { color: rgb(150, 190, 110); }"
    "QMenu::separator { height: 5px; background: rgb(30, 31, 34); }";

}  // namespace

FaceMenu::FaceMenu(QWidget* window, std::function<bool()> available)
    : QMenu(window), window_(window), available_(std::move(available)) {
    setObjectName(QStringLiteral("FaceMenu"));
    setAccessibleName(QStringLiteral("Voltaro menu"));
    setFont(panel_style::glassFont());
    setStyleSheet(QString::fromLatin1(kMenuSheet));
}

QAction* FaceMenu::addEntry(MenuEntry entry) {
    auto* action = new QAction(entry.text, this);
    action->setObjectName(entry.text);
    action->setShortcut(entry.shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    // The menu shows the shortcut beside the entry; a screen reader hears the entry's own words.
    action->setToolTip(entry.text);
    // The action is the connection's context: a menu cuts every connection to itself from an
    // action it lets go of, which rebuild() does.
    connect(action, &QAction::triggered, action, [this, run = std::move(entry.action)] {
        if (available_() && run) run();
    });
    window_->addAction(action);  // the shortcut works on the main window with the menu closed
    (entry.section == MenuEntry::Section::Tools ? tools_ : help_).push_back(action);
    rebuild();
    return action;
}

void FaceMenu::rebuild() {
    clear();
    for (auto* action : tools_) addAction(action);
    if (!tools_.empty() && !help_.empty()) addSeparator();
    for (auto* action : help_) addAction(action);
}

bool FaceMenu::openAt(const QPoint& globalPos, bool fromKeyboard) {
    if (!available_() || actions().isEmpty() || isVisible()) return false;
    popup(globalPos);
    if (fromKeyboard) setActiveAction(actions().constFirst());
    return true;
}

}  // namespace voltaro::shell
