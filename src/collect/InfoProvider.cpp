#include "collect/InfoProvider.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <QSqlField>
#include <QSqlRecord>

namespace {
TFieldType FieldTypeOf(const QSqlField& field)
{
    switch (field.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return TFieldType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return TFieldType::Float;
    case QMetaType::QString:
        return TFieldType::String;
    case QMetaType::QDateTime:
        return TFieldType::DateTime;
    default:
        return TFieldType::Unknown;
    }
}

QVariantList KeyValues(const QVariant& key)
{
    return key.metaType().id() == QMetaType::QVariantList ? key.toList() : QVariantList{key};
}
} // namespace

TBaseInfoProvider::TBaseInfoProvider() = default;

TBaseInfoProvider::~TBaseInfoProvider()
{
    BeforeFree();
}

void TBaseInfoProvider::Prepare()
{
    if (FInitialized) return;
    QStringList missing;
    if (InfoSQL.trimmed().isEmpty()) missing << QStringLiteral("未指定查询语句");
    if (InfoKeyFields.trimmed().isEmpty()) missing << QStringLiteral("未指定关键字段");
    if (!missing.isEmpty()) RaiseError(missing.join(QStringLiteral("和")) + QStringLiteral("！"));

    // The columns come from the statement itself, read without rows.
    const int where = InfoSQL.indexOf(QLatin1String("WHERE"), 0, Qt::CaseInsensitive);
    const QString probe = (where < 0 ? InfoSQL : InfoSQL.left(where)) + QStringLiteral(" where 1=0");
    TCompanyDM& dm = CurrentCompanyDM();
    QSqlQuery& q = dm.qryTemp();
    q.finish();
    dm.ExecText(q, probe);
    const QSqlRecord record = q.record();
    q.finish();


    FCache.Close();
    FCache.ClearFieldDefs();
    for (int i = 0; i < record.count(); ++i)
        FCache.AddFieldDef(record.fieldName(i), FieldTypeOf(record.field(i)));
    FCache.CreateDataSet();
    FInitialized = true;
}

bool TBaseInfoProvider::Lookup(const QVariant& key)
{
    Prepare();
    if (FindInCache(key)) return true;
    return FetchFromDatabase(key);
}

void TBaseInfoProvider::ClearCache()
{
    if (FCache.Active()) FCache.EmptyDataSet();
}

bool TBaseInfoProvider::FindInCache(const QVariant& key)
{
    try {
        const QVariantList values = KeyValues(key);
        return FCache.Locate(InfoKeyFields, values.size() == 1 ? values.first() : QVariant(values));
    } catch (const std::exception&) {
        return false;
    }
}

bool TBaseInfoProvider::FetchFromDatabase(const QVariant& key)
{
    const QStringList params = ParseSqlParams(InfoSQL);
    const QVariantList values = KeyValues(key);
    TSqlParams bound;
    for (int i = 0; i < params.size(); ++i) {
        // A key part that is missing or unassigned is never sent: no row could match it.
        if (i >= values.size() || !values[i].isValid() || values[i].isNull()) return false;
        bound.insert(params[i], values[i]);
    }
    TCompanyDM& dm = CurrentCompanyDM();
    QSqlQuery& q = dm.qryTemp();
    q.finish();
    q.setForwardOnly(true);
    dm.PrepareQuery(q, InfoSQL);
    BindParams(q, bound);
    dm.ExecPrepared(q, InfoSQL);
    bool found = false;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < FCache.FieldCount(); ++i) row << q.value(i);
        FCache.AppendRecord(row);
        found = true;
    }
    q.finish();

    return found && FindInCache(key);
}

QString TBaseInfoProvider::FieldText(const QString& name) const
{
    const TField* f = FCache.Active() ? FCache.FindField(name) : nullptr;
    return f && !FCache.IsEmpty() ? f->AsString() : QString();
}

TDPInfoProvider::TDPInfoProvider()
{
    InitSQL();
}

void TDPInfoProvider::InitSQL()
{
    InfoSQL = QStringLiteral("Select DPID, DPCode, DPName from L_Defectphenomenon where DPID = :DPID");
    InfoKeyFields = QStringLiteral("DPID");
}

TTagValueInfoProvider::TTagValueInfoProvider()
{
    InitSQL();
}

void TTagValueInfoProvider::InitSQL()
{
    InfoSQL = QStringLiteral("Select a.TagID, a.TagCode, a.TagName, b.TagValueID, b.TagValue  from L_Tag a, "
                             "L_TagValue b  where a.TagID = b.TagID and b.TagID = :TagID and b.TagValueID = :TagValueID");
    InfoKeyFields = QStringLiteral("TagID;TagValueID");
}
