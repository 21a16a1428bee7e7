// The judge-rule maintenance windows, driven as a person drives them: keys and clicks on the real
// widgets, the edit windows and the rule choice through the scripted dialog runner, a real demo
// database. What the rule editor stores is read back with the judge's own reading of a rule.
#include "FormWindowFixture.h"
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "component/DataSetModel.h"
#include "component/DialogRunner.h"
#include "component/FormFactory.h"
#include "foundation/DataSet.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"
#include "foundation/SqlQuery.h"
#include "masterdata/KQCommonDM.h"
#include "masterdata/ListDM.h"
#include "masterdata/windows/DataEditDialog.h"
#include "power/UserPowerCommon.h"
#include "rules/ChartJudge.h"
#include "rules/JudgeRuleForm.h"
#include "rules/windows/JudgeRuleMSelectFrm.h"
#include "rules/windows/JudgeRuleWindows.h"
#include "rules/windows/LJudgeRuleEditFrm.h"
#include "rules/windows/LJudgeRuleListFrm.h"
#include "rules/windows/LJudgeRuleTemplateEditFrm.h"
#include "rules/windows/LJudgeRuleTemplateListFrm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {
// A demo database (rules R01 to R11; template T01 holds R01 to R08, T02 holds R01, R02 and R11),
// the administrator's rights, both data modules, the window factory and a scripted dialog runner.
struct TFixture : TFormWindowFixture {
    TFixture() : TFormWindowFixture(RegisterJudgeRuleWindowClasses) {}
};

template <class T>
T* EditWindowOf(QDialog& dialog)
{
    auto* host = qobject_cast<TDataEditDialog*>(&dialog);
    return host ? qobject_cast<T*>(host->EditWindow()) : nullptr;
}

// --- Playing the user -------------------------------------------------------------------------

// Character by character, as a keyboard (or an input method) delivers them.
void Type(QLineEdit* w, const QString& text)
{
    w->setFocus();
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void Retype(QLineEdit* w, const QString& text)
{
    w->setFocus();
    w->selectAll();
    QTest::keyClick(w, Qt::Key_Delete);
    Type(w, text);
}

void TypeNumber(QSpinBox* box, int n)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::number(n));
}

// Arrowing through the list (each step is a choice, as with the keyboard).
void Choose(QComboBox* list, const QString& text)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentText() != text; ++i) QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentText(), text);
}

// On the indicator, where a click always lands whatever width the layout gave the button.
void ClickIndicator(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->height() / 2, b->height() / 2));
}

void Click(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

void DoubleClickRow(QTableView* grid, int row)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// The grid row whose first column shows the text.
int RowOf(QTableView* grid, const QString& text)
{
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 0).data().toString() == text) return r;
    return -1;
}

QStringList Column(QTableView* grid, int column = 0)
{
    QStringList texts;
    for (int r = 0; r < grid->model()->rowCount(); ++r) texts << grid->model()->index(r, column).data().toString();
    return texts;
}

