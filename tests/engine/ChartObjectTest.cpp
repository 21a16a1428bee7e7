// Chart objects, chart windows and reports: geometry, hints, colour modes, report blocks, and
// pictures of every chart kind written to build/screenshots.
#include "EngineTestSupport.h"
#include "TestDatabase.h"

#include "component/ChildWindowHost.h"
#include "component/DialogRunner.h"
#include "component/FormFactory.h"
#include "engine/ChartPicture.h"
#include "engine/ChartReport.h"
#include "engine/SPCChart.h"
#include "engine/windows/AChartFrm.h"
#include "engine/windows/ChartFormManager.h"
#include "engine/windows/HChartFrm.h"
#include "engine/windows/ParetoChartFrm.h"
#include "engine/windows/VChartFrm.h"
#include "engine/windows/ChartPanel.h"
#include "engine/windows/ReportDesigner.h"
#include "foundation/RecordUtils.h"

#include <QTextBrowser>

#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QImage>
#include <QPainter>
#include <QFileDialog>
#include <QLabel>
#include <QTest>
#include <QTextDocument>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {
const QString kShots = QStringLiteral(SCREENSHOT_DIR);

QImage Render(TSPCChart& chart, int w, int h)
{
    chart.SetBounds(0, 0, w, h);
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    chart.PaintAll(p);
    return img;
}

void Save(const QImage& img, const QString& name)
{
    QDir().mkpath(kShots);
    img.save(kShots + QLatin1Char('/') + name + QStringLiteral(".png"));
}

struct TVariableFixture {
    TTestDatabase db;
    TVariableDataList list;
    TVariableChartData data;
    TVariableChart chart;
    TVariableFixture(const QString& file, int n, TChartType type)
    {
        list.Info.CName = QStringLiteral("活塞环内径");
        list.Info.USL = 74.05;
        list.Info.SL = 74.0;
        list.Info.LSL = 73.95;
        LoadVariable(list, file, n);
        data.SetDataList(&list);
        data.SetChartType(type);
        chart.SetChartData(&data);
        chart.Refresh();
    }
};

struct TAttributeFixture {
    TTestDatabase db;
    TAttributeDataList list;
    TAttributeChartData data;
    TAttributeChart chart;
    TAttributeFixture(const QString& file, bool defects, TChartType type)
    {
        LoadAttribute(list, file, defects);
        data.SetDataList(&list);
        data.SetChartType(type);
        chart.SetChartData(&data);
        chart.Refresh();
    }
};

// The colour of the zone painted at a value, in the middle of the plot.
QColor ZoneColorAt(TSPCChart& chart, int surface, double value, int w = 800, int h = 600)
{
    const QImage img = Render(chart, w, h);
    TCSChart* s = chart.GetChart(surface);
    const double x = s->ChartRect().left() + s->ChartRect().width() * 0.37 + (s->Left - chart.Left());
    const double y = s->CalcYPos(value) + (s->Top - chart.Top());
    return img.pixelColor(int(x), int(y));
}
} // namespace

TEST(ChartObjects, ZoneStripsMergeEqualLimitsAndFollowSteps)
{
    TCSChart surface;
    surface.Width = 500;
    surface.Height = 300;
    auto* s = surface.AddSeries<TCSChartSeries>();
    for (int i = 0; i < 6; ++i) s->Add(i, i);
    surface.Layout();
    const auto constant = ZoneStrips(surface, 6, [](int, double& c, double& u, double& l) { c = 1; u = 2; l = 0; });
    ASSERT_EQ(constant.size(), 1u);
    EXPECT_DOUBLE_EQ(constant[0].Left, surface.ChartRect().left() + 1);
    EXPECT_DOUBLE_EQ(constant[0].Right, surface.ChartRect().right() + 1);
    const auto stepped = ZoneStrips(surface, 6, [](int i, double& c, double& u, double& l) {
        c = 1;
        u = i < 3 ? 2 : 2.5;
        l = i < 3 ? 0 : -0.5;
    });
    ASSERT_EQ(stepped.size(), 2u);
    EXPECT_DOUBLE_EQ(stepped[0].Right, surface.CalcXPos(3));
    EXPECT_DOUBLE_EQ(stepped[1].Left, surface.CalcXPos(3));
}

