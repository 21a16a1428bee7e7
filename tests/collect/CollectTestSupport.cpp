#include "CollectTestSupport.h"

#include "collect/windows/BaseCollectFrm.h"
#include "collect/windows/CollectGrid.h"
#include "collect/windows/TagInputFrm.h"
#include "component/DataSetModel.h"
#include "foundation/RecordUtils.h"
#include "masterdata/windows/BaseSingleSelectFrm.h"
#include "masterdata/windows/SelectionCommands.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {
void FillMasterData()
{
    const char* statements[] = {
        "insert into L_Process (ProID, ProCode, ProName) values (10, 'P10', '机加工车间')",
        "insert into L_VControlItem (CID, CCode, CName, ProID, SampleSize, Step, nSigma, USL, SL, LSL) "
        "values (101, 'V01', '活塞环直径', 10, 5, 1, 3, 74.05, 74.0, 73.95)",
        "insert into L_VControlItem (CID, CCode, CName, ProID, SampleSize, Step, nSigma, USL, SL, LSL) "
        "values (102, 'V02', '主轴颈直径', 10, 3, 1, 3, 50.2, 50.0, 49.8)",
        "insert into L_VControlItem (CID, CCode, CName, ProID, SampleSize, Step, nSigma) "
        "values (103, 'V03', '涂料粘度', 10, 1, 1, 3)",
        "insert into L_VControlItem (CID, CCode, CName, ProID, SampleSize, Step, nSigma) "
        "values (104, 'V04', '螺栓长度', 10, 25, 1, 3)",
        "insert into L_VControlItem (CID, CCode, CName, ProID, SampleSize, Step, nSigma) "
        "values (105, 'V05', '垫片厚度', 10, 26, 1, 3)",
        "insert into L_AControlItem (CID, CCode, CName, ProID, LotSize) values (201, 'A01', '外观不良', 10, 500)",
        "insert into L_AControlItem (CID, CCode, CName, ProID, LotSize) values (202, 'A02', '焊接缺陷', 10, 200)",
        "insert into L_DefectPhenomenon (DPID, DPCode, DPName) values (301, 'DP01', '划伤')",
        "insert into L_DefectPhenomenon (DPID, DPCode, DPName) values (302, 'DP02', '气泡')",
        "insert into L_AControlItemDP (CID, DPID) values (202, 301)",
        "insert into L_AControlItemDP (CID, DPID) values (202, 302)",
        "insert into L_Tag (TagID, TagCode, TagName, TagType) values (401, 'BC', '班次', 0)",
        "insert into L_Tag (TagID, TagCode, TagName, TagType) values (402, 'JT', '机台', 0)",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (401, 1, '早班', 1)",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (401, 2, '中班', 1)",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (402, 1, '1号机', 1)",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (402, 2, '2号机', 1)",
        "insert into L_TagTemplate (TagTemplateID, TagTemplateCode, TagTemplateName, Describe) "
        "values (501, 'SC01', '生产记录标签', '班次与机台')",
        "insert into L_TagTemplate (TagTemplateID, TagTemplateCode, TagTemplateName, Describe) "
        "values (502, 'SC02', '班次标签', '班次须选')",
        "insert into L_TagTemplateDetail (TagTemplateID, TagTemplateDetailID, TagID, TagValueID) values (501, 1, 401, 1)",
        "insert into L_TagTemplateDetail (TagTemplateID, TagTemplateDetailID, TagID, TagValueID) values (501, 2, 402, 1)",
        "insert into L_TagTemplateDetail (TagTemplateID, TagTemplateDetailID, TagID, TagValueID) values (502, 1, 401, null)",
    };
    for (const char* sql : statements) ExecuteSQL(QString::fromUtf8(sql));
    // A machine whose name is longer than the panel's 50 characters.
    ExecuteSQL(QStringLiteral("insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (402, 3, :V, 1)"),
               {{QStringLiteral("V"), QStringLiteral("三号机").repeated(20)}});
}

TBaseSingleSelectFrm& Single(QDialog& d)
{
    return dynamic_cast<TBaseSingleSelectFrm&>(d);
}
} // namespace

TTestHost::TTestHost()
{
    Area = new QMdiArea(this);
    setCentralWidget(Area);
    resize(1280, 800);
    show();
    TChildWindowHost::SetCurrent(this);
}

TTestHost::~TTestHost()
{
    TChildWindowHost::SetCurrent(nullptr);
}

void TTestHost::ShowChildWindow(QWidget* window)
{
    QMdiSubWindow* sub = nullptr;
    for (QMdiSubWindow* s : Area->subWindowList())
        if (s->widget() == window) sub = s;
    if (!sub) {
        sub = Area->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
    }
    sub->show();
    window->show();
    Area->setActiveSubWindow(sub);
}

