#include "foundation/Schema.h"

#include "foundation/CompanyDM.h"
#include "foundation/DemoData.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QUuid>

QStringList SchemaStatements()
{
    // Types both engines accept: INTEGER, DOUBLE PRECISION, VARCHAR(n), TEXT, TIMESTAMP.
    return {
        // Master lists
        "create table L_Process (ProID integer not null primary key, ProCode varchar(15), "
        "ProName varchar(32), ParentID integer, Describe varchar(200))",
        "create table L_VControlItem (CID integer not null primary key, CCode varchar(15), "
        "CName varchar(32), ProID integer, SampleSize integer, Step integer, nSigma integer, "
        "USL double precision, SL double precision, LSL double precision, Unit varchar(255), "
        "DefChart integer, DecPoint integer, Describe varchar(200))",
        "create table L_AControlItem (CID integer not null primary key, CCode varchar(15), "
        "CName varchar(32), ProID integer, LotSize integer, Describe varchar(200))",
        "create table L_AControlItemDP (CID integer not null, DPID integer not null, primary key (CID, DPID))",
        "create table L_DefectItem (DID integer not null primary key, DCode varchar(15), "
        "DName varchar(32), Describe varchar(200))",
        "create table L_DefectItemDP (DID integer not null, DPID integer not null, primary key (DID, DPID))",
        "create table L_DefectPhenomenon (DPID integer not null primary key, DPCode varchar(15), "
        "DPName varchar(32), Ponderance integer, DID integer, Describe varchar(200))",
        "create table L_Case (CaseID integer not null primary key, CaseCode varchar(15), "
        "CaseName varchar(32), Describe varchar(200))",
        "create table L_Action (ActionID integer not null primary key, ActionCode varchar(15), "
        "ActionName varchar(32), Describe varchar(200))",
        "create table L_Tag (TagID integer not null primary key, TagCode varchar(15), "
        "TagName varchar(32), TagType integer, Describe varchar(200))",
        "create table L_TagValue (TagID integer not null, TagValueID integer not null, "
        "TagValue varchar(128), UserInput integer, primary key (TagID, TagValueID))",
        "create table L_TagTemplate (TagTemplateID integer not null primary key, "
        "TagTemplateCode varchar(15), TagTemplateName varchar(32), Describe varchar(200))",
        "create table L_TagTemplateDetail (TagTemplateID integer not null, "
        "TagTemplateDetailID integer not null, TagID integer, TagValueID integer, "
        "primary key (TagTemplateID, TagTemplateDetailID))",
        "create table L_JudgeRule (JRID integer not null primary key, JRCode varchar(15), "
        "JRName varchar(32), Describe text, AutoDescribe integer, TargetType integer, "
        "JudgeType integer, Area_Trend integer, ExceptionType_Trend integer, Area_Run integer, "
        "Exception_Run integer, ExceptionType_Run integer)",
        "create table L_JudgeRuleTemplate (JRTID integer not null primary key, JRTCode varchar(15), "
        "JRTName varchar(32), Describe varchar(64))",
        "create table L_JudgeRuleTemplateDetail (JRTID integer not null, JRID integer not null, "
        "primary key (JRTID, JRID))",
        // Collected data
        "create table D_VDM (CID integer not null, SN integer not null, VCount integer, "
        "VSum double precision, VAvg double precision, R double precision, S double precision, "
        "State integer, TagTemplateID integer, UID integer, DID integer, WDate timestamp, "
        "ExceptionNote text, primary key (CID, SN))",
        "create table D_VDD (CID integer not null, SN integer not null, SSN integer not null, "
        "VResult double precision, WDate timestamp, primary key (CID, SN, SSN))",
        "create table D_ADM (CID integer not null, SN integer not null, Batch integer, "
        "Inspected integer, Rejected integer, Defected integer, P double precision, "
        "U double precision, State integer, TagTemplateID integer, UID integer, DID integer, "
        "WDate timestamp, ExceptionNote text, primary key (CID, SN))",
        "create table D_ADD (CID integer not null, SN integer not null, DPID integer not null, "
        "Defected integer, primary key (CID, SN, DPID))",
        "create table D_Tag (CID integer not null, SN integer not null, TagID integer not null, "
        "TagValueID integer, primary key (CID, SN, TagID))",
        "create table D_Exception (CID integer not null, SN integer not null, JudgeSN integer not null, "
        "CType integer, Expression text, Describe text, JudgeDate timestamp, "
        "primary key (CID, SN, JudgeSN))",
        "create table D_Case (CID integer not null, SN integer not null, CaseID integer not null, "
        "WDate timestamp, primary key (CID, SN, CaseID))",
        "create table D_Action (CID integer not null, SN integer not null, ActionID integer not null, "
        "WDate timestamp, primary key (CID, SN, ActionID))",
        "create table D_CLL (CID integer not null, ChartType integer not null, MUCL double precision, "
        "MCL double precision, MLCL double precision, SUCL double precision, SCL double precision, "
        "SLCL double precision, CL double precision, UCL double precision, LCL double precision, "
        "SDate timestamp, IsCurrent integer)",
        // Task working tables
        "create table m_Date (TaskID integer not null, SN integer not null, StartDate timestamp, "
        "EndDate timestamp, primary key (TaskID, SN))",
        "create table m_C (TaskID integer not null, CID integer not null, primary key (TaskID, CID))",
        "create table m_Tag (TaskID integer not null, TagID integer not null, TagValueID integer not null, "
        "Mandatory integer, primary key (TaskID, TagID, TagValueID))",
        "create table m_CTemp (TaskID integer not null, CID integer not null, SN integer not null)",
        // System tables
        "create table S_Key (KeyName varchar(255) not null primary key, KeyValue integer)",
        "create table S_MKey (MID integer not null primary key, KeyValue integer)",
        "create table S_System (Ver varchar(255))",
        "create table S_ModuleType (ID integer not null primary key, Name varchar(255), PowerDefData integer)",
        "create table S_Module (ID integer not null primary key, Name varchar(255), PowerDefData integer, "
        "TypeID integer)",
        // Users and permissions
        "create table SP_User (ID integer not null primary key, Code varchar(255), Name varchar(255), "
        "Password text, Stop integer, IsAdmin integer, Describe varchar(255))",
        "create table SP_Duty (ID integer not null primary key, Code varchar(255), Name varchar(255), "
        "IsAdmin integer, Describe varchar(255))",
        "create table SP_UserDuty (UserID integer not null, DutyID integer not null, primary key (UserID, DutyID))",
        "create table SP_UserPower (UserID integer not null, ModID integer not null, PData integer, "
        "primary key (UserID, ModID))",
        "create table SP_DutyPower (DutyID integer not null, ModID integer not null, PData integer, "
        "primary key (DutyID, ModID))",
        // Reads of the engine, the sample provider and the task tables
        "create index IX_D_VDM_CID_WDate on D_VDM (CID, WDate)",
        "create index IX_D_ADM_CID_WDate on D_ADM (CID, WDate)",
        "create index IX_D_CLL_CID on D_CLL (CID, ChartType, IsCurrent)",
        "create index IX_m_CTemp_Task on m_CTemp (TaskID, CID, SN)",
        "create index IX_m_Tag_Task on m_Tag (TaskID)",
        "create index IX_D_Tag_Tag on D_Tag (TagID, TagValueID)",
        "create index IX_D_Exception_Judge on D_Exception (JudgeSN)",
        // The users' own codes name one record each
        "create unique index UX_L_Process_Code on L_Process (ProCode)",
        "create unique index UX_L_VControlItem_Code on L_VControlItem (CCode)",
        "create unique index UX_L_AControlItem_Code on L_AControlItem (CCode)",
        "create unique index UX_L_DefectItem_Code on L_DefectItem (DCode)",
        "create unique index UX_L_DefectPhenomenon_Code on L_DefectPhenomenon (DPCode)",
        "create unique index UX_L_Case_Code on L_Case (CaseCode)",
        "create unique index UX_L_Action_Code on L_Action (ActionCode)",
        "create unique index UX_L_Tag_Code on L_Tag (TagCode)",
        "create unique index UX_L_TagTemplate_Code on L_TagTemplate (TagTemplateCode)",
        "create unique index UX_L_JudgeRule_Code on L_JudgeRule (JRCode)",
        "create unique index UX_L_JudgeRuleTemplate_Code on L_JudgeRuleTemplate (JRTCode)",
        "create unique index UX_SP_User_Code on SP_User (Code)",
        "create unique index UX_SP_User_Name on SP_User (Name)",
        "create unique index UX_SP_Duty_Code on SP_Duty (Code)",
    };
}