TEST(ChartObjects, ZonesInColourWithClampedLowerLimitAndZeroWidth)
{
    TVariableFixture f(QStringLiteral("pistonrings.csv"), 5, ctXBarR);
    TVariableChartData& d = f.data;
    const double cl = d.MainCL(), u = d.MainUCL(), dd = u - cl;
    EXPECT_EQ(ZoneColorAt(f.chart, 0, cl + dd / 6), kCentreLime);
    EXPECT_EQ(ZoneColorAt(f.chart, 0, cl + dd / 2), kZoneYellow);
    EXPECT_EQ(ZoneColorAt(f.chart, 0, cl - 5 * dd / 6), kLimitRed);
    // The R chart's lower limit is clamped at 0 (n = 5): the lower zones are cut off there and
    // grey starts at 0.
    const double scl = d.SubCL(), sucl = d.SubUCL();
    EXPECT_EQ(d.SubLCL(0), 0);
    const double sd = sucl - scl;
    EXPECT_EQ(ZoneColorAt(f.chart, 1, std::max(scl - 2 * sd / 3, 0.0) / 2), scl - 2 * sd / 3 > 0 ? kLimitRed : kZoneYellow);
    // Half-width zero: no zones at all.
    d.LimitInfo.Loaded = true;
    d.LimitInfo.MUCL = d.LimitInfo.MCL;
    const QColor plain = ZoneColorAt(f.chart, 0, cl + dd / 6);
    EXPECT_NE(plain, kCentreLime);
    // Nothing stored, nothing computed (all -1): no zones either.
    d.LimitInfo.MCL = d.LimitInfo.MUCL = d.LimitInfo.MLCL = -1;
    EXPECT_NE(ZoneColorAt(f.chart, 0, -1), kCentreLime);
}

TEST(ChartObjects, ColourModeSwitchesBackAndForth)
{
    TVariableFixture f(QStringLiteral("pistonrings.csv"), 5, ctXBarR);
    const double cl = f.data.MainCL(), dd = f.data.MainUCL() - cl;
    f.chart.SetColorMode(false);
    EXPECT_EQ(f.chart.UCLLine->Color, QColor(Qt::black));
    EXPECT_EQ(f.chart.SCLLine->Color, QColor(Qt::black));
    EXPECT_EQ(ZoneColorAt(f.chart, 0, cl + dd / 6), QColor(Qt::white));
    f.chart.SetColorMode(true);
    EXPECT_EQ(f.chart.UCLLine->Color, kLimitRed);
    EXPECT_EQ(f.chart.CLLine->Color, kCentreLime);
    EXPECT_EQ(f.chart.USLLine->Color, kSpecFuchsia);
    EXPECT_EQ(ZoneColorAt(f.chart, 0, cl + dd / 6), kCentreLime);
}