void ClickTickBox(TBaseSelectFrm& d, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(d.Grid);
    option.rect = d.Grid->visualRect(d.Grid->model()->index(row, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = d.Grid->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, d.Grid);
    QTest::mouseClick(d.Grid->viewport(), Qt::LeftButton, {}, box.center());
}

// The dialog's grid row of a rule code (column 1).
int RuleRow(const TBaseSelectFrm& d, const char* code)
{
    for (int r = 0; r < d.Grid->model()->rowCount(); ++r)
        if (d.Grid->model()->index(r, 1).data().toString() == QLatin1String(code)) return r;
    return -1;
}

// The codes (column 1) of the ticked rows.
QStringList Ticked(const TBaseSelectFrm& d)
{
    QStringList codes;
    const QAbstractItemModel* m = d.Grid->model();
    for (int r = 0; r < m->rowCount(); ++r)
        if (m->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked) codes << m->index(r, 1).data().toString();
    return codes;
}

void SaveShot(QWidget& w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    w.grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

// --- Reading back ------------------------------------------------------------------------------

int Count(const QString& sql, const TSqlParams& p = {})
{
    return GetSQLValue(sql, p).toInt();
}

// The stored rule of a code, as the judge would read it, with its description.
struct TStoredRule {
    bool Found = false;
    TJudgeRuleRow Row;
    QString Expression;
    QString Describe;
    int AutoDescribe = NullValue;
};

TStoredRule StoredRule(const QString& code)
{
    TQuery q;
    q.SetSQL({QStringLiteral("select * from L_JudgeRule where JRCode = :Code")});
    q.SetParamValue(QStringLiteral("Code"), code);
    q.Open();
    TStoredRule r;
    if (q.IsEmpty()) return r;
    r.Found = true;
    r.Row = JudgeRuleRowOf(q);
    r.Expression = JudgeRuleExpression(r.Row);
    r.Describe = q.FieldByName(QStringLiteral("Describe"))->AsString();
    r.AutoDescribe = q.FieldByName(QStringLiteral("AutoDescribe"))->AsInteger();
    return r;
}

QStringList TemplateRules(const QString& templateCode)
{
    QSqlQuery q = TCompanyDM::Current()->Exec(
        QStringLiteral("select b.JRCode from L_JudgeRuleTemplateDetail a, L_JudgeRule b, L_JudgeRuleTemplate t "
                       "where a.JRID = b.JRID and a.JRTID = t.JRTID and t.JRTCode = :Code order by b.JRCode"),
        {{QStringLiteral("Code"), templateCode}});
    QStringList codes;
    while (q.next()) codes << q.value(0).toString();
    return codes;
}

void ExpectSameRow(const TJudgeRuleRow& a, const TJudgeRuleRow& b, const char* why)
{
    EXPECT_EQ(a.TargetType, b.TargetType) << why;
    EXPECT_EQ(a.JudgeType, b.JudgeType) << why;
    EXPECT_EQ(a.Area_Trend, b.Area_Trend) << why;
    EXPECT_EQ(a.ExceptionType_Trend, b.ExceptionType_Trend) << why;
    EXPECT_EQ(a.Area_Run, b.Area_Run) << why;
    EXPECT_EQ(a.Exception_Run, b.Exception_Run) << why;
    EXPECT_EQ(a.ExceptionType_Run, b.ExceptionType_Run) << why;
}
} // namespace

// Every kind of expression keyed through the controls: what is stored is what the judge reads
// from the expression it writes, and the description follows the controls.
TEST(JudgeRuleWindows, ExpressionsFromTheControls)
{
    TFixture f;
    struct TCase {
        const char* why;
        bool secondary;
        bool trend;
        int n, m;
        const char* pattern;
        const char* expression;
        const char* describe;
    };
    const TCase cases[] = {
        {"the new rule as it starts: main chart, run", false, false, 3, 2, "在二倍和三倍的标准差内", "MR7,3,2",
         "主控制图3点中有2点在二倍和三倍的标准差内"},
        {"2 of 2 is accepted", false, false, 2, 2, "在一倍的标准差内", "MR5,2,2", "主控制图2点中有2点在一倍的标准差内"},
        {"secondary chart, run", true, false, 1, 1, "在控制限外", "SR8,1,1", "副控制图1点中有1点在控制限外"},
        {"specification limits", false, false, 25, 1, "在规格限外", "MR9,25,1", "主控制图25点中有1点在规格限外"},
        {"main chart, trend", false, true, 6, 0, "上升", "MT1,6", "主控制图连续6点上升"},
        {"the list shows code 4 without 在", false, true, 9, 0, "中心线同一侧", "MT4,9", "主控制图连续9点中心线同一侧"},
        {"secondary chart, trend, code 10", true, true, 14, 0, "相邻点上下交错", "ST10,14", "副控制图连续14点相邻点上下交错"},
    };
    auto* list = f.Open<TLJudgeRuleListFrm>();
    const int before = Count("select count(*) from L_JudgeRule");
    // A new rule left untouched goes without a question, although it holds its defaults.
    f.runner.Scripts << [&](QDialog& d) { Click(EditWindowOf<TLJudgeRuleEditFrm>(d)->btnCancelExit); };
    list->actNew->trigger();
    EXPECT_TRUE(f.db.Messages.Messages.isEmpty());
    EXPECT_EQ(Count("select count(*) from L_JudgeRule"), before);
    int i = 0;
    for (const TCase& c : cases) {
        const QString code = QStringLiteral("N%1").arg(++i);
        bool startsAsRun = false, runEmptied = false;
        f.runner.Scripts << [&](QDialog& d) {
            auto* e = EditWindowOf<TLJudgeRuleEditFrm>(d);
            ASSERT_TRUE(e);
            startsAsRun = e->rbMain->isChecked() && e->rbRun->isChecked() && e->chkAutoDescribe->isChecked() &&
                          !e->edtDescribe->isEnabled() && e->spnAreaRun->isEnabled() && !e->spnAreaTrend->isEnabled();
            Type(e->edtCode, code);
            Type(e->edtName, QString::fromUtf8(c.why).left(30));
            if (c.secondary) ClickIndicator(e->rbSub);
            if (c.trend) {
                // Run numbers first: the switch to a trend rule empties them.
                TypeNumber(e->spnAreaRun, 5);
                TypeNumber(e->spnExceptionRun, 4);
                Choose(e->cbRun, QStringLiteral("在控制限外"));
                ClickIndicator(e->rbTrend);
                runEmptied = e->spnAreaRun->Number() == 0 && e->spnExceptionRun->Number() == 0 &&
                             e->cbRun->currentIndex() == -1 && !e->spnAreaRun->isEnabled() && e->spnAreaTrend->isEnabled();
                TypeNumber(e->spnAreaTrend, c.n);
                Choose(e->cbTrend, QString::fromUtf8(c.pattern));
            } else {
                TypeNumber(e->spnAreaRun, c.n);
                TypeNumber(e->spnExceptionRun, c.m);
                Choose(e->cbRun, QString::fromUtf8(c.pattern));
            }
            EXPECT_EQ(e->edtDescribe->text(), QString::fromUtf8(c.describe)) << c.why;
            Click(e->btnSaveExit);
        };
        QTest::keyClick(list->DBGrid, Qt::Key_N, Qt::ControlModifier);
        EXPECT_TRUE(startsAsRun) << c.why;
        if (c.trend) EXPECT_TRUE(runEmptied) << c.why;
        const TStoredRule stored = StoredRule(code);
        ASSERT_TRUE(stored.Found) << c.why;
        EXPECT_EQ(stored.Expression, QString::fromLatin1(c.expression)) << c.why;
        ExpectSameRow(stored.Row, ParseJudgeExpression(QString::fromLatin1(c.expression)), c.why);
        EXPECT_EQ(stored.Describe, QString::fromUtf8(c.describe)) << c.why;
        EXPECT_EQ(stored.AutoDescribe, 1) << c.why;
    }
    EXPECT_TRUE(f.db.Messages.Messages.isEmpty()) << f.db.Messages.LastText().toStdString();
    list->close();
}

// An existing rule shows its type; moving on to another rule shows that one; the window's hook on
// the shared rule query goes with the window.
TEST(JudgeRuleWindows, ExistingRulesShowTheirTypeAndKeepNoPendingChange)
{
    TFixture f;
    auto* list = f.Open<TLJudgeRuleListFrm>();
    const int r03 = RowOf(list->DBGrid, QStringLiteral("R03"));  // 连续6点上升
    ASSERT_GE(r03, 0);
    struct TShown {
        bool trend = false, trendEnabled = false, runEnabled = true, main = false;
        int n = 0;
        QString pattern;
    } atR03, atR06;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLJudgeRuleEditFrm>(d);
        auto read = [e](TShown& s) {
            s.trend = e->rbTrend->isChecked();
            s.main = e->rbMain->isChecked();
            s.trendEnabled = e->spnAreaTrend->isEnabled() && e->cbTrend->isEnabled();
            s.runEnabled = e->spnAreaRun->isEnabled() && e->spnExceptionRun->isEnabled() && e->cbRun->isEnabled();
            s.n = s.trend ? e->spnAreaTrend->value() : e->spnAreaRun->value();
            s.pattern = s.trend ? e->cbTrend->currentText() : e->cbRun->currentText();
        };
        read(atR03);
        for (int k = 0; k < 3; ++k) Click(e->btnNext);  // R04, R05 (trends), R06 (3点中有2点)
        read(atR06);
        Click(e->btnCancelExit);
    };
    DoubleClickRow(list->DBGrid, r03);
    EXPECT_TRUE(atR03.trend);
    EXPECT_TRUE(atR03.main);
    EXPECT_TRUE(atR03.trendEnabled);
    EXPECT_FALSE(atR03.runEnabled);
    EXPECT_EQ(atR03.n, 6);
    EXPECT_EQ(atR03.pattern, QStringLiteral("上升"));
    EXPECT_FALSE(atR06.trend);
    EXPECT_FALSE(atR06.trendEnabled);
    EXPECT_TRUE(atR06.runEnabled);
    EXPECT_EQ(atR06.n, 3);
    EXPECT_EQ(atR06.pattern, QStringLiteral("在二倍和三倍的标准差内"));
    EXPECT_FALSE(f.db.Messages.Texts().contains(QStringLiteral("数据没有保存，保存数据？")))
        << "showing rules changes none of them";
    EXPECT_EQ(f.runner.Shown.size(), 1);
    EXPECT_FALSE(f.dm->qryJudgeRule->EventByName(QStringLiteral("AfterScroll"))) << "the hook went with the window";
    EXPECT_EQ(StoredRule(QStringLiteral("R06")).Describe, QStringLiteral("XBar-R 控制图中主控制图3点中有2点在二倍和三倍的标准差内"));

    // The reverse switch: a trend rule made a run rule loses its trend columns.
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLJudgeRuleEditFrm>(d);
        ClickIndicator(e->rbRun);
        TypeNumber(e->spnAreaRun, 8);
        TypeNumber(e->spnExceptionRun, 8);
        Choose(e->cbRun, QStringLiteral("在一倍和二倍的标准差内"));
        Click(e->btnSaveExit);
    };
    DoubleClickRow(list->DBGrid, RowOf(list->DBGrid, QStringLiteral("R03")));
    const TStoredRule r = StoredRule(QStringLiteral("R03"));
    EXPECT_EQ(r.Expression, QStringLiteral("MR6,8,8"));
    EXPECT_EQ(r.Row.Area_Trend, NullValue);
    EXPECT_EQ(r.Row.ExceptionType_Trend, NullValue);
    EXPECT_EQ(r.Describe, QStringLiteral("主控制图8点中有8点在一倍和二倍的标准差内"));

    // "保存&&新增": the next record shows as a new rule does, whatever the saved one was.
    bool nextShownAsNew = false;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLJudgeRuleEditFrm>(d);
        Type(e->edtCode, QStringLiteral("S1"));
        Type(e->edtName, QStringLiteral("极差连续下降"));
        ClickIndicator(e->rbSub);
        ClickIndicator(e->rbTrend);
        TypeNumber(e->spnAreaTrend, 7);
        Choose(e->cbTrend, QStringLiteral("下降"));
        Click(e->btnSaveNew);
        nextShownAsNew = e->edtCode->text().isEmpty() && e->rbMain->isChecked() && e->rbRun->isChecked() &&
                         e->spnAreaRun->isEnabled() && !e->spnAreaTrend->isEnabled() && e->chkAutoDescribe->isChecked() &&
                         e->cbTrend->currentIndex() == -1;
        Click(e->btnCancelExit);
    };
    list->actNew->trigger();
    EXPECT_TRUE(nextShownAsNew);
    EXPECT_EQ(StoredRule(QStringLiteral("S1")).Expression, QStringLiteral("ST3,7"));
    EXPECT_EQ(StoredRule(QStringLiteral("S1")).Describe, QStringLiteral("副控制图连续7点下降"));
    list->close();
}

