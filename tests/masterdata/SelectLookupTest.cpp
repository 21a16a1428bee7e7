// The look-up data module's statements on both engines, and the row handling of the selection
// dialogs without a window.
#include "TestDatabase.h"
#include "TestHelpers.h"

#include "foundation/DataSet.h"
#include "foundation/RecordUtils.h"
#include "masterdata/KQCommonDM.h"

#include <gtest/gtest.h>

namespace {
void FillLookups()
{
    const char* statements[] = {
        "insert into L_Process (ProID, ProCode, ProName) values (2, 'P2', '二车间')",
        "insert into L_Process (ProID, ProCode, ProName) values (1, 'P1', '一车间')",
        "insert into L_VControlItem (CID, CCode, CName, ProID) values (11, 'V1', '直径', 1)",
        "insert into L_VControlItem (CID, CCode, CName, ProID) values (12, 'V0', '无过程', null)",
        "insert into L_AControlItem (CID, CCode, CName, ProID, LotSize) values (21, 'A1', '外观', 2, 80)",
        "insert into L_DefectItem (DID, DCode, DName) values (31, 'D1', '外观')",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (41, 2, '中班', 0)",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (41, 1, '早班', 1)",
        "insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) values (42, 1, '1号机', 1)",
        "insert into L_TagTemplate (TagTemplateID, TagTemplateCode, TagTemplateName) values (51, 'T1', '模板')",
        "insert into L_DefectPhenomenon (DPID, DPCode, DPName) values (61, 'DP1', '划伤')",
        "insert into L_Action (ActionID, ActionCode, ActionName, Describe) values (72, 'A2', '乙', '')",
        "insert into L_Action (ActionID, ActionCode, ActionName, Describe) values (71, 'A1', '甲', '')",
        "insert into L_Case (CaseID, CaseCode, CaseName, Describe) values (81, 'C1', '磨损', 'x')",
        "insert into L_JudgeRule (JRID, JRCode, JRName, JudgeType, Area_Run, Exception_Run, ExceptionType_Run) "
        "values (91, 'R1', '一点出界', 2, 1, 1, 8)",
        "insert into L_JudgeRuleTemplate (JRTID, JRTCode, JRTName) values (95, 'JT1', '常规')",
        "insert into L_JudgeRuleTemplateDetail (JRTID, JRID) values (95, 91)",
        "insert into D_Exception (CID, SN, JudgeSN, Describe) values (11, 3, 7, '第二次')",
        "insert into D_Exception (CID, SN, JudgeSN, Describe) values (11, 3, 5, '第一次')",
        "insert into D_Exception (CID, SN, JudgeSN, Describe) values (11, 4, 6, '别的子组')",
    };
    for (const char* sql : statements) ExecuteSQL(QString::fromUtf8(sql));
}

QStringList Column(TDataSet& ds, const QString& field)
{
    QStringList values;
    const int f = ds.FieldByName(field)->Index();
    for (int r = 0; r < ds.RecordCount(); ++r) values << DisplayTextOf(ds.RowValue(r, f));
    return values;
}

// Every query opens with its parameters bound and reads what the dialogs and windows show, on
// either engine.
void CheckStatements(TCompanyDM& database)
{
    FillLookups();
    TKQCommonDM dm(database);
    dm.qryTagValue().Open();
    EXPECT_TRUE(dm.qryTagValue().IsEmpty()) << "no tag given yet";
    dm.qryTagValue().Close();
    dm.qryTagValue().SetParamValue(QStringLiteral("TagID"), 41);
    dm.qryJudgeRuleTemplateDetail().SetParamValue(QStringLiteral("JRTID"), 95);
    dm.qryException().SetParamValue(QStringLiteral("CID"), 11);
    dm.qryException().SetParamValue(QStringLiteral("SN"), 3);
    const struct {
        TZCQuery& query;
        const char* field;
        QStringList values;
    } cases[] = {
        {dm.qryProcess(), "ProCode", {"P1", "P2"}},
        {dm.qryVControlItem(), "ProCode", {"", "P1"}},
        {dm.qryAControlItem(), "ProCode", {"P2"}},
        {dm.qryAControlItem(), "LotSize", {"80"}},
        {dm.qryDefectItem(), "DName", {"外观"}},
        {dm.qryTagValue(), "TagValue", {"早班", "中班"}},
        {dm.qryTagTemplate(), "TagTemplateName", {"模板"}},
        {dm.qryDefectPhenomenon(), "Selected", {"0"}},
        {dm.qryMAction(), "ActionCode", {"A1", "A2"}},
        {dm.qryMCase(), "Describe", {"x"}},
        {dm.qryJudgeRuleTemplate(), "JRTCode", {"JT1"}},
        {dm.qryJudgeRuleTemplateDetail(), "ExceptionType_Run", {"8"}},
        {dm.qryMJudgeRule(), "Selected", {"0"}},
        {dm.qryException(), "Describe", {"第一次", "第二次"}},
    };
    for (const auto& c : cases) {
        c.query.Open();
        EXPECT_EQ(Column(c.query, QString::fromLatin1(c.field)), c.values) << c.query.objectName().toStdString() << "." << c.field;
        c.query.Close();
    }
}
} // namespace

