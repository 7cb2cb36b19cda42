// voltaro-contact-sheet OUT.png [APPDIR]: renders every bitmap that ships, read back from the
// program's resource module and from APPDIR/Tonebank.so (APPDIR defaults to the folder above this
// tool), into one contact sheet. Beside the bare bitmaps it assembles the main window as the
// user sees it (cut to its shape, controls placed from assets/layout.h), with a calculator
// panel docked and with the options panel open over the last spin frame.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "assets/layout.h"
#include "platform/dib.h"
#include "platform/resource_module.h"
#include "platform/shared_library.h"

namespace layout = voltaro::assets::layout;
namespace platform = voltaro::platform;

namespace {

constexpr QRgb kDesktop = 0xff5b6e7d;  // a plain desktop behind the assembled windows
constexpr int kTwipsPerPixel = 15;

std::optional<QImage> bitmap(void* module, const char* name) {
    const auto data = platform::findResource(module, platform::kBitmapResource, name);
    if (!data) return std::nullopt;
    const auto dib = platform::readDib(data->bytes, data->size);
    if (!dib) return std::nullopt;
    return platform::surfaceFromDib(*dib).image();
}

// The face cut to its shape: key-coloured pixels become transparent.
QImage cut(const QImage& face) {
    QImage out = face.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = face.pixel(0, 0);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] | 0xff000000u) == (key | 0xff000000u)) row[x] = 0;
    }
    return out;
}

// The spin rule: a component of 255 shows the face's, any other value replaces it.
QImage overlay(const QImage& face, const QImage& frame) {
    QImage out = face.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb f = frame.pixel(x, y), b = row[x];
            row[x] = qRgb(qRed(f) == 255 ? qRed(b) : qRed(f), qGreen(f) == 255 ? qGreen(b) : qGreen(f),
                          qBlue(f) == 255 ? qBlue(b) : qBlue(f));
        }
    }
    return out;
}

class Sheet {
public:
    Sheet(void* program, void* tonebank) : program_(program), tonebank_(tonebank) {}

    QImage get(const char* name, bool fromTonebank = false) {
        auto image = bitmap(fromTonebank ? tonebank_ : program_, name);
        if (!image) {
            std::fprintf(stderr, "voltaro-contact-sheet: no bitmap %s\n", name);
            missing_ = true;
            QImage blank(40, 40, QImage::Format_RGB32);
            blank.fill(Qt::red);
            return blank;
        }
        return *image;
    }
    bool missing() const { return missing_; }

    // The main window face with its controls in their resting pictures.
    QImage assembledFace(const char* squareKey0 = "SMSQUP", const char* print = "PRNOFF") {
        QImage face = get("BASE");
        QPainter p(&face);
        for (std::size_t i = 0; i < layout::face::kSmSq.size(); ++i)
            place(p, layout::face::kSmSq[i], i == 0 ? squareKey0 : "SMSQUP");
        for (const auto& r : layout::face::kSmRnd) place(p, r, "SMRNDUP");
        place(p, layout::face::kPrnBut, print);
        place(p, layout::face::kOffBut, "EXIT_U");
        p.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
        p.setPen(QColor(255, 255, 0));
        const auto& d = layout::face::kDisplay;
        p.drawText(QRect(d.x + 4, d.y + 3, d.w - 8, d.h - 6), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("Size Wire:\n#10  (THWN)\nDe-Rated Amps: 28\nCircuit Max Amps: 30\nSee Notes"));
        return face;
    }

    void place(QPainter& p, const layout::Rect& r, const char* name) {
        p.drawImage(QPoint(r.x, r.y), get(name));
    }

    void* program_;
    void* tonebank_;
    bool missing_ = false;
};

