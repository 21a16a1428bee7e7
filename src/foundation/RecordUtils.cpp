#include "foundation/RecordUtils.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlRecord>
#include <cmath>

TCompanyDM& CurrentCompanyDM()
{
    TCompanyDM* dm = TCompanyDM::Current();
    if (!dm) throw ESystemError(QStringLiteral("数据库没有连接！"));
    return *dm;
}

namespace {
// Every utility sets the scratch query's text, runs it and empties it again; a failure leaves
// the failed text in place until the next call.
QSqlQuery& RunScratch(const QString& sql, const TSqlParams& params)
{
    TCompanyDM& dm = CurrentCompanyDM();
    QSqlQuery& q = dm.qryTemp();
    q.finish();
    q.setForwardOnly(true);
    // A statement without parameters runs as it is: PostgreSQL cannot prepare DDL.
    if (params.isEmpty()) {
        dm.ExecText(q, sql);
        return q;
    }
    dm.PrepareQuery(q, sql);
    BindParams(q, params);
    dm.ExecPrepared(q, sql);
    return q;
}

void CloseScratch(QSqlQuery& q)
{
    q.finish();
}
} // namespace

QVariant GetSQLValue(const QString& sql, const TSqlParams& params)
{
    QSqlQuery& q = RunScratch(sql, params);
    QVariant result;
    if (q.record().count() == 1 && q.next()) result = q.value(0);
    CloseScratch(q);
    return result;
}

QString GetSQLString(const QString& sql, const TSqlParams& params)
{
    QSqlQuery& q = RunScratch(sql, params);
    QString result;
    if (q.next()) result = VariantToString(q.value(0));
    CloseScratch(q);
    return result;
}

void ExecuteSQL(const QString& sql, const TSqlParams& params)
{
    QSqlQuery& q = RunScratch(sql, params);
    CloseScratch(q);
}

namespace {
struct TCounterSQL {
    QString Increment, Read, Create, Restart;
};

// The counter advanced by count; returns its new value, the last of the numbers drawn.
int NextCounterValue(const TCounterSQL& sql, const TSqlParams& params, const QString& label, int count)
{
    TCompanyDM& dm = CurrentCompanyDM();
    TSqlParams counted = params;
    counted.insert(QStringLiteral("Count"), count);
    // The increment and the read back run in one transaction, and the increment is the statement
    // that decides: it locks the counter's row, so a second workstation waits and then counts on
    // from the first one's number. A counter that does not exist yet is created at 0 first (a
    // workstation creating it at the same moment makes that a no-op) and then incremented.
    const bool outermost = !dm.InTransaction();
    for (int attempt = 0;; ++attempt) {
        try {
            TTransactionGuard guard(dm);
            if (dm.Exec(sql.Increment, counted).numRowsAffected() == 0) {
                dm.Exec(sql.Create, params);
                dm.Exec(sql.Increment, counted);
            }
            QVariant v = GetSQLValue(sql.Read, params);
            if (v.isNull()) {
                // A counter holding no number starts again at 1.
                dm.Exec(sql.Restart, counted);
                v = GetSQLValue(sql.Read, params);
            }
            if (v.isNull()) throw ESystemError(QStringLiteral("取主键(%1)时错误").arg(label));
            guard.Commit();
            return v.toInt();
        } catch (const EDatabaseError&) {
            // A lock that could not be had in time: the whole draw is tried again.
            if (!outermost || attempt >= 2) throw;
        }
    }
}
} // namespace

int GetPrimaryKey(const QString& name)
{
    static const TCounterSQL sql{
        QStringLiteral("Update S_Key Set KeyValue = KeyValue + :Count where KeyName = :KeyName"),
        QStringLiteral("Select KeyValue from S_Key where KeyName = :KeyName"),
        QStringLiteral("Insert into S_Key (KeyName,KeyValue) Values(:KeyName,0) on conflict do nothing"),
        QStringLiteral("Update S_Key Set KeyValue = :Count where KeyName = :KeyName and KeyValue is null"),
    };
    return NextCounterValue(sql, {{QStringLiteral("KeyName"), name}}, name, 1);
}

