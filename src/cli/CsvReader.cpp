#include "cli/CsvReader.h"

#include "foundation/Errors.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {
constexpr std::size_t kChunk = 1 << 16;

// Length in bytes of the blank that starts at p (what QChar::isSpace calls a blank, in UTF-8), 0
// if there is none. Fields are trimmed of these, as QString::trimmed would.
int BlankAt(const char* p, const char* end)
{
    const auto n = end - p;
    const auto b = [p](int i) { return static_cast<unsigned char>(p[i]); };
    if (n < 1) return 0;
    if (b(0) == ' ' || (b(0) >= 9 && b(0) <= 13)) return 1;
    if (b(0) < 0x80 || n < 2) return 0;
    if (b(0) == 0xC2) return b(1) == 0x85 || b(1) == 0xA0 ? 2 : 0;  // U+0085, U+00A0
    if (n < 3) return 0;
    const unsigned c = b(0) << 16 | b(1) << 8 | b(2);
    // U+1680, U+2000–U+200A, U+2028, U+2029, U+202F, U+205F, U+3000
    const bool blank = c == 0xE19A80 || (c >= 0xE28080 && c <= 0xE2808A) || c == 0xE280A8 || c == 0xE280A9 ||
                       c == 0xE280AF || c == 0xE2819F || c == 0xE38080;
    return blank ? 3 : 0;
}

std::string_view Trimmed(std::string_view s)
{
    const char* b = s.data();
    const char* e = b + s.size();
    while (const int n = BlankAt(b, e)) b += n;
    for (;;) {
        if (e - b >= 1 && BlankAt(e - 1, e) == 1)
            e -= 1;
        else if (e - b >= 2 && BlankAt(e - 2, e) == 2)
            e -= 2;
        else if (e - b >= 3 && BlankAt(e - 3, e) == 3)
            e -= 3;
        else
            break;
    }
    return {b, static_cast<std::size_t>(e - b)};
}

// A leading plus sign is allowed, as QString's conversions allow it.
std::string_view WithoutPlus(std::string_view s)
{
    if (s.size() > 1 && s[0] == '+' && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
    return s;
}

template <class T>
bool Parse(std::string_view s, T& value)
{
    s = WithoutPlus(s);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size();
}
} // namespace

TCsvReader::TCsvReader(QIODevice& input, const QString& name, const QStringList& header)
    : FInput(input), FName(name), FHeader(header), FBuffer(kChunk)
{
    const QString expected = header.join(QLatin1Char(','));
    ReadHeader(expected);
    bool same = FFields.size() == static_cast<std::size_t>(header.size());
    for (std::size_t i = 0; same && i < FFields.size(); ++i) same = Text(static_cast<int>(i)) == header[static_cast<int>(i)];
    if (!same) RaiseError(QStringLiteral("%1的表头（第%2行）应为“%3”").arg(FName).arg(FLine).arg(expected));
}

TCsvReader::TCsvReader(QIODevice& input, const QString& name) : FInput(input), FName(name), FBuffer(kChunk)
{
    ReadHeader({});
    for (std::size_t i = 0; i < FFields.size(); ++i) FHeader << Text(static_cast<int>(i));
}

void TCsvReader::ReadHeader(const QString& expected)
{
    std::string_view line;
    do {
        if (!ReadLine(line))
            RaiseError(expected.isEmpty() ? QStringLiteral("%1是空的，没有表头").arg(FName)
                                          : QStringLiteral("%1是空的，应有表头“%2”").arg(FName, expected));
    } while (Trimmed(line).empty());
    Split(line);
    FHeaderLine = FLine;
}

