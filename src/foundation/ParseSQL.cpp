#include "foundation/ParseSQL.h"

#include "foundation/Errors.h"
#include "foundation/ZCDb.h"

namespace {
bool IsSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t');
}

bool Is(const QString& token, const char* word)
{
    return token.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

int Balance(const QString& token)
{
    return static_cast<int>(token.count(QLatin1Char('('))) - static_cast<int>(token.count(QLatin1Char(')')));
}

QStringList WrittenColumns(const TParseTable& Table, const QStringList& ExcludeFields)
{
    QStringList cols;
    for (const TParseColumn& c : Table.Columns)
        if (!ExcludeFields.contains(c.Name, Qt::CaseSensitive)) cols << c.Name;
    return cols;
}
} // namespace

QString NextToken(int& Position, const QString& Text)
{
    const int length = static_cast<int>(Text.size());
    while (Position <= length && IsSeparator(Text[Position - 1])) ++Position;
    QString token;
    while (Position <= length) {
        const QChar c = Text[Position - 1];
        if (c == QLatin1Char(',') || IsSeparator(c)) break;
        token += c;
        ++Position;
    }
    if (Position <= length) {
        if (Text[Position - 1] == QLatin1Char(',')) {
            // The comma is the next token; a comma met first is the token itself.
            if (token.isEmpty()) {
                token = QStringLiteral(",");
                ++Position;
            }
        } else {
            ++Position;
        }
    }
    return token;
}

TParseTable ParseSelect(const QString& Text)
{
    TParseTable table;
    const int length = static_cast<int>(Text.size());
    int pos = 1;
    if (!Is(NextToken(pos, Text), "Select")) RaiseError(QStringLiteral("错误的Select雨句！"));
    bool newColumn = true;
    bool fromFound = false;
    while (pos <= length && !fromFound) {
        QString token = NextToken(pos, Text);
        if (token.isEmpty()) break;
        if (Is(token, "from")) {
            fromFound = true;
            break;
        }
        if (Is(token, "as")) continue;
        if (token.contains(QLatin1Char('('))) {
            // A function call: read to its closing parenthesis, then to the comma that ends the
            // column (consumed) or to "from". The column is not written.
            int depth = Balance(token);
            while (depth > 0 && pos <= length) {
                token = NextToken(pos, Text);
                if (token.isEmpty()) break;
                depth += Balance(token);
            }
            while (pos <= length) {
                token = NextToken(pos, Text);
                if (token.isEmpty()) break;
                if (token.toLower().contains(QLatin1String("from"))) {
                    fromFound = true;
                    break;
                }
                if (token.contains(QLatin1Char(','))) break;
            }
            newColumn = true;
            continue;
        }
        if (token == QLatin1String(",")) {
            newColumn = true;
            continue;
        }
        if (newColumn) {
            TParseColumn column;
            const int dot = static_cast<int>(token.lastIndexOf(QLatin1Char('.')));
            if (dot > 0 && dot < token.size() - 1) {
                column.Prefix = token.left(dot + 1);
                column.Name = token.mid(dot + 1);
            } else {
                column.Name = token;
            }
            table.Columns.push_back(column);
            newColumn = false;
        } else {
            table.Columns.back().Alias = token;
        }
    }
    if (fromFound) table.TableName = NextToken(pos, Text);
    return table;
}

QString BuildWhere(const QStringList& Keys)
{
    if (Keys.isEmpty()) return {};
    QStringList parts;
    for (const QString& key : Keys) parts << key + QStringLiteral(" = :OLD_") + key + QStringLiteral("\r\n");
    return QStringLiteral(" Where ") + parts.join(QStringLiteral(" and "));
}

