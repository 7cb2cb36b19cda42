#include "shell/help_window.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <utility>

#include "assets/layout.h"
#include "assets/resource_names.h"
#include "shell/panel_style.h"
#include "shell/skin.h"

namespace voltaro::shell {

namespace face = assets::layout::face;
namespace bitmap = assets::program;

namespace {

QRect rectOf(const assets::layout::Rect& r) { return QRect(r.x, r.y, r.w, r.h); }

// An answer as the display shows it, for the pictures.
constexpr char kSampleAnswer[] =
    "Size Wire:\n3  (THW-2)\nDe-Rated Amps: 65.28\nCircuit Max Amps: 65\nSee Notes";

// The main window as it looks with an answer on its display and the print button lit: the face,
// its keys placed as the window places them, outside its shape transparent.
QImage assembledFace(int scale) {
    QImage out = skinBitmap(bitmap::kBASE, scale).convertToFormat(QImage::Format_ARGB32);
    if (out.isNull()) return out;
    const QRgb outside = out.pixel(0, 0);
    QPainter painter(&out);
    for (const auto& key : face::kSmSq)
        painter.drawImage(rectOf(key).topLeft(), skinBitmap(bitmap::kSMSQUP, scale));
    for (const auto& key : face::kSmRnd)
        painter.drawImage(rectOf(key).topLeft(), skinBitmap(bitmap::kSMRNDUP, scale));
    painter.drawImage(rectOf(face::kPrnBut).topLeft(), skinBitmap(bitmap::kPRN_U, scale));
    painter.drawImage(rectOf(face::kOffBut).topLeft(), skinBitmap(bitmap::kEXIT_U, scale));
    // The display's own font and inset (the main window's label).
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(panel_style::kGlassText);
    painter.drawText(rectOf(face::kDisplay).adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromLatin1(kSampleAnswer));
    painter.end();
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (row[x] == outside) row[x] = 0;
    }
    return out;
}

QImage bare(const char* name, int scale) {
    return skinBitmap(name, scale).convertToFormat(QImage::Format_RGB32);
}

struct Picture {
    const char* file;
    std::function<QImage(int scale)> draw;
};

const std::vector<Picture>& pictures() {
    static const std::vector<Picture> list{
        // Three fifths of the window's size, so that it stands beside the first steps.
        {"face.png",
         [](int scale) {
             const QImage whole = assembledFace(scale);
             return whole.scaled(whole.size() / scale * 3 / 5 * scale, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
         }},
        {"display.png",
         [](int scale) {
             const QRect r = rectOf(face::kDisplayBezel);
             return assembledFace(scale).copy(QRect(r.topLeft() * scale, r.size() * scale));
         }},
        {"key-square.png", [](int scale) { return bare(bitmap::kSMSQUP, scale); }},
        {"key-round.png", [](int scale) { return bare(bitmap::kSMRNDUP, scale); }},
        {"print.png", [](int scale) { return bare(bitmap::kPRN_U, scale); }},
        {"off.png", [](int scale) { return bare(bitmap::kEXIT_U, scale); }},
        {"enter.png", [](int scale) { return bare(bitmap::kDNE_U, scale); }},
        {"exit.png", [](int scale) { return bare(bitmap::kX_UP, scale); }},
        {"knob.png", [](int scale) { return bare(bitmap::kKNOB_U, scale); }},
    };
    return list;
}

}  // namespace

QStringList helpPictureNames() {
    QStringList names;
    for (const auto& picture : pictures()) names << QString::fromLatin1(picture.file);
    return names;
}

QImage helpPicture(const QString& fileName, int scale) {
    for (const auto& picture : pictures())
        if (fileName == QLatin1String(picture.file)) return picture.draw(scale);
    return {};
}

QString helpPageHtml() {
    QFile page(QString::fromLatin1(kHelpPage));
    if (!page.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(page.readAll());
}

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("HelpText"));
    setAccessibleName(QStringLiteral("Voltaro Help"));
    setOpenExternalLinks(false);
    setFrameShape(QFrame::NoFrame);
    // The page sets its own colours; the palette keeps them while it loads and in the margins.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, QColor(38, 40, 44));
    palette.setColor(QPalette::Text, panel_style::kCaptionText);
    palette.setColor(QPalette::Highlight, panel_style::kGlass);
    palette.setColor(QPalette::HighlightedText, panel_style::kGlassText);
    setPalette(palette);
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: rgb(30, 31, 34); width: 11px; margin: 0px; }"
        "QScrollBar::handle:vertical { background: rgb(0, 128, 0); min-height: 24px;"
        "  border-radius: 3px; margin: 1px; }"
        "QScrollBar::add-line, QScrollBar::sub-line { height: 0px; width: 0px; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"));
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QString path = name.path();
    const qsizetype folder = path.lastIndexOf(QLatin1String(kHelpPictureFolder));
    if (type == QTextDocument::ImageResource && folder >= 0) {
        const QImage picture =
            helpPicture(path.mid(folder + qsizetype(sizeof(kHelpPictureFolder) - 1)), skinScale());
        if (!picture.isNull()) return picture;
    }
    return QTextBrowser::loadResource(type, name);
}

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Voltaro Help"));
    setAccessibleName(QStringLiteral("Voltaro Help"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(30, 31, 34));
    setPalette(palette);
    setAutoFillBackground(true);

    browser_ = new HelpBrowser(this);
    browser_->setSource(QUrl(QStringLiteral("qrc") + QString::fromLatin1(kHelpPage)));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 2, 2);
    layout->addWidget(browser_, 1);
    resize(760, 660);

    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

void placeBeside(QWidget* window, const QRect& anchor) {
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    // The frame the window manager adds is not known before the first show: leave room for one.
    const QSize size = window->frameGeometry().size().expandedTo(window->size() + QSize(2, 26));
    const int top =
        std::clamp(anchor.top(), area.top(), std::max(area.top(), area.bottom() - size.height()));
    if (anchor.right() + 8 + size.width() <= area.right())
        window->move(anchor.right() + 8, top);
    else if (anchor.left() - 8 - size.width() >= area.left())
        window->move(anchor.left() - 8 - size.width(), top);
    else
        window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void HelpWindow::present(const QRect& anchor) {
    if (!isVisible()) {
        browser_->verticalScrollBar()->setValue(0);
        placeBeside(this, anchor);
    }
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

}  // namespace voltaro::shell
