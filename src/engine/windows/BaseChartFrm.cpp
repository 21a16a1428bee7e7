#include "engine/windows/BaseChartFrm.h"

#include "engine/ChartPicture.h"
#include "engine/ChartReport.h"
#include "engine/windows/ChartPanel.h"
#include "engine/windows/ReportDesigner.h"
#include "component/ChildWindowHost.h"
#include "component/DialogRunner.h"
#include "foundation/Errors.h"
#include "foundation/MessageService.h"
#include "foundation/RecordUtils.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>
#include <functional>

namespace {
// Runs an export and says where the file went, or why there is none.
void ExportAndTell(const std::function<QString()>& exportFile)
{
    try {
        ShowInfo(QStringLiteral("已导出到：%1").arg(exportFile()));
    } catch (const std::exception& e) {
        ShowException(e);
    }
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

TBaseChartFrm::TBaseChartFrm(QWidget* parent) : TBaseFrm(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    FToolbar = new QToolBar(this);
    FToolbar->setObjectName(QStringLiteral("ToolBar"));
    FToolbar->addAction(QStringLiteral("打印"), this, [this] { PrintReport(); });
    FToolbar->addAction(QStringLiteral("报表设计"), this, [this] { DesignReport(); });
    FToolbar->addAction(QStringLiteral("导出Excel"), this, [this] { ExportAndTell([this] { return ExportExcel(); }); });
    FToolbar->addAction(QStringLiteral("导出SVG"), this, [this] { ExportSvgAs(); });
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
    FTitleLabel->setObjectName(QStringLiteral("TitleLabel"));
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

void TBaseChartFrm::PlaceWindow(bool embedded)
{
    FEmbedded = embedded;
    if (embedded) return;
    if (TChildWindowHost* host = TChildWindowHost::Current()) host->ShowChildWindow(this);
}

const TCharacterInfo* TBaseChartFrm::ItemInfo() const
{
    const TSPCChartData* data = GetChartData();
    return data ? data->GetCharacterInfo() : nullptr;
}

void TBaseChartFrm::SetChartType(TChartType type)
{
    FChartType = type;
    UpdateTitle();
}

void TBaseChartFrm::UpdateTitle()
{
    if (FChartType == ctNone) return;
    const TCharacterInfo* info = ItemInfo();
    SetTitle(ChartTitle(info ? info->CName : QString(), FChartType));
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
    if (!DataShown()) FillDataGrid();
    if (!FillChartReport(report, *GetChartObject(), DataGrid, Title(), FTagsText, ColorPrint))
        ShowInfo(QStringLiteral("找不到指定的页\"ChartPage\",报表格式错误！"));
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

QString TBaseChartFrm::ExportFileName(const QString& suffix) const
{
    QString name = Title();
    name.replace(QLatin1Char(' '), QLatin1Char('_')).replace(QLatin1Char('/'), QLatin1Char('_'));
    return GetExcelPath() + QLatin1Char('/') + name +
           QDateTime::currentDateTime().toString(QStringLiteral("_yyyyMMdd_HHmmss")) + suffix;
}

QString TBaseChartFrm::ExportExcel()
{
    if (!DataShown()) FillDataGrid();
    TSPCChart* chart = GetChartObject();
    const QList<QImage> pictures = chart ? ChartWorkbookPictures(*chart) : QList<QImage>{};
    return ExportChartWorkbook(ExportFileName(QStringLiteral(".xlsx")), Title(), FTagsText, DataGrid, pictures);
}

QSize TBaseChartFrm::PictureSize() const
{
    // A window that was never laid out has no panel size yet: a page-wide picture instead.
    const QSize panel = FChartPanel->size();
    return panel.width() >= 100 && panel.height() >= 100 ? panel : QSize(1000, 640);
}

QString TBaseChartFrm::ExportSvg(const QString& fileName)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    SaveChartPicture(*GetChartObject(), fileName, TPictureFormat::Svg, PictureSize(), Title());
    return fileName;
}

void TBaseChartFrm::ExportSvgAs()
{
    QFileDialog dialog(this, QStringLiteral("导出SVG"), ExportFileName(QStringLiteral(".svg")),
                       QStringLiteral("SVG 图片 (*.svg)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("svg"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // run like every other dialog (tests answer it)
    if (RunDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString fileName = dialog.selectedFiles().constFirst();
    ExportAndTell([this, &fileName] { return ExportSvg(fileName); });
}

void TBaseChartFrm::closeEvent(QCloseEvent* event)
{
    emit Closed(this);
    TBaseFrm::closeEvent(event);
}

void TBaseChartFrm::showEvent(QShowEvent* event)
{
    // The histogram and Pareto windows take the item's name again: the host may have loaded the
    // item after creating them.
    if (FChartType == ctHistogram || FChartType == ctPareto) UpdateTitle();
    TBaseFrm::showEvent(event);
    if (GetChartObject()) GetChartObject()->SetBounds(0, 0, FChartPanel->width(), FChartPanel->height());
}
