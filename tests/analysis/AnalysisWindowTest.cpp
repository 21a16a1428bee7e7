// The analysis and control windows and the exception review, driven as an engineer drives them on
// the demo factory: the condition dialog, chart switching, the display switches, checks with a
// template and with an own pick, the result window and its save, the point windows with causes
// and actions, the output rights and reselecting while result windows are open.
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "analysis/windows/AControlItemAnalysisFrm.h"
#include "analysis/windows/AControlItemControlFrm.h"
#include "analysis/windows/AnalysisWindows.h"
#include "analysis/windows/ConditionSSelectFrm.h"
#include "analysis/windows/VControlItemAnalysisFrm.h"
#include "analysis/windows/VControlItemControlFrm.h"
#include "component/DialogRunner.h"
#include "component/FormFactory.h"
#include "engine/windows/AChartFrm.h"
#include "engine/windows/ChartFormManager.h"
#include "engine/windows/ChartPanel.h"
#include "engine/windows/HChartFrm.h"
#include "engine/windows/ParetoChartFrm.h"
#include "engine/windows/VChartFrm.h"
#include "foundation/CommandCentre.h"
#include "foundation/RecordUtils.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/windows/BaseMulSelectFrm.h"
#include "masterdata/windows/BaseSingleSelectFrm.h"
#include "masterdata/windows/SelectionCommands.h"
#include "power/UserPowerCommon.h"
#include "rules/windows/AExceptionModifyFrm.h"
#include "rules/windows/ChartExceptionViewFrm.h"
#include "rules/windows/ChartJudgeSetFrm.h"
#include "rules/windows/JudgeRuleMSelectFrm.h"
#include "rules/windows/VExceptionModifyFrm.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {
template <class T>
TScriptedDialogRunner::TScript As(std::function<void(T&)> script)
{
    return [script](QDialog& d) { script(dynamic_cast<T&>(d)); };
}

void Click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton);
}

void Save(QWidget& w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    QCoreApplication::processEvents();  // the layout follows a chart window hidden or shown
    ASSERT_TRUE(w.grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name));
}

int RowShowing(QTableView* grid, int column, const QString& text)
{
    const QAbstractItemModel* m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r)
        if (m->index(r, column).data().toString() == text) return r;
    return -1;
}

QStringList ColumnTexts(QTableView* grid, int column)
{
    QStringList texts;
    for (int r = 0; r < grid->model()->rowCount(); ++r) texts << grid->model()->index(r, column).data().toString();
    return texts;
}

void ClickTickBox(QTableView* grid, int row)
{
    const QModelIndex index = grid->model()->index(row, 0);
    QStyleOptionViewItem option;
    option.initFrom(grid);
    option.rect = grid->visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = grid->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, grid);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, box.center());
}

// Chooses an entry of a drop-down list with the arrow keys, then Enter, as the keyboard does.
void ChooseWithKeys(QComboBox* box, const QString& text)
{
    const int target = box->findText(text);
    ASSERT_GE(target, 0) << text.toStdString();
    box->setFocus();
    if (box->currentIndex() < 0) QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() < target) QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > target) QTest::keyClick(box, Qt::Key_Up);
    // A key press does not activate an entry: the window listens for the user's choice.
    emit box->activated(box->currentIndex());
}