TEST(ChartObjects, SeriesAndHintsOfEachKind)
{
    {
        TVariableFixture f(QStringLiteral("viscosity.csv"), 1, ctXRm);
        ASSERT_EQ(f.chart.SubPoints->Count(), f.list.Count());
        EXPECT_EQ(f.chart.SubPoints->Points[0].Y, 0);  // the first moving range has no value
        EXPECT_TRUE(f.chart.SubHint(0).startsWith(QStringLiteral("-999999999\n\rUCL: ")));
        EXPECT_EQ(f.chart.MainPoints->Label(3), QStringLiteral("4"));
        EXPECT_EQ(f.chart.GetChart(1)->LeftAxis.Title, QStringLiteral("Rm"));
        EXPECT_EQ(f.chart.GetChart(0)->LeftAxis.LabelsSize, f.chart.GetChart(1)->LeftAxis.LabelsSize);
        EXPECT_EQ(f.chart.USLLine->Count(), f.list.Count());
        EXPECT_FALSE(f.chart.USLLine->Visible);
    }
    {
        TVariableFixture f(QStringLiteral("pistonrings.csv"), 5, ctXBarS);
        const QString hint = f.chart.MainHint(0);
        EXPECT_TRUE(hint.startsWith(QStringLiteral("XBar: 74.0102\n\rUCL: "))) << hint.toStdString();
        EXPECT_TRUE(hint.endsWith(QStringLiteral("\n\r未检测")));
        EXPECT_TRUE(f.chart.SubHint(0).startsWith(QStringLiteral("S:")));
    }
    {
        TAttributeFixture f(QStringLiteral("orangejuice_varn.csv"), false, ctP);
        EXPECT_TRUE(f.chart.Points->Stairs);
        EXPECT_NE(f.chart.UCLLine->Points[0].Y, f.chart.UCLLine->Points[1].Y);  // per-point limits step
        EXPECT_TRUE(f.chart.Hint(0).startsWith(QStringLiteral("P: 0.24\n\rUCL: ")));
    }
    {
        TTestDatabase db;
        TVariableDataList list;
        list.Info.LSL = list.Info.SL = list.Info.USL = NullValue;
        LoadValues(list, {{5, 5}, {5, 5}, {5, 5}});
        THistogramChartData data;
        data.SetDataList(&list);
        THistogramChart chart;
        chart.SetChartData(&data);
        chart.Refresh();
        // All values equal: one class of width 0, every line at the same x.
        EXPECT_DOUBLE_EQ(chart.Classes->MinX(), 5);
        EXPECT_DOUBLE_EQ(chart.Classes->MaxX(), 5);
        for (const TCSPoint& p : chart.Lines->Points) EXPECT_DOUBLE_EQ(p.X, 5);
        const QColor first = chart.Classes->PointColor(1);
        chart.Redraw();
        EXPECT_NE(chart.Classes->PointColor(1), first);  // colours rotate from one redraw to the next
        Render(chart, 400, 300);  // and it paints
    }
    {
        TParetoData data;
        for (const auto& [name, n] : {std::pair{"划伤", 40}, {"污渍", 25}, {"变形", 12}, {"气泡", 5}, {"色差", 3}})
            data.AddAmount(QString::fromUtf8(name), n);
        TParetoChart chart;
        chart.SetChartData(&data);
        chart.SetShowCount(3);
        ASSERT_EQ(chart.Bars->Count(), 4);
        EXPECT_EQ(chart.Bars->Label(3), TParetoData::RemainderName());
        EXPECT_DOUBLE_EQ(chart.Bars->Points[3].Y, 8);
        EXPECT_DOUBLE_EQ(chart.Cumulative->Points[3].Y, 100);
        EXPECT_DOUBLE_EQ(chart.GetChart(0)->LeftAxis.Maximum, 85);
    }
}

TEST(ChartObjects, PanelHitTestingAndPointMenu)
{
    TVariableFixture f(QStringLiteral("pistonrings.csv"), 5, ctXBarR);
    TChartPanel panel;
    panel.resize(800, 600);
    panel.SetChart(&f.chart);
    Render(f.chart, 800, 600);
    TCSChart* main = f.chart.GetChart(0);
    const QPoint p = f.chart.MainPoints->PixelOf(7).toPoint();
    EXPECT_TRUE(panel.HintAt(p + QPoint(3, -3)).startsWith(QStringLiteral("XBar: ")));
    EXPECT_EQ(panel.HintAt(p + QPoint(12, 0)), QString());
    EXPECT_FALSE(panel.ClickAt(p + QPoint(12, 0), Qt::RightButton));
    EXPECT_TRUE(panel.ClickAt(p + QPoint(1, 1), Qt::LeftButton));
    EXPECT_EQ(f.chart.CurrentPoint, 7);
    // The secondary surface sits below the main one.
    const QPoint q = f.chart.SubPoints->PixelOf(9).toPoint() + QPoint(0, main->Height);
    EXPECT_TRUE(panel.ClickAt(q, Qt::RightButton));
    EXPECT_EQ(f.chart.CurrentPoint, 9);
    EXPECT_FALSE(panel.PointMenu()->actions()[1]->isVisible());  // 编辑 waits for the exception windows
    panel.PointMenu()->hide();
    // 删除 asks; No keeps the point.
    f.db.Messages.Answers << TMsgResult::No;
    f.chart.MenuDelete();
    EXPECT_EQ(f.list.Count(), 40);
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("删除本值组（点）后将不可恢复，是否继续？"));
    // Yes deletes it from the database and the list, and the chart follows.
    const int sn = f.list.Item(9).SN;
    f.db.Messages.Answers << TMsgResult::Yes;
    f.chart.MenuDelete();
    EXPECT_EQ(f.list.Count(), 39);
    EXPECT_EQ(f.list.IndexOfSN(sn), -1);
    EXPECT_EQ(f.chart.MainPoints->Count(), 39);
    panel.SetChart(nullptr);
}

