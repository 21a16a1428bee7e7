#pragma once
// A CSV file read line by line, for files of millions of rows: only the current line is held.
// Fields are separated by commas; a field that starts with a quote (after blanks) runs to the
// closing quote, "" inside it stands for one quote, and it is taken as written; other fields are
// trimmed. A quote cannot run over the end of its line. Blank lines are skipped; a UTF-8 byte
// order mark at the start is ignored. Every message names the line it concerns.
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

class TCsvReader {
public:
    // Reads up to the header, which must be `header` exactly; `name` is how messages name the
    // input ("文件PATH", "标准输入"). ESystemError for an empty input or another header.
    TCsvReader(QIODevice& input, const QString& name, const QStringList& header);
    // Reads up to the header, whatever its names (the caller checks them); ESystemError for an
    // empty input.
    TCsvReader(QIODevice& input, const QString& name);

    const QStringList& Header() const { return FHeader; }
    // The header's line (from 1).
    int HeaderLine() const { return FHeaderLine; }

    // Moves to the next data row; false at the end. ESystemError for a row with another number of
    // columns or an unterminated quote.
    bool Next();

    int Line() const { return FLine; }  // of the current row, from 1
    // The fields of the current row, with the column's name for messages. ESystemError for a
    // field that is not an integer of at least `least`, or not a finite number.
    int Int(int column, int least) const;
    double Number(int column) const;
    QString Text(int column) const;

private:
    void ReadHeader(const QString& expected);
    bool ReadLine(std::string_view& line);
    void Split(std::string_view line);
    [[noreturn]] void FieldError(int column, const QString& what) const;

    QIODevice& FInput;
    QString FName;
    QStringList FHeader;
    std::vector<char> FBuffer;  // read ahead; [FStart, FEnd) is not yet consumed
    std::size_t FStart = 0, FEnd = 0;
    bool FEof = false;
    int FLineCount = 0;  // lines read so far
    int FLine = 0;
    int FHeaderLine = 0;
    std::vector<std::string_view> FFields;  // into FBuffer or FUnquoted
    std::string FUnquoted;                  // the current line's fields with quotes removed
};
