// AboutWindow, "About Voltaro": the program's name and version, the code year, the code tables
// the open reference database holds (asked each time the window is shown, so it names what this
// copy really answers from), the folder the program keeps its files in, and the copyright and
// licence the package states (packaging/copyright, carried as a resource).
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

#include "shell/shared_state.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace voltaro::shell {

// What a table of the reference database holds, in an electrician's words ("Table 250-122
// equipment grounding conductors"); empty for a work table, the table's own name for one this
// program does not know.
QString tableDescription(const std::string& table);

// The copyright line and the licence as the package's copyright file states them.
struct Notice {
    QString copyright;  // "Copyright 2026 Voltaro"
    QString licence;    // "Licence: proprietary. All rights reserved. ..."
};
// From the text of a Debian copyright file.
Notice parseNotice(const QString& copyrightFile);
// The package's own (packaging/copyright, carried as a resource).
Notice packageNotice();

class AboutWindow : public QWidget {
    Q_OBJECT

public:
    // `version` is the build's ("1.0").
    AboutWindow(SharedState& state, const QString& version);

    // Reads the tables and the data folder afresh, shows the window (a closed one beside `anchor`,
    // the main window's frame) and brings it to the front.
    void present(const QRect& anchor);

    QLabel* versionLabel() const { return version_; }
    QPlainTextEdit* tablesBox() const { return tables_; }
    QLabel* folderLabel() const { return folder_; }
    QLabel* noticeLabel() const { return notice_; }

private:
    void refresh();

    SharedState& state_;
    QLabel* version_;
    QPlainTextEdit* tables_;
    QLabel* folder_;
    QLabel* notice_;
    QPushButton* ok_;
};

}  // namespace voltaro::shell
