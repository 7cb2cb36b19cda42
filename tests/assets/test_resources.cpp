// The pictures and sounds as the modules hold them: every name the build lists resolves in its
// module; the program's own bitmaps, read back the way PicLoad and the main window read them,
// each at its size, "BASE" shaped by its key colour, and the layout that the windows place their
// controls by fitting the pictures.
#include <QtTest>

#include <vector>

#include "assets/layout.h"
#include "assets/resource_names.h"
#include "platform/dib.h"
#include "platform/resource_module.h"
#include "platform/shared_library.h"

using namespace voltaro::platform;
namespace layout = voltaro::assets::layout;
namespace bitmap = voltaro::assets::program;
namespace tonebank = voltaro::assets::tonebank;

namespace {

std::optional<QImage> programBitmap(const char* name) {
    const auto data = findResource(programModule(), kBitmapResource, name);
    if (!data) return std::nullopt;
    const auto dib = readDib(data->bytes, data->size);
    if (!dib) return std::nullopt;
    return surfaceFromDib(*dib).image();
}

QImage base() { return *programBitmap(bitmap::kBASE); }

bool isKey(const QImage& face, int x, int y) {
    return (face.pixel(x, y) & 0xffffffu) == layout::face::kKeyColour;
}

// Every pixel of `r` lies inside the window's shape.
bool insideShape(const QImage& face, const layout::Rect& r) {
    for (int y = r.y; y < r.bottom(); ++y)
        for (int x = r.x; x < r.right(); ++x)
            if (isKey(face, x, y)) return false;
    return true;
}

bool inside(const layout::Rect& r, layout::Size size) {
    return r.x >= 0 && r.y >= 0 && r.right() <= size.w && r.bottom() <= size.h;
}

bool overlap(const layout::Rect& a, const layout::Rect& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

struct Panel {
    const char* picture;
    layout::Size size;
    bool right;  // docks on the right of the main window: its runner is on its left
    std::vector<layout::Rect> controls;
};

std::vector<Panel> panels() {
    namespace w = layout::wire;
    namespace g = layout::ground;
    namespace s = layout::starter;
    namespace c = layout::conduit;
    namespace t = layout::transformer;
    namespace e = layout::enclosure;
    return {
        {bitmap::kMENU1,
         w::kSize,
         true,
         {w::kCaptionAmps, w::kAmps, w::kCaptionMaterial, w::kMaterial, w::kCaptionInsulation,
          w::kInsulation, w::kRating, w::kCaptionConductors, w::kConductors, w::kCaptionAmbient,
          w::kAmbient, w::kDne, w::kX}},
        {bitmap::kMENU3,
         g::kSize,
         true,
         {g::kCaptionAmps, g::kAmps, g::kCaptionMaterial, g::kMaterial, g::kDne, g::kX}},
        {bitmap::kMENU5,
         s::kSize,
         true,
         {s::kCaptionAmps, s::kAmps, s::kCaptionVolts, s::kVolts, s::kDne, s::kX}},
        {bitmap::kMENU2,
         c::kSize,
         false,
         {c::kCaptionType, c::kType, c::kCaptionInsulation, c::kInsulation, c::kCaptionDrag,
          c::kCaptionRack, c::kCaptionConduit, c::kCount, c::kRack, c::kInConduit, c::kDne, c::kX}},
        {bitmap::kMENU4,
         t::kSize,
         false,
         {t::kModeKnob, t::kCaptionKva, t::kCaptionFla, t::kPhaseKnob, t::kCaptionSingle,
          t::kCaptionThree, t::kCaptionInput, t::kInput, t::kCaptionVolts, t::kVolts, t::kDne,
          t::kX}},
        {bitmap::kMENU6,
         e::kSize,
         false,
         {e::kCaptionType, e::kType, e::kScroll, e::kCaptionDescription, e::kDescription, e::kDne,
          e::kX}},
    };
}

}  // namespace

class AssetsResourcesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyNameResolves() {
        SharedLibrary library(VOLTARO_TEST_APP_DIR "/Tonebank.so");
        QVERIFY2(library.isOpen(), library.error().c_str());
        // Each bitmap also drawn at 2x: twice as many pixels each way as its ordinary picture.
        auto bitmapIn = [](void* module, const char* name) {
            const auto one = findResource(module, kBitmapResource, name);
            const auto two =
                findResource(module, kBitmapResource, (std::string(name) + "@2x").c_str());
            const auto dib = one ? readDib(one->bytes, one->size) : std::nullopt;
            const auto dib2 = two ? readDib(two->bytes, two->size) : std::nullopt;
            return dib && dib2 && dib2->header.width == 2 * dib->header.width &&
                   dib2->header.rows() == 2 * dib->header.rows();
        };
        for (const char* name : bitmap::kBitmaps) QVERIFY2(bitmapIn(programModule(), name), name);
        for (const char* name : tonebank::kBitmaps)
            QVERIFY2(bitmapIn(library.handle(), name), name);
        for (const char* name : tonebank::kSounds)
            QVERIFY2(findResource(library.handle(), kSoundResource, name), name);
    }