bool TCsvReader::ReadLine(std::string_view& line)
{
    for (;;) {
        const char* start = FBuffer.data() + FStart;
        if (const void* newline = std::memchr(start, '\n', FEnd - FStart)) {
            line = {start, static_cast<std::size_t>(static_cast<const char*>(newline) - start)};
            FStart += line.size() + 1;
            break;
        }
        if (FEof) {
            if (FStart == FEnd) return false;
            line = {start, FEnd - FStart};
            FStart = FEnd;
            break;
        }
        // The unfinished line moves to the front; a line longer than the buffer widens it.
        std::memmove(FBuffer.data(), start, FEnd - FStart);
        FEnd -= FStart;
        FStart = 0;
        if (FEnd == FBuffer.size()) FBuffer.resize(FBuffer.size() * 2);
        const qint64 n = FInput.read(FBuffer.data() + FEnd, static_cast<qint64>(FBuffer.size() - FEnd));
        if (n < 0 && !FInput.atEnd()) RaiseError(QStringLiteral("%1读取失败：%2").arg(FName, FInput.errorString()));
        if (n <= 0)
            FEof = true;
        else
            FEnd += static_cast<std::size_t>(n);
    }
    FLine = ++FLineCount;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (FLine == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    return true;
}

void TCsvReader::Split(std::string_view line)
{
    FFields.clear();
    if (line.find('"') == std::string_view::npos) {
        for (std::size_t from = 0;;) {
            const std::size_t comma = line.find(',', from);
            FFields.push_back(Trimmed(line.substr(from, comma == std::string_view::npos ? comma : comma - from)));
            if (comma == std::string_view::npos) return;
            from = comma + 1;
        }
    }
    // With quotes the fields are copied without them: (start, length) in FUnquoted.
    FUnquoted.clear();
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::size_t fieldStart = 0;
    bool quoted = false, wasQuoted = false;
    const auto endField = [&] {
        std::string_view field(FUnquoted.data() + fieldStart, FUnquoted.size() - fieldStart);
        if (!wasQuoted) field = Trimmed(field);
        spans.emplace_back(static_cast<std::size_t>(field.data() - FUnquoted.data()), field.size());
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (quoted) {
            if (ch != '"')
                FUnquoted += ch;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                FUnquoted += line[++i];
            else
                quoted = false;
        } else if (ch == ',') {
            endField();
            fieldStart = FUnquoted.size();
            wasQuoted = false;
        } else if (ch == '"' && Trimmed(std::string_view(FUnquoted).substr(fieldStart)).empty()) {
            FUnquoted.resize(fieldStart);
            quoted = wasQuoted = true;
        } else {
            FUnquoted += ch;
        }
    }
    if (quoted) RaiseError(QStringLiteral("第%1行的引号没有结束").arg(FLine));
    endField();
    for (const auto& [start, length] : spans) FFields.emplace_back(FUnquoted.data() + start, length);
}

bool TCsvReader::Next()
{
    std::string_view line;
    do {
        if (!ReadLine(line)) return false;
    } while (Trimmed(line).empty());
    Split(line);
    if (FFields.size() != static_cast<std::size_t>(FHeader.size()))
        RaiseError(QStringLiteral("第%1行应有%2列，实有%3列").arg(FLine).arg(FHeader.size()).arg(FFields.size()));
    return true;
}

int TCsvReader::Int(int column, int least) const
{
    int v = 0;
    if (!Parse(FFields[static_cast<std::size_t>(column)], v)) FieldError(column, QStringLiteral("不是整数"));
    if (v < least) FieldError(column, QStringLiteral("不能小于%1").arg(least));
    return v;
}

double TCsvReader::Number(int column) const
{
    double v = 0;
    if (!Parse(FFields[static_cast<std::size_t>(column)], v) || !std::isfinite(v))
        FieldError(column, QStringLiteral("不是有效的数值"));
    return v;
}

QString TCsvReader::Text(int column) const
{
    const std::string_view field = FFields[static_cast<std::size_t>(column)];
    return QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size()));
}

void TCsvReader::FieldError(int column, const QString& what) const
{
    RaiseError(QStringLiteral("第%1行的%2“%3”%4").arg(FLine).arg(FHeader[column], Text(column), what));
}