// With "自动描述" off the typed description stays, whatever the numbers and lists become; switched
// on again, the description follows the expression at once.
TEST(JudgeRuleWindows, TypedDescriptionIsNeverOverwritten)
{
    TFixture f;
    auto* list = f.Open<TLJudgeRuleListFrm>();
    bool enabledWhenOff = false;
    QString afterChanges;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLJudgeRuleEditFrm>(d);
        Type(e->edtCode, QStringLiteral("D1"));
        Type(e->edtName, QStringLiteral("手写描述"));
        ClickIndicator(e->chkAutoDescribe);
        enabledWhenOff = e->edtDescribe->isEnabled();
        Type(e->edtDescribe, QStringLiteral("两点超出A区"));
        TypeNumber(e->spnAreaRun, 3);
        TypeNumber(e->spnExceptionRun, 2);
        Choose(e->cbRun, QStringLiteral("在二倍和三倍的标准差内"));  // a choice from the list too
        ClickIndicator(e->rbSub);
        afterChanges = e->edtDescribe->text();
        Click(e->btnSaveExit);
    };
    list->actNew->trigger();
    EXPECT_TRUE(enabledWhenOff);
    EXPECT_EQ(afterChanges, QStringLiteral("两点超出A区"));
    TStoredRule r = StoredRule(QStringLiteral("D1"));
    EXPECT_EQ(r.Describe, QStringLiteral("两点超出A区"));
    EXPECT_EQ(r.AutoDescribe, 0);
    EXPECT_EQ(r.Expression, QStringLiteral("SR7,3,2"));

    // Reopened: the typed text survives a changed number; switching back on composes it.
    QString afterNumber, afterOn;
    bool enabledWhenOn = true;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLJudgeRuleEditFrm>(d);
        EXPECT_FALSE(e->chkAutoDescribe->isChecked());
        TypeNumber(e->spnAreaRun, 4);
        afterNumber = e->edtDescribe->text();
        ClickIndicator(e->chkAutoDescribe);
        afterOn = e->edtDescribe->text();
        enabledWhenOn = e->edtDescribe->isEnabled();
        Click(e->btnSaveExit);
    };
    DoubleClickRow(list->DBGrid, RowOf(list->DBGrid, QStringLiteral("D1")));
    EXPECT_EQ(afterNumber, QStringLiteral("两点超出A区"));
    EXPECT_EQ(afterOn, QStringLiteral("副控制图4点中有2点在二倍和三倍的标准差内"));
    EXPECT_FALSE(enabledWhenOn);
    r = StoredRule(QStringLiteral("D1"));
    EXPECT_EQ(r.AutoDescribe, 1);
    EXPECT_EQ(r.Describe, afterOn);
    list->close();
}

