#pragma once
// A query condition: the control item, time window and tag filter that a window works on, kept in
// the task tables under one TaskID (m_Date, m_C, m_Tag; m_CTemp is filled by the sample provider).
// This is everything the condition dialogs do, without their widgets: the dialogs bind their
// grids to the data sets here and call these operations from their buttons.
//
// The rows are edited in memory and written only by SaveCondition, in one transaction; a
// cancelled dialog writes nothing and its pending changes are written by the next confirmed OK.
// The task's rows are deleted when the condition is destroyed.
#include "engine/SPCTypes.h"
#include "foundation/SqlQuery.h"
#include "foundation/ZCDb.h"

#include <QDateTime>
#include <QStringList>
#include <memory>

class TCompanyDM;

class TBaseCondition {
public:
    // Takes the task number and keeps it (the owner draws it with GetNewTaskID); kind chooses the
    // control items (L_VControlItem or L_AControlItem); analysis adds the chart-type choice.
    // Runs InitCondition. dm: the connection (nullptr: the current one).
    TBaseCondition(TItemKind kind, bool analysis, int taskID, TCompanyDM* dm = nullptr);
    // DoneCondition: the task's rows go from the four task tables.
    virtual ~TBaseCondition();
    TBaseCondition(const TBaseCondition&) = delete;
    TBaseCondition& operator=(const TBaseCondition&) = delete;

    int TaskID() const { return FTaskID; }
    TItemKind Kind() const { return FKind; }
    bool Analysis() const { return FAnalysis; }
    TCompanyDM& Database() const { return FDM; }

    // --- Time window: both ends inclusive ------------------------------------------------------
    // Today from 00:00:00 to 23:59:59 after InitCondition.
    QDate StartDate, EndDate;
    QTime StartTime, EndTime;
    QDateTime StartDateTime() const { return QDateTime(StartDate, StartTime); }
    QDateTime EndDateTime() const { return QDateTime(EndDate, EndTime); }

    // --- The control item ------------------------------------------------------------------------
    // Makes cid the task's only control item (NullValue: none); an unknown item changes nothing
    // and returns false. Analysis conditions refill the chart types for the item.
    bool ChooseCharacteristic(int cid);
    // The first row of the task item query, NullValue / empty when there is none.
    int SelectedCID() const;
    QString SelectedCName() const;
    bool HasCharacteristic() const;
    // False after the message "请先选择质量特性！" when no item is chosen (the tag button and the
    // chart-type list ask this first).
    bool CheckCharacteristicChosen() const;

    // --- Chart type (analysis conditions) --------------------------------------------------------
    // The names offered for the chosen item (FillChartTypes); empty without an item.
    const QStringList& ChartTypes() const { return FChartTypes; }
    // The chosen name; a name the list does not offer is kept only while there is no list.
    QString ChartTypeText;
    void PresetChartType(TChartType type) { ChartTypeText = ChartTypeName(type); }
    // ChartTypeFromName of the text; ctNone when it is empty.
    TChartType ChosenChartType() const;

    // --- Tags --------------------------------------------------------------------------------------
    // The tag values offered for the task's item, every value of every tag that occurs on a
    // subgroup of the item, each row marked Selected and Mandatory as the task's rows have it and
    // Changed 0. Read again whenever the item has changed since it was last read.
    TQuery& OpenTagOffer();
    // Takes the offer's rows whose Changed is 1 into the task's tags (Selected 1: add the value or
    // set its Mandatory; 0: remove it), then gives each tag the flag of its values and removes a
    // tag left without values. Sets TagsChanged.
    void ApplyTagOffer();
    // "Tag:value,value;Tag:value", in the order of the tag grid; a tag without values gives its
    // name and the colon.
    QString TagText();
    // TagID in decimal of each tag that must be satisfied / that is optional, filled at OK once
    // the tags have been chosen.
    QStringList MandatoryTags, OptionalTags;
    bool TagsChanged = false;

    // --- OK ----------------------------------------------------------------------------------------
    // The checks of OK, each with its message: the time window, the item, the chart type.
    virtual bool ValidateCondition();
    // The OK step: validates (false: the dialog stays open), writes the date row, the item and
    // the tag values in one transaction and fills the tag lists. A failed write rolls back, keeps
    // every change pending and raises "条件保存错，请稍后重试！".
    virtual bool SaveCondition();

    // Closes the task's queries (the owner does so after reading the results) / opens those that
    // are closed (every showing of the dialog).
    void CloseTaskQueries();
    void OpenTaskQueries();

    // --- The data sets the dialogs show --------------------------------------------------------
    TZCQuery& qryTaskDate() { return FTaskDate; }
    TZCQuery& qryTaskItem() { return FTaskItem; }
    // The task's tags (TagID, TagCode, TagName, Mandatory); changed in memory only.
    TQuery& qryTaskTag() { return FTaskTag; }
    // The task's tag values; shows the values of the tag under the task tag query's cursor.
    TZCQuery& qryTaskTagValue() { return FTaskTagValue; }
    // The choice lists of items and tag values (Selected, Changed, Mandatory lead).
    TQuery& qryAllItems() { return FAllItems; }
    TQuery& qryAllTagValues() { return FAllTagValues; }
    const TQuery& qryTaskTag() const { return FTaskTag; }
    const TZCQuery& qryTaskItem() const { return FTaskItem; }

protected:
    virtual void InitCondition();
    virtual void DoneCondition();

private:
    void OpenIfClosed(TDataSet& dataSet);
    void FillChartTypes(int cid);
    void TaskRowCreated(TDataSet* dataSet);
    void OfferRowPosting(TDataSet* dataSet);
    void TaskTagScrolled(TDataSet* dataSet);
    int FindTagValue(int tagID, int tagValueID);

    TCompanyDM& FDM;
    TItemKind FKind;
    bool FAnalysis;
    int FTaskID;
    QStringList FChartTypes;
    int FOfferCID;    // the item the tag offer was read for
    int FCurrentTag;  // the tag whose values qryTaskTagValue shows
    TZCQuery FTaskDate;
    TZCQuery FTaskItem;
    TQuery FTaskTag;
    TZCQuery FTaskTagValue;
    TQuery FAllItems;
    TQuery FAllTagValues;
};

// What the tag-value chooser does with the offer, without its widgets: one tag at a time is shown,
// with the values of that tag and its "必须满足" flag; every change marks its row Changed.
class TTagValueChoice {
public:
    struct TTag {
        int TagID;
        QString TagName;
    };
    explicit TTagValueChoice(TDataSet& offer);
    ~TTagValueChoice();
    TTagValueChoice(const TTagValueChoice&) = delete;
    TTagValueChoice& operator=(const TTagValueChoice&) = delete;

    TDataSet& Offer() const { return FOffer; }
    // The distinct tags of the offer in its order.
    const QList<TTag>& Tags() const { return FTags; }
    // Shows the values of the tag at that position (−1: none).
    void SetTag(int index);
    int TagIndex() const { return FIndex; }
    int IndexOfTag(int tagID) const;
    // The flag of the shown tag's first value (true when it has none).
    bool Mandatory() const;
    // Writes the flag into every value of the shown tag.
    void SetMandatory(bool value);
    // Ticks or clears a value of the shown tag (row: visible 0-based row).
    void SetSelected(int row, bool value);

private:
    TDataSet& FOffer;
    QList<TTag> FTags;
    int FIndex = -1;
};
