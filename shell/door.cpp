#include "shell/door.h"

#include <QApplication>

#include "assets/resource_names.h"
#include "shell/image_button.h"
#include "shell/main_face.h"
#include "shell/skin.h"

namespace voltaro::shell {

namespace {

namespace layout = assets::layout::options;
namespace bitmap = assets::program;
namespace sound = assets::tonebank;

// The switches' tool tips, in option order, as the options table has them (spaces included).
constexpr std::array<const char*, kOptionCount> kToolTips{
    "Button Sounds  On / Off ", "Slide Sounds  On / Off ",
    "Load During Boot-Up ",     "Auto Minimize When Not In Use ",
    "Auto Print On / Off ",     "Terminal Ratings Automatic / Terminals Rated At 75C"};

// The log-on entry's name: the application title.
constexpr const char* kApplicationTitle = "Voltaro";

}  // namespace

Door::Door(PanelContext& context, const PanelRow& row, const OptionsStore& options,
           std::filesystem::path program)
    : PanelForm(context, row), options_(options), program_(std::move(program)) {
    for (int i = 0; i < kOptionCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        auto* dip = new ImageButton(QStringLiteral("DipP%1").arg(i),
                                    QString::fromLatin1(kOptionKeyNames[i]), this);
        dip->setToolTip(QString::fromLatin1(kToolTips[index]));
        connect(dip, &ImageButton::clicked, this, [this, i] { DipP_Click(i); });
        DipP[index] = addControl(dip, layout::kDip[index]);
    }
    DneBut = addXButton(layout::kX, QStringLiteral("DneBut"));
    connect(DneBut, &ImageButton::clicked, this, &Door::DneBut_Click);
}

void Door::showSwitch(int index) {
    DipP[static_cast<std::size_t>(index)]->setPicture(skinPixmap(
        state().OptionFlags[static_cast<std::size_t>(index)] ? bitmap::kDIP_O : bitmap::kDIP_F));
}

void Door::Form_Load(bool) {
    setPicture(skinBitmap(bitmap::kMENU7));
    DneBut->setPicture(skinPixmap(bitmap::kX_UP));
    for (int i = 0; i < kOptionCount; ++i) showSwitch(i);
}

void Door::DipP_Click(int index) {
    if (isUnloaded()) return;
    playSound(sound::kDip, kButtonSounds, true);
    bool& flag = state().OptionFlags[static_cast<std::size_t>(index)];
    flag = !flag;
    showSwitch(index);
}

void Door::DneBut_Click() {
    if (!beginClosing()) return;
    SharedState& s = state();
    playSound(sound::kTickLo, kButtonSounds, true);
    options_.LoadOptions(s, true);
    std::optional<std::string> failure = options_.writeOptions(s, s.OptionFlags);
    auto entry = s.OptionFlags[kAutoStart]
                     ? options_.SetRunEntry(kApplicationTitle, program_, "min")
                     : options_.DeleteRunEntry(kApplicationTitle);
    if (!failure) failure = std::move(entry);
    {
        NestedScope nested(*this);
        QCoreApplication::processEvents();
    }
    if (isUnloaded()) return;  // the user switched away meanwhile
    // The options stay as chosen for this run either way, but the user must know that they were
    // not kept.
    if (failure) {
        if (!showError("Options Not Saved:\r\n" + *failure)) return;
        s.ErrorShown = false;  // no calculation to fail
    }
    CloseOptionsPanel();
    s.PanelBusy = false;
    unload();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    context().mainFace.spin(0);
    context().mainFace.giveBaseBack();
    QApplication::restoreOverrideCursor();
}

void Door::leaveByKey() {
    if (DneBut->isVisible()) DneBut->click();
}

void Door::abandoned() { context().mainFace.giveBaseBack(); }

}  // namespace voltaro::shell