QString BuildInsert(const TParseTable& Table, const QStringList& ExcludeFields)
{
    const QStringList cols = WrittenColumns(Table, ExcludeFields);
    QStringList params;
    for (const QString& c : cols) params << QLatin1Char(':') + c;
    return QStringLiteral("Insert into ") + Table.TableName + QLatin1Char('(') + cols.join(QStringLiteral(", ")) +
           QStringLiteral(") Values(") + params.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString BuildUpdate(const TParseTable& Table, const QStringList& ExcludeFields, const QStringList& KeyFields)
{
    QStringList sets;
    for (const QString& c : WrittenColumns(Table, ExcludeFields)) sets << c + QStringLiteral(" = :") + c;
    return QStringLiteral("Update ") + Table.TableName + QStringLiteral(" Set ") + sets.join(QStringLiteral(", ")) +
           BuildWhere(KeyFields);
}

QString BuildDelete(const TParseTable& Table, const QStringList& KeyFields)
{
    return QStringLiteral("Delete From ") + Table.TableName + BuildWhere(KeyFields);
}

void SetupUpdateSQL(TZCQuery& Query, const QStringList& ExcludeFields, const QStringList& KeyFields)
{
    const QString text = Query.SQL().trimmed();
    if (text.isEmpty()) RaiseError(QStringLiteral("Query(%1)的SQL为空").arg(Query.objectName()));
    TParseTable table = ParseSelect(text);
    if (text.contains(QLatin1Char('*'))) {
        if (Query.FieldCount() == 0)
            RaiseError(QStringLiteral("Query(%1)的字段未定义，请先打开").arg(Query.objectName()));
        table.Columns.clear();
        for (int i = 0; i < Query.FieldCount(); ++i) table.Columns.push_back({Query.Fields(i)->FieldName(), {}, {}});
    }
    const QString insertSQL = BuildInsert(table, ExcludeFields);
    const QString modifySQL = BuildUpdate(table, ExcludeFields, KeyFields);
    const QString deleteSQL = BuildDelete(table, KeyFields);
    TUpdateSQL* target = Query.InternalUpdateSQL();
    target->SetInsertSQL(insertSQL);
    target->SetModifySQL(modifySQL);
    target->SetDeleteSQL(deleteSQL);
}

std::vector<TSqlParamAt> FindSqlParams(const QString& sql)
{
    std::vector<TSqlParamAt> params;
    const int n = static_cast<int>(sql.size());
    QChar quote;
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        if (c != QLatin1Char(':')) continue;
        if (i + 1 < n && sql[i + 1] == QLatin1Char(':')) {  // a cast, not a parameter
            ++i;
            continue;
        }
        int j = i + 1;
        if (j >= n || !(sql[j].isLetter() || sql[j] == QLatin1Char('_'))) continue;
        while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_'))) ++j;
        params.push_back({i, j - i, sql.mid(i + 1, j - i - 1)});
        i = j - 1;
    }
    return params;
}

TInsertRows ParseInsertRows(const QString& sql)
{
    const QString text = sql.trimmed();
    if (!text.startsWith(QLatin1String("insert"), Qt::CaseInsensitive) || !text.endsWith(QLatin1Char(')'))) return {};
    // The row is the parenthesis that closes the statement, right after the word "values".
    int depth = 0, open = -1;
    for (int i = static_cast<int>(text.size()) - 1; i >= 0 && open < 0; --i) {
        if (text[i] == QLatin1Char(')')) ++depth;
        else if (text[i] == QLatin1Char('(') && --depth == 0) open = i;
    }
    if (open < 0) return {};
    const QString head = text.left(open).trimmed();
    if (!head.endsWith(QLatin1String("values"), Qt::CaseInsensitive) || head.contains(QLatin1Char('\''))) return {};
    if (head.size() > 6 && !IsSeparator(head[head.size() - 7]) && head[head.size() - 7] != QLatin1Char(')')) return {};
    if (!FindSqlParams(head).empty()) return {};
    TInsertRows rows;
    const QString row = text.mid(open);
    int from = 0;
    for (const TSqlParamAt& p : FindSqlParams(row)) {
        rows.Pieces << row.mid(from, p.Start - from);
        rows.Params << p.Name;
        from = p.Start + p.Length;
    }
    rows.Pieces << row.mid(from);
    rows.Head = head;
    return rows;
}

QString TInsertRows::Placeholder(int row, int k)
{
    return QStringLiteral(":r%1_%2").arg(row).arg(k);
}

QString TInsertRows::SQL(int rows) const
{
    QString sql = Head;
    for (int r = 0; r < rows; ++r) {
        sql += r == 0 ? QLatin1Char(' ') : QLatin1Char(',');
        for (int k = 0; k < Params.size(); ++k) sql += Pieces[k] + Placeholder(r, k);
        sql += Pieces.last();
    }
    return sql;
}