// Types text as the keyboard does, Chinese included.
void Type(QWidget* w, const QString& text)
{
    w->setFocus();
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Drops the list down and clicks the entry: the list closes on it, as a choice with the mouse.
void ChooseFromList(QComboBox* box, const QString& text)
{
    const int target = box->findText(text);
    ASSERT_GE(target, 0) << text.toStdString();
    box->showPopup();
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(view->isVisible());
    const QModelIndex index = view->model()->index(target, box->modelColumn());
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    if (view->isVisible()) QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
}

// The demo's rights: the administrator, or a user with the given rights on every analysis module.
struct TFixture : ::testing::Test {
    TFixture() : db(TTestDatabase::TContent::Demo)
    {
        power.LoadUser(1);
        TWBUserPower::SetCurrent(&power);
        TKQCommonDM::SetCurrent(&lookups);
        RegisterSelectionCommands(center);
        RegisterAnalysisWindowClasses(factory);
        TClassFactory::SetCurrent(&factory);
    }
    ~TFixture() override
    {
        for (const QPointer<QWidget>& w : Windows)
            if (w) delete w.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EditExceptionPointHook() = nullptr;
        TClassFactory::SetCurrent(nullptr);
        TKQCommonDM::SetCurrent(nullptr);
        TWBUserPower::SetCurrent(nullptr);
        SetPowerReadOnly(false);
    }

    TTestDatabase db;
    TWBUserPower power;
    TKQCommonDM lookups{db.DM()};
    TCommandCenter center;
    TWidgetClassFactory factory;
    TScriptedDialogRunner runner;
    TDialogRunnerScope runnerScope{&runner};
    QList<QPointer<QWidget>> Windows;

    int CID(const char* code)
    {
        return GetSQLValue("select CID from L_VControlItem where CCode = :C union select CID from L_AControlItem where CCode = :D",
                           {{"C", QString::fromLatin1(code)}, {"D", QString::fromLatin1(code)}})
            .toInt();
    }

    // The condition dialog: the item by its code, the whole history, the chart type, OK.
    TScriptedDialogRunner::TScript Condition(const QString& code, TChartType type)
    {
        return As<TConditionSSelectFrm>([this, code, type](TConditionSSelectFrm& d) {
            runner.Scripts.prepend(As<TBaseSingleSelectFrm>([code](TBaseSingleSelectFrm& s) {
                const int row = RowShowing(s.Grid, 0, code);
                ASSERT_GE(row, 0) << code.toStdString();
                QTest::mouseClick(s.Grid->viewport(), Qt::LeftButton, {},
                                  s.Grid->visualRect(s.Grid->model()->index(row, 0)).center());
                Click(s.btnOK);
            }));
            Click(d.btnCharacter);
            d.dtpStartDate->setFocus();
            d.dtpStartDate->setDate(QDate::currentDate().addYears(-2));
            ChooseWithKeys(d.cmbChartType, ChartTypeName(type));
            Click(d.btnOK);
        });
    }

    template <class T>
    T* Open(const QString& code, TChartType type)
    {
        runner.Scripts << Condition(code, type);
        auto* w = new T();
        Windows << w;
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        QCoreApplication::processEvents();
        return w;
    }

    // "检测" with the template of that name, or with the own pick of the rule codes.
    TChartExceptionViewFrm* Check(TBaseControlItemFrm& w, const QString& templateName, const QStringList& ownRules = {})
    {
        runner.Scripts << As<TChartJudgeSetFrm>([this, templateName, ownRules](TChartJudgeSetFrm& d) {
            if (!templateName.isEmpty()) ChooseWithKeys(d.cmbTemplate, templateName);
            if (!ownRules.isEmpty()) {
                // The rules the grid shows start ticked: the ticks are set to the pick.
                runner.Scripts.prepend(As<TBaseMulSelectFrm>([ownRules](TBaseMulSelectFrm& s) {
                    const QAbstractItemModel* m = s.Grid->model();
                    for (int r = 0; r < m->rowCount(); ++r) {
                        const bool ticked = m->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
                        if (ticked != ownRules.contains(m->index(r, 1).data().toString())) ClickTickBox(s.Grid, r);
                    }
                    Click(s.btnOK);
                }));
                Click(d.btnSelect);
            }
            Click(d.btnOK);
        });
        const int before = w.ResultWindows().size();
        Click(w.btnJudge);
        const QList<TChartExceptionViewFrm*> views = w.ResultWindows();
        if (views.size() == before) return nullptr;
        Windows << views.last();
        return views.last();
    }

    static TVChartFrm* VChart(TBaseControlItemFrm& w) { return qobject_cast<TVChartFrm*>(w.CurrentChart()); }
};

int StoredExceptions(int cid)
{
    return GetSQLValue("select count(*) from D_Exception where CID = :C", {{"C", cid}}).toInt();
}

int StoredState(int cid, int sn)
{
    return GetSQLValue("select State from D_VDM where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}).toInt();
}

// The first point of the chart in that state, or -1.
int FirstPoint(const TVariableChartData& data, TSubgroupState state)
{
    for (int i = 0; i < data.Count(); ++i)
        if (data.Data(i).State == state) return i;
    return -1;
}
} // namespace

TEST_F(TFixture, TheFourWindowsAreRegisteredUnderTheirOwnCodes)
{
    const QStringList names{"TVControlItemAnalysisFrm", "TAControlItemAnalysisFrm", "TVControlItemControlFrm",
                            "TAControlItemControlFrm"};
    const QStringList captions{"计量型特性分析", "计数型特性分析", "计量型特性控制", "计数型特性控制"};
    for (int i = 0; i < names.size(); ++i) {
        std::unique_ptr<QObject> w(factory.FormClassByName(names[i]).Create());
        auto* frm = qobject_cast<TBaseControlItemFrm*>(w.get());
        ASSERT_NE(frm, nullptr) << names[i].toStdString();
        EXPECT_EQ(QString::fromLatin1(frm->metaObject()->className()), names[i]);
        EXPECT_EQ(frm->windowTitle(), captions[i]);
        // Only the analysis windows adjust limits.
        EXPECT_EQ(frm->btnLimit->isVisibleTo(frm), i < 2) << names[i].toStdString();
    }
    EXPECT_TRUE(static_cast<bool>(EditExceptionPointHook()));
}

TEST_F(TFixture, CancellingTheFirstConditionDialogClosesTheWindow)
{
    QPointer<TVControlItemAnalysisFrm> w = new TVControlItemAnalysisFrm();
    Windows << w.data();
    w->show();  // no script: the condition dialog is cancelled
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(runner.Shown, QStringList{"TVAnalysisConditionSelectFrm"});
}

TEST_F(TFixture, VariableChartsAreSwitchedAndReusedWithTheirDisplaySwitches)
{
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    EXPECT_EQ(w->CurrentChartType(), ctXBarR);
    EXPECT_TRUE(db.Messages.Texts().contains("控制限未指定，系统将自动计算出控制限，若要修改请点击控制限修改按钮"));
    TVChartFrm* xbar = VChart(*w);
    ASSERT_NE(xbar, nullptr);
    EXPECT_TRUE(xbar->isVisible());
    EXPECT_EQ(xbar->parentWidget(), w->ChartPanel);
    EXPECT_GT(xbar->Data()->MainUCL(), xbar->Data()->MainCL());
    EXPECT_EQ(w->cmbChartType->currentText(), ChartTypeName(ctXBarR));
    EXPECT_TRUE(w->btnJudge->isEnabled());
    EXPECT_FALSE(w->edtCount->isVisible());

    Click(w->btnShow);  // the face toggles the statistics
    EXPECT_TRUE(w->StatisticsShown());
    EXPECT_TRUE(xbar->StatisticsShown());
    EXPECT_EQ(w->actStatistics->text(), QStringLiteral("隐藏统计量"));
    w->actSpecLimits->trigger();
    EXPECT_TRUE(xbar->Chart()->ShowSpecLines());
    EXPECT_EQ(w->actSpecLimits->text(), QStringLiteral("隐藏规格限"));
    Save(*w, "analysis_variable_xbar.png");

    const int announced = db.Messages.Texts().size();
    ChooseFromList(w->cmbChartType, ChartTypeName(ctHistogram));
    EXPECT_EQ(w->CurrentChartType(), ctHistogram);
    EXPECT_EQ(db.Messages.Texts().size(), announced) << "the histogram has no control limits to announce";
    auto* hist = qobject_cast<THChartFrm*>(w->CurrentChart());
    ASSERT_NE(hist, nullptr);
    EXPECT_FALSE(xbar->isVisible());
    EXPECT_TRUE(w->edtCount->isVisible());
    EXPECT_TRUE(w->btnRefresh->isVisible());
    EXPECT_FALSE(w->btnJudge->isEnabled());
    EXPECT_FALSE(w->btnLimit->isEnabled());
    EXPECT_FALSE(w->actSpecLimits->isVisible());
    // The group count goes to the histogram with 刷新.
    w->edtCount->setFocus();
    w->edtCount->selectAll();
    QTest::keyClicks(w->edtCount, "7");
    Click(w->btnRefresh);
    EXPECT_EQ(hist->GroupCountEdit->value(), 7);
    Save(*w, "analysis_variable_histogram.png");

    ChooseFromList(w->cmbChartType, ChartTypeName(ctXBarR));
    EXPECT_EQ(w->CurrentChart(), xbar) << "the first chart window is reused";
    EXPECT_EQ(w->Charts().Count(), 2);
    EXPECT_TRUE(w->StatisticsShown()) << "its switches are as they were";
    EXPECT_TRUE(w->SpecLimitsShown());
    EXPECT_TRUE(w->btnJudge->isEnabled());
    EXPECT_FALSE(w->edtCount->isVisible());
}

TEST_F(TFixture, AVariableItemOfSubgroupSizeOneOffersXRmAndHistogramOnly)
{
    auto* w = Open<TVControlItemControlFrm>("V003", ctXRm);
    QStringList offered;
    for (int i = 0; i < w->cmbChartType->count(); ++i) offered << w->cmbChartType->itemText(i);
    EXPECT_EQ(offered, (QStringList{ChartTypeName(ctXRm), ChartTypeName(ctHistogram)}));
    EXPECT_EQ(w->CurrentChartType(), ctXRm);
    Save(*w, "control_variable_xrm.png");
}

TEST_F(TFixture, CheckWithATemplateThenAnOwnPickAndSaveBoth)
{
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    const int cid = CID("V001");
    TVChartFrm* chart = VChart(*w);
    ASSERT_NE(chart, nullptr);

    // No template and no pick: no rules, no result window, nothing stored.
    EXPECT_EQ(Check(*w, QString()), nullptr);
    EXPECT_TRUE(runner.Shown.contains("TChartJudgeSetFrm"));
    EXPECT_EQ(StoredExceptions(cid), 0);

    QPointer<TChartExceptionViewFrm> first = Check(*w, "常用判异规则");
    ASSERT_FALSE(first.isNull());
    const int rows = first->Grid->model()->rowCount();
    ASSERT_GT(rows, 0) << "the demo's shift and drift break the rules";
    EXPECT_EQ(first->Grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("检测序号"));
    EXPECT_GE(FirstPoint(*chart->Data(), ssAbnormal), 0);
    EXPECT_EQ(first->BaseJudgeSN, 0);
    Save(*w, "analysis_judged_chart.png");
    first->resize(900, 400);
    Save(*first, "analysis_result_window.png");

    Click(first->btnSave);
    EXPECT_EQ(StoredExceptions(cid), rows);
    const int abnormal = GetSQLValue("select count(*) from D_VDM where CID = :C and State = 3", {{"C", cid}}).toInt();
    EXPECT_GT(abnormal, 0);
    const int firstMax = GetSQLValue("select max(JudgeSN) from D_Exception").toInt();
    Click(first->btnSave);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("已保存过，无需再保存！"));

    // A second run with one own rule: both result windows show its rows, a save stores them once,
    // numbered after everything stored before.
    QPointer<TChartExceptionViewFrm> second = Check(*w, QString(), {"R01"});
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(w->ChartJudge().Rules.Count(), 1);
    const int rows2 = second->Grid->model()->rowCount();
    ASSERT_GT(rows2, 0);
    EXPECT_EQ(first->Grid->model()->rowCount(), rows2);
    EXPECT_EQ(second->BaseJudgeSN, firstMax);
    Click(first->btnSave);
    EXPECT_EQ(StoredExceptions(cid), rows2);
    EXPECT_GT(GetSQLValue("select min(JudgeSN) from D_Exception where CID = :C", {{"C", cid}}).toInt(), firstMax);
    EXPECT_EQ(GetSQLValue("select count(distinct Expression) from D_Exception where CID = :C", {{"C", cid}}).toInt(), 1);
}

