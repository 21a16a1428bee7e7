// The chart command of qiheng-spc-cli, file to output, beside a bare read of the same file:
// 1,000,000 individual values (X-Rm) and 100,000 subgroups of 5 (X-bar/R), in process and as the
// real program (whose peak memory the "peak_MB" counter shows). The JSON writers compared on
// 1,000,000 points show why the command writes with RapidJSON and formats numbers with to_chars.
// On a database: import of subgroups of 5 through the collection's staging and save, and
// chart --db over 100,000 stored subgroups of 5 (condition, task tables, sample provider, JSON).
#include "BenchSupport.h"
#include "cli/ChartOutput.h"
#include "cli/CliTool.h"
#include "cli/CsvReader.h"
#include "foundation/RecordUtils.h"

#include <QBuffer>
#include <QProcess>
#include <chrono>
#include <QSqlQuery>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <random>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {
// subgroups × size rows of subgroup,value with four decimals, as a gauge writes them.
QString MakeCsv(const QTemporaryDir& dir, const char* name, int subgroups, int size)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    std::mt19937 rng(11);
    std::normal_distribution<double> value(74.0, 0.01);
    QByteArray text("subgroup,value\n");
    char number[32];
    for (int sn = 1; sn <= subgroups; ++sn)
        for (int j = 0; j < size; ++j) {
            text += QByteArray::number(sn);
            text += ',';
            const double v = std::round(value(rng) * 1e4) / 1e4;
            text.append(number, std::to_chars(number, number + sizeof number, v).ptr - number);
            text += '\n';
        }
    f.write(text);
    return path;
}

struct TFiles {
    QTemporaryDir dir;
    QString individuals = MakeCsv(dir, "individuals.csv", 1000000, 1);
    QString subgroups = MakeCsv(dir, "subgroups.csv", 100000, 5);
};

const TFiles& Files()
{
    static const TFiles files;
    return files;
}

