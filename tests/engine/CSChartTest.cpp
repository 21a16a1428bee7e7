#include "engine/CSChart.h"
#include "engine/SPCTypes.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(CSChart, FormatPatterns)
{
    const struct { const char* pattern; double value; const char* text; } cases[] = {
        {"0.####", 2.5, "2.5"},           {"0.####", 3.0, "3"},          {"0.####", 0.123456, "0.1235"},
        {"#,##0.###", 1234567.5, "1,234,567.5"}, {"#,##0.###", -1234.0, "-1,234"}, {"#,##0.###%", 85.12345, "85.123%"},
        {"#,##0.###%", 100, "100%"},      {"0.00", 1.5, "1.50"},         {"", 0.0, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloatPattern(QString::fromLatin1(c.pattern), c.value), QString::fromLatin1(c.text)) << c.pattern;
    EXPECT_DOUBLE_EQ(NiceTickStep(10, 5), 2);
    EXPECT_DOUBLE_EQ(NiceTickStep(0.07, 7), 0.01);
    EXPECT_DOUBLE_EQ(NiceTickStep(1000, 4), 500);
}

TEST(CSChart, HitTestWithinFourPixels)
{
    TCSChart chart;
    chart.Width = 400;
    chart.Height = 300;
    auto* s = chart.AddSeries<TCSChartSeries>();
    for (int i = 0; i < 10; ++i) s->Add(i, i % 3, QString::number(i + 1));
    chart.Layout();
    const QPointF p = s->PixelOf(4);
    EXPECT_EQ(s->Clicked(p + QPointF(4, -4)), 4);
    EXPECT_EQ(s->Clicked(p + QPointF(5, 0)), -1);
    EXPECT_EQ(s->Clicked(p + QPointF(0, 5)), -1);
    // Value and pixel conversions are each other's inverse.
    EXPECT_NEAR(chart.XValueOf(chart.CalcXPos(3.25)), 3.25, 1e-9);
    EXPECT_NEAR(chart.YValueOf(chart.CalcYPos(1.5)), 1.5, 1e-9);
    EXPECT_TRUE(chart.ChartRect().contains(p.toPoint()));
}

TEST(CSChart, DecorationsBelongToTheirSurface)
{
    TCSChart a, b;
    auto* sa = a.AddSeries<TCSChartSeries>();
    auto* sb = b.AddSeries<TCSChartSeries>();
    try {
        a.Exts().AddExt(sb, true, false);
        FAIL();
    } catch (const ESPCDataError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("指定的Series不存在！"));
    }
    TCSSeriesExt* ext = a.Exts().AddExt(sa, true, true);
    EXPECT_TRUE(ext->SetLabelText("UCL"));
    EXPECT_FALSE(ext->SetLabelText("UCL"));
    ext->HintProvider = [](TCSSeries&, int i) { return QStringLiteral("point %1").arg(i); };
    a.Width = 300;
    a.Height = 200;
    sa->Add(0, 1);
    sa->Add(1, 2);
    a.Layout();
    EXPECT_EQ(ext->HintAt(sa->PixelOf(1) + QPointF(3, 3)), QStringLiteral("point 1"));
    EXPECT_EQ(ext->HintAt(QPointF(-50, -50)), QString());
}

TEST(CSChart, DenseSeriesKeepsExtremesAndAbnormalPoints)
{
    // 20,000 points on a 200-pixel plot: one spike and one red point must still show.
    TCSChart chart;
    chart.Width = 260;
    chart.Height = 160;
    auto* s = chart.AddSeries<TCSChartSeries>();
    s->ShowPointer = true;
    s->QuietPointColors = {QColor(Qt::green)};
    for (int i = 0; i < 20000; ++i) s->Add(i, i == 12345 ? 10 : (i % 2), QString(), i == 777 ? QColor(Qt::red) : QColor(Qt::green));
    QImage img(chart.Width, chart.Height, QImage::Format_RGB32);
    QPainter p(&img);
    chart.Paint(p);
    p.end();
    const QPointF spike = s->PixelOf(12345);
    bool spikeDrawn = false;
    for (int dx = -1; dx <= 1 && !spikeDrawn; ++dx)
        for (int dy = 0; dy <= 3; ++dy)
            if (qGray(img.pixel(int(spike.x()) + dx, int(spike.y()) + dy)) < 100) spikeDrawn = true;
    EXPECT_TRUE(spikeDrawn);
    const QPointF red = s->PixelOf(777);
    const QColor c = img.pixelColor(int(std::round(red.x())), int(std::round(red.y())));
    EXPECT_GT(c.red(), 200);
    EXPECT_LT(c.green(), 80);
}
