#pragma once
// The chart windows: one chart object with its title, statistics strip, data grid and report.
#include "component/BaseFrm.h"
#include "engine/SPCChart.h"

#include <QPointer>
#include <memory>

class QLabel;
class QSplitter;
class QToolBar;
class QSpinBox;
class QPushButton;
class TChartPanel;
class TStringGridView;
class TChartReport;

class TBaseChartFrm : public TBaseFrm {
    Q_OBJECT
public:
    // embedded: an ordinary window the host re-parents; otherwise a child window of the main window.
    explicit TBaseChartFrm(bool embedded, QWidget* parent = nullptr);
    ~TBaseChartFrm() override;

    TChartType ChartType() const { return FChartType; }
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

    bool DataShown() const;
    bool StatisticsShown() const;
    TChartPanel* ChartPanel() const { return FChartPanel; }
    TStringGridView* DataGridView() const { return FDataView; }
    TStringGridView* StatisticsView() const { return FStatView; }
    TStringGrid DataGrid;
    TStringGrid StatisticsGrid;

signals:
    void Closed(TBaseChartFrm* frm);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Binds the chart object to the chart panel; called by the windows once their chart exists.
    void AfterCreate();
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
    bool FEmbedded;
};

class TVChartFrm : public TBaseChartFrm {
    Q_OBJECT
public:
    TVChartFrm(TVariableDataList* list, bool embedded, QWidget* parent = nullptr);
    ~TVChartFrm() override;
    void SetChartType(TChartType type) override;
    void FillDataGrid() override;
    TSPCChart* GetChartObject() const override { return FChart.get(); }
    TSPCChartData* GetChartData() const override { return FData.get(); }
    QString ReportFileName() const override { return QStringLiteral("VChart.rls"); }
    void ShowChart() override;
    void ShowSpecLines(bool flag);
    TVariableChart* Chart() const { return FChart.get(); }
    TVariableChartData* Data() const { return FData.get(); }

protected:
    void ActivateStatistics(bool flag) override;
    void ActivateDataFiller(bool flag) override;

private:
    TVariableDataList* FList;
    std::unique_ptr<TVariableChartData> FData;
    std::unique_ptr<TVariableChart> FChart;
    std::unique_ptr<TStatisticViewAgent> FStatAgent;
    std::unique_ptr<TVariableDataViewAgent> FDataAgent;
};

class THChartFrm : public TBaseChartFrm {
    Q_OBJECT
public:
    THChartFrm(TVariableDataList* list, bool embedded, QWidget* parent = nullptr);
    ~THChartFrm() override;
    void FillDataGrid() override;
    TSPCChart* GetChartObject() const override { return FChart.get(); }
    TSPCChartData* GetChartData() const override { return FData.get(); }
    QString ReportFileName() const override { return QStringLiteral("HChart.rls"); }
    void ShowChart() override;
    THistogramChart* Chart() const { return FChart.get(); }
    THistogramChartData* Data() const { return FData.get(); }
    QSpinBox* GroupCountEdit;
    QPushButton* RefreshButton;
    void RefreshGroupCount();

protected:
    void ActivateStatistics(bool flag) override;
    void ActivateDataFiller(bool flag) override;

private:
    TVariableDataList* FList;
    std::unique_ptr<THistogramChartData> FData;
    std::unique_ptr<THistogramChart> FChart;
    std::unique_ptr<TStatisticViewAgent> FStatAgent;
    std::unique_ptr<THistogramDataViewAgent> FDataAgent;
};

class TAChartFrm : public TBaseChartFrm {
    Q_OBJECT
public:
    TAChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent = nullptr);
    ~TAChartFrm() override;
    void SetChartType(TChartType type) override;
    void FillDataGrid() override;
    TSPCChart* GetChartObject() const override { return FChart.get(); }
    TSPCChartData* GetChartData() const override { return FData.get(); }
    QString ReportFileName() const override { return QStringLiteral("AChart.rls"); }
    void ShowChart() override;
    TAttributeChart* Chart() const { return FChart.get(); }
    TAttributeChartData* Data() const { return FData.get(); }

protected:
    void ActivateDataFiller(bool flag) override;

private:
    TAttributeDataList* FList;
    std::unique_ptr<TAttributeChartData> FData;
    std::unique_ptr<TAttributeChart> FChart;
    std::unique_ptr<TAttributeDataViewAgent> FDataAgent;
};

class TParetoChartFrm : public TBaseChartFrm {
    Q_OBJECT
public:
    TParetoChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent = nullptr);
    ~TParetoChartFrm() override;
    void FillDataGrid() override;
    void ShowStatistics(bool) override {}
    TSPCChart* GetChartObject() const override { return FChart.get(); }
    TSPCChartData* GetChartData() const override { return nullptr; }
    QString ReportFileName() const override { return QStringLiteral("ParetoChart.rls"); }
    void ShowChart() override;
    TParetoChart* Chart() const { return FChart.get(); }
    TParetoData* Data() const { return FData.get(); }
    QSpinBox* ShowCountEdit;
    QPushButton* RefreshButton;
    void RefreshShowCount();

protected:
    void ActivateDataFiller(bool flag) override;

private:
    TAttributeDataList* FList;
    std::unique_ptr<TParetoData> FData;
    std::unique_ptr<TParetoChart> FChart;
    std::unique_ptr<TParetoDataViewAgent> FDataAgent;
};
