#include "shell/history_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include <iostream>

#include "shell/frmmain.h"
#include "shell/panel_style.h"

namespace voltaro::shell {

namespace {

// The display and the results log are 8-bit text, shown as such; what was typed is UTF-8.
QString latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString when(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// The log as text on the screen or the clipboard: LF line ends.
QString logText(const std::string& log) {
    QString text = latin1(log);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

// The drawer the panels' glass sits in, and the window's captions.
const char* const kWindowSheet =
    "voltaro--shell--HistoryWindow { background: rgb(46, 50, 54); }"
    "QLabel { color: rgb(212, 215, 219); }"
    "QHeaderView::section { background: rgb(0, 96, 0); color: rgb(255, 255, 0);"
    "  border: none; border-right: 1px solid rgb(0, 64, 0); padding: 2px 4px; }";

}  // namespace

// The list: the entries as read, newest first, without their logs.
class HistoryModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void reset(std::vector<history::Entry> entries) {
        beginResetModel();
        entries_ = std::move(entries);
        endResetModel();
    }
    const history::Entry* at(int row) const {
        return row >= 0 && row < static_cast<int>(entries_.size())
                   ? &entries_[static_cast<std::size_t>(row)]
                   : nullptr;
    }
    int rowOf(std::int64_t id) const {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].id == id) return static_cast<int>(i);
        return -1;
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(entries_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 3;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const history::Entry* entry = at(index.row());
        if (entry == nullptr || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
        switch (index.column()) {
            case 0:
                return when(entry->recordedMs);
            case 1:
                return QString::fromStdString(entry->calculator);
            default:
                if (role == Qt::ToolTipRole)
                    return QString::fromStdString(history::inputsText(entry->inputs));
                return entry->display.empty() ? QString() : latin1(entry->display.front());
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        static const char* const kTitles[] = {"Date", "Calculator", "Answer"};
        return QString::fromLatin1(kTitles[section]);
    }

private:
    std::vector<history::Entry> entries_;
};

// ---- The window --------------------------------------------------------------------------------

HistoryWindow::HistoryWindow(std::filesystem::path path, Hooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window), path_(std::move(path)), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("Voltaro History"));
    setAccessibleName(QStringLiteral("History"));
    setStyleSheet(QString::fromLatin1(kWindowSheet));
    setAttribute(Qt::WA_StyledBackground);
    if (!hooks_.chooseFile)
        hooks_.chooseFile = [](QWidget* owner, const QString& suggested) {
            return QFileDialog::getSaveFileName(owner, QStringLiteral("Save as PDF"), suggested,
                                                QStringLiteral("PDF files (*.pdf)"));
        };
    if (!hooks_.confirm)
        hooks_.confirm = [](QWidget* owner, const QString& question) {
            return QMessageBox::question(owner, QStringLiteral("Voltaro History"), question,
                                         QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::No) == QMessageBox::Yes;
        };

    auto* caption = new QLabel(QStringLiteral("&Search:"), this);
    caption->setFont(panel_style::captionFont());
    search_ = panel_style::textBox(QStringLiteral("HistorySearch"), QString(),
                                   QStringLiteral("Type to find answers by calculator, input or "
                                                  "answer"),
                                   QStringLiteral("Search the history"));
    search_->setFixedHeight(22);
    search_->setClearButtonEnabled(true);
    caption->setBuddy(search_);

