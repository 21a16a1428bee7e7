#pragma once
// Keying in counted results: one block of rows per subgroup (inspection time, lot size, number
// inspected, number rejected and, for items with defect phenomena, the total and one row per
// phenomenon), staged for D_ADM and D_ADD and fed into the item's attribute data list. A block is
// staged once the user has entered a count into it; a block without one is not stored.
#include "collect/BaseCollect.h"
#include "engine/AttributeData.h"
#include "foundation/ZCDb.h"

#include <map>
#include <memory>
#include <vector>

struct RDPItem {
    int DPID = NullValue;
    QString DPCode;
    QString DPName;
};

struct TDPList {
    int CID = NullValue;
    QList<RDPItem> Items;
};

// The window's defect phenomenon lists, one per control item, read once.
class TDPListSet {
public:
    TDPList* Find(int cid) const;
    TDPList& Add(int cid);

private:
    std::vector<std::unique_ptr<TDPList>> FLists;
};

class TACollect : public TBaseCollect {
    friend class TCollectModify;  // loads stored subgroups into the pending rows

public:
    enum { fCID, fSGNo, fDPID, fItemID, fItemName, fData, fFlag };
    // Row kinds (ItemID).
    enum { kTime = 1, kBatch = 2, kInspected = 3, kRejected = 4, kTotal = 5, kDefect = 6 };

    explicit TACollect(TCompanyDM* dm = nullptr);
    ~TACollect() override;

    TMemTable CDSAData;
    TZCQuery qryADM;
    TZCQuery qryADD;
    TDPListSet DPLists;

    // "AttributeDataList(%d)不存在" for an item not chosen in this window.
    TAttributeDataList* DataList(int cid) const;
    TAttributeDataList* CurrentList() const { return DataList(FCurCID); }
    // The lot size and number inspected entered last (cleared when an item is chosen).
    const QString& LastBatch() const { return FLastBatch; }
    const QString& LastInspected() const { return FLastInspected; }

    TDataSet& ValueRows() override { return CDSAData; }
    bool AppendBlock() override;
    void EnterPressed() override;
    void SetCellText(int row, const QString& fieldName, const QString& text) override;
    bool CellEditable(int row, const QString& fieldName) const override;
    int SNOfPoint(int cid, int index) const override;
    QList<TChartType> ChartTypes() const override { return {ctP, ctNP, ctU, ctC}; }
    bool ChartAvailable(TChartType) const override { return true; }

protected:
    QString SelectCommandName() const override { return QStringLiteral("SelectAControlItem"); }
    void CreateItem(int cid) override;
    int DataField() const override { return fData; }
    void ItemRefreshed() override;
    void CheckBeforeSave() override;
    QList<TDataSet*> PendingSets() override { return {&qryADM, &qryADD}; }
    TDataSet& MasterSet() override { return qryADM; }
    void RemoveSubgroup(int cid, int sn) override;
    void DeleteStored(int cid, int sn) override;

private:
    using TDefectKey = QPair<quint64, int>;
    void CDSADataAfterPost(TDataSet* DataSet);
    void StageRow();
    // Whether the user entered a count into a block (visible rows first..last).
    bool BlockEntered(int first, int last) const;
    // The pending rows and the data list follow the block's rows.
    void SyncBlock(int cid, int sn, int first, int last);
    // The checks of a block (visible rows first..last) before the next one and before saving:
    // the message when it fails, else empty.
    QString BlockProblem(int first, int last) const;
    int RowCount(int row) const;  // the row's figure, NullValue when empty

    std::map<int, std::unique_ptr<TAttributeDataList>> FLists;
    QHash<TDefectKey, TDataSet::TBookmark> FDefects;  // (cid, sn, dpid) → pending D_ADD row
    QString FLastBatch;
    QString FLastInspected;
};
