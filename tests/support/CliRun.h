#pragma once
// Runs qiheng-spc-cli as a script would and keeps what it printed.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct TCliRun {
    int ExitCode = -1;
    QString Out, Err;
    QJsonObject Json;  // standard output read as JSON
};

// `input` is what the program reads on standard input, which is closed after it.
inline TCliRun RunCli(const QString& program, const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.start(program, args);
    p.waitForStarted();
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    TCliRun r;
    r.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;  // a crash is no status
    r.Out = QString::fromUtf8(p.readAllStandardOutput());
    r.Err = QString::fromUtf8(p.readAllStandardError());
    r.Json = QJsonDocument::fromJson(r.Out.toUtf8()).object();
    return r;
}

// Writes a text file into the folder and returns its path.
inline QString WriteTextFile(const QTemporaryDir& dir, const QString& name, const QString& text)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text.toUtf8());
    return path;
}
