#include "engine/windows/BaseChart.h"

#include "engine/ChartReport.h"
#include "engine/windows/ChartPanel.h"
#include "engine/windows/ReportDesigner.h"
#include "component/DialogRunner.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
QImage SurfaceImage(TSPCChart* chart, int index, int width, int height)
{
    TCSChart* s = chart ? chart->GetChart(index) : nullptr;
    if (!s) return {};
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    const int oldW = s->Width, oldH = s->Height;
    s->Width = width;
    s->Height = height;
    QPainter p(&img);
    s->Paint(p);
    p.end();
    s->Width = oldW;
    s->Height = oldH;
    return img;
}

QWidget* WhitePanel(QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, Qt::white);
    w->setPalette(pal);
    return w;
}
} // namespace

TBaseChartFrm::TBaseChartFrm(bool embedded, QWidget* parent) : TBaseFrm(parent), FEmbedded(embedded)
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    FToolbar = new QToolBar(this);
    FToolbar->setObjectName(QStringLiteral("ToolBar"));
    FToolbar->addAction(QStringLiteral("打印"), this, [this] { PrintReport(); });
    FToolbar->addAction(QStringLiteral("报表设计"), this, [this] { DesignReport(); });
    FToolbar->addAction(QStringLiteral("导出Excel"), this, [this] {
        try {
            ShowInfo(QStringLiteral("已导出到：%1").arg(ExportExcel()));
        } catch (const std::exception& e) {
            ShowException(e);
        }
    });
    FToolbar->addSeparator();
    QAction* stats = FToolbar->addAction(QStringLiteral("统计量"));
    stats->setCheckable(true);
    connect(stats, &QAction::toggled, this, [this](bool on) { ShowStatistics(on); });
    QAction* data = FToolbar->addAction(QStringLiteral("数据"));
    data->setCheckable(true);
    connect(data, &QAction::toggled, this, [this](bool on) { ShowData(on); });
    FToolRow = new QWidget(this);
    auto* toolRowLayout = new QHBoxLayout(FToolRow);
    toolRowLayout->setContentsMargins(6, 0, 6, 0);
    FToolbar->addWidget(FToolRow);
    layout->addWidget(FToolbar);

    FTitlePanel = WhitePanel(this);
    FTitlePanel->setFixedHeight(49);
    auto* titleLayout = new QHBoxLayout(FTitlePanel);
    FTitleLabel = new QLabel(QStringLiteral("控制图"), FTitlePanel);
    QFont titleFont(QStringLiteral("宋体"));
    titleFont.setPixelSize(15);
    titleFont.setBold(true);
    FTitleLabel->setFont(titleFont);
    FTitleLabel->setAlignment(Qt::AlignCenter);
    titleLayout->addWidget(FTitleLabel);
    layout->addWidget(FTitlePanel);

    FSplitter = new QSplitter(Qt::Vertical, this);
    FSplitter->setChildrenCollapsible(false);
    FStatView = new TStringGridView(FSplitter);
    FStatView->setObjectName(QStringLiteral("StatisticsGrid"));
    FStatView->DefaultColumnWidth = 36;
    FStatView->setMinimumHeight(27);
    FStatView->setMaximumHeight(60);
    FStatView->hide();
    FChartArea = new QSplitter(Qt::Vertical, FSplitter);
    FChartArea->setChildrenCollapsible(false);
    FChartPanel = new TChartPanel(FChartArea);
    FChartPanel->setObjectName(QStringLiteral("ChartPanel"));
    FChartPanel->setMinimumHeight(120);
    FDataView = new TStringGridView(FChartArea);
    FDataView->setObjectName(QStringLiteral("DataGrid"));
    FDataView->DefaultColumnWidth = 58;  // wide enough for a value such as 74.0102
    FDataView->hide();
    FChartArea->setStretchFactor(0, 1);
    FSplitter->setStretchFactor(1, 1);
    layout->addWidget(FSplitter, 1);
    resize(720, 520);
}

TBaseChartFrm::~TBaseChartFrm() = default;

void TBaseChartFrm::AfterCreate()
{
    FChartPanel->SetChart(GetChartObject());
}

