#pragma once
// What the chart command writes, as a stream: JSON through RapidJSON's writer, or CSV rows for a
// spreadsheet. Numbers are the shortest text that reads back as the same double; NullValue and
// non-finite numbers are "no value" (null in JSON, an empty cell in CSV).
#include <QIODevice>
#include <QString>
#include <rapidjson/writer.h>
#include <cstdint>
#include <string_view>
#include <vector>

// A buffered output stream on a device, in the form RapidJSON's writer takes.
class TDeviceWriteStream {
public:
    using Ch = char;
    explicit TDeviceWriteStream(QIODevice& device) : FDevice(device), FBuffer(1 << 16) {}
    TDeviceWriteStream(const TDeviceWriteStream&) = delete;
    TDeviceWriteStream& operator=(const TDeviceWriteStream&) = delete;

    void Put(char c)
    {
        if (FUsed == FBuffer.size()) Flush();
        FBuffer[FUsed++] = c;
    }
    // Room for count characters, which PutUnsafe then writes without a check each.
    void Reserve(std::size_t count);
    void PutUnsafe(char c) { FBuffer[FUsed++] = c; }
    void Write(const char* text, std::size_t length);
    void Flush();  // ESystemError when the device refuses

private:
    void Send(const char* data, std::size_t length);
    QIODevice& FDevice;
    std::vector<char> FBuffer;
    std::size_t FUsed = 0;
};

// The writer's fast path for buffers it knows, found by argument-dependent lookup when the writer
// is instantiated.
inline void PutReserve(TDeviceWriteStream& stream, std::size_t count)
{
    stream.Reserve(count);
}
inline void PutUnsafe(TDeviceWriteStream& stream, char c)
{
    stream.PutUnsafe(c);
}

// The shortest text that reads back as v; empty for no value. Measurements repeat (a gauge reads
// to a fixed resolution, so a million values hold a few thousand distinct ones), and texts made
// once are kept in a small table rather than made again.
class TNumberTexts {
public:
    std::string_view Text(double v);

private:
    static constexpr int kBits = 12;  // 4096 texts
    struct TEntry {
        std::uint64_t Bits = 0;
        std::uint8_t Length = 0;  // 0: empty
        char Text[31];
    };
    std::vector<TEntry> FEntries = std::vector<TEntry>(1 << kBits);
};

class TJsonOut {
public:
    explicit TJsonOut(QIODevice& device) : FStream(device), FWriter(FStream) {}
    // After the document: a line break, and everything written out.
    void Finish()
    {
        FStream.Put('\n');
        FStream.Flush();
    }

    void BeginObject() { FWriter.StartObject(); }
    void EndObject() { FWriter.EndObject(); }
    void BeginArray() { FWriter.StartArray(); }
    void EndArray() { FWriter.EndArray(); }
    template <std::size_t N>
    void Key(const char (&key)[N])
    {
        FWriter.Key(key, N - 1);
    }
    void Number(double v);
    void Integer(long long v);  // NullValue: null
    void Text(const QString& text);
    template <std::size_t N>
    void Field(const char (&key)[N], double v)
    {
        Key(key);
        Number(v);
    }

private:
    TDeviceWriteStream FStream;
    rapidjson::Writer<TDeviceWriteStream> FWriter;
    TNumberTexts FNumbers;
};

// CSV rows in the form the chart command reads them: comma-separated, a text quoted when it holds
// a comma, a quote or a line break, or begins or ends with a blank.
class TCsvOut {
public:
    explicit TCsvOut(QIODevice& device) : FStream(device) {}
    void Header(std::initializer_list<const char*> names);
    void Number(double v);
    void Integer(long long v);
    void Text(const QString& text);
    void Text(const QByteArray& utf8);
    void EndRow();
    void Finish() { FStream.Flush(); }

private:
    void Separate();
    void Cell(QByteArray utf8, bool padded);
    TDeviceWriteStream FStream;
    TNumberTexts FNumbers;
    bool FFirst = true;
};