int GetModulePrimaryKeys(int mid, int count)
{
    static const TCounterSQL sql{
        QStringLiteral("Update S_MKey Set KeyValue = KeyValue + :Count where MID = :MID"),
        QStringLiteral("Select KeyValue from S_MKey where MID = :MID"),
        QStringLiteral("Insert into S_MKey(MID,KeyValue) Values(:MID,0) on conflict do nothing"),
        QStringLiteral("Update S_MKey Set KeyValue = :Count where MID = :MID and KeyValue is null"),
    };
    if (count < 1) throw ESystemError(QStringLiteral("取主键(%1)时错误").arg(mid));
    return NextCounterValue(sql, {{QStringLiteral("MID"), mid}}, QString::number(mid), count) - count + 1;
}

int GetModulePrimaryKey(int mid)
{
    return GetModulePrimaryKeys(mid, 1);
}

int GetNewTaskID()
{
    return GetPrimaryKey(QStringLiteral("Task"));
}

namespace {
const char* const kDependants[] = {"D_Tag", "D_Exception", "D_Case", "D_Action"};

void DeleteInTransaction(const QStringList& statements, const TSqlParams& params)
{
    TCompanyDM& dm = CurrentCompanyDM();
    try {
        TTransactionGuard guard(dm);
        for (const QString& sql : statements) ExecuteSQL(sql, params);
        guard.Commit();
    } catch (const ESystemError&) {
        throw ESystemError(QStringLiteral("值组删除失败！"));
    }
}

QStringList SubgroupStatements(const char* values, const char* master)
{
    QStringList list;
    auto add = [&](const char* table) {
        list << QStringLiteral("delete from %1 where CID = :CID and SN = :SN").arg(QLatin1String(table));
    };
    for (const char* t : kDependants) add(t);
    add(values);
    add(master);
    return list;
}

QStringList TaskStatements(const char* values, const char* master)
{
    QStringList list;
    auto add = [&](const char* table) {
        const QString t = QLatin1String(table);
        list << QStringLiteral("delete from %1 where exists (Select 1 from m_CTemp b where b.CID = %1.CID "
                               "and b.SN = %1.SN and b.TaskID = :TaskID)").arg(t);
    };
    for (const char* t : kDependants) add(t);
    add(values);
    add(master);
    return list;
}
} // namespace

void DeleteVSubgroup(int cid, int sn)
{
    static const QStringList sql = SubgroupStatements("D_VDD", "D_VDM");
    DeleteInTransaction(sql, {{QStringLiteral("CID"), cid}, {QStringLiteral("SN"), sn}});
}

void DeleteASubgroup(int cid, int sn)
{
    static const QStringList sql = SubgroupStatements("D_ADD", "D_ADM");
    DeleteInTransaction(sql, {{QStringLiteral("CID"), cid}, {QStringLiteral("SN"), sn}});
}

void DeleteVTaskSubgroups(int taskID)
{
    static const QStringList sql = TaskStatements("D_VDD", "D_VDM");
    DeleteInTransaction(sql, {{QStringLiteral("TaskID"), taskID}});
}

void DeleteATaskSubgroups(int taskID)
{
    static const QStringList sql = TaskStatements("D_ADD", "D_ADM");
    DeleteInTransaction(sql, {{QStringLiteral("TaskID"), taskID}});
}

QString FormatNumber(double value)
{
    if (!std::isfinite(value)) return QString::number(value);
    QString s = QString::number(value, 'f', 4);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    }
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

QString FormatOptionalNumber(double value)
{
    return value == NullValue ? QString() : FormatNumber(value);
}