    model_ = new HistoryModel(this);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("HistoryList"));
    list_->setAccessibleName(QStringLiteral("Answers kept, newest first"));
    panel_style::glass(list_);
    list_->setModel(model_);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    list_->setTabKeyNavigation(false);
    list_->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured row by row, so 10,000 entries
    // show as fast as a few.
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(18);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->setColumnWidth(0, 124);
    list_->setColumnWidth(1, 118);

    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("HistoryLog"));
    log_->setAccessibleName(QStringLiteral("The selected answer's results log"));
    panel_style::glass(log_);
    QFont logFont = panel_style::glassFont();
    logFont.setBold(false);
    log_->setFont(logFont);
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setTabChangesFocus(true);

    const auto button = [this](const char* text, const char* name, const char* tip) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(QString::fromLatin1(tip));
        panel_style::keyButton(b);
        b->setStyleSheet(b->styleSheet() + QStringLiteral("QPushButton { padding: 3px 12px; }"));
        b->setMinimumHeight(28);
        return b;
    };
    print_ = button("&Print", "HistoryPrint", "Print the report of this answer (Ctrl+P)");
    pdf_ = button("Save as P&DF...", "HistoryPdf", "Save the report of this answer as a PDF");
    copy_ = button("&Copy as Text", "HistoryCopy", "Copy the results log of this answer");
    delete_ = button("De&lete", "HistoryDelete", "Delete this answer from the history (Delete)");
    clear_ = button("Clear &History...", "HistoryClear", "Delete every answer in the history");
    auto* close = button("Close", "HistoryClose", "Close the history (Escape)");

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("HistoryStatus"));
    status_->setFont(panel_style::captionFont());
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(caption);
    top->addWidget(search_, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {print_, pdf_, copy_, delete_, clear_}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 8);
    layout->addLayout(top);
    layout->addWidget(list_, 3);
    layout->addWidget(log_, 2);
    layout->addLayout(buttons);
    layout->addWidget(status_);
    resize(700, 540);

    setTabOrder(search_, list_);
    setTabOrder(list_, log_);
    setTabOrder(log_, print_);

    connect(search_, &QLineEdit::textChanged, this, [this] { reload(); });
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showSelected(); });
    connect(print_, &QPushButton::clicked, this, &HistoryWindow::printSelected);
    connect(pdf_, &QPushButton::clicked, this, &HistoryWindow::saveSelectedAsPdf);
    connect(copy_, &QPushButton::clicked, this, &HistoryWindow::copySelected);
    connect(delete_, &QPushButton::clicked, this, &HistoryWindow::deleteSelected);
    connect(clear_, &QPushButton::clicked, this, &HistoryWindow::clearHistory);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });
    auto* printKey = new QShortcut(QKeySequence::Print, this);
    connect(printKey, &QShortcut::activated, this, &HistoryWindow::printSelected);
    search_->installEventFilter(this);
    list_->installEventFilter(this);
}

HistoryWindow::~HistoryWindow() = default;

bool HistoryWindow::openStore() {
    if (store_) return true;
    auto opened = history::Store::open(path_, history::Store::Mode::Record);
    if (!opened) {
        setStatus(QString::fromStdString(opened.error().message));
        return false;
    }
    store_ = std::move(*opened);
    return true;
}

void HistoryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    reload();
    search_->setFocus(Qt::OtherFocusReason);
}

void HistoryWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    store_.reset();  // the file is not held open while nobody looks at it
}

