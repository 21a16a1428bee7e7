#pragma once
// The list data module: the shared, editable result sets of the master lists. Browse and edit
// windows of one table work on the same query objects, so an edit made in a dialog is seen in
// the browse window at once; the queries open and close by count (TZCQuery). Created once after
// login by the start sequence (which owns it) and freed at exit.
#include "foundation/ZCDb.h"

#include <QHash>
#include <QObject>
#include <memory>
#include <vector>

class TCompanyDM;

// A list query whose text columns have the widths of their table columns, so that an edit bound
// to one refuses longer input while typing (its maxLength is the field's Size).
class TListQuery : public TZCQuery {
    Q_OBJECT
public:
    explicit TListQuery(QObject* parent = nullptr) : TZCQuery(parent) {}
    // Column name (any case) → the most characters it holds.
    QHash<QString, int> FieldSizes;

protected:
    void InternalOpen() override;
};

class TListDM : public QObject {
    Q_OBJECT
public:
    // The queries run on the given connection; the module becomes the current one.
    explicit TListDM(TCompanyDM& dm, QObject* parent = nullptr);
    ~TListDM() override;

    // The module the windows use (nullptr when none exists).
    static TListDM* Current();

    TListQuery* qryProcess;
    TListQuery* qryVControlItem;
    TListQuery* qryAControlItem;
    TListQuery* qryAControlItemDP;
    TListQuery* qryDefectItem;
    TListQuery* qryDefectItemDP;
    TListQuery* qryDefectPhenomenon;
    TListQuery* qryCase;
    TListQuery* qryAction;
    TListQuery* qryTag;
    TListQuery* qryTagValue;
    TListQuery* qryTagTemplate;
    TListQuery* qryTagTemplateDetail;
    TListQuery* qryJudgeRule;
    TListQuery* qryJudgeRuleTemplate;
    TListQuery* qryJudgeRuleTemplateDetail;

    // Every query, in the order above.
    QList<TListQuery*> Queries() const { return FQueries; }

private:
    TListQuery* Make(const QString& name, const QStringList& sql, TDataSet* master = nullptr);
    TCompanyDM& FDM;
    QList<TListQuery*> FQueries;
};