void TBaseChartFrm::SetChartType(TChartType type)
{
    FChartType = type;
    TSPCChartData* data = GetChartData();
    const TCharacterInfo* info = data ? data->GetCharacterInfo() : nullptr;
    SetTitle((info ? info->CName : QString()) + QLatin1Char(' ') + ChartTypeName(type));
}

void TBaseChartFrm::SetTitle(const QString& text)
{
    FTitleLabel->setText(text);
    setWindowTitle(text);
}

QString TBaseChartFrm::Title() const
{
    return FTitleLabel->text();
}

void TBaseChartFrm::ShowData(bool flag)
{
    FDataView->setVisible(flag);
    if (flag) {
        const int total = FChartArea->height();
        FChartArea->setSizes({std::max(120, total - 65), 65});
    }
    ActivateDataFiller(flag);
    if (flag) FDataView->Load(&DataGrid);
}

void TBaseChartFrm::ShowStatistics(bool flag)
{
    FStatView->setVisible(flag);
    ActivateStatistics(flag);
    if (flag) {
        FStatView->Load(&StatisticsGrid);
        const int total = FSplitter->height();
        FSplitter->setSizes({50, std::max(100, total - 50)});
    }
}

bool TBaseChartFrm::DataShown() const
{
    return !FDataView->isHidden();
}

bool TBaseChartFrm::StatisticsShown() const
{
    return !FStatView->isHidden();
}

void TBaseChartFrm::SetHostMode(int mode)
{
    FToolbar->setVisible(mode != 1);
    FTitlePanel->setVisible(mode != 1);
}

void TBaseChartFrm::SetToolbarVisible(bool flag)
{
    FToolbar->setVisible(flag);
}

bool TBaseChartFrm::LoadReport(TChartReport& report)
{
    const QString name = ReportFileName();
    if (name.isEmpty()) {
        ShowInfo(QStringLiteral("报表文件未指定"));
        return false;
    }
    const QString path = GetReportPath() + QLatin1Char('/') + name;
    report.Clear();
    if (!QFileInfo::exists(path) || !report.LoadFromFile(path)) {
        ShowInfo(QStringLiteral("报表文件不存在"));
        return false;
    }
    return true;
}

bool TBaseChartFrm::PrepareReport(TChartReport& report)
{
    TSPCChart* chart = GetChartObject();
    const bool previous = chart->ColorMode();
    // Black-and-white printing switches the chart only while the pictures are made.
    if (!ColorPrint) chart->SetColorMode(false);
    try {
        if (!DataShown()) FillDataGrid();
        report.Grid = &DataGrid;
        report.Variable = [this](const QString& name) {
            if (name == QLatin1String("ChartTitle")) return Title();
            if (name == QLatin1String("Tags")) return FTagsText;
            return QString();
        };
        if (!report.HasPage(QStringLiteral("ChartPage"))) {
            ShowInfo(QStringLiteral("找不到指定的页\"ChartPage\",报表格式错误！"));
            report.ColumnBlocks = false;
        }
        const bool two = chart->SurfaceCount() > 1;
        report.MChart = SurfaceImage(chart, 0, 1000, two ? 380 : 520);
        report.SChart = two ? SurfaceImage(chart, 1, 1000, 300) : QImage();
    } catch (...) {
        chart->SetColorMode(previous);
        throw;
    }
    chart->SetColorMode(previous);
    return true;
}

void TBaseChartFrm::PrintReport()
{
    TChartReport report;
    if (!LoadReport(report) || !PrepareReport(report)) return;
    QPrintPreviewDialog preview(this);
    preview.setWindowTitle(QStringLiteral("打印预览 - %1").arg(Title()));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&report](QPrinter* printer) { report.Print(*printer); });
    RunDialog(preview);
}

bool TBaseChartFrm::ReportToPdf(const QString& fileName)
{
    TChartReport report;
    if (!LoadReport(report) || !PrepareReport(report)) return false;
    return report.SavePdf(fileName);
}

void TBaseChartFrm::DesignReport()
{
    TChartReport report;
    if (!LoadReport(report) || !PrepareReport(report)) return;
    TReportDesignerFrm designer(report, this);
    RunDialog(designer);
}

