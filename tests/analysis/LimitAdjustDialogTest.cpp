// "控制限调整" driven with the mouse and keys: the checks at OK and at "保存", limits computed
// from the data and given up again, a current limit row stored and read back, untouched limits
// keeping their precision, and the attribute dialog's fields per chart type.
#include "AnalysisTestSupport.h"

#include "analysis/windows/AdjustALimitFrm.h"
#include "analysis/windows/AdjustVLimitFrm.h"
#include "component/DialogRunner.h"
#include "engine/AttributeData.h"
#include "engine/VariableData.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <array>
#include <functional>
#include <gtest/gtest.h>

using namespace analysis_test;

namespace {
// Limits with more decimals than the fields show.
constexpr double kMUCL = 10.123456789, kMCL = 10.0000012345, kMLCL = 9.87654321;
constexpr double kSUCL = 0.4321987654, kSCL = 0.2000001, kSLCL = 0.0;

struct TLimitDialogFixture : ::testing::Test {
    TLimitDialogFixture()
    {
        FillMasterData();
        variables.SetCID(PistonRing);
        const double values[4][5] = {{10.1, 10.2, 10.3, 10.2, 10.1}, {10.0, 10.1, 10.2, 10.1, 10.0},
                                     {10.2, 10.3, 10.4, 10.3, 10.2}, {9.9, 10.0, 10.1, 10.0, 9.9}};
        for (int s = 0; s < 4; ++s) {
            TVariableData& d = variables.NewData();
            d.SN = s + 1;
            for (double x : values[s]) d.AddValue(x);
        }
        vdata.SetDataList(&variables);
        vdata.SetChartType(ctXBarR);
        TLimitInfo& l = vdata.LimitInfo;
        l.MUCL = kMUCL, l.MCL = kMCL, l.MLCL = kMLCL, l.SUCL = kSUCL, l.SCL = kSCL, l.SLCL = kSLCL;

        attributes.SetCID(Appearance);
        const int counts[4][2] = {{100, 4}, {100, 6}, {120, 3}, {80, 5}};
        for (int s = 0; s < 4; ++s) {
            TAttributeData& d = attributes.NewData();
            d.SN = s + 1;
            d.SetInspected(counts[s][0]);
            d.SetRejected(counts[s][1]);
        }
        adata.SetDataList(&attributes);
    }

    std::array<double, 6> VariableLimits() const
    {
        const TLimitInfo& l = vdata.LimitInfo;
        return {l.MUCL, l.MCL, l.MLCL, l.SUCL, l.SCL, l.SLCL};
    }
    int LimitRows() const
    {
        return VariantToInt(GetSQLValue(QStringLiteral("select count(*) from D_CLL")));
    }

    TTestDatabase db;
    TScriptedDialogRunner runner;
    TDialogRunnerScope scope{&runner};
    TVariableDataList variables;
    TVariableChartData vdata;
    TAttributeDataList attributes;
    TAttributeChartData adata;
};

template <class T>
TScriptedDialogRunner::TScript As(std::function<void(T&)> script)
{
    return [script](QDialog& d) { script(dynamic_cast<T&>(d)); };
}

void Click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton);
}

// Replaces the field's text as a person does: select all, type.
void Type(QLineEdit* edit, const QString& text)
{
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->isEnabled());
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void Save(QWidget& w, const QString& name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    ASSERT_TRUE(w.grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name));
}
} // namespace

// Each bad entry is refused with its message at OK and at "保存": the dialog stays, nothing is
// stored, and the cancel leaves the limits as they were.
TEST_F(TLimitDialogFixture, BadVariableLimitsAreRefusedAtOKAndAtSave)
{
    struct TCase {
        TLimitField Field;
        const char* Text;
        const char* Message;
    };
    const TCase cases[] = {
        {lfMCL, "abc", "请输入正确的控制限"},
        {lfSLCL, "", "请输入正确的控制限"},
        {lfMUCL, "1e999", "请输入正确的控制限"},
        {lfMUCL, "10.0000012345", "控制上限应大于控制限"},  // equal to the centre line
        {lfSUCL, "0.1", "控制上限应大于控制限"},
        {lfMLCL, "10.5", "控制限应大于控制下限"},
        {lfSLCL, "0.2000001", "控制限应大于控制下限"},
    };
    const auto before = VariableLimits();
    for (const TCase& c : cases)
        for (const char* button : {"btnOK", "btnSave"}) {
            SCOPED_TRACE(std::string(c.Text) + " " + button);
            db.Messages.Messages.clear();
            bool stayedOpen = false;
            runner.Scripts << As<TAdjustVLimitFrm>([&](TAdjustVLimitFrm& d) {
                Click(d.btnManual);
                Type(d.LimitEdit(c.Field), QString::fromUtf8(c.Text));
                Click(d.findChild<QPushButton*>(QString::fromLatin1(button)));
                stayedOpen = d.isVisible() && d.result() == QDialog::Rejected;
                Click(d.btnCancel);
            });
            EXPECT_FALSE(AdjustVariableLimits(vdata, nullptr));
            EXPECT_TRUE(stayedOpen);
            EXPECT_EQ(db.Messages.LastText(), QString::fromUtf8(c.Message));
            EXPECT_EQ(VariableLimits(), before);
            EXPECT_EQ(LimitRows(), 0);
        }
}