// Each refusal of the checks, with its message in an error box (the required fields in a hint
// box); nothing is stored and the typed input stays in the window.
TEST(JudgeRuleWindows, ValidationMessages)
{
    TFixture f;
    using TSteps = std::function<void(TLJudgeRuleEditFrm&)>;
    auto named = [](TLJudgeRuleEditFrm& e) {
        Type(e.edtCode, QStringLiteral("V1"));
        Type(e.edtName, QStringLiteral("校验"));
    };
    struct TCase {
        const char* why;
        TSteps steps;
        const char* message;
        const char* caption;
    };
    const TCase cases[] = {
        {"no code", [](TLJudgeRuleEditFrm& e) { Type(e.edtName, QStringLiteral("校验")); }, "请输入编码", "提示"},
        {"no name", [](TLJudgeRuleEditFrm& e) { Type(e.edtCode, QStringLiteral("V1")); }, "请输入名称", "提示"},
        {"run rule without points", named, "需要检测的点数应大于0", "错误"},
        {"run rule without violating points",
         [&](TLJudgeRuleEditFrm& e) {
             named(e);
             TypeNumber(e.spnAreaRun, 3);
         },
         "违例点数应大于0", "错误"},
        {"2 of 1",
         [&](TLJudgeRuleEditFrm& e) {
             named(e);
             TypeNumber(e.spnAreaRun, 1);
             TypeNumber(e.spnExceptionRun, 2);
         },
         "违例点数应小于或等于需要检测的点数", "错误"},
        {"run rule without pattern",
         [&](TLJudgeRuleEditFrm& e) {
             named(e);
             TypeNumber(e.spnAreaRun, 3);
             TypeNumber(e.spnExceptionRun, 2);
         },
         "检测的项目不能为空", "错误"},
        {"trend rule without points",
         [&](TLJudgeRuleEditFrm& e) {
             named(e);
             ClickIndicator(e.rbTrend);
             Choose(e.cbTrend, QStringLiteral("下降"));
         },
         "需要检测的点数应大于0", "错误"},
        {"trend rule without pattern",
         [&](TLJudgeRuleEditFrm& e) {
             named(e);
             ClickIndicator(e.rbTrend);
             TypeNumber(e.spnAreaTrend, 7);
         },
         "检测的项目不能为空", "错误"},
    };
    auto* list = f.Open<TLJudgeRuleListFrm>();
    const int before = Count("select count(*) from L_JudgeRule");
    for (const TCase& c : cases) {
        f.db.Messages.Messages.clear();
        bool stayed = false;
        QString keptName;
        f.runner.Scripts << [&](QDialog& d) {
            auto* e = EditWindowOf<TLJudgeRuleEditFrm>(d);
            c.steps(*e);
            Click(e->btnSaveExit);
            stayed = d.result() != QDialog::Accepted;
            keptName = e->edtName->text();
            f.db.Messages.Answers << TMsgResult::No;  // leave without saving
            Click(e->btnCancelExit);
        };
        list->actNew->trigger();
        ASSERT_FALSE(f.db.Messages.Messages.isEmpty()) << c.why;
        EXPECT_EQ(f.db.Messages.Messages.first().Text, QString::fromUtf8(c.message)) << c.why;
        EXPECT_EQ(f.db.Messages.Messages.first().Caption, QString::fromUtf8(c.caption)) << c.why;
        EXPECT_TRUE(stayed) << c.why;
        if (QString::fromUtf8(c.why) != QStringLiteral("no name")) EXPECT_EQ(keptName, QStringLiteral("校验")) << c.why;
    }
    EXPECT_EQ(Count("select count(*) from L_JudgeRule"), before);
    list->close();
}

