#include "foundation/DatabaseFile.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {
[[noreturn]] void Failed(const QString& what, const QString& reason)
{
    throw ESystemError(reason.isEmpty() ? what : what + QLatin1Char('\n') + reason);
}

// A name beside path that no other file has.
QString TemporaryBeside(const QString& path)
{
    return path + QLatin1Char('.') + QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".tmp");
}
} // namespace

void BackupDatabase(TCompanyDM& dm, const QString& target)
{
    const QString what = QStringLiteral("备份失败！");
    if (dm.Engine() != TDbEngine::SQLite)
        Failed(what, QStringLiteral("服务器上的数据库请用数据库服务器的备份功能备份。"));
    if (dm.InTransaction()) Failed(what, QStringLiteral("有未完成的保存操作。"));
    const QFileInfo info(target);
    if (!QDir().mkpath(info.absolutePath())) Failed(what, QStringLiteral("无法创建目录：%1").arg(info.absolutePath()));
    // The engine writes a complete, consistent copy of the database while it stays open; only a
    // finished copy replaces the file the user chose.
    const QString temporary = TemporaryBeside(info.absoluteFilePath());
    try {
        dm.Exec(QStringLiteral("vacuum into :File"), {{QStringLiteral("File"), temporary}});
    } catch (const ESystemError& e) {
        QFile::remove(temporary);
        Failed(what, e.Message());
    }
    if (info.exists() && !QFile::remove(info.absoluteFilePath())) {
        QFile::remove(temporary);
        Failed(what, QStringLiteral("无法覆盖文件：%1").arg(target));
    }
    if (!QFile::rename(temporary, info.absoluteFilePath())) {
        QFile::remove(temporary);
        Failed(what, QStringLiteral("无法写入文件：%1").arg(target));
    }
}

bool IsSystemDatabaseFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) return false;
    const QString name = QStringLiteral("check-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ours = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(info.absoluteFilePath());
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            ours = q.exec(QStringLiteral("select count(*) from sqlite_master where type = 'table' and lower(name) in "
                                         "('s_system', 'sp_user', 'l_vcontrolitem', 'd_vdm', 'd_adm')")) &&
                   q.next() && q.value(0).toInt() == 5;
            ours = ours && q.exec(QStringLiteral("select Ver from S_System")) && q.next() && !q.value(0).isNull();
            q = QSqlQuery();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ours;
}

void ReplaceDatabaseFile(const QString& databasePath, const QString& source)
{
    const QString what = QStringLiteral("恢复失败！");
    const QString target = QFileInfo(databasePath).absoluteFilePath();
    const QString temporary = TemporaryBeside(target);
    if (!QFile::copy(source, temporary)) Failed(what, QStringLiteral("无法复制文件：%1").arg(source));
    // A copy of a read-only file is read-only too; the database must be writable.
    QFile::setPermissions(temporary, QFile::permissions(temporary) | QFileDevice::WriteOwner);
    const QString kept = target + QStringLiteral(".bak");
    if (QFileInfo::exists(target)) {
        QFile::remove(kept);
        if (!QFile::rename(target, kept)) {
            QFile::remove(temporary);
            Failed(what, QStringLiteral("无法保留原文件：%1").arg(kept));
        }
    }
    if (!QFile::rename(temporary, target)) {
        QFile::rename(kept, target);
        QFile::remove(temporary);
        Failed(what, QStringLiteral("无法替换文件：%1").arg(target));
    }
}
