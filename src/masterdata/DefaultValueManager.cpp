#include "masterdata/DefaultValueManager.h"

#include "foundation/DataSet.h"

#include <QDate>
#include <QDateTime>

TDefaultValueManager::TDefaultValueManager(TDataSet* dataSet, const QString& definition) : FDataSet(dataSet)
{
    SetDefinition(definition);
}

void TDefaultValueManager::SetDefinition(const QString& definition)
{
    FDefinition = definition;
    FItems.clear();
    QStringList pieces = definition.split(QLatin1Char(';'));
    if (!pieces.isEmpty() && pieces.last().isEmpty()) pieces.removeLast();
    QStringList names;
    for (const QString& piece : pieces) {
        TDefaultValueItem item;
        const int at = piece.indexOf(QStringLiteral(":="));
        item.FieldName = (at < 0 ? piece : piece.left(at)).trimmed();
        item.ExprText = at < 0 ? QString() : piece.mid(at + 2).trimmed();
        FItems.append(item);
        names << item.FieldName.toUpper();
    }
    FFieldList = names.join(QLatin1Char(';'));
}

QVariant TDefaultValueManager::Evaluate(const TDefaultValueItem& item)
{
    if (OnCalcValue) return OnCalcValue(item.FieldName, item.ExprText);
    if (item.ExprText.compare(QStringLiteral("Date"), Qt::CaseInsensitive) == 0)
        return QDateTime(QDate::currentDate(), QTime(0, 0));
    if (item.ExprText == QStringLiteral("AutoID")) return ++FCounter;
    return item.ExprText;
}

void TDefaultValueManager::ApplyDefaults()
{
    for (TDefaultValueItem& item : FItems) item.ExprValue = Evaluate(item);
    if (!FDataSet) return;
    for (const TDefaultValueItem& item : FItems)
        if (TField* f = FDataSet->FindField(item.FieldName); f && !item.FieldName.isEmpty()) {
            // A literal number goes in as a number where the column holds numbers.
            QVariant v = item.ExprValue;
            bool ok = false;
            if (v.metaType().id() == QMetaType::QString) {
                if (f->DataType() == TFieldType::Integer) {
                    const int i = v.toString().toInt(&ok);
                    if (ok) v = i;
                } else if (f->DataType() == TFieldType::Float) {
                    const double d = v.toString().toDouble(&ok);
                    if (ok) v = d;
                }
            }
            f->SetValue(v);
        }
}

bool TDefaultValueManager::IsChanged() const
{
    if (!FDataSet) return false;
    for (const TDefaultValueItem& item : FItems) {
        if (item.ExprText == QStringLiteral("AutoID") || item.FieldName.isEmpty()) continue;
        const TField* f = FDataSet->FindField(item.FieldName);
        if (f && !VariantsEqual(f->Value(), item.ExprValue)) return true;
    }
    return false;
}

bool TDefaultValueManager::IsModified(const QStringList& ignoredFields) const
{
    if (IsChanged()) return true;
    if (!FDataSet) return false;
    for (int i = 0; i < FDataSet->FieldCount(); ++i) {
        const TField* f = FDataSet->Fields(i);
        if (ignoredFields.contains(f->FieldName(), Qt::CaseInsensitive)) continue;
        if (FFieldList.contains(f->FieldName().toUpper())) continue;
        if (!f->IsNull()) return true;
    }
    return false;
}
