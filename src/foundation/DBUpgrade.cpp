#include "foundation/DBUpgrade.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

QStringList UpgradeStatementsV2()
{
    QStringList list;
    list << QStringLiteral("Alter Table S_Module Add Column Code varchar(64)");
    const struct { int id; const char* code; } codes[] = {
        {1001, "TLProcessListFrm"}, {1002, "TLVControlItemListFrm"}, {1003, "TLDefectPhenomenonListFrm"},
        {1004, "TLDefectItemListFrm"}, {1005, "TLAControlItemListFrm"}, {1006, "TLCaseListFrm"},
        {1007, "TLActionListFrm"}, {1008, "TLJudgeRuleListFrm"}, {1009, "TLJudgeRuleTemplateListFrm"},
        {1010, "TLTagListFrm"}, {1011, "TLTagTemplateListFrm"}, {2001, "TVCollectFrm"},
        {2002, "TACollectFrm"}, {2003, "TVModifyFrm"}, {2004, "TAModifyFrm"},
        {3001, "TVControlItemAnalysisFrm"}, {3002, "TAControlItemAnalysisFrm"},
        {3003, "TVControlItemControlFrm"}, {3004, "TAControlItemControlFrm"},
    };
    for (const auto& c : codes)
        list << QStringLiteral("Update S_Module Set Code = '%1' where ID = %2").arg(QLatin1String(c.code)).arg(c.id);
    list << QStringLiteral("Update S_ModuleType Set PowerDefData = 15 where ID = 1")
         << QStringLiteral("Update S_ModuleType Set PowerDefData = 16 where ID = 2")
         << QStringLiteral("Update S_ModuleType Set PowerDefData = 112 where ID = 3")
         << QStringLiteral("Update S_ModuleType Set PowerDefData = 112 where ID = 4")
         << QStringLiteral("Insert into S_ModuleType(ID,Name,PowerDefData) Values(9,'系统管理',16)")
         << QStringLiteral("Delete from S_ModuleType where ID = 4")
         << QStringLiteral("Insert into S_Module(ID,Name,PowerDefData,TypeID) Values(2005,'计量型数据清理',0,2)")
         << QStringLiteral("Insert into S_Module(ID,Name,PowerDefData,TypeID) Values(2006,'计数型数据清理',0,2)")
         << QStringLiteral("Insert into S_Module(ID,Name,PowerDefData,TypeID) Values(9001,'系统参数设置',0,9)")
         << QStringLiteral("Insert into S_Module(ID,Name,PowerDefData,TypeID) Values(9002,'用户权限管理',0,9)")
         << QStringLiteral("Insert into S_Module(ID,Name,PowerDefData,TypeID) Values(9003,'数据备份',0,9)")
         << QStringLiteral("Insert into S_Module(ID,Name,PowerDefData,TypeID) Values(9004,'数据恢复',0,9)")
         << QStringLiteral("Insert into S_Module(ID,Name,PowerDefData,TypeID) Values(9005,'运行模式设置',0,9)")
         << QStringLiteral("Update SP_Duty Set IsAdmin = 1 where ID = 1")
         << QStringLiteral("Update SP_User Set IsAdmin = 1 where ID = 1")
         << QStringLiteral("Insert into S_Key(KeyName, KeyValue) Values('UserPower', 1)");
    return list;
}

QString DatabaseVersion()
{
    return VariantToString(GetSQLValue(QStringLiteral("Select Ver from S_System")));
}

void UpgradeDatabase()
{
    TCompanyDM& dm = CurrentCompanyDM();
    try {
        TTransactionGuard guard(dm);
        bool ok = false;
        const int version = DatabaseVersion().toInt(&ok);
        if (!ok) throw ESystemError(QStringLiteral("数据库版本无效"));
        if (version < SchemaVersion)
            for (const QString& sql : UpgradeStatementsV2()) ExecuteSQL(sql);
        ExecuteSQL(QStringLiteral("Update S_System Set Ver = :Ver"),
                   {{QStringLiteral("Ver"), QString::number(SchemaVersion)}});
        guard.Commit();
    } catch (const ESystemError&) {
        throw ESystemError(QStringLiteral("数据库升级失败！"));
    }
}