// A code already in use: the database refuses it, the window stays with everything typed, and a
// new code saves the same input.
TEST(JudgeRuleWindows, DuplicateCodeKeepsTheInput)
{
    TFixture f;
    auto* list = f.Open<TLJudgeRuleListFrm>();
    bool stayed = false;
    QString name, describe;
    int n = 0;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLJudgeRuleEditFrm>(d);
        Type(e->edtCode, QStringLiteral("R01"));
        Type(e->edtName, QStringLiteral("重复编码"));
        TypeNumber(e->spnAreaRun, 5);
        TypeNumber(e->spnExceptionRun, 4);
        Choose(e->cbRun, QStringLiteral("在一倍和二倍的标准差内"));
        Click(e->btnSaveExit);
        stayed = d.result() != QDialog::Accepted;
        name = e->edtName->text();
        describe = e->edtDescribe->text();
        n = e->spnAreaRun->value();
        Retype(e->edtCode, QStringLiteral("R99"));
        Click(e->btnSaveExit);
    };
    list->actNew->trigger();
    EXPECT_TRUE(f.db.Messages.Texts().contains(QStringLiteral("记录重复(编码或主键)，请检查！")));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(name, QStringLiteral("重复编码"));
    EXPECT_EQ(describe, QStringLiteral("主控制图5点中有4点在一倍和二倍的标准差内"));
    EXPECT_EQ(n, 5);
    EXPECT_EQ(StoredRule(QStringLiteral("R99")).Expression, QStringLiteral("MR6,5,4"));
    EXPECT_EQ(Count("select count(*) from L_JudgeRule where JRCode = 'R01'"), 1);
    list->close();
}

