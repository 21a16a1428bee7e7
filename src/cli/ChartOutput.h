#pragma once
// What the chart command writes, as a stream: JSON through RapidJSON's writer, or CSV rows for a
// spreadsheet. Numbers are the shortest text that reads back as the same double; NullValue and
// non-finite numbers are "no value" (null in JSON, an empty cell in CSV).
#include <QIODevice>
#include <QString>
#include <rapidjson/writer.h>
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

// The shortest round-trip text of v into buffer (at least 32 bytes); its length, 0 for no value.
int FormatNumber(double v, char* buffer);

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
    void Key(const char* key) { FWriter.Key(key); }
    void Number(double v);
    void Integer(long long v);  // NullValue: null
    void Text(const QString& text);
    void Field(const char* key, double v)
    {
        Key(key);
        Number(v);
    }

private:
    TDeviceWriteStream FStream;
    rapidjson::Writer<TDeviceWriteStream> FWriter;
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
    void EndRow();
    void Finish() { FStream.Flush(); }

private:
    void Separate();
    TDeviceWriteStream FStream;
    bool FFirst = true;
};
