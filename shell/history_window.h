// The history of answers on the desktop: the keeper that hands every published answer to the
// history (history/recorder.h) and tells the user, once a run, when one could not be kept; and the
// History window, where the kept answers are found again, reprinted, copied and deleted.
//
// The History window: the answers newest first (date, calculator, the answer's first line), a
// search box that filters as you type over the calculators, inputs and answers, the selected
// entry's whole results log, and its buttons: Print (the report page dated with the calculation's
// date), Save as PDF, Copy as Text, Delete, Clear History (asks first), Close. Everything works
// from the keyboard: the search box has the focus, Down moves into the list, Delete deletes the
// selected entry, Escape closes, and every button has its Alt key.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>

#include "history/recorder.h"
#include "history/store.h"
#include "shell/shared_state.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace voltaro::shell {

class HistoryModel;

class HistoryWindow : public QWidget {
    Q_OBJECT

public:
    // What the window needs from the rest of the program, injected so that tests can watch it.
    struct Hooks {
        // Prints the entry's report page; returns what became of it, as the display says it
        // ("Printing Complete.", "Saved As PDF: <file>", "Printing Failed.: <reason>").
        std::function<QString(const history::Entry&)> print;
        // Writes the entry's report page as a PDF to `file`; returns why it failed, or "".
        std::function<QString(const history::Entry&, const QString& file)> saveAsPdf;
        // Asks for the PDF's name, `suggested` first; "" when the user cancels. By default the
        // desktop's save dialog.
        std::function<QString(QWidget* parent, const QString& suggested)> chooseFile;
        // Asks a yes-or-no question; by default a message box with No as its default.
        std::function<bool(QWidget* parent, const QString& question)> confirm;
    };

    HistoryWindow(std::filesystem::path path, Hooks hooks, QWidget* parent = nullptr);
    ~HistoryWindow() override;

    // Reads the list again (the search kept, the selected entry kept when it is still there).
    void reload();
    // The id of the selected entry; 0 for none.
    std::int64_t selectedId() const;
    // The line under the buttons: what the last command did, or why something cannot be done.
    QString status() const;

    void printSelected();
    void saveSelectedAsPdf();
    void copySelected();
    void deleteSelected();
    void clearHistory();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<history::Entry> selectedEntry();
    void showSelected();
    void setStatus(const QString& text);
    bool openStore();

    std::filesystem::path path_;
    Hooks hooks_;
    std::unique_ptr<history::Store> store_;  // open while the window is shown
    HistoryModel* model_;
    QLineEdit* search_;
    QTableView* list_;
    QPlainTextEdit* log_;
    QLabel* status_;
    QPushButton *print_, *pdf_, *copy_, *delete_, *clear_;
};

// Keeps the program's answers: installs RecordAnswer on the shared record for its lifetime, runs
// the recorder, tells the user when an answer could not be kept (once a run: a notice under the
// main window that takes no focus, so an open panel stays open, and goes away by itself or with a
// click; every failure also goes to the error stream), and opens the History window.
class HistoryKeeper : public QObject {
    Q_OBJECT

public:
    HistoryKeeper(SharedState& state, std::filesystem::path path, QWidget& mainWindow,
                  HistoryWindow::Hooks hooks);
    ~HistoryKeeper() override;  // what is still queued is written first

    const std::filesystem::path& path() const { return path_; }
    // Waits until every answer handed over so far is written (tests).
    void flush();
    // The notice shown this run, if any (tests).
    QString noticeText() const;
    HistoryWindow* window() const { return window_; }

public Q_SLOTS:
    // Opens the History window (or brings it to the front), for Ctrl+H and the face's menu.
    void showHistory();

Q_SIGNALS:
    void recorded(qint64 id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tell(const QString& message, bool lost);

    SharedState& state_;
    std::filesystem::path path_;
    QWidget& mainWindow_;
    HistoryWindow::Hooks hooks_;
    QPointer<HistoryWindow> window_;
    QPointer<QLabel> notice_;
    bool toldLost_ = false, toldOther_ = false;
    std::unique_ptr<history::Recorder> recorder_;
};

}  // namespace voltaro::shell
