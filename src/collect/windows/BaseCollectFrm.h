#pragma once
// The base of the two collection windows: tool bar (保存, 标签, 图形, 关闭), the control item with
// its choice, the tag panel, the data grid with "删除子组", the chart windows opened from here and
// tiled beside the window, and the closing question. The keying logic is the collection's
// (TBaseCollect); the window forwards the user's actions to it.
#include "collect/BaseCollect.h"
#include "component/BaseFrm.h"
#include "engine/SPCTypes.h"

#include <QMap>
#include <memory>

class QAction;
class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;
class TBaseChartFrm;
class TChartFormList;
class TCollectGrid;
class TDataSetModel;
class TTagInputFrm;

class TBaseCollectFrm : public TBaseFrm {
    Q_OBJECT
public:
    ~TBaseCollectFrm() override;

    TBaseCollect& Collect() const { return *FCollect; }
    TChartFormList& Charts() const { return *FCharts; }

    QToolBar* ToolBar;
    QAction* actItem;    // "质量特性(&C)"
    QAction* actTag;     // "标签(&T)"
    QAction* actSave;    // "保存(&S)"
    QAction* actClose;   // "关闭(&Q)"
    QToolButton* btnChart;  // "图形"
    QMenu* ChartMenu;
    QLineEdit* edtItem;
    QToolButton* btnItem;
    TTagInputFrm* TagInput;
    TCollectGrid* Grid;
    QMenu* GridMenu;
    QAction* actDeleteSubgroup;  // "删除子组"

    QAction* ChartAction(TChartType type) const { return FChartActions.value(type); }

    // The actions; each shows its own errors.
    void SelectItem();
    void SelectTemplate();
    // True when everything was written.
    bool Save();
    void OpenChart(TChartType type);
    void DeleteCurrentSubgroup();
    // "删除子组" of a subgroup, also from a chart's point menu: a stored subgroup only after the
    // question.
    void DeleteSubgroup(int cid, int sn);
    // The chart windows beside the collection window, one above the other.
    void TileCharts();

protected:
    TBaseCollectFrm(std::unique_ptr<TBaseCollect> collect, const QString& caption, QWidget* parent);
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Builds the grid's columns and colours; called once the window is complete.
    void Setup();
    virtual void AddColumns(TDataSetModel& model) = 0;
    virtual QColor RowColor(int row) const = 0;
    // Opens the chart window of the current control item; its position in Charts().
    virtual int CreateChart(TChartType type) = 0;
    // The item edit, the chart menu and the grid follow the current control item.
    void ItemChanged();

private:
    void GridMoved();
    void HookPointMenu(TBaseChartFrm* frm);
    void CloseCharts();
    // The subgroup a chart's current point shows; NullValue when none.
    int PointSubgroup(TBaseChartFrm* frm) const;

    std::unique_ptr<TBaseCollect> FCollect;
    std::unique_ptr<TChartFormList> FCharts;
    QMap<TChartType, QAction*> FChartActions;
    bool FPlaced = false;
};
