#include "foundation/SqlQuery.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/Schema.h"

#include <QHash>
#include <QRegularExpression>

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
TFieldType TypeOfSqlField(const QSqlField& field)
{
    switch (field.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return TFieldType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return TFieldType::Float;
    case QMetaType::Bool:
        return TFieldType::Boolean;
    case QMetaType::QDate:
        return TFieldType::Date;
    case QMetaType::QTime:
        return TFieldType::Time;
    case QMetaType::QDateTime:
        return TFieldType::DateTime;
    case QMetaType::QByteArray:
        return TFieldType::Blob;
    case QMetaType::QString:
        return TFieldType::String;
    default:
        return TFieldType::Unknown;
    }
}
} // namespace

// PostgreSQL folds unquoted names to lower case. The program's field names keep the spelling the
// statement or the schema gives them, as the embedded engine reports them.
static QString ProgramSpelling(const QString& name, const QString& sql)
{
    static const QHash<QString, QString> schemaNames = [] {
        QHash<QString, QString> names;
        static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
        for (const QString& statement : SchemaStatements())
            for (auto it = word.globalMatch(statement); it.hasNext();) {
                const QString token = it.next().captured();
                if (token != token.toLower() && !names.contains(token.toLower())) names.insert(token.toLower(), token);
            }
        return names;
    }();
    static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    for (auto it = word.globalMatch(sql); it.hasNext();) {
        const QString token = it.next().captured();
        if (token.size() == name.size() && token != name && token.compare(name, Qt::CaseInsensitive) == 0) return token;
    }
    return schemaNames.value(name, name);
}

TQuery::TQuery(QObject* parent) : TDataSet(parent)
{
}

TQuery::~TQuery()
{
    if (FMaster) FMaster->RemoveDetail(this);
}

void TQuery::SetSQL(const QString& sql)
{
    if (sql == FSQL) return;
    DoClose();
    FSQL = sql;
    QList<QPair<QString, QVariant>> params;
    for (const QString& name : ParseSqlParams(sql)) {
        const int old = ParamIndex(name);
        params.append({name, old >= 0 ? FParams[old].second : QVariant()});
    }
    FParams = params;
}

void TQuery::SetSQL(const QStringList& lines)
{
    SetSQL(lines.join(QLatin1Char('\n')));
}

int TQuery::ParamIndex(const QString& name) const
{
    for (int i = 0; i < FParams.size(); ++i)
        if (FParams[i].first.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QStringList TQuery::ParamNames() const
{
    QStringList names;
    for (const auto& p : FParams) names << p.first;
    return names;
}

bool TQuery::HasParam(const QString& name) const
{
    return ParamIndex(name) >= 0;
}

QVariant TQuery::ParamValue(const QString& name) const
{
    const int i = ParamIndex(name);
    if (i < 0) throw ESystemError(QStringLiteral("数据集%1没有参数%2").arg(objectName(), name));
    return FParams[i].second;
}

void TQuery::SetParamValue(const QString& name, const QVariant& value)
{
    const int i = ParamIndex(name);
    if (i < 0) throw ESystemError(QStringLiteral("数据集%1没有参数%2").arg(objectName(), name));
    FParams[i].second = value;
}

QVariantList TQuery::MasterValues() const
{
    QVariantList values;
    if (!FMaster) return values;
    for (const auto& p : FParams) {
        const TField* field = FMaster->FindField(p.first);
        values << (field ? field->Value() : QVariant());
    }
    return values;
}

void TQuery::SetMasterSource(TDataSet* master)
{
    if (FMaster) FMaster->RemoveDetail(this);
    FMaster = master;
    if (!master) return;
    master->AddDetail(this);
    MasterRecordChanged();
}

void TQuery::MasterRecordChanged()
{
    if (!Active() || !FMaster) return;
    const QVariantList values = MasterValues();
    bool same = values.size() == FLinkValues.size();
    for (int i = 0; same && i < values.size(); ++i) same = VariantsEqual(values[i], FLinkValues[i]);
    if (same) return;
    // The rows belong to another master row now.
    DoClose();
    DoOpen();
}

void TQuery::InternalOpen()
{
    TCompanyDM* dm = Database();
    if (!dm) throw ESystemError(QStringLiteral("数据库没有连接！"));
    if (FSQL.trimmed().isEmpty()) throw ESystemError(QStringLiteral("Query(%1)的SQL为空").arg(objectName()));
    TSqlParams params;
    const QVariantList linked = MasterValues();
    for (int i = 0; i < FParams.size(); ++i) {
        const bool fromMaster = FMaster && FMaster->FindField(FParams[i].first);
        params.insert(FParams[i].first, fromMaster ? linked[i] : FParams[i].second);
    }
    FLinkValues = linked;
    QSqlQuery q = dm->Exec(FSQL, params);
    const QSqlRecord record = q.record();
    const int n = record.count();
    std::vector<TFieldDef> defs;
    defs.reserve(static_cast<size_t>(n));
    std::vector<int> open;  // columns whose type the driver left to the values
    const bool folded = dm->Engine() == TDbEngine::PostgreSQL;
    for (int i = 0; i < n; ++i) {
        const QSqlField f = record.field(i);
        const TFieldType type = TypeOfSqlField(f);
        const QString name = folded && f.name() == f.name().toLower() ? ProgramSpelling(f.name(), FSQL) : f.name();
        defs.push_back({name, type, f.length() > 0 && type == TFieldType::String ? f.length() : 0});
        if (type == TFieldType::String || type == TFieldType::Unknown) open.push_back(i);
    }
    DefineFields(defs, false);
    if (q.size() > 0) ReserveRecords(static_cast<size_t>(q.size()));
    while (q.next()) {
        auto values = std::make_unique<QVariant[]>(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) values[i] = q.value(i);
        for (auto it = open.begin(); it != open.end();) {
            const QVariant& v = values[*it];
            if (v.isNull()) {
                ++it;
                continue;
            }
            const int id = v.metaType().id();
            if (id == QMetaType::LongLong || id == QMetaType::Int) RefineFieldType(*it, TFieldType::Integer);
            else if (id == QMetaType::Double) RefineFieldType(*it, TFieldType::Float);
            it = open.erase(it);
        }
        AddReadRecord(std::move(values));
    }
}

void ApplyUpdatesInTransaction(const QList<TDataSet*>& dataSets, TCompanyDM* dm)
{
    if (!dm) dm = TCompanyDM::Current();
    if (!dm) throw ESystemError(QStringLiteral("数据库没有连接！"));
    TTransactionGuard guard(*dm);
    for (TDataSet* ds : dataSets) ds->ApplyUpdates();
    guard.Commit();
}