// The process's peak resident memory is set back to what it holds now (Linux), so that the peak
// read afterwards belongs to what ran in between. A program started from here begins from it too:
// without this, a child inherits the high-water mark of everything that ran before.
void ResetPeakMemory()
{
    malloc_trim(0);  // what was freed goes back to the system first
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

double PeakMemoryMB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

const QString& FileOf(int which)
{
    return which == 0 ? Files().individuals : Files().subgroups;
}

const char* TypeOf(int which)
{
    return which == 0 ? "x-rm" : "xbar-r";
}

// The file read in the chunks the command reads, its lines counted: the floor for any reader. Its
// peak memory is that of the benchmark process itself.
void BM_BareRead(benchmark::State& state)
{
    const QString& path = FileOf(static_cast<int>(state.range(0)));
    std::vector<char> buffer(1 << 16);
    ResetPeakMemory();
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        long lines = 0;
        for (qint64 n; (n = f.read(buffer.data(), static_cast<qint64>(buffer.size()))) > 0;)
            for (const char* p = buffer.data(); (p = static_cast<const char*>(std::memchr(p, '\n', buffer.data() + n - p))); ++p)
                ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.counters["peak_MB"] = PeakMemoryMB();
}
BENCHMARK(BM_BareRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Reading and converting every field, without the engine.
void BM_CsvRead(benchmark::State& state)
{
    const QString& path = FileOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        TCsvReader csv(f, path, {QStringLiteral("subgroup"), QStringLiteral("value")});
        double sum = 0;
        while (csv.Next()) sum += csv.Int(0, 0) + csv.Number(1);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_CsvRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole command in process: options, CSV, limits, statistics and JSON (or CSV) to /dev/null.
void BM_ChartCommand(benchmark::State& state)
{
    const int which = static_cast<int>(state.range(0));
    const bool csv = state.range(1) != 0;
    QStringList args{QStringLiteral("chart"), QStringLiteral("--type"), QString::fromUtf8(TypeOf(which)), FileOf(which)};
    if (csv) args << QStringLiteral("--format") << QStringLiteral("csv");
    ResetPeakMemory();
    for (auto _ : state) {
        QFile in, out(QStringLiteral("/dev/null"));
        out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        QBuffer err;
        err.open(QIODevice::WriteOnly);
        if (RunCliTool(args, TCliIO{in, out, err}) != 0) state.SkipWithError(err.data().constData());
    }
    state.counters["peak_MB"] = PeakMemoryMB();  // of the whole benchmark process
}
BENCHMARK(BM_ChartCommand)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Unit(benchmark::kMillisecond);

// The real program, start to exit, output to /dev/null; its peak resident memory as a counter.
void BM_CliProcess(benchmark::State& state)
{
    const int which = static_cast<int>(state.range(0));
    const QByteArray file = FileOf(which).toLocal8Bit();
    const char* argv[] = {QIHENG_SPC_CLI, "chart", "--type", TypeOf(which), file.constData(), nullptr};
    long peak = 0;
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        ResetPeakMemory();
        QElapsedTimer timer;
        timer.start();
        pid_t pid = 0;
        if (posix_spawn(&pid, QIHENG_SPC_CLI, &actions, nullptr, const_cast<char**>(argv), environ) != 0) {
            state.SkipWithError("the program did not start");
            break;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        posix_spawn_file_actions_destroy(&actions);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the program failed");
        peak = std::max(peak, usage.ru_maxrss);
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024.0;
}
BENCHMARK(BM_CliProcess)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// ---- JSON writers on the points of 1,000,000 individual values ----

struct TPoint {
    int SN;
    double Main, Sub;
};

const std::vector<TPoint>& Points()
{
    static const std::vector<TPoint> points = [] {
        std::vector<TPoint> p;
        std::mt19937 rng(5);
        std::normal_distribution<double> value(74.0, 0.01);
        double previous = 0;
        for (int sn = 1; sn <= 1000000; ++sn) {
            const double x = std::round(value(rng) * 1e4) / 1e4;
            p.push_back({sn, x, sn == 1 ? NullValue : std::fabs(x - previous)});
            previous = x;
        }
        return p;
    }();
    return points;
}

// What the command uses: RapidJSON's writer, numbers as the shortest round-trip text.
void BM_Json_RapidJsonToChars(benchmark::State& state)
{
    for (auto _ : state) {
        QFile out(QStringLiteral("/dev/null"));
        out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        TJsonOut j(out);
        j.BeginArray();
        for (const TPoint& p : Points()) {
            j.BeginObject();
            j.Key("SN");
            j.Integer(p.SN);
            j.Field("main", p.Main);
            j.Field("sub", p.Sub);
            j.EndObject();
        }
        j.EndArray();
        j.Finish();
    }
}
BENCHMARK(BM_Json_RapidJsonToChars)->Unit(benchmark::kMillisecond);

// RapidJSON's own number writer (Grisu2 with ".0" on whole numbers: not always the shortest,
// and 1 becomes 1.0, so the document would change).
void BM_Json_RapidJsonDouble(benchmark::State& state)
{
    for (auto _ : state) {
        QFile out(QStringLiteral("/dev/null"));
        out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        TDeviceWriteStream stream(out);
        rapidjson::Writer<TDeviceWriteStream> w(stream);
        w.StartArray();
        for (const TPoint& p : Points()) {
            w.StartObject();
            w.Key("SN");
            w.Int(p.SN);
            w.Key("main");
            w.Double(p.Main);
            w.Key("sub");
            if (p.Sub == NullValue)
                w.Null();
            else
                w.Double(p.Sub);
            w.EndObject();
        }
        w.EndArray();
        stream.Flush();
    }
}
BENCHMARK(BM_Json_RapidJsonDouble)->Unit(benchmark::kMillisecond);

// Qt's JSON classes: the whole document is built in memory before its text.
void BM_Json_QJsonDocument(benchmark::State& state)
{
    for (auto _ : state) {
        QJsonArray points;
        for (const TPoint& p : Points())
            points.append(QJsonObject{{QStringLiteral("SN"), p.SN},
                                      {QStringLiteral("main"), p.Main},
                                      {QStringLiteral("sub"), p.Sub == NullValue ? QJsonValue() : QJsonValue(p.Sub)}});
        QFile out(QStringLiteral("/dev/null"));
        out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        out.write(QJsonDocument(points).toJson(QJsonDocument::Compact));
    }
}
BENCHMARK(BM_Json_QJsonDocument)->Unit(benchmark::kMillisecond);

// The text built as one QString with QString::number, as the command did before.
void BM_Json_QStringText(benchmark::State& state)
{
    const auto number = [](double v) {
        return v == NullValue ? QStringLiteral("null") : QString::number(v, 'g', QLocale::FloatingPointShortest);
    };
    for (auto _ : state) {
        QString text = QStringLiteral("[");
        for (const TPoint& p : Points()) {
            if (text.size() > 1) text += QLatin1Char(',');
            text += QLatin1String("{\"SN\":") + QString::number(p.SN) + QLatin1String(",\"main\":") + number(p.Main) +
                    QLatin1String(",\"sub\":") + number(p.Sub) + QLatin1Char('}');
        }
        text += QLatin1Char(']');
        QFile out(QStringLiteral("/dev/null"));
        out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        out.write(text.toUtf8());
    }
}
BENCHMARK(BM_Json_QStringText)->Unit(benchmark::kMillisecond);
} // namespace

// ---- on a database ----

// A database with the item B01 (subgroups of 5) and, when asked, that many stored subgroups of it.
struct TItemDatabase : TBenchDatabase {
    explicit TItemDatabase(int stored) : TBenchDatabase(0)
    {
        dm->Exec("insert into L_VControlItem (CID, CCode, CName, SampleSize, Step, nSigma, USL, SL, LSL) "
                 "values (1, 'B01', '基准特性', 5, 1, 3, 74.05, 74, 73.95)");
        if (stored == 0) return;
        TTransactionGuard guard(*dm);
        QSqlQuery m = dm->Prepare("insert into D_VDM (CID, SN, WDate) values (1, :SN, :W)");
        QSqlQuery d = dm->Prepare("insert into D_VDD (CID, SN, SSN, VResult, WDate) values (1, :SN, :SSN, :V, :W)");
        const QDateTime t0(QDate(2026, 1, 1), QTime(8, 0));
        for (int sn = 1; sn <= stored; ++sn) {
            const QString w = t0.addSecs(sn * 60).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            BindParams(m, {{"SN", sn}, {"W", w}});
            m.exec();
            for (int ssn = 1; ssn <= 5; ++ssn) {
                BindParams(d, {{"SN", sn}, {"SSN", ssn}, {"V", 74.0 + (sn * 7 + ssn) % 13 * 0.001}, {"W", w}});
                d.exec();
            }
        }
        guard.Commit();
    }
    // What --db is given: the file, or on a server the benchmark's own schema.
    QString Path() const { return schema.isEmpty() ? dir.path() + "/MainData.mdb" : dm->Params.DBQ; }
};

// The real program on the database (in process its connection would share the benchmark's name).
void RunProgram(const QStringList& args, benchmark::State& state)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    const auto start = std::chrono::steady_clock::now();
    p.start(QStringLiteral(QIHENG_SPC_CLI), args);
    p.waitForFinished(-1);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    if (p.exitCode() != 0) state.SkipWithError(p.readAllStandardError().constData());
}

// import of N subgroups of 5 (argument) into an empty item, SQLite.
void BM_ImportCommand(benchmark::State& state)
{
    if (!qEnvironmentVariableIsEmpty("QIHENG_SPC_BENCH_SERVER")) state.SkipWithError("SQLite only");
    const int subgroups = static_cast<int>(state.range(0));
    TItemDatabase db(0);
    const QString csv = MakeCsv(db.dir, "import.csv", subgroups, 5);
    const QString path = db.Path();
    for (auto _ : state) {
        db.dm->Exec("delete from D_VDM");
        db.dm->Exec("delete from D_VDD");
        RunProgram({"import", "--db", path, "--item", "B01", csv}, state);
    }
    if (GetSQLValue("select count(*) from D_VDD").toInt() != subgroups * 5) state.SkipWithError("not every value was stored");
}
BENCHMARK(BM_ImportCommand)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// chart --db on 100,000 stored subgroups of 5: X-bar/R with statistics to JSON.
void BM_ChartFromDatabase(benchmark::State& state)
{
    TItemDatabase db(100000);
    const QString path = db.Path();
    for (auto _ : state) RunProgram({"chart", "--db", path, "--item", "B01", "--type", "xbar-r"}, state);
}
BENCHMARK(BM_ChartFromDatabase)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

SPC_BENCHMARK_MAIN(QCoreApplication)