struct Tile {
    QString caption;
    QImage image;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: voltaro-contact-sheet OUT.png [APPDIR]\n");
        return 2;
    }
    const QString appDir = argc == 3 ? QString::fromLocal8Bit(argv[2])
                                     : QFileInfo(QCoreApplication::applicationDirPath() + "/..").absoluteFilePath();
    platform::SharedLibrary tonebankLibrary;
    if (!tonebankLibrary.open(QDir(appDir).absoluteFilePath(QStringLiteral("Tonebank.so")).toStdString())) {
        std::fprintf(stderr, "voltaro-contact-sheet: %s\n", tonebankLibrary.error().c_str());
        return 1;
    }
    Sheet sheet(platform::programModule(), tonebankLibrary.handle());

    // Scene 1: the main window at rest, on a desktop.
    const int sceneW = 268 + 2 * 200, sceneH = 546 + 40;
    auto scene = [&] {
        QImage s(sceneW, sceneH, QImage::Format_RGB32);
        s.fill(kDesktop);
        return s;
    };
    const QPoint mainAt(200, 20);
    QImage rest = scene();
    {
        QPainter p(&rest);
        p.drawImage(mainAt, cut(sheet.assembledFace("SMSQUP", "PRN_U")));
    }

    // Scene 2: the wire size panel docked on the right, its key pressed; the conduit panel's
    // picture docked on the left for comparison (only one opens at a time).
    QImage docked = scene();
    {
        QPainter p(&docked);
        p.drawImage(mainAt, cut(sheet.assembledFace("SMSQDN", "PRNOFF")));
        const auto placeDrawer = [&](const char* name, layout::Size size, int side, int offsetTwips,
                                     const layout::Rect& dne, const layout::Rect& x) {
            const double left = side == 1 ? 268 - 400.0 / kTwipsPerPixel : -size.w + 400.0 / kTwipsPerPixel;
            const double top = (546 - size.h) / 2.0 + double(offsetTwips) / kTwipsPerPixel;
            const QPoint at = mainAt + QPoint(int(left), int(top));
            QImage panel = sheet.get(name);
            {
                QPainter q(&panel);
                q.drawImage(QPoint(dne.x, dne.y), sheet.get("DNE_U"));
                q.drawImage(QPoint(x.x, x.y), sheet.get("X_UP"));
            }
            p.drawImage(at, panel);
        };
        placeDrawer("MENU1", layout::wire::kSize, 1, 0, layout::wire::kDne, layout::wire::kX);
        placeDrawer("MENU2", layout::conduit::kSize, 0, 700, layout::conduit::kDne, layout::conduit::kX);
    }

    // Scene 3: the options panel open over the face as the last spin frame left it.
    QImage options = scene();
    {
        QPainter p(&options);
        const QImage face = overlay(sheet.assembledFace("SMSQUP", "PRNOFF"), sheet.get("9B", true));
        p.drawImage(mainAt, cut(face));
        QImage door = sheet.get("MENU7");
        {
            QPainter q(&door);
            for (std::size_t i = 0; i < layout::options::kDip.size(); ++i) {
                const auto& d = layout::options::kDip[i];
                q.drawImage(QPoint(d.x, d.y), sheet.get(i == 0 || i == 1 || i == 5 ? "DIP_O" : "DIP_F"));
            }
            q.drawImage(QPoint(layout::options::kX.x, layout::options::kX.y), sheet.get("X_UP"));
        }
        const double left = -214 + 278.0 / kTwipsPerPixel;
        const double top = (546 - 177) / 2.0 + 2013.0 / kTwipsPerPixel;
        p.drawImage(mainAt + QPoint(int(left), int(top)), door);
    }

    // The bare bitmaps.
    std::vector<Tile> tiles;
    for (const char* name : {"SMSQUP", "SMSQDN", "SMRNDUP", "SMRNDDN", "EXIT_U", "EXIT_D", "PRN_U", "PRN_D",
                             "PRNOFF", "DNE_U", "DNE_D", "X_UP", "X_DN", "KNOB_U", "KNOB_D", "DIP_O", "DIP_F"})
        tiles.push_back({QString::fromLatin1(name), sheet.get(name)});
    for (const char* name : {"MENU1", "MENU2", "MENU3", "MENU4", "MENU5", "MENU6"})
        tiles.push_back({QString::fromLatin1(name), sheet.get(name)});
    tiles.push_back({QStringLiteral("MENU7"), sheet.get("MENU7")});
    tiles.push_back({QStringLiteral("CIRCUIT (Tonebank)"), sheet.get("CIRCUIT", true)});
    tiles.push_back({QStringLiteral("PRNLOGO"), sheet.get("PRNLOGO")});
    tiles.push_back({QStringLiteral("BASE"), sheet.get("BASE")});
    const QImage base = sheet.get("BASE");
    for (int i = 0; i < 10; ++i) {
        const std::string name = std::to_string(i) + "B";
        tiles.push_back({QString::fromStdString(name + " (over BASE, half size)"),
                         overlay(base, sheet.get(name.c_str(), true)).scaled(134, 273, Qt::IgnoreAspectRatio,
                                                                          Qt::SmoothTransformation)});
    }

    // Lay out: three scenes across the top, then the tiles in rows.
    const int width = 3 * sceneW + 4 * 16;
    const int labelH = 16, gap = 16;
    std::vector<QPoint> at;
    int x = gap, y = sceneH + 2 * gap + labelH, rowH = 0;
    for (const Tile& t : tiles) {
        if (x + t.image.width() > width - gap) {
            x = gap;
            y += rowH + labelH + gap;
            rowH = 0;
        }
        at.emplace_back(x, y);
        x += std::max(t.image.width(), 90) + gap;
        rowH = std::max(rowH, t.image.height());
    }
    const int height = y + rowH + gap;

    QImage out(width, height, QImage::Format_RGB32);
    out.fill(QColor(44, 46, 50));
    QPainter p(&out);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    p.setPen(QColor(220, 220, 220));
    const QString sceneNames[] = {QStringLiteral("Main window at rest"),
                                  QStringLiteral("Wire panel docked right (MENU1); conduit picture left (MENU2)"),
                                  QStringLiteral("Options open over spin frame 9 (MENU7)")};
    const QImage* scenes[] = {&rest, &docked, &options};
    for (int i = 0; i < 3; ++i) {
        const int sx = gap + i * (sceneW + gap);
        p.drawText(QPoint(sx, gap + 11), sceneNames[i]);
        p.drawImage(QPoint(sx, gap + labelH), *scenes[i]);
    }
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const Tile& t = tiles[i];
        p.drawText(QPoint(at[i].x(), at[i].y() - 4),
                   QStringLiteral("%1  %2x%3").arg(t.caption).arg(t.image.width()).arg(t.image.height()));
        p.drawImage(at[i], t.image);
    }
    p.end();
    if (!out.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "voltaro-contact-sheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return sheet.missing() ? 1 : 0;
}