TEST(ChartObjects, OtherChartsOnTheListFollowADeletion)
{
    TVariableFixture f(QStringLiteral("pistonrings.csv"), 5, ctXBarR);
    TVariableChartData second;
    second.SetDataList(&f.list);
    second.SetChartType(ctXBarS);
    TVariableChart other;
    other.SetChartData(&second);
    other.Refresh();
    f.chart.CurrentPoint = 39;
    f.db.Messages.Answers << TMsgResult::Yes;
    f.chart.MenuDelete();
    EXPECT_EQ(other.MainPoints->Count(), 39);
    EXPECT_EQ(other.MainHint(39), QString());  // no point there any more, and no error either
}

TEST(ChartObjects, LimitsWithoutValueAreNotDrawn)
{
    TVariableFixture f(QStringLiteral("pistonrings.csv"), 5, ctXBarR);
    f.data.LimitInfo.Loaded = true;
    f.data.LimitInfo.MUCL = NullValue;
    f.data.LimitInfo.MLCL = NullValue;
    f.chart.Redraw();
    EXPECT_EQ(f.chart.UCLLine->Count(), 0);
    EXPECT_EQ(f.chart.CLLine->Count(), 40);
    Render(f.chart, 800, 600);
    EXPECT_GT(f.chart.GetChart(0)->LeftAxis.Low, 73);  // the axis keeps to the data
}