// "系统计算" fills the record and the fields, which are disabled again; 取消 gives the computed
// values up.
TEST_F(TLimitDialogFixture, ComputedLimitsAreGivenUpByCancel)
{
    const auto before = VariableLimits();
    runner.Scripts << As<TAdjustVLimitFrm>([&](TAdjustVLimitFrm& d) {
        EXPECT_FALSE(d.LimitEdit(lfMCL)->isEnabled());
        EXPECT_EQ(d.LimitEdit(lfMUCL)->text(), QStringLiteral("10.1235"));
        EXPECT_EQ(d.edtCName->text(), QStringLiteral("活塞环直径"));
        EXPECT_EQ(d.edtChartType->text(), ChartTypeName(ctXBarR));
        Click(d.btnManual);
        EXPECT_TRUE(d.LimitEdit(lfMCL)->isEnabled());
        Click(d.btnCalc);
        EXPECT_FALSE(d.LimitEdit(lfMCL)->isEnabled());
        // The mean of the four subgroup means.
        EXPECT_EQ(d.LimitEdit(lfMCL)->text(), QStringLiteral("10.13"));
        EXPECT_NEAR(vdata.LimitInfo.MCL, 10.13, 1e-9);
        Save(d, QStringLiteral("AdjustVLimitFrm.png"));
        Click(d.btnCancel);
    });
    EXPECT_FALSE(AdjustVariableLimits(vdata, nullptr));
    EXPECT_EQ(VariableLimits(), before);
    EXPECT_EQ(LimitRows(), 0);
}

// OK takes the typed limit; the ones left alone keep every decimal, not the four shown.
TEST_F(TLimitDialogFixture, OKKeepsUntouchedLimitsAtFullPrecision)
{
    runner.Scripts << As<TAdjustVLimitFrm>([&](TAdjustVLimitFrm& d) {
        Click(d.btnManual);
        Type(d.LimitEdit(lfMLCL), QStringLiteral("9.5"));
        Click(d.btnOK);
    });
    EXPECT_TRUE(AdjustVariableLimits(vdata, nullptr));
    EXPECT_EQ(VariableLimits(), (std::array<double, 6>{kMUCL, kMCL, 9.5, kSUCL, kSCL, kSLCL}));
    EXPECT_EQ(LimitRows(), 0);
}

// "保存" stores a current row (retiring the earlier one), the cancel afterwards keeps what was
// stored, the chart is to be redrawn, and the next opening shows the stored limits.
TEST_F(TLimitDialogFixture, SavedLimitsBecomeTheCurrentRowTheNextOpeningUses)
{
    vdata.LimitInfo.SaveLimits();  // an earlier current row
    runner.Scripts << As<TAdjustVLimitFrm>([&](TAdjustVLimitFrm& d) {
        Click(d.btnManual);
        Type(d.LimitEdit(lfMUCL), QStringLiteral("10.6"));
        Type(d.LimitEdit(lfSUCL), QStringLiteral("0.55"));
        Click(d.btnSave);
        EXPECT_TRUE(d.isVisible());
        Click(d.btnCancel);
    });
    EXPECT_TRUE(AdjustVariableLimits(vdata, nullptr));
    EXPECT_EQ(vdata.LimitInfo.MUCL, 10.6);
    EXPECT_EQ(vdata.LimitInfo.SUCL, 0.55);
    EXPECT_EQ(vdata.LimitInfo.MCL, kMCL);
    EXPECT_EQ(LimitRows(), 2);
    QSqlQuery q = db.DM().Exec(QStringLiteral("select MUCL, SUCL, MLCL, CL from D_CLL where IsCurrent = 1 and CID = :CID"),
                               {{QStringLiteral("CID"), PistonRing}});
    ASSERT_TRUE(q.next());
    EXPECT_DOUBLE_EQ(q.value(0).toDouble(), 10.6);
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 0.55);
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 9.8765);
    EXPECT_FALSE(q.next());

    TVariableChartData reopened;
    reopened.SetDataList(&variables);
    reopened.SetChartType(ctXBarR);
    EXPECT_TRUE(reopened.LimitInfo.Loaded);
    runner.Scripts << As<TAdjustVLimitFrm>([&](TAdjustVLimitFrm& d) {
        EXPECT_EQ(d.LimitEdit(lfMUCL)->text(), QStringLiteral("10.6"));
        EXPECT_EQ(d.LimitEdit(lfSUCL)->text(), QStringLiteral("0.55"));
        EXPECT_EQ(d.LimitEdit(lfMLCL)->text(), QStringLiteral("9.8765"));
        Click(d.btnCancel);
    });
    EXPECT_FALSE(AdjustVariableLimits(reopened, nullptr));
}