QString GetAppPath()
{
    const QByteArray home = qgetenv("QIHENG_SPC_HOME");
    QString path;
    if (!home.isEmpty())
        path = QString::fromLocal8Bit(home);
    else if (QCoreApplication::instance())
        path = QCoreApplication::applicationDirPath();
    else
        path = QDir::currentPath();
    path = QDir::cleanPath(path);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

QString GetDataPath() { return GetAppPath() + QStringLiteral("/Data"); }
QString GetTempPath() { return GetAppPath() + QStringLiteral("/Temp"); }
QString GetReportPath() { return GetAppPath() + QStringLiteral("/Report"); }
QString GetBackupPath() { return GetAppPath() + QStringLiteral("/Backup"); }
QString GetExcelPath() { return GetAppPath() + QStringLiteral("/Excel"); }
QString DefaultDatabasePath() { return GetDataPath() + QStringLiteral("/MainData.mdb"); }

namespace {
const QHash<QString, QString>& HelpTopicMap()
{
    static const QHash<QString, QString> map{
        {QStringLiteral("LProcessListFrm"), QStringLiteral("过程资料.htm")},
        {QStringLiteral("LVControlItemListFrm"), QStringLiteral("计量型质量特性.htm")},
        {QStringLiteral("LDefectPhenomenonListFrm"), QStringLiteral("缺点项目.htm")},
        {QStringLiteral("LDefectItemListFrm"), QStringLiteral("缺点类别.htm")},
        {QStringLiteral("LAControlItemListFrm"), QStringLiteral("计数型质量特性.htm")},
        {QStringLiteral("LCaseListFrm"), QStringLiteral("异常原因.htm")},
        {QStringLiteral("LActionListFrm"), QStringLiteral("改善措施.htm")},
        {QStringLiteral("LJudgeRuleListFrm"), QStringLiteral("检测规则.htm")},
        {QStringLiteral("LJudgeRuleTemplateListFrm"), QStringLiteral("检测规则模板.htm")},
        {QStringLiteral("LTagListFrm"), QStringLiteral("标签项目.htm")},
        {QStringLiteral("LTagTemplateListFrm"), QStringLiteral("标签模板.htm")},
        {QStringLiteral("VCollectFrm"), QStringLiteral("计量型数据采集.htm")},
        {QStringLiteral("ACollectFrm"), QStringLiteral("计数型数据采集.htm")},
        {QStringLiteral("VModifyFrm"), QStringLiteral("计量型数据编辑.htm")},
        {QStringLiteral("AModifyFrm"), QStringLiteral("计数型数据编辑.htm")},
        {QStringLiteral("VControlItemAnalysisFrm"), QStringLiteral("计量型特性分析.htm")},
        {QStringLiteral("AControlItemAnalysisFrm"), QStringLiteral("计数型特性分析.htm")},
        {QStringLiteral("VControlItemControlFrm"), QStringLiteral("计量型特性控制.htm")},
        {QStringLiteral("AControlItemControlFrm"), QStringLiteral("计数型特性控制.htm")},
    };
    return map;
}
} // namespace

QString HelpTopicOf(const QString& windowName)
{
    return HelpTopicMap().value(windowName);
}

QString HelpFileName()
{
    return QStringLiteral("启衡统计过程控制（SPC）.chm");
}

QString HelpPagePath(const QString& windowName)
{
    const QString dir = GetAppPath() + QStringLiteral("/Help");
    const QString topic = HelpTopicOf(windowName);
    if (!topic.isEmpty() && QFileInfo::exists(dir + QLatin1Char('/') + topic))
        return dir + QLatin1Char('/') + topic;
    return dir + QStringLiteral("/index.htm");
}

QString NormalizePresetFolder(const QString& path)
{
    return QFileInfo(path).isDir() ? path : QString();
}

bool FolderHoldsDatabase(const QString& folder)
{
    return QFileInfo(folder + QStringLiteral("/MainData.mdb")).isFile();
}
