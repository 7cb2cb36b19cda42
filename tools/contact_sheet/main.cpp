// voltaro-contact-sheet OUT.png [APPDIR]: renders every bitmap that ships, read back from the
// program's resource module and from APPDIR/Tonebank.so (APPDIR defaults to the folder above this
// tool), into one contact sheet. Beside the bare bitmaps it assembles the main window as the
// user sees it (cut to its shape, controls placed from assets/layout.h), with a calculator
// panel docked and with the options panel open over the last spin frame.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
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
            row[x] =
                qRgb(qRed(f) == 255 ? qRed(b) : qRed(f), qGreen(f) == 255 ? qGreen(b) : qGreen(f),
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
        p.drawText(
            QRect(d.x + 4, d.y + 3, d.w - 8, d.h - 6), Qt::AlignLeft | Qt::AlignTop,
            QStringLiteral(
                "Size Wire:\n#10  (THWN)\nDe-Rated Amps: 28\nCircuit Max Amps: 30\nSee Notes"));
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
    const QString appDir =
        argc == 3 ? QString::fromLocal8Bit(argv[2])
                  : QFileInfo(QCoreApplication::applicationDirPath() + "/..").absoluteFilePath();
    platform::SharedLibrary tonebankLibrary;
    if (!tonebankLibrary.open(
            QDir(appDir).absoluteFilePath(QStringLiteral("Tonebank.so")).toStdString())) {
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

    // A calculator panel with its controls as the user sees them: captions in light grey, inputs
    // and lists in yellow on their green glass, the buttons in their up pictures.
    struct Text {
        layout::Rect at;
        const char* text;
        QColor colour;
    };
    const QColor caption(214, 217, 221), yellow(255, 255, 0), unlit(0, 192, 0);
    const auto panelShown = [&](const char* name, const std::vector<Text>& texts,
                                const layout::Rect& dne, const layout::Rect& x,
                                const std::vector<std::pair<layout::Rect, const char*>>& extra) {
        QImage panel = sheet.get(name);
        QPainter q(&panel);
        q.drawImage(QPoint(dne.x, dne.y), sheet.get("DNE_U"));
        q.drawImage(QPoint(x.x, x.y), sheet.get("X_UP"));
        for (const auto& [r, picture] : extra) q.drawImage(QPoint(r.x, r.y), sheet.get(picture));
        q.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
        for (const Text& t : texts) {
            q.setPen(t.colour);
            q.drawText(QRect(t.at.x + 2, t.at.y, t.at.w - 3, t.at.h),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                       QString::fromLatin1(t.text));
        }
        return panel;
    };
    const auto docked = [&](const char* key, int keyIndex, bool round, const QImage& right,
                            int rightOffset, const QImage& left, int leftOffset) {
        QImage s = scene();
        QPainter p(&s);
        QImage face = sheet.assembledFace("SMSQUP", "PRNOFF");
        {
            QPainter q(&face);
            q.drawImage(
                round ? QPoint(layout::face::kSmRnd[keyIndex].x, layout::face::kSmRnd[keyIndex].y)
                      : QPoint(layout::face::kSmSq[keyIndex].x, layout::face::kSmSq[keyIndex].y),
                sheet.get(key));
        }
        p.drawImage(mainAt, cut(face));
        const double inset = 400.0 / kTwipsPerPixel;
        p.drawImage(mainAt + QPoint(int(268 - inset),
                                    int((546 - right.height()) / 2.0 + rightOffset / 15.0)),
                    right);
        p.drawImage(mainAt + QPoint(int(-left.width() + inset),
                                    int((546 - left.height()) / 2.0 + leftOffset / 15.0)),
                    left);
        return s;
    };
    namespace w = layout::wire;
    namespace c = layout::conduit;
    namespace t = layout::transformer;
    namespace st = layout::starter;
    namespace g = layout::ground;
    namespace e = layout::enclosure;
    const QImage wire =
        panelShown("MENU1",
                   {{w::kCaptionAmps, "Full Load Amps", caption},
                    {w::kAmps, "20", yellow},
                    {w::kCaptionMaterial, "Conductor Type", caption},
                    {w::kMaterial, "Copper\nAluminum", yellow},
                    {w::kCaptionInsulation, "Insulation Type / Rating", caption},
                    {w::kInsulation, "RHW\nTHHN\nTHHW\nTHW\nTHWN\nXHHW", yellow},
                    {w::kRating, "90 C", yellow},
                    {w::kCaptionConductors, "Current Carrying Conductors in Conduit", caption},
                    {w::kConductors, "3", yellow},
                    {w::kCaptionAmbient, "Ambient Temp in C", caption},
                    {w::kAmbient, "30", yellow}},
                   w::kDne, w::kX, {});
    const QImage conduit =
        panelShown("MENU2",
                   {{c::kCaptionType, "Current Conduit Type", caption},
                    {c::kType, "EMT", yellow},
                    {c::kCaptionInsulation, "Select Conductor Type", caption},
                    {c::kInsulation, "THHN\nTHW\nXHHW", yellow},
                    {c::kCaptionDrag, "Drag and Drop Conductors Between List Boxes Below", caption},
                    {c::kCaptionRack, "Wire Rack", caption},
                    {c::kCaptionConduit, "Conduit", caption},
                    {c::kCount, "2", caption},
                    {c::kRack, "14\n12\n10\n8\n6", yellow},
                    {c::kInConduit, "12 - THHN\n12 - THHN", yellow}},
                   c::kDne, c::kX, {});
    const QImage transformer =
        panelShown("MENU4",
                   {{t::kCaptionKva, "Transformer KVA", yellow},
                    {t::kCaptionFla, "Full Load Amps", unlit},
                    {t::kCaptionSingle, "Single Phase", unlit},
                    {t::kCaptionThree, "Three Phase", yellow},
                    {t::kCaptionInput, "Full Load Amps", caption},
                    {t::kInput, "1", yellow},
                    {t::kCaptionVolts, "Volts", caption},
                    {t::kVolts, "115", yellow}},
                   t::kDne, t::kX, {{t::kModeKnob, "KNOB_U"}, {t::kPhaseKnob, "KNOB_D"}});
    const QImage starter = panelShown("MENU5",
                                      {{st::kCaptionAmps, "Full Load Amps", caption},
                                       {st::kAmps, "20", yellow},
                                       {st::kCaptionVolts, "Voltage", caption},
                                       {st::kVolts, "480", yellow}},
                                      st::kDne, st::kX, {});
    const QImage ground = panelShown("MENU3",
                                     {{g::kCaptionAmps, "Circuit Max Amps", caption},
                                      {g::kAmps, "20", yellow},
                                      {g::kCaptionMaterial, "Conductor Type", caption},
                                      {g::kMaterial, "Copper\nAluminum", yellow}},
                                     g::kDne, g::kX, {});
    const QImage enclosure = panelShown(
        "MENU6",
        {{e::kCaptionType, "Nema  Enclosure Type", caption},
         {e::kType, "1", yellow},
         {e::kCaptionDescription, "NEMA Type Description", caption},
         {e::kDescription,
          "General Purpose, Indoor\nKeeps fingers off live\nparts and keeps out\nfalling dirt",
          yellow}},
        e::kDne, e::kX, {});

    // The options panel open over the face as the last spin frame left it.
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
                q.drawImage(QPoint(d.x, d.y),
                            sheet.get(i == 0 || i == 1 || i == 5 ? "DIP_O" : "DIP_F"));
            }
            q.drawImage(QPoint(layout::options::kX.x, layout::options::kX.y), sheet.get("X_UP"));
        }
        const double left = -214 + 278.0 / kTwipsPerPixel;
        const double top = (546 - 177) / 2.0 + 2013.0 / kTwipsPerPixel;
        p.drawImage(mainAt + QPoint(int(left), int(top)), door);
    }

    // The spin, frame by frame: the options key and its ring at twice the size.
    QImage spin = scene();
    {
        QPainter p(&spin);
        const QImage face = sheet.assembledFace("SMSQUP", "PRNOFF");
        const QRect ring(layout::face::kSmRnd[2].centreX() - 40,
                         layout::face::kSmRnd[2].centreY() - 38, 80, 92);
        for (int i = 0; i < 10; ++i) {
            const std::string name = std::to_string(i) + "B";
            const QImage crop =
                overlay(face, sheet.get(name.c_str(), true)).copy(ring).scaled(ring.size() * 2);
            const QPoint at(20 + (i % 4) * 162, 16 + (i / 4) * 196);
            p.drawImage(at, crop);
            p.setPen(Qt::white);
            p.drawText(at + QPoint(2, -3), QString::fromStdString(name));
        }
    }

    const std::vector<std::pair<QString, QImage>> scenes{
        {QStringLiteral("Main window at rest"), rest},
        {QStringLiteral("Wire size (MENU1) right, conduit fill (MENU2) left"),
         docked("SMSQDN", 0, false, wire, 0, conduit, 700)},
        {QStringLiteral("Starter (MENU5) right, transformer (MENU4) left"),
         docked("SMSQDN", 3, false, starter, 0, transformer, -1500)},
        {QStringLiteral("Ground and OCP (MENU3) right, NEMA enclosure (MENU6) left"),
         docked("SMRNDDN", 1, true, ground, -2300, enclosure, -1000)},
        {QStringLiteral("Options open over spin frame 9 (MENU7)"), options},
        {QStringLiteral("Spin frames 0B-9B over the face, 2x"), spin},
    };

    // The bare bitmaps.
    std::vector<Tile> tiles;
    for (const char* name :
         {"SMSQUP", "SMSQDN", "SMRNDUP", "SMRNDDN", "EXIT_U", "EXIT_D", "PRN_U", "PRN_D", "PRNOFF",
          "DNE_U", "DNE_D", "X_UP", "X_DN", "KNOB_U", "KNOB_D", "DIP_O", "DIP_F"})
        tiles.push_back({QString::fromLatin1(name), sheet.get(name)});
    for (const char* name : {"MENU1", "MENU2", "MENU3", "MENU4", "MENU5", "MENU6"})
        tiles.push_back({QString::fromLatin1(name), sheet.get(name)});
    tiles.push_back({QStringLiteral("MENU7"), sheet.get("MENU7")});
    tiles.push_back({QStringLiteral("SELCOND"), sheet.get("SELCOND")});
    tiles.push_back({QStringLiteral("ERRWND"), sheet.get("ERRWND")});
    tiles.push_back({QStringLiteral("CIRCUIT (Tonebank)"), sheet.get("CIRCUIT", true)});
    tiles.push_back({QStringLiteral("PRNLOGO"), sheet.get("PRNLOGO")});
    tiles.push_back({QStringLiteral("BASE"), sheet.get("BASE")});
    // Lay out: the scenes three to a row, then the tiles in rows.
    const int width = 3 * sceneW + 4 * 16;
    const int labelH = 16, gap = 16;
    const int sceneRows = int(scenes.size() + 2) / 3;
    std::vector<QPoint> at;
    int x = gap, y = sceneRows * (sceneH + labelH + gap) + gap + labelH, rowH = 0;
    const QFontMetrics labelMetrics(QFont(QStringLiteral("Liberation Sans"), 9));
    for (const Tile& t : tiles) {
        const int tileW =
            std::max(t.image.width(), labelMetrics.horizontalAdvance(QStringLiteral("%1  %2x%3")
                                                                         .arg(t.caption)
                                                                         .arg(t.image.width())
                                                                         .arg(t.image.height())));
        if (x + tileW > width - gap) {
            x = gap;
            y += rowH + labelH + gap;
            rowH = 0;
        }
        at.emplace_back(x, y);
        x += tileW + gap;
        rowH = std::max(rowH, t.image.height());
    }
    const int height = y + rowH + gap;

    QImage out(width, height, QImage::Format_RGB32);
    out.fill(QColor(44, 46, 50));
    QPainter p(&out);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    p.setPen(QColor(220, 220, 220));
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const int sx = gap + int(i % 3) * (sceneW + gap),
                  sy = gap + int(i / 3) * (sceneH + labelH + gap);
        p.drawText(QPoint(sx, sy + 11), scenes[i].first);
        p.drawImage(QPoint(sx, sy + labelH), scenes[i].second);
    }
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const Tile& t = tiles[i];
        p.drawText(
            QPoint(at[i].x(), at[i].y() - 4),
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