void CreateSchema(TCompanyDM& dm)
{
    TTransactionGuard guard(dm);
    for (const QString& sql : SchemaStatements()) dm.Exec(sql);
    guard.Commit();
}

void WriteDeliveredContent(TCompanyDM& dm)
{
    TTransactionGuard guard(dm);
    dm.Exec(QStringLiteral("insert into S_System (Ver) values (:Ver)"), {{QStringLiteral("Ver"), QStringLiteral("1")}});
    const struct { int id; const char* name; int def; } types[] = {
        {1, "基础资料", 0}, {2, "数据管理", 0}, {3, "分析控制", 0}, {4, "报表打印", 0},
    };
    for (const auto& t : types)
        dm.Exec(QStringLiteral("insert into S_ModuleType (ID, Name, PowerDefData) values (:ID, :Name, :Def)"),
                {{QStringLiteral("ID"), t.id}, {QStringLiteral("Name"), QString::fromUtf8(t.name)},
                 {QStringLiteral("Def"), t.def}});
    const struct { int id; const char* name; int type; } modules[] = {
        {1001, "过程资料", 1}, {1002, "计量型质量特性", 1}, {1003, "缺点项目", 1},
        {1004, "缺点类别", 1}, {1005, "计数型质量特性", 1}, {1006, "异常原因", 1},
        {1007, "改善措施", 1}, {1008, "检测规则", 1}, {1009, "检测规则模板", 1},
        {1010, "标签项目", 1}, {1011, "标签模板", 1},
        {2001, "计量型数据采集", 2}, {2002, "计数型数据采集", 2}, {2003, "计量型数据编辑", 2},
        {2004, "计数型数据编辑", 2},
        {3001, "计量型特性分析", 3}, {3002, "计数型特性分析", 3}, {3003, "计量型特性控制", 3},
        {3004, "计数型特性控制", 3},
    };
    for (const auto& m : modules)
        dm.Exec(QStringLiteral("insert into S_Module (ID, Name, PowerDefData, TypeID) values (:ID, :Name, 0, :TypeID)"),
                {{QStringLiteral("ID"), m.id}, {QStringLiteral("Name"), QString::fromUtf8(m.name)},
                 {QStringLiteral("TypeID"), m.type}});
    dm.Exec(QStringLiteral("insert into SP_Duty (ID, Code, Name, IsAdmin, Describe) values (1, :Code, :Name, 0, :Describe)"),
            {{QStringLiteral("Code"), QStringLiteral("admin")}, {QStringLiteral("Name"), QStringLiteral("系统管理员")},
             {QStringLiteral("Describe"), QStringLiteral("拥有全部权限")}});
    dm.Exec(QStringLiteral("insert into SP_User (ID, Code, Name, Password, Stop, IsAdmin, Describe) "
                           "values (1, :Code, :Name, :Password, 0, 0, :Describe)"),
            {{QStringLiteral("Code"), QStringLiteral("admin")}, {QStringLiteral("Name"), QStringLiteral("超级用户")},
             {QStringLiteral("Password"), QString(QLatin1String(""))}, {QStringLiteral("Describe"), QStringLiteral("系统管理员")}});
    dm.Exec(QStringLiteral("insert into SP_UserDuty (UserID, DutyID) values (1, 1)"));
    dm.Exec(QStringLiteral("insert into S_Key (KeyName, KeyValue) values ('List', 0)"));
    dm.Exec(QStringLiteral("insert into S_Key (KeyName, KeyValue) values ('Task', 0)"));
    guard.Commit();
}