    void everyBitmapIsThereAtItsSize_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        const std::vector<std::pair<const char*, QSize>> rows{
            {bitmap::kBASE, {268, 546}},    {bitmap::kSMSQUP, {34, 34}},
            {bitmap::kSMSQDN, {34, 34}},    {bitmap::kSMRNDUP, {36, 36}},
            {bitmap::kSMRNDDN, {36, 36}},   {bitmap::kEXIT_U, {85, 30}},
            {bitmap::kEXIT_D, {85, 30}},    {bitmap::kPRN_U, {85, 30}},
            {bitmap::kPRN_D, {85, 30}},     {bitmap::kPRNOFF, {85, 30}},
            {bitmap::kMENU1, {184, 366}},   {bitmap::kMENU2, {182, 364}},
            {bitmap::kMENU3, {184, 172}},   {bitmap::kMENU4, {182, 259}},
            {bitmap::kMENU5, {184, 148}},   {bitmap::kMENU6, {182, 235}},
            {bitmap::kMENU7, {418, 177}},   {bitmap::kDNE_U, {72, 28}},
            {bitmap::kDNE_D, {72, 28}},     {bitmap::kX_UP, {31, 28}},
            {bitmap::kX_DN, {31, 28}},      {bitmap::kKNOB_U, {36, 36}},
            {bitmap::kKNOB_D, {36, 36}},    {bitmap::kDIP_O, {15, 7}},
            {bitmap::kDIP_F, {15, 7}},      {bitmap::kPRNLOGO, {404, 131}},
            {bitmap::kSELCOND, {312, 267}}, {bitmap::kERRWND, {300, 150}}};
        for (const auto& [name, size] : rows) QTest::newRow(name) << name << size;
    }
    void everyBitmapIsThereAtItsSize() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const auto image = programBitmap(name.toLatin1().constData());
        QVERIFY2(image, "missing or not a 24-bit DIB");
        QCOMPARE(image->size(), size);
    }

    void pressedAndUpPicturesDiffer_data() {
        QTest::addColumn<QString>("up");
        QTest::addColumn<QString>("down");
        const std::pair<const char*, const char*> pairs[] = {
            {bitmap::kSMSQUP, bitmap::kSMSQDN}, {bitmap::kSMRNDUP, bitmap::kSMRNDDN},
            {bitmap::kEXIT_U, bitmap::kEXIT_D}, {bitmap::kPRN_U, bitmap::kPRN_D},
            {bitmap::kPRN_U, bitmap::kPRNOFF},  {bitmap::kDNE_U, bitmap::kDNE_D},
            {bitmap::kX_UP, bitmap::kX_DN},     {bitmap::kKNOB_U, bitmap::kKNOB_D},
            {bitmap::kDIP_O, bitmap::kDIP_F}};
        for (const auto& [u, d] : pairs)
            QTest::newRow(qPrintable(QStringLiteral("%1 / %2").arg(u, d))) << u << d;
    }
    void pressedAndUpPicturesDiffer() {
        QFETCH(QString, up);
        QFETCH(QString, down);
        QVERIFY(*programBitmap(up.toLatin1().constData()) !=
                *programBitmap(down.toLatin1().constData()));
    }

    void baseIsCutByItsKeyColour() {
        const QImage face = base();
        QCOMPARE(face.pixel(0, 0) & 0xffffffu, layout::face::kKeyColour);
        // All four corners and the hang slot are outside; the window is one body around them.
        for (const QPoint& p : {QPoint(267, 0), QPoint(0, 545), QPoint(267, 545)})
            QVERIFY(isKey(face, p.x(), p.y()));
        const auto& slot = layout::face::kHangSlot;
        QVERIFY(isKey(face, slot.centreX(), slot.centreY()));
        QVERIFY(insideShape(face, layout::face::kFacePlate));
        // No row is empty, and the key colour never appears on the face plate.
        for (int y = 1; y < face.height() - 1; ++y) {
            bool any = false;
            for (int x = 0; x < face.width() && !any; ++x) any = !isKey(face, x, y);
            QVERIFY2(any, qPrintable(QStringLiteral("row %1 is empty").arg(y)));
        }
    }

    void mainWindowControlsSitOnTheFaceClearOfDockedPanels() {
        using namespace layout::face;
        const QImage face = base();
        std::vector<layout::Rect> controls{kBadge, kDisplay, kPrnBut, kOffBut};
        controls.insert(controls.end(), kSmSq.begin(), kSmSq.end());
        controls.insert(controls.end(), kSmRnd.begin(), kSmRnd.end());
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const layout::Rect& r = controls[i];
            QVERIFY2(insideShape(face, r), qPrintable(QStringLiteral("control %1").arg(i)));
            // Docked panels cover the outer 27 pixels of either side (400 twips).
            QVERIFY(r.x >= 27 && r.right() <= kSize.w - 27);
            for (std::size_t j = i + 1; j < controls.size(); ++j) QVERIFY(!overlap(r, controls[j]));
        }
        for (const auto& r : kSmSq) QCOMPARE((layout::Size{r.w, r.h}).w, layout::kSquareKeySize.w);
        QCOMPARE(kPrnBut.w, 85);
        QCOMPARE(kOffBut.h, 30);
        // The display is the green glass the Display label is drawn on.
        QCOMPARE(face.pixel(kDisplay.centreX(), kDisplay.centreY()) & 0xffffffu, 0x008000u);
    }

    void panelControlsFitTheirPictures() {
        for (const Panel& panel : panels()) {
            const auto image = programBitmap(panel.picture);
            QVERIFY(image);
            QCOMPARE(image->size(), QSize(panel.size.w, panel.size.h));
            for (std::size_t i = 0; i < panel.controls.size(); ++i) {
                const layout::Rect& r = panel.controls[i];
                const QString where =
                    QStringLiteral("%1 control %2").arg(QLatin1String(panel.picture)).arg(i);
                QVERIFY2(inside(r, panel.size), qPrintable(where));
                // Nothing on the runner, the strip that lies over the main window.
                if (panel.right)
                    QVERIFY2(r.x >= layout::kRunner, qPrintable(where));
                else
                    QVERIFY2(r.right() <= panel.size.w - layout::kRunner, qPrintable(where));
                for (std::size_t j = i + 1; j < panel.controls.size(); ++j)
                    QVERIFY2(!overlap(r, panel.controls[j]), qPrintable(where));
            }
        }
        for (const auto& d : layout::options::kDip) {
            QVERIFY(inside(d, layout::options::kSize));
            QCOMPARE(d.w, 15);
            QCOMPARE(d.h, 7);
        }
        QVERIFY(inside(layout::options::kX, layout::options::kSize));
    }
};

QTEST_GUILESS_MAIN(AssetsResourcesTest)
#include "test_resources.moc"