QString TBaseChartFrm::ExportExcel()
{
    if (!DataShown()) FillDataGrid();
    QList<QImage> pictures;
    for (int i = 0; GetChartObject() && i < GetChartObject()->SurfaceCount(); ++i)
        pictures << SurfaceImage(GetChartObject(), i, 900, 360);
    const QString name = GetExcelPath() + QLatin1Char('/') +
                         QString(Title()).replace(QLatin1Char(' '), QLatin1Char('_')).replace(QLatin1Char('/'), QLatin1Char('_')) +
                         QDateTime::currentDateTime().toString(QStringLiteral("_yyyyMMdd_HHmmss")) + QStringLiteral(".xlsx");
    return ExportChartWorkbook(name, Title(), FTagsText, DataGrid, pictures);
}

void TBaseChartFrm::closeEvent(QCloseEvent* event)
{
    emit Closed(this);
    TBaseFrm::closeEvent(event);
}

void TBaseChartFrm::showEvent(QShowEvent* event)
{
    TBaseFrm::showEvent(event);
    if (GetChartObject()) GetChartObject()->SetBounds(0, 0, FChartPanel->width(), FChartPanel->height());
}

// ---------------------------------------------------------------- variable

TVChartFrm::TVChartFrm(TVariableDataList* list, bool embedded, QWidget* parent)
    : TBaseChartFrm(embedded, parent), FList(list), FData(std::make_unique<TVariableChartData>()),
      FChart(std::make_unique<TVariableChart>())
{
    FData->SetDataList(list);
    FChart->SetChartData(FData.get());
    AfterCreate();
}

TVChartFrm::~TVChartFrm()
{
    FChartPanel->SetChart(nullptr);
    FChart.reset();  // leaves the list's Charts before the data goes
}

void TVChartFrm::SetChartType(TChartType type)
{
    FData->SetChartType(type);
    FStatAgent = std::make_unique<TStatisticViewAgent>(FList, type, &StatisticsGrid, &FData->LimitInfo);
    FDataAgent = std::make_unique<TVariableDataViewAgent>(FList, type, &DataGrid);
    TBaseChartFrm::SetChartType(type);
}

void TVChartFrm::ActivateStatistics(bool flag)
{
    if (FStatAgent) FStatAgent->SetActive(flag);
}

void TVChartFrm::ActivateDataFiller(bool flag)
{
    if (FDataAgent) FDataAgent->SetActive(flag);
}

void TVChartFrm::FillDataGrid()
{
    if (FDataAgent) FDataAgent->Fill();
}

void TVChartFrm::ShowChart()
{
    FChart->Draw();
    FChartPanel->update();
}

void TVChartFrm::ShowSpecLines(bool flag)
{
    FChart->SetShowSpecLines(flag);
}

// ---------------------------------------------------------------- histogram

THChartFrm::THChartFrm(TVariableDataList* list, bool embedded, QWidget* parent)
    : TBaseChartFrm(embedded, parent), FList(list), FData(std::make_unique<THistogramChartData>()),
      FChart(std::make_unique<THistogramChart>())
{
    FData->SetDataList(list);
    FChart->SetChartData(FData.get());
    auto* row = FToolRow->layout();
    row->addWidget(new QLabel(QStringLiteral(" 分组数："), FToolRow));
    GroupCountEdit = new QSpinBox(FToolRow);
    GroupCountEdit->setRange(1, 500);
    row->addWidget(GroupCountEdit);
    RefreshButton = new QPushButton(QStringLiteral("刷新"), FToolRow);
    row->addWidget(RefreshButton);
    connect(RefreshButton, &QPushButton::clicked, this, [this] {
        try {
            RefreshGroupCount();
        } catch (const std::exception& e) {
            ShowException(e);
        }
    });
    connect(GroupCountEdit, &QSpinBox::editingFinished, this, [this] {
        if (GroupCountEdit->hasFocus()) RefreshButton->click();
    });
    FStatAgent = std::make_unique<TStatisticViewAgent>(FList, ctXBarS, &StatisticsGrid, &FData->LimitInfo);
    FStatAgent->ShowRange = true;
    FDataAgent = std::make_unique<THistogramDataViewAgent>(FData.get(), &DataGrid);
    FStatView->setMaximumHeight(60);
    resize(width() + int(std::lround(width() * 2.0 / 12)), height());
    FChartType = ctHistogram;
    AfterCreate();
}