void InitDatabaseFile(const QString& path, bool demo)
{
    const QFileInfo info(path);
    if (info.exists()) throw ESystemError(QStringLiteral("文件已存在，不能覆盖：%1").arg(path));
    if (!QDir().mkpath(info.absolutePath()))
        throw ESystemError(QStringLiteral("无法创建目录：%1").arg(info.absolutePath()));
    {
        // The connection refuses missing files, so the new file is made here first.
        const QString name = QStringLiteral("init-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(info.absoluteFilePath());
            if (!db.open()) throw EDatabaseError(db.lastError(), QString());
            QSqlQuery q(db);
            q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    try {
        TCompanyDM dm(QStringLiteral("init-database"));
        dm.Params.DBQ = info.absoluteFilePath();
        dm.Connect();
        CreateSchema(dm);
        WriteDeliveredContent(dm);
        if (demo) WriteDemoContent(dm);
    } catch (...) {
        QFile::remove(info.absoluteFilePath());
        throw;
    }
}

void InitServerDatabase(const QString& url, bool demo)
{
    TCompanyDM dm(QStringLiteral("init-server"));
    dm.Params.DBQ = url;
    dm.Connect();
    if (dm.Engine() != TDbEngine::PostgreSQL)
        throw ESystemError(QStringLiteral("不是数据库服务器的地址：%1").arg(url));
    QSqlQuery q = dm.Exec(QStringLiteral("select count(*) from information_schema.tables "
                                         "where table_schema = current_schema() and lower(table_name) = 's_system'"));
    if (q.next() && q.value(0).toInt() > 0)
        throw ESystemError(QStringLiteral("数据库中已有启衡SPC的数据表，不能覆盖：%1").arg(url));
    q = QSqlQuery();
    TTransactionGuard guard(dm);
    CreateSchema(dm);
    WriteDeliveredContent(dm);
    if (demo) WriteDemoContent(dm);
    guard.Commit();
}
