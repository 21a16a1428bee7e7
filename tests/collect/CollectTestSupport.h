#pragma once
// What the collection tests share: a database with a few control items, tags and templates; the
// look-up data module and the real selection commands, answered by scripts that click a row and
// OK as a user would; a main-window area that hosts the windows as child windows; and the keys an
// inspector types into the grid.
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "component/ChildWindowHost.h"
#include "component/DialogRunner.h"
#include "foundation/CommandCentre.h"
#include "masterdata/KQCommonDM.h"

#include <QMainWindow>
#include <QVariant>

class QMdiArea;
class TBaseCollectFrm;
class TTagInputFrm;

// Control items, phenomena, tags and templates of the fixture.
namespace ids {
inline constexpr int VDiameter = 101;  // n = 5, template SC01
inline constexpr int VJournal = 102;   // n = 3
inline constexpr int VSingle = 103;    // n = 1
inline constexpr int V25 = 104;        // n = 25
inline constexpr int V26 = 105;        // n = 26
inline constexpr int APlain = 201;     // no defect phenomena
inline constexpr int AWeld = 202;      // phenomena Scratch and Bubble
inline constexpr int DPScratch = 301;
inline constexpr int DPBubble = 302;
inline constexpr int TagShift = 401;    // values 1 早班, 2 中班
inline constexpr int TagMachine = 402;  // values 1 1号机, 2 2号机, 3 a 60-character name
inline constexpr int TemplateProduction = 501;  // shift 早班, machine 1号机
inline constexpr int TemplateShiftOnly = 502;   // shift without a default value
}

// The main window's child-window area.
class TTestHost : public QMainWindow, public TChildWindowHost {
public:
    TTestHost();
    ~TTestHost() override;
    void ShowChildWindow(QWidget* window) override;
    QMdiArea* Area;
};

struct TCollectFixture {
    TCollectFixture();
    ~TCollectFixture();

    // Scripts for the next selection dialogs: the row with that key and OK; "不选"; 取消.
    void Choose(const QVariant& key);
    void ChooseNone();
    void CancelDialog();

    // The window as the main window shows it.
    template <class T>
    T* Open()
    {
        auto* frm = new T;
        host.ShowChildWindow(frm);
        return frm;
    }

    int Count(const QString& sql) const;

    TTestDatabase db;
    TKQCommonDM lookups{db.DM()};
    TCommandCenter center;
    TScriptedDialogRunner runner;
    TDialogRunnerScope runnerScope{&runner};
    TTestHost host;
    // The CIDs the data lists announced through "VDataChange" and "ADataChange".
    QList<int> VChanges;
    QList<int> AChanges;
};

// --- Playing the inspector --------------------------------------------------------------------
// Chooses the control item through the item edit's button.
void ChooseItem(TCollectFixture& f, TBaseCollectFrm* frm, int cid);
// "标签(&T)" from the tool bar.
void ChooseTemplate(TCollectFixture& f, TBaseCollectFrm* frm, int templateID);
// Types the text into the grid's current cell (as the keyboard does: the first key opens the
// editor) and presses Enter.
void KeyIn(TBaseCollectFrm* frm, const QString& text);
// Empties the current cell and presses Enter.
void ClearCell(TBaseCollectFrm* frm);
void Press(TBaseCollectFrm* frm, int key);
void ClickSave(TBaseCollectFrm* frm);
// The grid's current cell: row and the field of its column.
int CurrentRow(TBaseCollectFrm* frm);
QString CellText(TBaseCollectFrm* frm, int row, const QString& field);
// Moves the grid's cursor to a row and field with the mouse.
void ClickCell(TBaseCollectFrm* frm, int row, const QString& field);
// The ellipsis button of a tag row's value.
void ClickTagValueButton(TTagInputFrm* panel, int row);
QStringList TagTexts(TTagInputFrm* panel);
void SaveShot(QWidget& w, const QString& name);
// Lets closed windows go (their deletion is posted).
void Settle();
