#pragma once
// Keying in measured values: one block of n value rows per subgroup, each value staged for D_VDD
// and fed into the control item's variable data list as it is entered, one D_VDM row per subgroup
// that has a value.
#include "collect/BaseCollect.h"
#include "engine/VariableData.h"
#include "foundation/ZCDb.h"

#include <map>
#include <memory>

class TVCollect : public TBaseCollect {
    friend class TCollectModify;  // loads stored subgroups into the pending rows

public:
    // Fields of the value rows.
    enum { fCID, fSGNo, fNo, fData, fDate, fTime, fFlag };

    explicit TVCollect(TCompanyDM* dm = nullptr);
    ~TVCollect() override;

    TMemTable CDSVData;
    TZCQuery qryVDM;
    TZCQuery qryVDD;

    // The data list of a control item chosen in this window; "VariableDataList(%d)不存在".
    TVariableDataList* DataList(int cid) const;
    TVariableDataList* CurrentList() const { return DataList(FCurCID); }
    // The planned subgroup size n of the current control item.
    int SampleSize() const;

    TDataSet& ValueRows() override { return CDSVData; }
    bool AppendBlock() override;
    void EnterPressed() override;
    void SetCellText(int row, const QString& fieldName, const QString& text) override;
    // A whole subgroup keyed at once in a new block of the current item (the import's way): the
    // same checks, rows and staging as keying it value by value; false as AppendBlock. A time that
    // is not valid (or missing) is the current time.
    bool KeySubgroup(const QList<double>& values, const QList<QDateTime>& times = {});
    bool CellEditable(int row, const QString& fieldName) const override;
    int SNOfPoint(int cid, int index) const override;
    QList<TChartType> ChartTypes() const override;
    bool ChartAvailable(TChartType type) const override;

protected:
    QString SelectCommandName() const override { return QStringLiteral("SelectVControlItem"); }
    void CreateItem(int cid) override;
    int DataField() const override { return fData; }
    void CheckBeforeSave() override;
    QList<TDataSet*> PendingSets() override { return {&qryVDM, &qryVDD}; }
    TDataSet& MasterSet() override { return qryVDM; }
    void RemoveSubgroup(int cid, int sn) override;
    void DeleteStored(int cid, int sn) override;

private:
    using TValueKey = QPair<quint64, int>;
    static TValueKey ValueKey(int cid, int sn, int ssn) { return {Key(cid, sn), ssn}; }
    void CDSVDataBeforePost(TDataSet* DataSet);
    void CDSVDataAfterPost(TDataSet* DataSet);
    // Stages the current row (it has been posted by the user).
    void StageRow();
    // A new block, empty or (values) filled as keyed at those times (one each).
    bool AppendFilledBlock(const QList<double>* values, const QList<QDateTime>& times);
    // The pending subgroup row of a value at position p: false when there is none and the value
    // is empty (nothing to stage).
    bool StageMaster(int cid, int sn, int p, const QDateTime& wdate, bool hasValue);
    // The pending value row: written, changed or (an emptied value) taken out.
    void StageValue(int cid, int sn, int p, const QVariant& value, const QDateTime& wdate);
    // The subgroup's values in the data list follow its filled rows, in position order.
    void SyncSubgroup(TVariableDataList& list, int sn, int first, int last);

    std::map<int, std::unique_ptr<TVariableDataList>> FLists;
    QHash<TValueKey, TDataSet::TBookmark> FValues;  // (cid, sn, ssn) → pending D_VDD row
};
