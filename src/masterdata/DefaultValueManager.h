#pragma once
// Default values of new records, given as a definition text "nSigma:=3;WDate:=Date;No:=AutoID":
// each item a field name, ":=" and an expression. "Date" is today, "AutoID" the manager's next
// number (1, 2, ...), anything else the literal text. The manager also tells whether a record
// still holds only its defaults, so that an untouched new record is dropped without a question.
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

class TDataSet;

struct TDefaultValueItem {
    QString FieldName;
    QString ExprText;
    QVariant ExprValue;
};

class TDefaultValueManager {
public:
    // Computes an item's value instead of the built-in expressions (field name, expression).
    using TCalcValueEvent = std::function<QVariant(const QString& fieldName, const QString& expr)>;

    explicit TDefaultValueManager(TDataSet* dataSet = nullptr, const QString& definition = QString());

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* dataSet) { FDataSet = dataSet; }
    const QString& Definition() const { return FDefinition; }
    // Replaces the items. Empty pieces between two ";" are kept (they name no field), an empty
    // last piece is dropped; field names are trimmed.
    void SetDefinition(const QString& definition);
    const QList<TDefaultValueItem>& Items() const { return FItems; }
    int Counter() const { return FCounter; }
    // The upper-cased field names of the definition joined by ";".
    const QString& FieldList() const { return FFieldList; }
    TCalcValueEvent OnCalcValue;

    // Evaluates every item, then assigns each value to the field of that name (the data set must
    // be in edit or insert state); items naming no field of the data set are skipped.
    void ApplyDefaults();
    // Some item other than "AutoID" no longer holds its default in the current record.
    bool IsChanged() const;
    // IsChanged, or a field the definition does not name holds a value. Fields listed in
    // ignoredFields (keys the window assigns itself) do not count.
    bool IsModified(const QStringList& ignoredFields = QStringList()) const;

private:
    QVariant Evaluate(const TDefaultValueItem& item);

    TDataSet* FDataSet;
    QString FDefinition;
    QList<TDefaultValueItem> FItems;
    int FCounter = 0;
    QString FFieldList;
};
