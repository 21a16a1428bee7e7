#pragma once
// Helpers shared by the engine tests: error messages, a chart that records what it is asked,
// and the textbook data sets.
#include "engine/AttributeData.h"
#include "engine/ChartBase.h"
#include "engine/VariableData.h"
#include "TestHelpers.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QPointF>
#include <QTextStream>
#include <QXmlStreamReader>
#include <initializer_list>
#include <vector>
#include <ostream>

// Counts refreshes and records recoloured points.
class TRecordingChart : public TSPCChartBase {
public:
    void Refresh() override { ++Refreshes; }
    void RecolorPoint(int index, const QColor& color) override { Recolored << qMakePair(index, color); }
    int Refreshes = 0;
    QList<QPair<int, QColor>> Recolored;
};

// What an SVG picture shows, read as XML: its title, the point markers (circles) in painting
// order and the texts. Valid is false when the file is not well-formed SVG.
struct TSvgContent {
    bool Valid = false;
    QString Title;
    QList<QPointF> Circles;
    QStringList Texts;
};

inline TSvgContent ReadSvg(const QString& path)
{
    TSvgContent svg;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return svg;
    QXmlStreamReader xml(&f);
    bool root = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto name = xml.name();
        if (!root) {
            root = name == QLatin1String("svg");
            if (!root) return svg;
        } else if (name == QLatin1String("title")) {
            svg.Title = xml.readElementText();
        } else if (name == QLatin1String("text")) {
            svg.Texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == QLatin1String("circle")) {
            const QXmlStreamAttributes a = xml.attributes();
            svg.Circles << QPointF(a.value(QLatin1String("cx")).toDouble(), a.value(QLatin1String("cy")).toDouble());
        }
    }
    svg.Valid = root && !xml.hasError();
    return svg;
}

inline QString DataFile(const QString& name)
{
    return QStringLiteral(ENGINE_TEST_DATA "/") + name;
}

// Rows of a CSV data set after its header, split at commas.
inline QList<QStringList> CsvRows(const QString& name)
{
    QFile f(DataFile(name));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&f);
    in.readLine();
    QList<QStringList> rows;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty()) rows << line.split(QLatin1Char(','));
    }
    return rows;
}

// Subgroups `subgroup,value` up to lastSN into the list, loaded as a window does.
inline void LoadVariable(TVariableDataList& list, const QString& name, int sampleSize, int lastSN = 1 << 30)
{
    list.Updating = true;
    list.Info.SampleSize = sampleSize;
    if (list.Info.Step == 0) list.Info.Step = 1;
    for (const QStringList& r : CsvRows(name)) {
        const int sn = r[0].toInt();
        if (sn > lastSN) continue;
        TVariableData* d = list.FindBySN(sn);
        if (!d) {
            d = &list.NewData();
            d->SN = sn;
        }
        d->AddValue(r[1].toDouble());
    }
    list.Updating = false;
}

// Subgroups given as lists of values.
inline void LoadValues(TVariableDataList& list, std::initializer_list<std::initializer_list<double>> groups)
{
    list.Updating = true;
    int sn = list.Count();
    for (const auto& g : groups) {
        TVariableData& d = list.NewData();
        d.SN = ++sn;
        for (double x : g) d.AddValue(x);
    }
    list.Updating = false;
}

// Subgroups `subgroup,inspected,count` up to lastSN: count is rejected units or defects.
inline void LoadAttribute(TAttributeDataList& list, const QString& name, bool defects, int lastSN = 1 << 30)
{
    std::vector<TAttributeRow> rows;
    for (const QStringList& r : CsvRows(name))
        if (r[0].toInt() <= lastSN) rows.push_back({r[0].toInt(), r[1].toInt(), r[2].toInt()});
    AddAttributeRows(list, rows, defects);
}
