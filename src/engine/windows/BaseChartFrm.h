#pragma once
// The base of the chart windows: one chart object with its title, statistics strip, data grid,
// report and pictures. The four windows (TVChartFrm, THChartFrm, TAChartFrm, TParetoChartFrm)
// live in files of their own.
#include "component/BaseFrm.h"
#include "engine/SPCChart.h"
#include "engine/windows/ChartPanel.h"

#include <QSize>
#include <memory>

class QLabel;
class QSplitter;
class QToolBar;
class TChartPanel;
class TStringGridView;
class TChartReport;

class TBaseChartFrm : public TBaseFrm {
    Q_OBJECT
public:
    // An ordinary window; the windows' constructors with a data list place it (PlaceWindow).
    explicit TBaseChartFrm(QWidget* parent = nullptr);
    ~TBaseChartFrm() override;

    TChartType ChartType() const { return FChartType; }
    // Stores the type and titles the window "<item name> <chart type name>".
    virtual void SetChartType(TChartType type);
    virtual void ShowData(bool flag);
    virtual void SetTitle(const QString& text);
    virtual void ShowStatistics(bool flag);
    virtual void FillDataGrid() = 0;
    virtual TSPCChart* GetChartObject() const = 0;
    virtual TSPCChartData* GetChartData() const = 0;
    virtual QString ReportFileName() const = 0;
    virtual bool PrepareReport(TChartReport& report);
    bool LoadReport(TChartReport& report);
    virtual void ShowChart() = 0;

    // False for a window that was made a child window of the main window at creation; true for
    // an ordinary window that its host re-parents (and for windows made by class name).
    bool Embedded() const { return FEmbedded; }

    void SetHostMode(int mode);
    void SetToolbarVisible(bool flag);
    QString TagsText() const { return FTagsText; }
    void SetTagsText(const QString& text) { FTagsText = text; }
    QString Title() const;
    bool ColorPrint = true;

    // The report of the chart: print preview (print or PDF), the template editor, the spreadsheet.
    void PrintReport();
    void DesignReport();
    QString ExportExcel();
    // The same report rendered straight to a PDF file (used by the preview's save and by tests).
    bool ReportToPdf(const QString& fileName);
    // The chart as it is shown (at the chart panel's size) into an SVG file; returns the file.
    QString ExportSvg(const QString& fileName);
    // "导出SVG": asks for the file (proposed in the spreadsheet folder), writes it and says where.
    void ExportSvgAs();
    // The spreadsheet or picture file name proposed for the chart: the title with a time stamp.
    QString ExportFileName(const QString& suffix) const;

    bool DataShown() const;
    bool StatisticsShown() const;
    TChartPanel* ChartPanel() const { return FChartPanel; }
    TStringGridView* DataGridView() const { return FDataView; }
    TStringGridView* StatisticsView() const { return FStatView; }
    QToolBar* Toolbar() const { return FToolbar; }
    TStringGrid DataGrid;
    TStringGrid StatisticsGrid;

signals:
    void Closed(TBaseChartFrm* frm);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Binds the chart object to the chart panel; called by the windows once their chart exists.
    void AfterCreate();
    // The embedded flag of creation: a window that is not embedded becomes a child window of the
    // main window, when there is one. Called once the window is complete.
    void PlaceWindow(bool embedded);
    // The header of the item shown; nullptr while no list is bound.
    virtual const TCharacterInfo* ItemInfo() const;
    // The title from the item's name and the chart type (once a type is set).
    void UpdateTitle();
    virtual void ActivateStatistics(bool) {}
    virtual void ActivateDataFiller(bool) = 0;

    QToolBar* FToolbar;
    QWidget* FTitlePanel;
    QLabel* FTitleLabel;
    QSplitter* FSplitter;
    QSplitter* FChartArea;
    TChartPanel* FChartPanel;
    TStringGridView* FStatView;
    TStringGridView* FDataView;
    QWidget* FToolRow;  // group count / display count
    TChartType FChartType = ctNone;
    QString FTagsText;
    bool FEmbedded = true;

private:
    QSize PictureSize() const;
};

// What the four windows share: the host's list (not owned), the chart data and the chart object
// the window owns, and binding a list after creation.
template <class TList, class TData, class TChart>
class TChartFrmOf : public TBaseChartFrm {
public:
    TList* DataList() const { return FList; }
    void SetDataList(TList* list)
    {
        FList = list;
        ListBound();
        UpdateTitle();
    }
    TSPCChart* GetChartObject() const override { return FChart.get(); }
    TChart* Chart() const { return FChart.get(); }
    TData* Data() const { return FData.get(); }

protected:
    explicit TChartFrmOf(QWidget* parent)
        : TBaseChartFrm(parent), FData(std::make_unique<TData>()), FChart(std::make_unique<TChart>())
    {
        FChart->SetChartData(FData.get());
        AfterCreate();
    }
    ~TChartFrmOf() override
    {
        FChartPanel->SetChart(nullptr);
        FChart.reset();  // leaves the list's Charts before the data goes
    }
    // The constructors with a list: bind it, then place the window as the embedded flag says.
    void Create(TList* list, bool embedded)
    {
        SetDataList(list);
        PlaceWindow(embedded);
    }
    // After SetDataList stored the list: the chart data and the grid fillers follow it.
    virtual void ListBound() {}

    TList* FList = nullptr;
    std::unique_ptr<TData> FData;
    std::unique_ptr<TChart> FChart;
};
