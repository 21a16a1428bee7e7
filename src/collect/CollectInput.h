#pragma once
// How the collection grids read what is typed into a cell: numbers, integers, dates, times and
// date-times, in the forms an inspector types them. Blank text is "no value".
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

std::optional<double> ParseNumber(const QString& text);
// Whole numbers only: "3.5" and "3.0" are refused as well as letters.
std::optional<int> ParseInteger(const QString& text);
std::optional<QDate> ParseDate(const QString& text);
// A time of day, or a date-time whose time is taken.
std::optional<QTime> ParseTime(const QString& text);
std::optional<QDateTime> ParseDateTime(const QString& text);

// How the grids and the stored inspection time show a date-time.
QString DateTimeText(const QDateTime& dt);

class TCommand;
// A selection command of the command centre by name; raises when there is no command centre or
// no such command.
TCommand& CollectCommand(const QString& name);