THChartFrm::~THChartFrm()
{
    FChartPanel->SetChart(nullptr);
    FChart.reset();
}

void THChartFrm::ActivateStatistics(bool flag)
{
    // The strip reads the histogram's own limit record, which the classes fill.
    if (flag) FData->EnsureCalc();
    FStatAgent->SetActive(flag);
}

void THChartFrm::ActivateDataFiller(bool flag)
{
    FDataAgent->SetActive(flag);
}

void THChartFrm::FillDataGrid()
{
    FDataAgent->Fill();
}

void THChartFrm::ShowChart()
{
    FChart->Draw();
    if (FData->GroupCount() != NullValue) GroupCountEdit->setValue(FData->GroupCount());
    else if (FData->GroupItemCount() > 0) GroupCountEdit->setValue(FData->GroupItemCount());
    FChartPanel->update();
}

void THChartFrm::RefreshGroupCount()
{
    const int k = GroupCountEdit->value();
    FData->SetGroupCount(k);
    GroupCountEdit->setValue(k);
    FChart->Redraw();
    if (DataShown()) {
        ShowData(false);
        ShowData(true);
    }
}

// ---------------------------------------------------------------- attribute

TAChartFrm::TAChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent)
    : TBaseChartFrm(embedded, parent), FList(list), FData(std::make_unique<TAttributeChartData>()),
      FChart(std::make_unique<TAttributeChart>())
{
    FData->SetDataList(list);
    FChart->SetChartData(FData.get());
    FDataView->DefaultColumnWidth = 62;
    AfterCreate();
}

TAChartFrm::~TAChartFrm()
{
    FChartPanel->SetChart(nullptr);
    FChart.reset();
}

void TAChartFrm::SetChartType(TChartType type)
{
    FData->SetChartType(type);
    FDataAgent = std::make_unique<TAttributeDataViewAgent>(FList, type, &DataGrid);
    TBaseChartFrm::SetChartType(type);
}

void TAChartFrm::ActivateDataFiller(bool flag)
{
    if (FDataAgent) FDataAgent->SetActive(flag);
}

void TAChartFrm::FillDataGrid()
{
    if (FDataAgent) FDataAgent->Fill();
}

void TAChartFrm::ShowChart()
{
    FChart->Draw();
    FChartPanel->update();
}

// ---------------------------------------------------------------- Pareto

TParetoChartFrm::TParetoChartFrm(TAttributeDataList* list, bool embedded, QWidget* parent)
    : TBaseChartFrm(embedded, parent), FList(list), FData(std::make_unique<TParetoData>()),
      FChart(std::make_unique<TParetoChart>())
{
    FChart->SetChartData(FData.get());
    auto* row = FToolRow->layout();
    row->addWidget(new QLabel(QStringLiteral("显示项数："), FToolRow));
    ShowCountEdit = new QSpinBox(FToolRow);
    ShowCountEdit->setRange(0, 500);
    row->addWidget(ShowCountEdit);
    RefreshButton = new QPushButton(QStringLiteral("刷新"), FToolRow);
    row->addWidget(RefreshButton);
    connect(RefreshButton, &QPushButton::clicked, this, [this] { RefreshShowCount(); });
    FDataAgent = std::make_unique<TParetoDataViewAgent>(FData.get(), &DataGrid);
    FChartType = ctPareto;
    AfterCreate();
}

TParetoChartFrm::~TParetoChartFrm()
{
    FChartPanel->SetChart(nullptr);
    FChart.reset();
}

void TParetoChartFrm::ActivateDataFiller(bool flag)
{
    FDataAgent->SetActive(flag);
}

void TParetoChartFrm::FillDataGrid()
{
    FDataAgent->Fill();
}

void TParetoChartFrm::ShowChart()
{
    if (FList) FData->LoadFromList(*FList);
    FChart->Draw();
    ShowCountEdit->setValue(FChart->ShowCount());
    FChartPanel->update();
}

void TParetoChartFrm::RefreshShowCount()
{
    const int n = ShowCountEdit->value();
    FChart->SetShowCount(n);
    ShowCountEdit->setValue(n);
    FChart->Redraw();
    if (DataShown()) {
        ShowData(false);
        ShowData(true);
    }
}