bool HistoryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == search_ &&
            (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) &&
            model_->rowCount() > 0) {
            list_->setFocus(Qt::OtherFocusReason);
            if (!list_->currentIndex().isValid()) list_->selectRow(0);
            return true;
        }
        if (watched == list_ && key == Qt::Key_Delete) {
            deleteSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HistoryWindow::reload() {
    const std::int64_t keep = selectedId();
    std::vector<history::Entry> entries;
    QString trouble;
    if (openStore()) {
        auto read = store_->list({-1, search_->text().toStdString(), false});
        if (read)
            entries = std::move(*read);
        else
            trouble = QString::fromStdString(read.error().message);
        if (trouble.isEmpty()) trouble = QString::fromStdString(store_->readOnlyReason());
    } else {
        trouble = status();
    }
    model_->reset(std::move(entries));
    const bool writable = store_ && store_->readOnlyReason().empty();
    delete_->setEnabled(writable);
    clear_->setEnabled(writable && model_->rowCount() > 0);
    const int row = std::max(model_->rowOf(keep), model_->rowCount() > 0 ? 0 : -1);
    if (row >= 0) list_->selectRow(row);
    showSelected();
    if (!trouble.isEmpty())
        setStatus(trouble);
    else if (model_->rowCount() == 0)
        setStatus(search_->text().isEmpty()
                      ? QStringLiteral("No answers kept yet: every answer you calculate is kept "
                                       "here.")
                      : QStringLiteral("No answer matches \u201c%1\u201d.").arg(search_->text()));
    else
        setStatus(QStringLiteral("%1 answer%2")
                      .arg(model_->rowCount())
                      .arg(model_->rowCount() == 1 ? QString() : QStringLiteral("s")));
}

std::int64_t HistoryWindow::selectedId() const {
    const history::Entry* entry = model_->at(list_->currentIndex().row());
    return entry != nullptr ? entry->id : 0;
}

QString HistoryWindow::status() const { return status_->text(); }

void HistoryWindow::setStatus(const QString& text) { status_->setText(text); }

std::optional<history::Entry> HistoryWindow::selectedEntry() {
    const std::int64_t id = selectedId();
    if (id == 0 || !openStore()) return std::nullopt;
    auto found = store_->find(id);
    if (!found) {
        setStatus(QString::fromStdString(found.error().message));
        return std::nullopt;
    }
    if (!*found) setStatus(QStringLiteral("That answer is no longer in the history."));
    return std::move(*found);
}

void HistoryWindow::showSelected() {
    const auto entry = selectedId() != 0 ? selectedEntry() : std::nullopt;
    log_->setPlainText(entry ? logText(entry->log) : QString());
    for (QPushButton* b : {print_, pdf_, copy_}) b->setEnabled(entry.has_value());
    delete_->setEnabled(entry.has_value() && store_ && store_->readOnlyReason().empty());
}

void HistoryWindow::printSelected() {
    const auto entry = selectedEntry();
    if (!entry || !hooks_.print) return;
    setStatus(hooks_.print(*entry));
}

void HistoryWindow::saveSelectedAsPdf() {
    const auto entry = selectedEntry();
    if (!entry || !hooks_.saveAsPdf) return;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested =
        folder + QStringLiteral("/Voltaro %1 %2.pdf")
                     .arg(QString::fromStdString(entry->calculator),
                          QDateTime::fromMSecsSinceEpoch(entry->recordedMs)
                              .toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")));
    const QString file = hooks_.chooseFile(this, suggested);
    if (file.isEmpty()) return;
    const QString failure = hooks_.saveAsPdf(*entry, file);
    setStatus(failure.isEmpty() ? QStringLiteral("Saved As PDF: ") + file
                                : QStringLiteral("Not saved: ") + failure);
}

void HistoryWindow::copySelected() {
    const auto entry = selectedEntry();
    if (!entry) return;
    QGuiApplication::clipboard()->setText(logText(entry->log));
    setStatus(QStringLiteral("Copied the results log of the %1 answer of %2.")
                  .arg(QString::fromStdString(entry->calculator), when(entry->recordedMs)));
}

void HistoryWindow::deleteSelected() {
    const std::int64_t id = selectedId();
    if (id == 0 || !openStore()) return;
    const int row = list_->currentIndex().row();
    if (auto error = store_->remove(id)) {
        setStatus(QString::fromStdString(error->message));
        return;
    }
    reload();
    // The entry that took its place, or the one above when it was the last.
    if (model_->rowCount() > 0) list_->selectRow(std::min(row, model_->rowCount() - 1));
    setStatus(QStringLiteral("Deleted. %1 answer%2 left.")
                  .arg(model_->rowCount())
                  .arg(model_->rowCount() == 1 ? QString() : QStringLiteral("s")));
}

void HistoryWindow::clearHistory() {
    if (!openStore()) return;
    const auto total = store_->count();
    if (!total || *total == 0) return;
    const QString question =
        QStringLiteral("Delete all %1 answers in the history? This cannot be undone.").arg(*total);
    if (!hooks_.confirm(this, question)) return;
    if (auto error = store_->clear()) {
        setStatus(QString::fromStdString(error->message));
        return;
    }
    if (search_->text().isEmpty())
        reload();
    else
        search_->clear();  // reloads
    setStatus(QStringLiteral("The history is empty."));
}

// ---- The keeper --------------------------------------------------------------------------------

HistoryKeeper::HistoryKeeper(SharedState& state, std::filesystem::path path, QWidget& mainWindow,
                             HistoryWindow::Hooks hooks)
    : state_(state), path_(std::move(path)), mainWindow_(mainWindow), hooks_(std::move(hooks)) {
    history::Recorder::Callbacks callbacks;
    // Both run on the recorder's thread; what they do happens on ours, in this object's events.
    callbacks.recorded = [this](std::int64_t id) {
        QMetaObject::invokeMethod(
            this, [this, id] { Q_EMIT recorded(id); }, Qt::QueuedConnection);
    };
    callbacks.notice = [this](const std::string& message, bool lost) {
        const QString text = QString::fromStdString(message);
        QMetaObject::invokeMethod(
            this, [this, text, lost] { tell(text, lost); }, Qt::QueuedConnection);
    };
    recorder_ = std::make_unique<history::Recorder>(path_, std::move(callbacks));
    state_.RecordAnswer = [this](history::Entry entry) { recorder_->record(std::move(entry)); };
    connect(this, &HistoryKeeper::recorded, this, [this] {
        if (window_ && window_->isVisible()) window_->reload();
    });
}

HistoryKeeper::~HistoryKeeper() {
    state_.RecordAnswer = nullptr;
    recorder_.reset();  // writes what is queued; the callbacks' queued events die with this
    delete notice_;
}

void HistoryKeeper::flush() { recorder_->flush(); }

QString HistoryKeeper::noticeText() const { return notice_ ? notice_->text() : QString(); }

void HistoryKeeper::showHistory() {
    if (!window_) {
        window_ = new HistoryWindow(path_, hooks_, &mainWindow_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        // Beside the main window, as much as the screen allows, and whole on it (the title bar's
        // height to spare).
        if (const QScreen* screen = mainWindow_.screen()) {
            const QRect room = screen->availableGeometry().adjusted(8, 32, -8, -8);
            window_->resize(window_->size().boundedTo(room.size()));
            const QRect face = mainWindow_.frameGeometry();
            QRect at(QPoint(), window_->size());
            const bool right = room.right() - face.right() >= face.left() - room.left();
            at.moveTopLeft(right ? QPoint(face.right() + 12, face.top())
                                 : QPoint(face.left() - 12 - at.width(), face.top()));
            at.moveLeft(std::clamp(at.left(), room.left(), room.right() - at.width()));
            at.moveTop(std::clamp(at.top(), room.top(), room.bottom() - at.height()));
            window_->move(at.topLeft());
        }
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

bool HistoryKeeper::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the notice sends events while it is being destroyed, when it is no QLabel
    // any more and the pointer must not be read as one.
    if (event->type() == QEvent::MouseButtonPress && watched == notice_) notice_->hide();
    return QObject::eventFilter(watched, event);
}

void HistoryKeeper::tell(const QString& message, bool lost) {
    std::cerr << "Voltaro: " << message.toLocal8Bit().constData() << "\n";
    bool& told = lost ? toldLost_ : toldOther_;
    if (told) return;
    told = true;
    const QString text = lost
                             ? QStringLiteral(
                                   "This answer could not be kept in your history: %1\nIt is shown "
                                   "and logged as usual. (Click to close.)")
                                   .arg(message)
                             : message + QStringLiteral(" (Click to close.)");
    // A tool tip window: never activated, so an open panel's watch does not take it for another
    // program, and never in the way of a click for long.
    if (!notice_) {
        notice_ = new QLabel;
        notice_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
        notice_->setAttribute(Qt::WA_ShowWithoutActivating);
        notice_->setObjectName(QStringLiteral("HistoryNotice"));
        notice_->setAccessibleName(QStringLiteral("History notice"));
        panel_style::glass(notice_);
        notice_->setStyleSheet(notice_->styleSheet() +
                               QStringLiteral("QLabel { padding: 6px; border: 1px solid "
                                              "rgb(255, 255, 0); }"));
        notice_->setTextFormat(Qt::PlainText);
        notice_->setWordWrap(true);
        notice_->setFixedWidth(360);
        notice_->installEventFilter(this);
    }
    notice_->setText(text);
    notice_->adjustSize();
    const QRect face = mainWindow_.frameGeometry();
    notice_->move(face.center().x() - notice_->width() / 2, face.bottom() + 6);
    notice_->show();
    QTimer::singleShot(15000, notice_, [notice = notice_] {
        if (notice) notice->hide();
    });
}

}  // namespace voltaro::shell