// Per attribute chart type: which fields there are, the centre line's range, the nP comparisons,
// and the hidden limits carried back unchanged.
TEST_F(TLimitDialogFixture, AttributeLimitsPerChartType)
{
    struct TCase {
        TChartType Type;
        const char* CL;
        const char* UCL;  // nullptr: the field is not there
        const char* LCL;
        const char* Message;  // nullptr: accepted
    };
    const TCase cases[] = {
        {ctP, "1.5", nullptr, nullptr, "P图的控制限应在0和1之间"},
        {ctP, "-0.01", nullptr, nullptr, "P图的控制限应在0和1之间"},
        {ctP, "x", nullptr, nullptr, "请输入正确的控制限"},
        {ctP, "0.25", nullptr, nullptr, nullptr},
        {ctP, "1", nullptr, nullptr, nullptr},
        {ctU, "-1", nullptr, nullptr, "控制限不能小于0"},
        {ctU, "2.5", nullptr, nullptr, nullptr},
        {ctC, "-0.5", nullptr, nullptr, "控制限不能小于0"},
        {ctC, "0", nullptr, nullptr, nullptr},
        {ctNP, "5", "5", "1", "控制上限应大于控制限"},
        {ctNP, "5", "9", "5", "控制限应大于控制下限"},
        {ctNP, "5", "", "1", "请输入正确的控制限"},
        {ctNP, "5", "9.5", "0.5", nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.CL) + " " + ChartTypeName(c.Type).toStdString());
        db.Messages.Messages.clear();
        adata.SetChartType(c.Type);
        TLimitInfo& l = adata.LimitInfo;
        l.CL = 0.05, l.UCL = 7, l.LCL = 3;
        runner.Scripts << As<TAdjustALimitFrm>([&](TAdjustALimitFrm& d) {
            EXPECT_EQ(d.LimitEdit(lfUCL) != nullptr, c.UCL != nullptr);
            EXPECT_EQ(d.LimitEdit(lfLCL) != nullptr, c.LCL != nullptr);
            EXPECT_EQ(d.LimitEdit(lfMCL), nullptr);
            Click(d.btnManual);
            Type(d.LimitEdit(lfCL), QString::fromUtf8(c.CL));
            if (c.UCL) Type(d.LimitEdit(lfUCL), QString::fromUtf8(c.UCL));
            if (c.LCL) Type(d.LimitEdit(lfLCL), QString::fromUtf8(c.LCL));
            if (c.Type == ctNP && !c.Message) Save(d, QStringLiteral("AdjustALimitFrm.png"));
            Click(d.btnOK);
            if (d.result() != QDialog::Accepted) Click(d.btnCancel);
        });
        EXPECT_EQ(AdjustAttributeLimits(adata, nullptr), c.Message == nullptr);
        EXPECT_EQ(db.Messages.LastText(), c.Message ? QString::fromUtf8(c.Message) : QString());
        const double cl = c.Message ? 0.05 : QString::fromUtf8(c.CL).toDouble();
        EXPECT_EQ(l.CL, cl);
        EXPECT_EQ(l.UCL, c.UCL && !c.Message ? QString::fromUtf8(c.UCL).toDouble() : 7.0);
        EXPECT_EQ(l.LCL, c.LCL && !c.Message ? QString::fromUtf8(c.LCL).toDouble() : 3.0);
    }
    EXPECT_EQ(LimitRows(), 0);
}

// An attribute "保存" stores the centre line under the chart type; the unused variable limits are
// stored as NULL when they hold no value.
TEST_F(TLimitDialogFixture, AttributeSaveStoresTheCentreLine)
{
    adata.SetChartType(ctP);
    TLimitInfo& l = adata.LimitInfo;
    l.MUCL = l.MCL = l.MLCL = l.SUCL = l.SCL = l.SLCL = NullValue;
    runner.Scripts << As<TAdjustALimitFrm>([&](TAdjustALimitFrm& d) {
        Click(d.btnCalc);
        EXPECT_EQ(d.LimitEdit(lfCL)->text(), QStringLiteral("0.045"));  // 18 of 400
        Click(d.btnSave);
        Click(d.btnCancel);
    });
    EXPECT_TRUE(AdjustAttributeLimits(adata, nullptr));
    QSqlQuery q = db.DM().Exec(
        QStringLiteral("select CL, MUCL from D_CLL where IsCurrent = 1 and CID = :CID and ChartType = :T"),
        {{QStringLiteral("CID"), Appearance}, {QStringLiteral("T"), ChartTypeCode(ctP)}});
    ASSERT_TRUE(q.next());
    EXPECT_DOUBLE_EQ(q.value(0).toDouble(), 0.045);
    EXPECT_TRUE(q.value(1).isNull());
}
