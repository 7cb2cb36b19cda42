// FaceMenu: the menu on the main window's face (a right-click that does not drag, the Menu key,
// Shift+F10). It holds what the seven keys do not: the calculators and windows added beside them,
// then, after a separator, Help and About. The program registers each entry (text, shortcut,
// action) at start, so a new calculator reaches the menu with one registration and the shell
// knows nothing of it.
//
// Every entry's shortcut works on the main window while the menu is closed too (F1 for Help); an
// entry does nothing while `available` says no (a panel is busy and the main window disabled).
#pragma once

#include <QKeySequence>
#include <QMenu>
#include <QString>

#include <functional>
#include <vector>

namespace voltaro::shell {

struct MenuEntry {
    // Calculators and windows come first; Help and About stand after the separator.
    enum class Section { Tools, Help };

    QString text;           // as the menu shows it, "Voltage Drop..."
    QKeySequence shortcut;  // empty for none
    std::function<void()> action;
    Section section = Section::Tools;
};

class FaceMenu : public QMenu {
    Q_OBJECT

public:
    // `window` is the main window: the entries' shortcuts are its shortcuts.
    FaceMenu(QWidget* window, std::function<bool()> available);

    // Adds an entry after those of its section registered before it; returns its action.
    QAction* addEntry(MenuEntry entry);

    // Opens the menu at `globalPos` (screen pixels) unless entries are unavailable now; opened
    // from the keyboard, its first entry is chosen. Returns whether it opened.
    bool openAt(const QPoint& globalPos, bool fromKeyboard);

private:
    void rebuild();

    QWidget* window_;
    std::function<bool()> available_;
    std::vector<QAction*> tools_, help_;
};

}  // namespace voltaro::shell
