#pragma once
// A data set read by a select with ":Name" parameters, on the program's connection. Its rows are
// edited with pending changes (see DataSet.h) and written through its update object.
#include "foundation/DataSet.h"

#include <QList>
#include <QPair>

class TQuery : public TDataSet {
    Q_OBJECT
public:
    explicit TQuery(QObject* parent = nullptr);
    ~TQuery() override;

    const QString& SQL() const { return FSQL; }
    // Another text closes the query; parameters keep the values of those with the same name.
    void SetSQL(const QString& sql);
    // Consecutive lines of one statement.
    void SetSQL(const QStringList& lines);

    // The statement's parameters in order of appearance; names compare ignoring case. Unknown
    // names fail. A parameter without a value is bound as NULL.
    QStringList ParamNames() const;
    bool HasParam(const QString& name) const;
    QVariant ParamValue(const QString& name) const;
    void SetParamValue(const QString& name, const QVariant& value);

    // Master-detail: every parameter named like a field of the master takes that field's value in
    // the master's current row, and the query reads its rows again whenever those values change
    // (the master moved or its key was edited; not while the master's controls are disabled).
    // Reading again discards the detail's pending changes, so windows settle them before moving
    // the master. Setting the same master again re-reads only if the values changed meanwhile.
    void SetMasterSource(TDataSet* master);
    TDataSet* MasterSource() const { return FMaster; }

protected:
    void InternalOpen() override;
    void MasterRecordChanged() override;

private:
    int ParamIndex(const QString& name) const;
    QVariantList MasterValues() const;

    QString FSQL;
    QList<QPair<QString, QVariant>> FParams;
    QPointer<TDataSet> FMaster;
    QVariantList FLinkValues;  // the master's values the rows were read with
};

// Writes the pending changes of several data sets in one transaction of the connection, in the
// given order; on failure everything is rolled back and every change stays pending.
void ApplyUpdatesInTransaction(const QList<TDataSet*>& dataSets, TCompanyDM* dm = nullptr);