TCollectFixture::TCollectFixture()
{
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    FillMasterData();
    TKQCommonDM::SetCurrent(&lookups);
    RegisterSelectionCommands(center);
    center.RegisterCommand(nullptr, QStringLiteral("VDataChange"), false,
                           TCommandEvent::FromCallable([this](TCommandParams& p, void*) {
                               VChanges << VariantToInt(p.FindParam(QStringLiteral("CID"))->Value);
                           }));
    center.RegisterCommand(nullptr, QStringLiteral("ADataChange"), false,
                           TCommandEvent::FromCallable([this](TCommandParams& p, void*) {
                               AChanges << VariantToInt(p.FindParam(QStringLiteral("CID"))->Value);
                           }));
}

TCollectFixture::~TCollectFixture()
{
    // Windows still open go without their closing question.
    db.Messages.DefaultAnswer = TMsgResult::No;
    QList<QPointer<QMdiSubWindow>> open;
    for (QMdiSubWindow* s : host.Area->subWindowList()) open << s;
    for (const QPointer<QMdiSubWindow>& s : open) delete s.data();
    TKQCommonDM::SetCurrent(nullptr);
}

void TCollectFixture::Choose(const QVariant& key)
{
    runner.Scripts << [key](QDialog& d) {
        TBaseSingleSelectFrm& s = Single(d);
        const TDataSet& ds = *s.DataSet();
        const int field = ds.FieldByName(s.KeyFieldName())->Index();
        for (int r = 0; r < ds.RecordCount(); ++r)
            if (VariantsEqual(ds.RowValue(r, field), key)) {
                const QModelIndex index = s.GridIndex(r);
                QTest::mouseClick(s.Grid->viewport(), Qt::LeftButton, {}, s.Grid->visualRect(index).center());
                QTest::mouseClick(s.btnOK, Qt::LeftButton);
                return;
            }
        ADD_FAILURE() << "no row " << key.toString().toStdString() << " in " << d.windowTitle().toStdString();
        QTest::mouseClick(s.btnCancel, Qt::LeftButton);
    };
}

void TCollectFixture::ChooseNone()
{
    runner.Scripts << [](QDialog& d) { QTest::mouseClick(Single(d).btnUnSelect, Qt::LeftButton); };
}

void TCollectFixture::CancelDialog()
{
    runner.Scripts << [](QDialog& d) { QTest::mouseClick(Single(d).btnCancel, Qt::LeftButton); };
}

int TCollectFixture::Count(const QString& sql) const
{
    return VariantToInt(GetSQLValue(sql));
}

void ChooseItem(TCollectFixture& f, TBaseCollectFrm* frm, int cid)
{
    f.Choose(cid);
    QTest::mouseClick(frm->btnItem, Qt::LeftButton);
}

void ChooseTemplate(TCollectFixture& f, TBaseCollectFrm* frm, int templateID)
{
    f.Choose(templateID);
    QTest::mouseClick(frm->ToolBar->widgetForAction(frm->actTag), Qt::LeftButton);
}

void KeyIn(TBaseCollectFrm* frm, const QString& text)
{
    TCollectGrid* grid = frm->Grid;
    if (!text.isEmpty()) {
        QTest::keyClicks(grid, text.left(1));
        QLineEdit* editor = grid->Editor();
        ASSERT_TRUE(editor && editor->isVisible()) << "typing opened no cell editor";
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor hands its text over from the event loop.
        QCoreApplication::processEvents();
    } else {
        QTest::keyClick(grid, Qt::Key_Return);
    }
}

void ClearCell(TBaseCollectFrm* frm)
{
    TCollectGrid* grid = frm->Grid;
    QTest::keyClick(grid, Qt::Key_F2);
    QLineEdit* editor = grid->Editor();
    ASSERT_TRUE(editor && editor->isVisible());
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

void Press(TBaseCollectFrm* frm, int key)
{
    QTest::keyClick(frm->Grid, static_cast<Qt::Key>(key));
}

void ClickSave(TBaseCollectFrm* frm)
{
    QTest::mouseClick(frm->ToolBar->widgetForAction(frm->actSave), Qt::LeftButton);
}

int CurrentRow(TBaseCollectFrm* frm)
{
    return frm->Grid->currentIndex().row();
}

QString CellText(TBaseCollectFrm* frm, int row, const QString& field)
{
    const int column = frm->Grid->ColumnOf(field);
    return frm->Grid->model()->index(row, column).data().toString();
}

void ClickCell(TBaseCollectFrm* frm, int row, const QString& field)
{
    TCollectGrid* grid = frm->Grid;
    const QModelIndex index = grid->model()->index(row, grid->ColumnOf(field));
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void ClickTagValueButton(TTagInputFrm* panel, int row)
{
    QTest::mouseClick(panel->Grid->viewport(), Qt::LeftButton, {}, panel->ValueButtonRect(row).center());
}

QStringList TagTexts(TTagInputFrm* panel)
{
    QStringList texts;
    const QAbstractItemModel* m = panel->Grid->model();
    for (int r = 0; r < m->rowCount(); ++r)
        texts << m->index(r, 0).data().toString() + QLatin1Char('=') + m->index(r, 1).data().toString();
    return texts;
}

void SaveShot(QWidget& w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    w.grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

void Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
