#pragma once
// Derives the insert, modify and delete statements of a TZCQuery from its own select text: the
// columns of the select list (without function calls), written to the first table after "from".
#include <QString>
#include <QStringList>
#include <vector>

class TZCQuery;

struct TParseColumn {
    QString Name;
    QString Alias;
    QString Prefix;  // with its dot: "a."
};

// What ParseSelect reads from a select text.
struct TParseTable {
    std::vector<TParseColumn> Columns;
    QString TableName;
    int ColumnCount() const { return static_cast<int>(Columns.size()); }
};

// The next token from Position (1-based): blanks, tabs and line breaks separate tokens; a comma
// is a token of its own. Empty at the end of the text.
QString NextToken(int& Position, const QString& Text);

// Fails with "错误的Select雨句！" when the text does not start with the word Select.
TParseTable ParseSelect(const QString& Text);

// Columns whose name equals an entry of ExcludeFields exactly (case-sensitive) are left out.
QString BuildInsert(const TParseTable& Table, const QStringList& ExcludeFields);
QString BuildUpdate(const TParseTable& Table, const QStringList& ExcludeFields, const QStringList& KeyFields);
QString BuildDelete(const TParseTable& Table, const QStringList& KeyFields);
// " Where " + "key = :OLD_key\r\n" joined by " and "; empty for no keys.
QString BuildWhere(const QStringList& Keys);

// Fills the query's InternalUpdateSQL from its select text. A select with "*" takes the query's
// fields (it must have been opened). Fails with "Query(%s)的SQL为空" for an empty text; on any
// failure the update object keeps its previous statements.
void SetupUpdateSQL(TZCQuery& Query, const QStringList& ExcludeFields, const QStringList& KeyFields);

// The parameters (":Name") of a statement where they stand, outside quotes ("::" is a cast).
struct TSqlParamAt {
    int Start = 0;   // of the colon, 0-based
    int Length = 0;  // with the colon
    QString Name;
};
std::vector<TSqlParamAt> FindSqlParams(const QString& sql);

// A one-row "insert … values (…)" statement turned into one that inserts many rows: the rows
// then cost one statement instead of one each (on the server one round trip). Not Valid when the
// statement has another form; its rows are then inserted one at a time.
struct TInsertRows {
    QString Head;        // the text before the row, "values" included
    QStringList Pieces;  // the row's text around its parameters, one more than parameters
    QStringList Params;  // the row's parameters in their order
    bool Valid() const { return !Pieces.isEmpty(); }
    // The statement for that many rows; parameter k of row r is named Placeholder(r, k).
    QString SQL(int rows) const;
    static QString Placeholder(int row, int k);
};
TInsertRows ParseInsertRows(const QString& sql);
