#include "report/page.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace voltaro::report {

namespace {

// The rules' colour, and their width: a fine rule that still prints as a solid line (0.01 in,
// about 0.7 pt), rather than the one-dot hairline of a 1200 dpi printer.
const QColor kRuleColour(32, 160, 111);
constexpr double kRuleWidth = 0.01;  // inches

struct Rule {
    double x1, y1, x2, y2;  // inches
};
constexpr Rule kRules[] = {
    {0.5, 1.69, 7.5, 1.67},  // the double rule under the notices...
    {0.5, 1.72, 7.5, 1.73},
    {0.8, 0.2, 0.83, 5.5},  // the margin rule down the left side
    {1, 2.13, 7.5, 2.14},   // the rule that closes the header band
};

constexpr double kLogoX = 1.2, kLogoY = 0.9, kLogoWidth = 1.34667, kLogoHeight = 0.4667;
constexpr double kNoticeY = 1.5, kRightsX = 1.7, kMakerX = 4.5;
constexpr double kTaglineY = 1.9, kTaglineX = 1.5, kDateCaptionX = 5.5, kDateX = 6.7;
constexpr double kLinesX = 1, kLinesY = 2.5, kLineStep = 0.15;

// Maps inches to the target's device coordinates.
class Inches {
public:
    explicit Inches(const QPaintDevice& device)
        : dpiX_(device.logicalDpiX()), dpiY_(device.logicalDpiY()) {}
    QPointF at(double x, double y) const { return {x * dpiX_, y * dpiY_}; }
    double x(double inches) const { return inches * dpiX_; }
    double y(double inches) const { return inches * dpiY_; }

private:
    double dpiX_, dpiY_;
};

QFont pageFont(const char* family, QFont::StyleHint hint, double points, bool bold) {
    QFont font(QString::fromLatin1(family));
    // "Times New Roman" and "Arial" are the families asked for; fontconfig gives the metric-
    // compatible Liberation Serif and Sans. Should neither be there, the hint keeps the kind.
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Draws `text` with its line's top-left corner at (x, y) inches.
void drawTextAt(QPainter& target, const Inches& inches, double x, double y, const QString& text) {
    const QFontMetricsF metrics(target.font(), target.device());
    const QPointF topLeft = inches.at(x, y);
    target.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
}

}  // namespace

void ComposePage(QPainter& target, double f, const PageContent& content) {
    target.save();
    target.setRenderHint(QPainter::Antialiasing);
    target.setRenderHint(QPainter::SmoothPixmapTransform);
    const Inches inches(*target.device());

    if (!content.logo.isNull())
        target.drawImage(
            QRectF(inches.at(kLogoX, kLogoY), QSizeF(inches.x(kLogoWidth), inches.y(kLogoHeight))),
            content.logo);

    QPen rulePen(kRuleColour);
    rulePen.setWidthF(inches.x(kRuleWidth));
    rulePen.setCapStyle(Qt::FlatCap);
    target.setPen(rulePen);
    for (const Rule& rule : kRules)
        target.drawLine(inches.at(rule.x1, rule.y1), inches.at(rule.x2, rule.y2));

    target.setPen(QPen(Qt::black));
    target.setFont(pageFont("Times New Roman", QFont::Serif, 8 * f, false));
    drawTextAt(target, inches, kRightsX, kNoticeY, QString::fromUtf8(kRightsNotice));
    drawTextAt(target, inches, kMakerX, kNoticeY, QString::fromUtf8(kMakerLine));

    target.setFont(pageFont("Arial", QFont::SansSerif, 10 * f, false));
    drawTextAt(target, inches, kTaglineX, kTaglineY, QString::fromLatin1(kTagline));
    drawTextAt(target, inches, kDateCaptionX, kTaglineY, QString::fromLatin1(kDateCaption));

    target.setFont(pageFont("Times New Roman", QFont::Serif, 10 * f, true));
    drawTextAt(target, inches, kDateX, kTaglineY, content.date);

    // The results log, in the font the date left set. Every line advances one step, empty or not.
    double y = kLinesY;
    for (const QString& line : content.lines) {
        if (!line.isEmpty()) drawTextAt(target, inches, kLinesX, y, line);
        y += kLineStep;
    }
    target.restore();
}

QStringList splitLogLines(const QByteArray& bytes) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines << QString::fromUtf8(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines << QString::fromUtf8(bytes.mid(start));
    return lines;
}

}  // namespace voltaro::report