TEST(LookupModule, Statements)
{
    TTestDatabase db;
    CheckStatements(db.DM());
}

TEST(LookupModule, CurrentInstanceGoesWithIt)
{
    TTestDatabase db;
    {
        TKQCommonDM dm(db.DM());
        TKQCommonDM::SetCurrent(&dm);
        EXPECT_EQ(TKQCommonDM::Current(), &dm);
    }
    EXPECT_EQ(TKQCommonDM::Current(), nullptr);
}

TEST(LookupModule, SingleSelectionOutcomes)
{
    TTestDatabase db;
    FillLookups();
    TKQCommonDM dm(db.DM());
    TZCQuery& q = dm.qryProcess();
    q.Open();
    const struct {
        const char* why;
        int row;
        bool accepted, unselected;
        int id;
        const char* name;
    } cases[] = {
        {"OK on a row", 1, true, false, 2, "二车间"},
        {"Cancel", 1, false, false, NullValue, ""},
        {"Cancel ignores a 不选 flag", 1, false, true, NullValue, ""},
        {"不选 chooses no identifier", 0, true, true, NullValue, ""},
        {"OK without a row acts as Cancel", -1, true, false, NullValue, ""},
        {"a row past the end is no row", 5, true, false, NullValue, ""},
    };
    for (const auto& c : cases) {
        const TSingleSelection s = SingleSelection(q, c.row, "ProID", "ProName", c.accepted, c.unselected);
        EXPECT_EQ(s.UnSelected, c.accepted && c.unselected) << c.why;
        EXPECT_EQ(s.ID, c.id) << c.why;
        EXPECT_EQ(s.Name, QString::fromUtf8(c.name)) << c.why;
    }
}

TEST(LookupModule, LocatingAndMarking)
{
    TTestDatabase db;
    FillLookups();
    TKQCommonDM dm(db.DM());
    TZCQuery& q = dm.qryMAction();
    q.Open();
    EXPECT_TRUE(LocateSelectKey(q, "ActionID", 72));
    EXPECT_EQ(q.RecNo(), 2);
    for (const QVariant& none : {QVariant(), QVariant(NullValue), QVariant(5), QVariant(QStringLiteral("abc"))}) {
        q.Last();
        EXPECT_FALSE(LocateSelectKey(q, "ActionID", none));
        EXPECT_EQ(q.RecNo(), 1);
    }

    // The caller's key may be text or a number of another type: the key texts are compared.
    TMemTable current;
    current.AddFieldDef(QStringLiteral("Key"), TFieldType::String);
    current.CreateDataSet();
    current.AppendRecord({QStringLiteral("72")});
    current.AppendRecord({QStringLiteral("999")});
    current.AppendRecord({QVariant()});
    q.SetRecNo(1);
    EXPECT_EQ(MarkSelectedRows(q, "ActionID", &current, "Key"), 1);
    EXPECT_EQ(Column(q, "Selected"), (QStringList{"0", "1"}));
    EXPECT_EQ(q.RecNo(), 1);
    EXPECT_EQ(MarkSelectedRows(q, "ActionID", nullptr, "Key"), 0);

    // Closing for the dialog drops its ticks even when another holder keeps the list open.
    q.Open();
    CloseSelectDataSet(&q);
    EXPECT_TRUE(q.Active());
    EXPECT_EQ(Column(q, "Selected"), (QStringList{"0", "0"}));
    EXPECT_EQ(MessageOf([] { OpenSelectDataSet(nullptr, QStringLiteral("措施选择")); }),
              QStringLiteral("措施选择的数据集未指定或丢失"));
}