// A rule a template lists is refused deletion before the question is asked; a rule no template
// lists is deleted after it.
TEST(JudgeRuleWindows, RuleUsedByATemplateIsNotDeleted)
{
    TFixture f;
    auto* list = f.Open<TLJudgeRuleListFrm>();
    auto deleteRow = [&](const char* code) {
        f.db.Messages.Messages.clear();
        f.db.Messages.Answers << TMsgResult::Yes;
        const int row = RowOf(list->DBGrid, QString::fromLatin1(code));
        ASSERT_GE(row, 0);
        QTest::mouseClick(list->DBGrid->viewport(), Qt::LeftButton, {},
                          list->DBGrid->visualRect(list->GridModel->index(row, 0)).center());
        QTest::keyClick(list->DBGrid, Qt::Key_D, Qt::ControlModifier);
    };
    deleteRow("R11");  // in T02
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{QStringLiteral("该记录已被使用，不能删除！")});
    EXPECT_EQ(Count("select count(*) from L_JudgeRule where JRCode = 'R11'"), 1);
    EXPECT_EQ(TemplateRules(QStringLiteral("T02")), (QStringList{"R01", "R02", "R11"}));
    EXPECT_GE(RowOf(list->DBGrid, QStringLiteral("R11")), 0) << "the refused record stays in the list";
    deleteRow("R10");  // in no template
    EXPECT_EQ(f.db.Messages.Texts(), QStringList{QStringLiteral("删除本记录后将不可恢复，是否继续？")});
    EXPECT_EQ(Count("select count(*) from L_JudgeRule where JRCode = 'R10'"), 0);
    EXPECT_LT(RowOf(list->DBGrid, QStringLiteral("R10")), 0);
    list->close();
}

