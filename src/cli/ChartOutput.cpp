#include "cli/ChartOutput.h"

#include "foundation/Errors.h"
#include "foundation/Types.h"

#include <charconv>
#include <cmath>
#include <cstring>

void TDeviceWriteStream::Write(const char* text, std::size_t length)
{
    if (FBuffer.size() - FUsed < length) Flush();
    if (length > FBuffer.size()) return Send(text, length);
    std::memcpy(FBuffer.data() + FUsed, text, length);
    FUsed += length;
}

void TDeviceWriteStream::Reserve(std::size_t count)
{
    if (FBuffer.size() - FUsed >= count) return;
    Flush();
    if (count > FBuffer.size()) FBuffer.resize(count);
}

void TDeviceWriteStream::Flush()
{
    const std::size_t used = FUsed;
    FUsed = 0;
    if (used > 0) Send(FBuffer.data(), used);
}

void TDeviceWriteStream::Send(const char* data, std::size_t length)
{
    if (FDevice.write(data, static_cast<qint64>(length)) < 0)
        RaiseError(QStringLiteral("无法写出结果：%1").arg(FDevice.errorString()));
}

std::string_view TNumberTexts::Text(double v)
{
    if (v == NullValue || !std::isfinite(v)) return {};
    if (v == 0) v = 0;  // no "-0"
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    TEntry& e = FEntries[(bits * 0x9E3779B97F4A7C15ull) >> (64 - kBits)];
    if (e.Length == 0 || e.Bits != bits) {
        // Without a format, to_chars gives the shortest text that reads back as v, fixed or with
        // an exponent, whichever is shorter.
        e.Bits = bits;
        e.Length = static_cast<std::uint8_t>(std::to_chars(e.Text, e.Text + sizeof e.Text, v).ptr - e.Text);
    }
    return {e.Text, e.Length};
}

void TJsonOut::Number(double v)
{
    const std::string_view text = FNumbers.Text(v);
    if (text.empty())
        FWriter.Null();
    else
        FWriter.RawValue(text.data(), text.size(), rapidjson::kNumberType);
}

void TJsonOut::Integer(long long v)
{
    if (v == NullValue)
        FWriter.Null();
    else
        FWriter.Int64(v);
}

void TJsonOut::Text(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    FWriter.String(utf8.constData(), static_cast<rapidjson::SizeType>(utf8.size()));
}

void TCsvOut::Separate()
{
    if (!FFirst) FStream.Put(',');
    FFirst = false;
}

void TCsvOut::Header(std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        Separate();
        FStream.Write(name, std::strlen(name));
    }
    EndRow();
}

void TCsvOut::Number(double v)
{
    Separate();
    const std::string_view text = FNumbers.Text(v);
    FStream.Write(text.data(), text.size());
}

void TCsvOut::Integer(long long v)
{
    Separate();
    if (v == NullValue) return;
    char text[24];
    FStream.Write(text, static_cast<std::size_t>(std::to_chars(text, text + sizeof text, v).ptr - text));
}

void TCsvOut::Text(const QString& text)
{
    Cell(text.toUtf8(), text != text.trimmed());
}

void TCsvOut::Text(const QByteArray& utf8)
{
    Cell(utf8, utf8 != utf8.trimmed());
}

void TCsvOut::Cell(QByteArray utf8, bool padded)
{
    Separate();
    if (padded || utf8.contains(',') || utf8.contains('"') || utf8.contains('\n') || utf8.contains('\r')) {
        utf8.replace("\"", "\"\"");
        utf8 = '"' + utf8 + '"';
    }
    FStream.Write(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

void TCsvOut::EndRow()
{
    FStream.Put('\n');
    FFirst = true;
}