TEST(ChartReport, ColumnBlocksAndVariables)
{
    TStringGrid grid;
    grid.SetSize(30, 3);
    for (int c = 0; c < 30; ++c)
        for (int r = 0; r < 3; ++r) grid.SetCell(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
    TChartReport report;
    QString row, titles;
    for (int n = 0; n < 13; ++n) {
        titles += QStringLiteral("<td>[FieldTitle%1]</td>").arg(n);
        row += QStringLiteral("<td>[Field%1]</td>").arg(n);
    }
    report.LoadFromText(QStringLiteral("<div id=\"ChartPage\"><h1>[ChartTitle]</h1><p>[Tags] [Other]</p>"
                                       "<table><tr>%1</tr><tr>%2</tr></table></div>").arg(titles, row));
    report.Grid = &grid;
    report.Variable = [](const QString& n) { return n == "ChartTitle" ? QStringLiteral("XBar-R 控制图") : QStringLiteral("班次=早班"); };
    EXPECT_EQ(report.DataRowWidth(), 13);
    EXPECT_EQ(report.BlockCount(), 3);
    EXPECT_EQ(report.BlockColumns(2), (QList<int>{0, 25, 26, 27, 28, 29}));
    EXPECT_EQ(report.VariableValue(QStringLiteral("FIELDTITLE3"), 1), QString());
    EXPECT_EQ(report.VariableValue(QStringLiteral("FIELD4"), 2), QStringLiteral("c4r2"));
    EXPECT_EQ(report.VariableValue(QStringLiteral("FIELDx"), 2), QString());
    EXPECT_EQ(report.VariableValue(QStringLiteral("charttitle"), 0), QString());
    const QString html = report.RenderHtml();
    // Every grid cell printed exactly once, the caption column once per block.
    for (int c = 1; c < 30; ++c)
        for (int r = 0; r < 3; ++r) EXPECT_EQ(html.count(QStringLiteral(">c%1r%2<").arg(c).arg(r)), 1) << c << "," << r;
    EXPECT_EQ(html.count(QStringLiteral(">c0r1<")), 3);
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>XBar-R 控制图</h1>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<p>班次=早班 </p>")));
    EXPECT_EQ(html.count(QStringLiteral("<table>")), 3);
}

TEST(ChartWindows, ReportPrintsBlackAndWhiteAndKeepsTheScreenInColour)
{
    TTestDatabase db;
    QDir().mkpath(db.DirPath() + "/Report");
    QFile::copy(QStringLiteral(REPORT_DIR "/VChart.rls"), db.DirPath() + "/Report/VChart.rls");
    TVariableDataList list;
    list.Info.CName = QStringLiteral("活塞环内径");
    list.Info.USL = 74.05;
    list.Info.SL = 74.0;
    list.Info.LSL = 73.95;
    LoadVariable(list, QStringLiteral("pistonrings.csv"), 5);
    TChartFormList forms;
    const int i = forms.AddVChartForm(&list, ctXBarR, true);
    auto* frm = qobject_cast<TVChartFrm*>(forms.Item(i));
    ASSERT_NE(frm, nullptr);
    EXPECT_EQ(forms.FindChartForm(list.CID(), ctXBarR), i);
    EXPECT_EQ(forms.FindChartForm(list.CID(), ctXBarS), -1);
    EXPECT_EQ(frm->Title(), QStringLiteral("活塞环内径 XBar-R 控制图"));
    frm->resize(900, 700);
    frm->Chart()->Refresh();
    frm->ShowStatistics(true);
    frm->ShowData(true);
    frm->show();
    frm->SetTagsText(QStringLiteral("班次：早班"));
    QDir().mkpath(kShots);
    frm->grab().save(kShots + QStringLiteral("/chart-window.png"));

    frm->ColorPrint = false;
    TChartReport report;
    ASSERT_TRUE(frm->LoadReport(report));
    ASSERT_TRUE(frm->PrepareReport(report));
    EXPECT_TRUE(frm->Chart()->ColorMode());
    EXPECT_EQ(frm->Chart()->UCLLine->Color, kLimitRed);
    // The printed picture has no coloured zones.
    bool coloured = false;
    for (int y = 0; y < report.MChart.height() && !coloured; y += 3)
        for (int x = 0; x < report.MChart.width() && !coloured; x += 3)
            coloured = report.MChart.pixelColor(x, y) == kCentreLime;
    EXPECT_FALSE(coloured);
    EXPECT_TRUE(report.SavePdf(kShots + QStringLiteral("/report-vchart.pdf")));
    // The report rendered as a page picture.
    std::unique_ptr<QTextDocument> doc = report.RenderDocument();
    doc->setTextWidth(820);
    QImage page(820, int(doc->size().height()) + 20, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    doc->drawContents(&p);
    p.end();
    page.save(kShots + QStringLiteral("/report-vchart.png"));

    // The template editor shows the rendered report beside the template.
    {
        TReportDesignerFrm designer(report);
        designer.resize(1200, 760);
        designer.show();
        designer.grab().save(kShots + QStringLiteral("/report-designer.png"));
        EXPECT_TRUE(designer.Preview->toPlainText().contains(QStringLiteral("活塞环内径 XBar-R 控制图")));
    }

    // The spreadsheet: a workbook in the program folder's Excel directory.
    const QString xlsx = frm->ExportExcel();
    EXPECT_TRUE(xlsx.startsWith(db.DirPath() + "/Excel/"));
    QFile book(xlsx);
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_TRUE(book.read(2) == "PK");
    EXPECT_GT(book.size(), 20000);  // the two chart pictures are inside

    // Missing template: the message, nothing printed.
    QFile::remove(db.DirPath() + "/Report/VChart.rls");
    EXPECT_FALSE(frm->LoadReport(report));
    EXPECT_EQ(db.Messages.LastText(), QStringLiteral("报表文件不存在"));
    // Closing the window removes it from the list; the chart left the data list.
    frm->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(forms.Count(), 0);
    EXPECT_EQ(list.Charts.Count(), 0);
}

TEST(ChartPictures, EveryKindFromTheDataSets)
{
    TTestDatabase db;
    const struct { const char* file; int n; TChartType type; const char* shot; } vcharts[] = {
        {"pistonrings.csv", 5, ctXBarR, "xbar-r"},
        {"pistonrings.csv", 5, ctXBarS, "xbar-s"},
        {"viscosity.csv", 1, ctXRm, "x-rm"},
    };
    for (const auto& c : vcharts) {
        TVariableFixture f(QString::fromLatin1(c.file), c.n, c.type);
        if (c.type == ctXRm) {
            f.list.Info.USL = 38;
            f.list.Info.SL = 34;
            f.list.Info.LSL = 30;
        }
        f.chart.SetShowSpecLines(c.type == ctXRm);
        f.chart.Refresh();
        Save(Render(f.chart, 1000, 640), QStringLiteral("chart-") + QLatin1String(c.shot));
        if (c.type == ctXBarR) {
            f.chart.SetColorMode(false);
            Save(Render(f.chart, 1000, 640), QStringLiteral("chart-xbar-r-bw"));
        }
    }
    const struct { const char* file; bool defects; TChartType type; const char* shot; } acharts[] = {
        {"orangejuice_varn.csv", false, ctP, "p-varying-n"},
        {"orangejuice.csv", false, ctNP, "np"},
        {"pcmanufact.csv", true, ctU, "u"},
        {"circuit.csv", true, ctC, "c"},
    };
    for (const auto& c : acharts) {
        TAttributeFixture f(QString::fromLatin1(c.file), c.defects, c.type);
        Save(Render(f.chart, 1000, 420), QStringLiteral("chart-") + QLatin1String(c.shot));
    }
    {
        TVariableDataList list;
        list.Info.USL = 74.05;
        list.Info.SL = 74.0;
        list.Info.LSL = 73.95;
        LoadVariable(list, QStringLiteral("pistonrings.csv"), 5);
        THistogramChartData data;
        data.SetDataList(&list);
        THistogramChart chart;
        chart.SetChartData(&data);
        chart.Refresh();
        Save(Render(chart, 1000, 520), QStringLiteral("chart-histogram"));
    }
    {
        TParetoData data;
        for (const auto& [name, n] : {std::pair{"划伤", 42}, {"污渍", 27}, {"变形", 14}, {"气泡", 9}, {"色差", 5}, {"虚焊", 3}})
            data.AddAmount(QString::fromUtf8(name), n);
        TParetoChart chart;
        chart.SetChartData(&data);
        chart.Draw();
        Save(Render(chart, 1000, 460), QStringLiteral("chart-pareto"));
    }
    EXPECT_TRUE(QFileInfo::exists(kShots + QStringLiteral("/chart-pareto.png")));
}

namespace {
// The main window's part: records the windows handed to it as child windows.
class TRecordingHost : public TChildWindowHost {
public:
    explicit TRecordingHost(TChildWindowHost* installed) : FPrevious(TChildWindowHost::Current())
    {
        TChildWindowHost::SetCurrent(installed);
    }
    TRecordingHost() : TRecordingHost(this) {}
    ~TRecordingHost() override { TChildWindowHost::SetCurrent(FPrevious); }
    void ShowChildWindow(QWidget* window) override { Shown << window; }
    QList<QWidget*> Shown;

private:
    TChildWindowHost* FPrevious;
};

// A host's data: the piston rings and the circuit boards, and the report templates in place.
struct TWindowFixture {
    TTestDatabase db;
    TVariableDataList variable;
    TAttributeDataList attribute;
    TWindowFixture()
    {
        variable.Info.CName = QStringLiteral("活塞环内径");
        variable.Info.USL = 74.05;
        variable.Info.SL = 74.0;
        variable.Info.LSL = 73.95;
        LoadVariable(variable, QStringLiteral("pistonrings.csv"), 5);
        attribute.Info.CName = QStringLiteral("电路板");
        attribute.Info.Kind = ikAttribute;
        const struct { int id; const char* name; } phenomena[] = {{1, "虚焊"}, {2, "短路"}, {3, "缺件"}};
        for (const auto& p : phenomena)
            ExecuteSQL(QStringLiteral("insert into L_DefectPhenomenon (DPID, DPCode, DPName) values (:ID, :Code, :Name)"),
                       {{"ID", p.id}, {"Code", QStringLiteral("P%1").arg(p.id)}, {"Name", QString::fromUtf8(p.name)}});
        EXPECT_EQ(AddAttributeRows(attribute, {{1, 0, 12, 1}, {1, 0, 3, 2}, {2, 0, 7, 1}, {2, 0, 5, 3}, {3, 0, 9, 2}}, true), -1);
        QDir().mkpath(db.DirPath() + "/Report");
        for (const char* name : {"VChart.rls", "AChart.rls", "HChart.rls", "ParetoChart.rls"})
            QFile::copy(QStringLiteral(REPORT_DIR "/") + QLatin1String(name), db.DirPath() + "/Report/" + QLatin1String(name));
    }
};

// A window made by class name as the window factory makes it, then bound to a list.
template <class TFrm, class TList>
void CheckMadeByClassName(const char* className, TList& list, TChartType type, int chartsListed)
{
    SCOPED_TRACE(className);
    const TFormClass formClass = FormClassOf<TFrm>();
    EXPECT_EQ(formClass.ClassName, QLatin1String(className));
    {
        std::unique_ptr<QObject> made(formClass.Create());
        auto* frm = qobject_cast<TFrm*>(made.get());
        ASSERT_NE(frm, nullptr);
        EXPECT_TRUE(frm->Embedded());
        frm->SetDataList(&list);
        if (frm->ChartType() != type) frm->SetChartType(type);
        EXPECT_EQ(frm->Title(), list.Info.CName + QLatin1Char(' ') + ChartTypeName(type));
        EXPECT_EQ(list.Charts.Count(), chartsListed);
        frm->resize(900, 600);
        frm->show();
        frm->ShowChart();
        frm->ShowData(true);
        EXPECT_GT(frm->DataGrid.ColCount(), 1);  // the grid reads the bound list
    }
    EXPECT_EQ(list.Charts.Count(), 0);
}

bool HasNonWhiteNear(const QImage& img, QPoint at)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (img.rect().contains(at + QPoint(dx, dy)) && img.pixelColor(at + QPoint(dx, dy)) != QColor(Qt::white)) return true;
    return false;
}
} // namespace

TEST(ChartWindows, NotEmbeddedWindowsBecomeChildWindowsOfTheHost)
{
    TWindowFixture f;
    TChartFormList forms;
    {
        TRecordingHost host;
        const int v = forms.AddVChartForm(&f.variable, ctXBarR, false);
        const int a = forms.AddAChartForm(&f.attribute, ctC, true);
        const int h = forms.AddHChartForm(&f.variable, false);
        const int p = forms.AddParetoChartForm(&f.attribute, true);
        EXPECT_EQ(host.Shown, (QList<QWidget*>{forms.Item(v), forms.Item(h)}));
        EXPECT_FALSE(forms.Item(v)->Embedded());
        EXPECT_TRUE(forms.Item(a)->Embedded());
        EXPECT_TRUE(forms.Item(p)->Embedded());
    }
    // Without a main window (the command line, tools) it stays a plain window, not shown.
    const int plain = forms.AddVChartForm(&f.variable, ctXBarS, false);
    EXPECT_FALSE(forms.Item(plain)->isVisible());
    EXPECT_EQ(forms.Item(plain)->parentWidget(), nullptr);
    EXPECT_EQ(forms.FindChartForm(f.variable.CID(), ctXBarS), plain);
}

TEST(ChartWindows, MadeByClassNameAndBoundAfterwards)
{
    TWindowFixture f;
    CheckMadeByClassName<TVChartFrm>("TVChartFrm", f.variable, ctXBarR, 1);
    CheckMadeByClassName<THChartFrm>("THChartFrm", f.variable, ctHistogram, 1);
    CheckMadeByClassName<TAChartFrm>("TAChartFrm", f.attribute, ctC, 1);
    CheckMadeByClassName<TParetoChartFrm>("TParetoChartFrm", f.attribute, ctPareto, 0);
}

TEST(ChartWindows, HistogramAndParetoAreTitledByTheirItem)
{
    TWindowFixture f;
    TChartFormList forms;
    const struct { TBaseChartFrm* frm; QString title, file; const char* shot; } cases[] = {
        {forms.Item(forms.AddHChartForm(&f.variable, true)), "活塞环内径 直方图", "活塞环内径_直方图_", "chart-window-histogram"},
        {forms.Item(forms.AddParetoChartForm(&f.attribute, true)), "电路板 柏拉图", "电路板_柏拉图_", "chart-window-pareto"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shot);
        EXPECT_EQ(c.frm->findChild<QLabel*>(QStringLiteral("TitleLabel"))->text(), c.title);
        EXPECT_EQ(c.frm->windowTitle(), c.title);
        c.frm->resize(900, 620);
        c.frm->show();
        c.frm->ShowChart();
        c.frm->ShowData(true);
        c.frm->grab().save(kShots + QLatin1Char('/') + QLatin1String(c.shot) + QStringLiteral(".png"));
        TChartReport report;
        ASSERT_TRUE(c.frm->LoadReport(report));
        ASSERT_TRUE(c.frm->PrepareReport(report));
        EXPECT_EQ(report.VariableValue(QStringLiteral("ChartTitle"), 0), c.title);
        EXPECT_TRUE(report.RenderHtml().contains(c.title));
        EXPECT_TRUE(QFileInfo(c.frm->ExportExcel()).fileName().startsWith(c.file));
    }
    // The item may be loaded after the window was made: showing it again takes the new name.
    f.attribute.Info.CName = QStringLiteral("焊点");
    cases[1].frm->hide();
    cases[1].frm->show();
    EXPECT_EQ(cases[1].frm->Title(), QStringLiteral("焊点 柏拉图"));
}

TEST(ChartPictures, SvgFromTheToolbarHoldsTheTitleAndEveryPoint)
{
    TWindowFixture f;
    TChartFormList forms;
    auto* frm = qobject_cast<TVChartFrm*>(forms.Item(forms.AddVChartForm(&f.variable, ctXBarR, true)));
    frm->resize(900, 700);
    frm->show();
    frm->ShowChart();
    const QSize panel = frm->ChartPanel()->size();
    TScriptedDialogRunner dialogs;
    TDialogRunnerScope scope(&dialogs);
    const QString svg = f.db.DirPath() + QStringLiteral("/活塞环.svg");
    QString proposed;
    dialogs.Scripts << [&](QDialog& d) {
        auto& files = dynamic_cast<QFileDialog&>(d);
        proposed = files.selectedFiles().value(0);
        files.selectFile(svg);
        d.accept();
    };
    QAction* action = nullptr;
    for (QAction* a : frm->Toolbar()->actions())
        if (a->text() == QStringLiteral("导出SVG")) action = a;
    ASSERT_NE(action, nullptr);
    QTest::mouseClick(frm->Toolbar()->widgetForAction(action), Qt::LeftButton);
    EXPECT_EQ(dialogs.Shown, QStringList{QStringLiteral("QFileDialog")});
    EXPECT_TRUE(QFileInfo(proposed).fileName().startsWith(QStringLiteral("活塞环内径_XBar-R_控制图_"))) << proposed.toStdString();
    EXPECT_TRUE(proposed.endsWith(QStringLiteral(".svg")));
    EXPECT_EQ(f.db.Messages.LastText(), QStringLiteral("已导出到：") + svg);

    const TSvgContent content = ReadSvg(svg);
    ASSERT_TRUE(content.Valid);
    EXPECT_EQ(content.Title, QStringLiteral("活塞环内径 XBar-R 控制图"));
    // Every subgroup on both surfaces; the highest mean is the highest marker of the main one.
    ASSERT_EQ(content.Circles.size(), 2 * f.variable.Count());
    int highest = 0, top = 0;
    for (int i = 0; i < f.variable.Count(); ++i) {
        if (frm->Data()->MainValue(i) > frm->Data()->MainValue(highest)) highest = i;
        if (content.Circles[i].y() < content.Circles[top].y()) top = i;
    }
    EXPECT_EQ(top, highest);
    EXPECT_TRUE(content.Texts.contains(QStringLiteral("UCL")));
    // The picture leaves the chart on screen as it was.
    EXPECT_EQ(frm->Chart()->Width(), panel.width());
    EXPECT_EQ(frm->Chart()->Height(), panel.height());
}

TEST(ChartPictures, ImagesShowThePointsWhereTheChartDrawsThem)
{
    TVariableFixture f(QStringLiteral("pistonrings.csv"), 5, ctXBarR);
    f.chart.SetBounds(0, 0, 1000, 640);
    const QImage whole = ChartImage(f.chart, QSize(1000, 640));
    ASSERT_EQ(whole.size(), QSize(1000, 640));
    TCSChart* sub = f.chart.GetChart(1);
    for (int i = 0; i < f.list.Count(); ++i) {
        EXPECT_TRUE(HasNonWhiteNear(whole, f.chart.MainPoints->PixelOf(i).toPoint())) << i;
        EXPECT_TRUE(HasNonWhiteNear(whole, f.chart.SubPoints->PixelOf(i).toPoint() + QPoint(0, sub->Top))) << i;
    }
    // A surface alone, at its own size: the secondary surface's points from its top.
    const QImage secondary = ChartImage(f.chart, QSize(1000, 300), 1);
    for (int i = 0; i < f.list.Count(); ++i)
        EXPECT_TRUE(HasNonWhiteNear(secondary, f.chart.SubPoints->PixelOf(i).toPoint())) << i;
    EXPECT_EQ(f.chart.Height(), 640);  // the chart's geometry is its own again
    EXPECT_TRUE(ChartImage(f.chart, QSize(100, 100), 2).isNull());
    // Outside the plot the picture is white.
    EXPECT_EQ(whole.pixelColor(0, 0), QColor(Qt::white));
}