// "选择(&D)..." starts from the template's rules and replaces them by those ticked; ticking none
// empties the template. The browse window shows the new rules with their descriptions.
TEST(JudgeRuleWindows, TemplateRulesReplacedByTheChoice)
{
    TFixture f;
    auto* list = f.Open<TLJudgeRuleTemplateListFrm>();
    const int t02 = RowOf(list->MasterGrid, QStringLiteral("T02"));
    ASSERT_GE(t02, 0);
    QStringList tickedAtStart, shownAfterChoice;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLJudgeRuleTemplateEditFrm>(d);
        ASSERT_TRUE(e);
        EXPECT_EQ(Column(e->RuleGrid), (QStringList{"R01", "R02", "R11"}));
        Click(e->btnSelect);
        shownAfterChoice = Column(e->RuleGrid);
        Click(e->btnSaveExit);
    };
    f.runner.Scripts << [&](QDialog& d) {
        auto& s = dynamic_cast<TJudgeRuleMSelectFrm&>(d);
        tickedAtStart = Ticked(s);
        ClickTickBox(s, RuleRow(s, "R02"));  // off
        ClickTickBox(s, RuleRow(s, "R09"));  // on
        Click(s.btnOK);
    };
    DoubleClickRow(list->MasterGrid, t02);
    EXPECT_EQ(tickedAtStart, (QStringList{"R01", "R02", "R11"}));
    EXPECT_EQ(shownAfterChoice, (QStringList{"R01", "R09", "R11"}));
    EXPECT_EQ(TemplateRules(QStringLiteral("T02")), (QStringList{"R01", "R09", "R11"}));
    EXPECT_EQ(Column(list->DetailGrid), (QStringList{"R01", "R09", "R11"}));
    EXPECT_EQ(Column(list->DetailGrid, 2).value(1), QStringLiteral("XBar-R 控制图中主控制图连续7点不变"));

    // Nothing ticked: the template keeps no rule.
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLJudgeRuleTemplateEditFrm>(d);
        Click(e->btnSelect);
        Click(e->btnSaveExit);
    };
    f.runner.Scripts << [&](QDialog& d) {
        auto& s = dynamic_cast<TJudgeRuleMSelectFrm&>(d);
        for (int r = 0; r < s.Grid->model()->rowCount(); ++r)
            if (s.Grid->model()->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked) ClickTickBox(s, r);
        Click(s.btnOK);
    };
    DoubleClickRow(list->MasterGrid, RowOf(list->MasterGrid, QStringLiteral("T02")));
    EXPECT_TRUE(TemplateRules(QStringLiteral("T02")).isEmpty());
    EXPECT_EQ(list->DetailGrid->model()->rowCount(), 0);
    EXPECT_EQ(TemplateRules(QStringLiteral("T01")).size(), 8) << "the other template keeps its rules";
    list->close();
}