TEST_F(TFixture, SerialNumbersAreDrawnWhenTheResultIsSaved)
{
    // Another workstation stores a check between this check and its save.
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    QPointer<TChartExceptionViewFrm> view = Check(*w, QString(), {"R01"});
    ASSERT_FALSE(view.isNull());
    const int rows = view->Grid->model()->rowCount();
    ASSERT_GT(rows, 0);
    const int other = CID("V002");
    ExecuteSQL("insert into D_Exception (CID, SN, JudgeSN, CType, Expression, Describe) values (:C, 1, 1, 1, 'MR8,1,1', 'x')",
               {{"C", other}});
    ExecuteSQL("insert into D_Exception (CID, SN, JudgeSN, CType, Expression, Describe) values (:C, 2, 2, 1, 'MR8,1,1', 'x')",
               {{"C", other}});
    Click(view->btnSave);
    const int cid = CID("V001");
    EXPECT_EQ(StoredExceptions(cid), rows);
    EXPECT_EQ(GetSQLValue("select min(JudgeSN) from D_Exception where CID = :C", {{"C", cid}}).toInt(), 3);
    EXPECT_EQ(GetSQLValue("select count(*) from D_Exception where JudgeSN in (1, 2)").toInt(), 2);
    EXPECT_EQ(view->BaseJudgeSN, 2);
}

