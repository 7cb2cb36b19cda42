// FillFrm: the conduit fill panel ("MENU2", left of the main window). The user picks an
// insulation type, drags conductors of that type from the wire rack (the gauges the type comes
// in) into the conduit, one entry ("10 - THHN") per conductor, may change the conduit type with a
// click on the type box (the dialog SelCond), and presses calculate for the smallest trade size.
//
// Dragging: a press with any mouse button on the rack or the conduit picks up the entry under
// the pointer; an outline follows the pointer (the arrow over the two lists, the no-drop sign
// over the rest of the panel) until the button is let go. A rack entry dropped on the conduit
// adds a conductor; a conduit entry dropped on the rack takes that conductor out. Any other drop,
// or a press that picked up no entry, changes nothing. From the keyboard, Enter or Insert on a
// rack entry adds it and Delete on a conduit entry takes it out, by the same steps.
//
// The conduit's entries are mirrored in the work table DragList, row for row and in order, which
// the calculation reads. Closing the panel (calculate or exit) empties it; when the user switches
// to another program the panel vanishes and DragList keeps the conductors, so the next open comes
// back with the same entries, count and insulation type.
#pragma once

#include <QString>

#include <cstdint>
#include <string>

#include "calc/common/outcome.h"
#include "shell/panel.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace voltaro::calc::conduit {

class SelCond;

class FillFrm : public shell::CalculatorForm {
    Q_OBJECT

public:
    FillFrm(shell::PanelContext& context, const shell::PanelRow& row);
    ~FillFrm() override;

    // Where a drag began.
    enum DragFrom : std::int16_t { kNoList = 0, kRack = 1, kConduit = 2 };

    // The event handlers, as the controls raise them.
    void Mlist_Click();
    void Text1_Click();
    // A press on the rack or the conduit at `at` (pixels in the list's viewport): the entry there
    // is selected, the outline is put over the pressed row and the drag begins with that entry
    // (none below the last entry).
    void List_MouseDown(DragFrom list, const QPoint& at);
    // The pointer has moved to `global` during a drag: the outline follows, the pointer shape says
    // whether a drop is possible there.
    void List_DragOver(const QPoint& global);
    // The button has been let go at `global`: the drag ends, and a drop on the other list moves
    // the conductor.
    void List_DragDrop(const QPoint& global);

    bool dragging() const { return dragging_; }

    // The controls, for tests.
    QListWidget* typeList() const { return Mlist; }
    QListWidget* rack() const { return List1; }
    QListWidget* conduit() const { return List2; }
    QLineEdit* typeBox() const { return Text1; }
    QLabel* countLabel() const { return L1[5]; }
    QWidget* dragOutline() const { return LB1; }
    // The type dialog while it is up; null otherwise.
    SelCond* typeDialog() const { return dialog_; }

protected:
    Outcome calculate() override;
    // No press during a drag.
    bool acceptsPress() const override;
    // The inputs hidden, DragList emptied.
    void leaving() override;
    void Form_Load(bool restoreInputs) override;
    void firstTick() override;
    void saveInputs() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The conduit type and each conductor in the conduit.
    std::vector<history::Input> typedInputs() override;

private:
    // Shows the conduit type's abbreviation whole in the type box.
    void showType(const QString& abbreviation);
    void FillTypeList();
    void FillGaugeList(const std::string& type);
    // The drop of DragText onto `target`.
    void drop(DragFrom target);
    // The conduit after an entry was added (+1) or taken out (-1): the count and DragList.
    // `removed`/`occurrence`: the entry taken out and how many equal entries were before it.
    bool UpdateConduitList(int delta, const std::string& removed = {}, int occurrence = 0);
    void showCount();
    // Reports a failure of the reference database; false when the panel was abandoned meanwhile.
    bool reportFailure(const calc::Failure& failure);
    void endDrag();
    QListWidget* listOf(DragFrom list) const;
    DragFrom listAt(const QPoint& global) const;

    QLineEdit* Text1 = nullptr;
    QListWidget* Mlist = nullptr;
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QLabel* L1[6]{};
    QWidget* LB1 = nullptr;
    SelCond* dialog_ = nullptr;  // on Text1_Click's stack while it runs

    // The current drag: where it began, the pressed entry's text (a gauge, or a whole conduit
    // entry) and position (-1 for none).
    DragFrom DragSource = kNoList;
    QString DragText;
    int DragIndex = -1;
    bool dragging_ = false;
    QPoint grabOffset_;  // from the pointer to the outline's corner, pixels
    bool PanelLoading = false;
    bool choosingType_ = false;
    std::string
        loadFailure_;  // a list that could not be filled while loading, said at the first tick
};

}  // namespace voltaro::calc::conduit