// A new template with its rules, its required fields, its deletion with its rows, and a browse
// menu without the detail items.
TEST(JudgeRuleWindows, NewTemplateAndItsDeletion)
{
    TFixture f;
    auto* list = f.Open<TLJudgeRuleTemplateListFrm>();
    for (QAction* a : {list->actDetailNew, list->actDetailEdit, list->actDetailDelete}) {
        EXPECT_FALSE(a->isVisible());
        EXPECT_FALSE(a->isEnabled());
    }
    QStringList messages, keptRules, filtered;
    f.runner.Scripts << [&](QDialog& d) {
        auto* e = EditWindowOf<TLJudgeRuleTemplateEditFrm>(d);
        Type(e->edtCode, QStringLiteral("T01"));
        Click(e->btnSelect);
        Click(e->btnSaveExit);  // no name
        Type(e->edtName, QStringLiteral("新模板"));
        Click(e->btnSaveExit);  // a code in use
        messages = f.db.Messages.Texts();
        keptRules = Column(e->RuleGrid);
        Retype(e->edtCode, QStringLiteral("T09"));
        Click(e->btnSaveExit);
    };
    f.runner.Scripts << [&](QDialog& d) {
        auto& s = dynamic_cast<TJudgeRuleMSelectFrm&>(d);
        EXPECT_TRUE(Ticked(s).isEmpty());
        Type(s.edtCode, QStringLiteral("R1"));
        for (int r = 0; r < s.Grid->model()->rowCount(); ++r) filtered << s.Grid->model()->index(r, 1).data().toString();
        ClickTickBox(s, RuleRow(s, "R11"));
        Retype(s.edtCode, QString());
        ClickTickBox(s, RuleRow(s, "R01"));
        ClickTickBox(s, RuleRow(s, "R03"));
        Click(s.btnOK);
    };
    QTest::keyClick(list->MasterGrid, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(filtered, (QStringList{"R10", "R11"}));
    EXPECT_EQ(messages, (QStringList{QStringLiteral("请输入名称"), QStringLiteral("记录重复(编码或主键)，请检查！")}));
    EXPECT_EQ(keptRules, (QStringList{"R01", "R03", "R11"})) << "the refused save keeps the chosen rules";
    EXPECT_EQ(TemplateRules(QStringLiteral("T09")), (QStringList{"R01", "R03", "R11"}));
    EXPECT_EQ(TemplateRules(QStringLiteral("T01")).size(), 8) << "the template whose code was typed first is untouched";
    const int id = Count("select JRTID from L_JudgeRuleTemplate where JRTCode = 'T09'");
    EXPECT_GT(id, 0) << "the key was drawn";

    // Deleting it takes its rows along, and only its rows.
    ASSERT_TRUE(list->MasterDataSet()->Locate(QStringLiteral("JRTCode"), QStringLiteral("T09")));
    f.db.Messages.Answers << TMsgResult::Yes;
    QTest::keyClick(list->MasterGrid, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Count("select count(*) from L_JudgeRuleTemplate where JRTCode = 'T09'"), 0);
    EXPECT_EQ(Count("select count(*) from L_JudgeRuleTemplateDetail where JRTID = :ID", {{"ID", id}}), 0);
    EXPECT_EQ(TemplateRules(QStringLiteral("T01")).size(), 8);
    list->close();
}

// Without the rights, the windows refuse from the shortcut, the menu and a double click.
TEST(JudgeRuleWindows, RightsRefused)
{
    TFixture f;
    ExecuteSQL("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin) values (5, 'u5', '检验员', '', 0, 0)");
    // Browse only on the rules; browse and new on the templates.
    ExecuteSQL("insert into SP_UserPower (UserID, ModID, PData) values (5, 1008, 1)");
    ExecuteSQL("insert into SP_UserPower (UserID, ModID, PData) values (5, 1009, 3)");
    SetPowerReadOnly(false);
    f.power.LoadUser(5);
    const QString refused = QStringLiteral("您没有本项操作的权限，请与系统管理员联系！");
    auto* rules = f.Open<TLJudgeRuleListFrm>();
    QTest::keyClick(rules->DBGrid, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(f.db.Messages.LastText(), refused);
    f.db.Messages.Messages.clear();
    DoubleClickRow(rules->DBGrid, 0);
    EXPECT_EQ(f.db.Messages.LastText(), refused);
    f.db.Messages.Messages.clear();
    rules->actDelete->trigger();
    EXPECT_EQ(f.db.Messages.LastText(), refused);
    rules->close();

    auto* templates = f.Open<TLJudgeRuleTemplateListFrm>();
    f.db.Messages.Messages.clear();
    DoubleClickRow(templates->MasterGrid, 0);
    EXPECT_EQ(f.db.Messages.LastText(), refused);
    EXPECT_TRUE(f.runner.Shown.isEmpty()) << "no edit window opened";
    templates->close();
}

TEST(JudgeRuleWindows, Screenshots)
{
    TFixture f;
    for (const QString& name : {QStringLiteral("TLJudgeRuleListFrm"), QStringLiteral("TLJudgeRuleTemplateListFrm")}) {
        auto* w = qobject_cast<TBaseDataFrm*>(f.factory.GetFormInstance(name));
        ASSERT_TRUE(w) << name.toStdString();
        w->resize(900, 460);
        f.Open(w);
        SaveShot(*w, name.mid(1));
        const bool isTemplate = name.contains(QStringLiteral("Template"));
        f.runner.Scripts << [&, name, isTemplate](QDialog& d) {
            d.adjustSize();
            if (isTemplate) d.resize(680, 480);
            SaveShot(d, QString(name).replace(QStringLiteral("ListFrm"), QStringLiteral("EditFrm")).mid(1));
            if (isTemplate) Click(EditWindowOf<TLJudgeRuleTemplateEditFrm>(d)->btnSelect);
        };
        if (isTemplate)
            f.runner.Scripts << [](QDialog& d) { SaveShot(d, QStringLiteral("JudgeRuleMSelectFrm")); };
        if (auto* md = qobject_cast<TLJudgeRuleTemplateListFrm*>(w)) {
            md->actMasterEdit->trigger();
            EXPECT_EQ(f.runner.Shown.size(), 2);
        } else {
            // A run rule with two of three points: the run controls enabled.
            ASSERT_TRUE(qobject_cast<TLJudgeRuleListFrm*>(w)->MainDataSet()->Locate("JRCode", "R06"));
            w->actEdit->trigger();
            EXPECT_EQ(f.runner.Shown.size(), 1);
        }
        f.runner.Shown.clear();
        w->close();
    }
}
