#include "shell/face_menu.h"

#include "shell/panel_style.h"

namespace voltaro::shell {

namespace {

// The panels' lists: green glass, yellow text, the chosen line inverted; a dark bezel as the
// wells' edges have, and the drawers' charcoal around it.
const char* const kMenuSheet =
    "QMenu { background: rgb(0, 128, 0); border: 3px solid rgb(30, 31, 34); padding: 4px 0px; }"
    "QMenu::item { color: rgb(255, 255, 0); background: transparent; padding: 5px 18px 5px 14px; }"
    "QMenu::item:selected { background: rgb(255, 255, 0); color: rgb(0, 64, 0); }"
    "QMenu::item:disabled { color: rgb(150, 190, 110); }"
    "QMenu::separator { height: 1px; background: rgb(120, 190, 60); margin: 4px 10px; }";

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