TEST_F(TFixture, PointWindowCausesTurnThePointLightBlueAndBack)
{
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    TVChartFrm* chart = VChart(*w);
    QPointer<TChartExceptionViewFrm> view = Check(*w, "常用判异规则");
    ASSERT_FALSE(view.isNull());
    Click(view->btnSave);
    const int cid = CID("V001");
    const int index = FirstPoint(*chart->Data(), ssAbnormal);
    ASSERT_GE(index, 0);
    const int sn = chart->Data()->Data(index).SN;
    const int exceptions = GetSQLValue("select count(*) from D_Exception where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}).toInt();
    QCoreApplication::processEvents();
    const QPoint at = chart->Chart()->MainPoints->PixelOf(index).toPoint();

    // A double click on the point opens the window; 编辑 picks two causes and OK stores them.
    QStringList rulesShown;
    QString snShown;
    runner.Scripts << As<TVExceptionModifyFrm>([&](TVExceptionModifyFrm& d) {
        snShown = d.Values.value("序号：")->text();
        rulesShown = d.memRules->toPlainText().split(";   ");
        runner.Scripts.prepend(As<TBaseMulSelectFrm>([](TBaseMulSelectFrm& s) {
            ClickTickBox(s.Grid, RowShowing(s.Grid, 1, "C01"));
            ClickTickBox(s.Grid, RowShowing(s.Grid, 1, "C03"));
            Click(s.btnOK);
        }));
        Click(d.btnCaseEdit);
        EXPECT_EQ(ColumnTexts(d.grdCase, 0), (QStringList{"C01", "C03"}));
        Type(d.edtNote, QStringLiteral("刀具寿命到期"));
        Save(d, "exception_point_window.png");
        Click(d.btnOK);
    });
    QTest::mouseDClick(chart->ChartPanel(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(runner.Shown.contains("TVExceptionModifyFrm"));
    EXPECT_EQ(snShown, QString::number(sn));
    EXPECT_EQ(rulesShown.size(), exceptions);
    EXPECT_EQ(chart->Data()->Data(index).State, ssHandled);
    EXPECT_EQ(chart->Data()->PointColor(index), QColor(0x5F, 0xD8, 0xF1));
    EXPECT_EQ(StoredState(cid, sn), 4);
    EXPECT_EQ(GetSQLValue("select count(*) from D_Case where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}).toInt(), 2);
    EXPECT_EQ(GetSQLString("select ExceptionNote from D_VDM where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}),
              QStringLiteral("刀具寿命到期"));
    Save(*w, "analysis_handled_point.png");

    // The point menu's 编辑: 清空 removes the causes; the subgroup still has its exception rows.
    runner.Scripts << As<TVExceptionModifyFrm>([](TVExceptionModifyFrm& d) {
        EXPECT_EQ(ColumnTexts(d.grdCase, 0), (QStringList{"C01", "C03"}));
        EXPECT_EQ(d.edtNote->text(), QStringLiteral("刀具寿命到期"));
        Click(d.btnCaseClear);
        Click(d.btnOK);
    });
    ASSERT_TRUE(chart->ChartPanel()->ClickAt(at, Qt::RightButton));
    QMenu* menu = chart->ChartPanel()->PointMenu();
    QAction* edit = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == QStringLiteral("编辑")) edit = a;
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    menu->hide();
    edit->trigger();
    EXPECT_EQ(chart->Data()->Data(index).State, ssAbnormal);
    EXPECT_EQ(StoredState(cid, sn), 3);
    EXPECT_EQ(GetSQLValue("select count(*) from D_Case where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}).toInt(), 0);
}

TEST_F(TFixture, PointWindowStatesFollowTheStoredSubgroup)
{
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    TVChartFrm* chart = VChart(*w);
    TVariableChartData& data = *chart->Data();
    const int cid = CID("V001");
    // Nothing judged: every point is unchecked.
    const int index = 3;
    const int sn = data.Data(index).SN;
    ASSERT_EQ(data.Data(index).State, ssUnchecked);

    struct TCase {
        const char* name;
        std::function<void(TVExceptionModifyFrm&)> script;
        bool changed;
        TSubgroupState shown;
        int stored;
    };
    const TCase cases[] = {
        // A note alone changes no state.
        {"note only", [](TVExceptionModifyFrm& d) { Type(d.edtNote, QStringLiteral("复测")); Click(d.btnOK); }, false, ssUnchecked, 1},
        // An action handles even an unchecked subgroup.
        {"action", [this](TVExceptionModifyFrm& d) {
             runner.Scripts.prepend(As<TBaseMulSelectFrm>([](TBaseMulSelectFrm& s) {
                 ClickTickBox(s.Grid, RowShowing(s.Grid, 1, "A04"));
                 Click(s.btnOK);
             }));
             Click(d.btnActionEdit);
             Click(d.btnOK);
         }, true, ssHandled, 4},
        // Without causes, actions or exception rows it is normal, not abnormal.
        {"cleared", [](TVExceptionModifyFrm& d) { Click(d.btnActionClear); Click(d.btnOK); }, true, ssNormal, 2},
    };
    for (const TCase& c : cases) {
        runner.Scripts << As<TVExceptionModifyFrm>(c.script);
        EXPECT_EQ(TVExceptionModifyFrm::EditExceptionPoint(data, index, sn, cid), c.changed) << c.name;
        EXPECT_EQ(data.Data(index).State, c.shown) << c.name;
        EXPECT_EQ(StoredState(cid, sn), c.stored) << c.name;
    }
    EXPECT_EQ(GetSQLString("select ExceptionNote from D_VDM where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}),
              QStringLiteral("复测"));

    // Deleted meanwhile: the message, the window stays open, nothing is written.
    bool stayedOpen = false;
    runner.Scripts << As<TVExceptionModifyFrm>([&](TVExceptionModifyFrm& d) {
        runner.Scripts.prepend(As<TBaseMulSelectFrm>([](TBaseMulSelectFrm& s) {
            ClickTickBox(s.Grid, RowShowing(s.Grid, 1, "C02"));
            Click(s.btnOK);
        }));
        Click(d.btnCaseEdit);
        DeleteVSubgroup(cid, sn);
        Click(d.btnOK);
        stayedOpen = d.isVisible() && d.result() != QDialog::Accepted;
        Click(d.btnCancel);
    });
    EXPECT_FALSE(TVExceptionModifyFrm::EditExceptionPoint(data, index, sn, cid));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("记录已被删除！"));
    EXPECT_EQ(GetSQLValue("select count(*) from D_Case where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}).toInt(), 0);
    EXPECT_EQ(GetSQLValue("select count(*) from D_VDM where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}).toInt(), 0);
}

TEST_F(TFixture, ReselectingClosesTheResultWindowsAndRebuildsTheCharts)
{
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    QPointer<TVChartFrm> before = VChart(*w);
    Click(w->btnShow);
    QPointer<TChartExceptionViewFrm> view = Check(*w, "基本规则");
    ASSERT_FALSE(view.isNull());
    runner.Scripts << As<TConditionSSelectFrm>([](TConditionSSelectFrm& d) { Click(d.btnOK); });
    Click(w->btnSelect);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull()) << "the result window of the earlier load is gone";
    EXPECT_TRUE(before.isNull()) << "every chart window is new after a reload";
    ASSERT_NE(VChart(*w), nullptr);
    EXPECT_FALSE(w->StatisticsShown());
    EXPECT_EQ(w->ChartJudge().Rules.Count(), 0);
    // Closing the window takes its new result windows with it.
    QPointer<TChartExceptionViewFrm> again = Check(*w, "基本规则");
    ASSERT_FALSE(again.isNull());
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(again.isNull());
    EXPECT_FALSE(lookups.qryJudgeRuleTemplate().Active());
}

TEST_F(TFixture, OutputNeedsThePrintAndDesignRights)
{
    QDir().mkpath(GetReportPath());
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPC_SOURCE_DIR "/resources/report/VChart.rls"), GetReportPath() + "/VChart.rls"));
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    Click(w->btnOutput);
    EXPECT_EQ(runner.Shown.count("QPrintPreviewDialog"), 1);
    w->actPreviewBW->trigger();
    EXPECT_EQ(runner.Shown.count("QPrintPreviewDialog"), 2);
    EXPECT_TRUE(VChart(*w)->ColorPrint) << "black and white for one preview only";

    // A user with every right but Print and Design on this module.
    SetPowerReadOnly(false);
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (7, 'u7', '工程师', '', 0, 0)");
    ExecuteSQL("insert into SP_UserPower (UserID, ModID, PData) values (7, 3001, 31)");
    TWBUserPower engineer;
    engineer.LoadUser(7);
    TWBUserPower::SetCurrent(&engineer);
    Click(w->btnOutput);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("你没有执行本项功能得权限，请联系系统管理员！"));
    w->actDesign->trigger();
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("你没有执行本项功能得权限，请联系系统管理员！"));
    EXPECT_EQ(runner.Shown.count("QPrintPreviewDialog"), 2);
    EXPECT_FALSE(runner.Shown.contains("TReportDesignerFrm"));
    TWBUserPower::SetCurrent(&power);
}

TEST_F(TFixture, TheLimitButtonOpensTheLimitDialog)
{
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    Click(w->btnLimit);  // no script: cancelled, nothing to redraw
    ASSERT_FALSE(runner.Shown.isEmpty());
    EXPECT_EQ(runner.Shown.last(), QStringLiteral("TAdjustVLimitFrm"));
}

TEST_F(TFixture, AttributeChartsParetoAndAnAttributePoint)
{
    auto* w = Open<TAControlItemAnalysisFrm>("A001", ctP);
    ASSERT_EQ(w->CurrentChartType(), ctP);
    auto* p = qobject_cast<TAChartFrm*>(w->CurrentChart());
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(w->actStatistics->isVisible());
    Click(w->btnShow);  // the face toggles the data
    EXPECT_TRUE(w->DataShown());
    EXPECT_TRUE(p->DataShown());

    ChooseFromList(w->cmbChartType, ChartTypeName(ctPareto));
    ASSERT_NE(qobject_cast<TParetoChartFrm*>(w->CurrentChart()), nullptr);
    EXPECT_FALSE(p->DataShown()) << "leaving a chart switches its data off";
    EXPECT_FALSE(w->btnJudge->isEnabled());
    EXPECT_TRUE(w->edtCount->isVisible());
    Save(*w, "analysis_attribute_pareto.png");
    ChooseFromList(w->cmbChartType, ChartTypeName(ctP));
    EXPECT_EQ(w->CurrentChart(), p);
    EXPECT_FALSE(w->DataShown());
    EXPECT_TRUE(w->btnJudge->isEnabled());

    QPointer<TChartExceptionViewFrm> view = Check(*w, QString(), {"R01"});
    ASSERT_FALSE(view.isNull());
    EXPECT_GT(view->Grid->model()->rowCount(), 0) << "the demo's p chart has points above its limit";
    Click(view->btnSave);
    EXPECT_GT(GetSQLValue("select count(*) from D_ADM where CID = :C and State = 3", {{"C", CID("A001")}}).toInt(), 0);
    Save(*w, "analysis_attribute_p.png");

    // The attribute point window: the counts of the subgroup and its defects.
    TAttributeChartData& data = *p->Data();
    const int cid = CID("A001");
    QStringList items;
    QString value;
    runner.Scripts << As<TAExceptionModifyFrm>([&](TAExceptionModifyFrm& d) {
        items = ColumnTexts(d.grdSample, 0);
        value = d.Values.value("P：")->text();
        Save(d, "exception_point_attribute.png");
        Click(d.btnCancel);
    });
    EXPECT_FALSE(TAExceptionModifyFrm::EditExceptionPoint(data, 0, data.Data(0).SN, cid));
    ASSERT_GE(items.size(), 5);
    EXPECT_EQ(items.mid(0, 5), (QStringList{"检验时间", "批量数", "检验数", "不良数", "缺点数合计"}));
    EXPECT_EQ(value, FormatNumber(data.ValueAt(0)));
}

namespace {
// The exception, cause and action tables refuse new rows until the guard ends.
struct TRefusedInserts {
    explicit TRefusedInserts(TTestDatabase& db, const QStringList& tables) : FDb(db), FTables(tables)
    {
        const bool server = db.DM().Engine() == TDbEngine::PostgreSQL;
        if (server)
            ExecuteSQL("create function refuse_rows() returns trigger language plpgsql as $$ begin raise exception 'refused'; end $$");
        for (const QString& t : tables) {
            if (server)
                ExecuteSQL(QStringLiteral("create trigger refuse_%1 before insert on %1 for each row execute function refuse_rows()").arg(t));
            else
                ExecuteSQL(QStringLiteral("create trigger refuse_%1 before insert on %1 begin select raise(abort, 'refused'); end").arg(t));
        }
    }
    ~TRefusedInserts()
    {
        const bool server = FDb.DM().Engine() == TDbEngine::PostgreSQL;
        for (const QString& t : FTables)
            ExecuteSQL(server ? QStringLiteral("drop trigger refuse_%1 on %1").arg(t) : QStringLiteral("drop trigger refuse_%1").arg(t));
        if (server) ExecuteSQL("drop function refuse_rows()");
    }
    TTestDatabase& FDb;
    QStringList FTables;
};
} // namespace

TEST_F(TFixture, AFailedSaveKeepsTheResultRowsAndThePointWindowsChoices)
{
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    const int cid = CID("V001");
    QPointer<TChartExceptionViewFrm> view = Check(*w, "基本规则");
    ASSERT_FALSE(view.isNull());
    const int rows = view->Grid->model()->rowCount();
    ASSERT_GT(rows, 0);
    {
        TRefusedInserts refused(db, {"D_Exception"});
        Click(view->btnSave);
        EXPECT_EQ(db.Messages.LastText(), QStringLiteral("规则检测结果保存失败！"));
    }
    EXPECT_FALSE(db.DM().InTransaction());
    EXPECT_EQ(StoredExceptions(cid), 0);
    EXPECT_EQ(view->Grid->model()->rowCount(), rows) << "the rows stay for another try";
    Click(view->btnSave);
    EXPECT_EQ(StoredExceptions(cid), rows);

    // The point window: the refused cause keeps the window open with the choice and the note.
    TVChartFrm* chart = VChart(*w);
    const int index = FirstPoint(*chart->Data(), ssAbnormal);
    ASSERT_GE(index, 0);
    const int sn = chart->Data()->Data(index).SN;
    QStringList kept;
    bool open = false;
    runner.Scripts << As<TVExceptionModifyFrm>([&](TVExceptionModifyFrm& d) {
        runner.Scripts.prepend(As<TBaseMulSelectFrm>([](TBaseMulSelectFrm& s) {
            ClickTickBox(s.Grid, RowShowing(s.Grid, 1, "C05"));
            Click(s.btnOK);
        }));
        Click(d.btnCaseEdit);
        Type(d.edtNote, QStringLiteral("量具"));
        {
            TRefusedInserts refused(db, {"D_Case"});
            Click(d.btnOK);
        }
        open = d.isVisible() && d.result() != QDialog::Accepted;
        kept = ColumnTexts(d.grdCase, 0);
        Click(d.btnOK);  // the same choice, written now
    });
    EXPECT_TRUE(TVExceptionModifyFrm::EditExceptionPoint(*chart->Data(), index, sn, cid));
    EXPECT_TRUE(open);
    EXPECT_TRUE(db.Messages.Texts().contains("数据保存失败！"));
    EXPECT_EQ(kept, QStringList{"C05"});
    EXPECT_EQ(StoredState(cid, sn), 4);
    EXPECT_EQ(GetSQLString("select ExceptionNote from D_VDM where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}),
              QStringLiteral("量具"));
    EXPECT_EQ(GetSQLValue("select count(*) from D_Case where CID = :C and SN = :S", {{"C", cid}, {"S", sn}}).toInt(), 1);
}

TEST_F(TFixture, TheRuleDialogShowsTheTemplateChosenBeforeAndATemplateReplacesAnOwnPick)
{
    auto* w = Open<TVControlItemAnalysisFrm>("V001", ctXBarR);
    ASSERT_NE(Check(*w, "基本规则"), nullptr);
    QString shown;
    QStringList afterPick, afterTemplate;
    runner.Scripts << As<TChartJudgeSetFrm>([&](TChartJudgeSetFrm& d) {
        shown = d.cmbTemplate->currentText();
        EXPECT_EQ(ColumnTexts(d.grdRule, 0), (QStringList{"R01", "R02", "R11"}));
        runner.Scripts.prepend(As<TBaseMulSelectFrm>([](TBaseMulSelectFrm& s) {
            ClickTickBox(s.Grid, RowShowing(s.Grid, 1, "R05"));  // R01, R02 and R11 start ticked
            Click(s.btnOK);
        }));
        Click(d.btnSelect);
        afterPick = ColumnTexts(d.grdRule, 0);
        ChooseWithKeys(d.cmbTemplate, "常用判异规则");
        afterTemplate = ColumnTexts(d.grdRule, 0);
        Click(d.btnCancel);
    });
    Click(w->btnJudge);
    EXPECT_EQ(shown, QStringLiteral("基本规则"));
    EXPECT_EQ(afterPick, (QStringList{"R01", "R02", "R05", "R11"}));
    EXPECT_EQ(afterTemplate, (QStringList{"R01", "R02", "R03", "R04", "R05", "R06", "R07", "R08"}));
    EXPECT_EQ(w->ResultWindows().size(), 1) << "a cancelled dialog runs no check";
}

TEST_F(TFixture, AReloadWithoutSubgroupsSaysSoAndLeavesNoChart)
{
    auto* w = Open<TAControlItemControlFrm>("A002", ctU);
    ASSERT_NE(w->CurrentChart(), nullptr);
    EXPECT_FALSE(w->btnLimit->isVisible());
    runner.Scripts << As<TConditionSSelectFrm>([](TConditionSSelectFrm& d) {
        d.dtpStartDate->setDate(QDate(2001, 1, 1));
        d.dtpEndDate->setDate(QDate(2001, 1, 2));
        Click(d.btnOK);
    });
    Click(w->btnSelect);
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("没有符合条件的数据，请选择其他特性或重新设置条件！"));
    EXPECT_EQ(w->CurrentChart(), nullptr);
    EXPECT_EQ(w->Charts().Count(), 0);
    EXPECT_EQ(w->CurrentChartType(), ctNone);
    for (QWidget* c : std::initializer_list<QWidget*>{w->btnJudge, w->btnShow, w->btnOutput, w->cmbChartType})
        EXPECT_FALSE(c->isEnabled());
    // No chart is shown, so none is preset: the next load asks for the type again.
    runner.Scripts << As<TConditionSSelectFrm>([](TConditionSSelectFrm& d) {
        EXPECT_EQ(d.cmbChartType->currentText(), QString());
        ChooseWithKeys(d.cmbChartType, ChartTypeName(ctU));
        d.dtpStartDate->setDate(QDate::currentDate().addYears(-2));
        d.dtpEndDate->setDate(QDate::currentDate());
        Click(d.btnOK);
    });
    Click(w->btnSelect);
    EXPECT_EQ(w->CurrentChartType(), ctU);
    EXPECT_TRUE(w->btnJudge->isEnabled());
}
