#pragma once
// The tag panel's logic: the tags of every subgroup of a collection window in memory, the tag
// template per control item with the values chosen most recently, the check that every tag has a
// value, and the pending D_Tag rows that the host writes inside its own save transaction. The
// panel never writes to the database by itself.
#include "foundation/DataSet.h"
#include "foundation/Types.h"
#include "foundation/ZCDb.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <functional>

class TCompanyDM;

struct TTagRow {
    int TagID = NullValue;
    QString TagName;
    int TagValueID = NullValue;  // NullValue: no value chosen yet
    QString TagValue;
};

class TTagInput : public QObject {
    Q_OBJECT
public:
    // Names and values are kept to the panel's width of 50 characters.
    static constexpr int TextSize = 50;

    // The pending D_Tag rows are written through dm (nullptr: the current connection).
    explicit TTagInput(TCompanyDM* dm = nullptr, QObject* parent = nullptr);
    ~TTagInput() override;

    int CurCID() const { return FCurCID; }
    int CurSGNo() const { return FCurSGNo; }
    void SetCurCID(int cid);
    void SetCurSGNo(int sn);

    // The template of the current control item; choosing another one reloads its detail rows.
    void SetTemplate(int templateID);
    int TemplateOf(int cid) const;
    void LoadTemplateDetail();
    // The current subgroup starts with the rows of its control item's template (its defaults or
    // the values chosen most recently in this window). "CurCID未赋值" without a control item.
    void ApplyTemplate();

    // Pending D_Tag rows for the tags of a subgroup that has none yet. The hosts stage a
    // subgroup's tags once the subgroup itself is staged, so a block that never received a value
    // writes no tags.
    void StageSubgroupTags();
    void StageSubgroupTags(int cid, int sn);
    // Takes back the pending rows of a subgroup that was never stored (its values were emptied
    // again); stored rows stay.
    void UnstageSubgroupTags(int cid, int sn);
    // Removes a subgroup's tags; its pending rows go and its stored rows are marked for deletion.
    void ClearSubgroupTags();
    void ClearSubgroupTags(int cid, int sn);

    // Whether the current subgroup has a value for every tag; "标签未指定取值，请检查！" when not.
    bool CheckTagsComplete();
    bool TagsComplete(int cid, int sn) const;

    // "标签(&T)": the template dialog for the current control item ("SelectTagTemplate").
    void SelectTemplate();
    // The value dialog for a row of the current subgroup ("SelectTagValue").
    void SelectValue(int row);
    // A value chosen for a row of the current subgroup (NullValue clears it); later subgroups of
    // the control item start with a chosen value.
    void SetTagValue(int row, int tagValueID, const QString& tagValue);

    // Fills the tag rows from the rows qryDataTag was reopened on (the editing windows).
    void LoadStoredTags();
    // Writes the pending D_Tag changes; the host has started the transaction.
    void ApplyTagUpdates();
    bool UpdatesPending() const;

    QList<TTagRow> Tags(int cid, int sn) const;
    // Set by the host: whether a subgroup is staged (has its pending subgroup row).
    std::function<bool(int cid, int sn)> SubgroupStaged;
    bool Busy() const { return FBusy; }

    // The tags of the current subgroup, as the panel's grid shows them.
    TMemTable CDSDataTag;
    // The pending D_Tag rows.
    TZCQuery qryDataTag;

signals:
    // The current subgroup's rows changed or another subgroup became current.
    void TagsChanged();

private:
    struct TTemplateEntry {
        int TagTemplateID = NullValue;
        bool DetailLoaded = false;
    };
    static quint64 Key(int cid, int sn);
    void RefreshVisible(int keepRow = 0);
    QList<TTagRow>& CurrentRows();
    bool Staged(int cid, int sn) const;

    int FCurCID = NullValue;
    int FCurSGNo = NullValue;
    bool FBusy = false;
    QHash<int, TTemplateEntry> FRegistry;
    QHash<int, QList<TTagRow>> FDetail;            // per control item: the template's rows
    QHash<quint64, QList<TTagRow>> FTags;          // per subgroup: its tags
    QHash<quint64, QHash<int, TDataSet::TBookmark>> FPending;  // per subgroup: tag → pending row
};
