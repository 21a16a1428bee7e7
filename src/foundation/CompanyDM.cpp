#include "foundation/CompanyDM.h"

#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {
TCompanyDM* g_current = nullptr;

bool IsServerDBQ(const QString& dbq)
{
    return dbq.startsWith(QLatin1String("postgresql://")) || dbq.startsWith(QLatin1String("postgres://"));
}
} // namespace

TCompanyDM::TCompanyDM(const QString& connectionName) : FConnectionName(connectionName)
{
}

TCompanyDM::~TCompanyDM()
{
    if (g_current == this) g_current = nullptr;
    Disconnect();
}

TCompanyDM* TCompanyDM::Current()
{
    return g_current;
}

void TCompanyDM::SetCurrent(TCompanyDM* dm)
{
    g_current = dm;
}

QSqlDatabase TCompanyDM::dbCLM() const
{
    return QSqlDatabase::database(FConnectionName, false);
}

QSqlQuery& TCompanyDM::qryTemp()
{
    if (!FQryTemp) FQryTemp = std::make_unique<QSqlQuery>(dbCLM());
    return *FQryTemp;
}

bool TCompanyDM::Connected() const
{
    return QSqlDatabase::contains(FConnectionName) && dbCLM().isOpen();
}

void TCompanyDM::OpenWith(const QString& user, const QString& password)
{
    Disconnect();
    const QString dbq = Params.DBQ;
    if (IsServerDBQ(dbq)) {
        FEngine = TDbEngine::PostgreSQL;
        const QUrl url(dbq);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), FConnectionName);
        db.setHostName(url.host().isEmpty() ? QStringLiteral("localhost") : url.host());
        if (url.port() > 0) db.setPort(url.port());
        db.setDatabaseName(url.path().mid(1));
        // The URL names the server login. Without a password in it the client library looks the
        // password up in its password file, never in the settings.
        db.setUserName(url.userName().isEmpty() ? user : url.userName());
        db.setPassword(url.password());
        if (!Params.PasswordFile.isEmpty()) qputenv("PGPASSFILE", QFile::encodeName(Params.PasswordFile));
        if (!db.open()) throw EDatabaseError(db.lastError(), QString());
        // "?search_path=name" keeps the program's tables in a schema of their own (one database
        // can then hold several plants, or the tests' private schemas).
        const QString schema = QUrlQuery(url).queryItemValue(QStringLiteral("search_path"));
        if (!schema.isEmpty()) {
            static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
            if (!identifier.match(schema).hasMatch()) {
                Disconnect();
                throw ESystemError(QStringLiteral("数据库模式名称不正确：%1").arg(schema));
            }
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("set search_path to %1").arg(schema))) {
                const QSqlError err = q.lastError();
                q = QSqlQuery();
                Disconnect();
                throw EDatabaseError(err, QStringLiteral("set search_path"));
            }
        }
        return;
    }
    FEngine = TDbEngine::SQLite;
    // The embedded engine would silently create a missing file: refuse instead.
    const QFileInfo info(dbq);
    if (dbq.isEmpty() || !info.isFile() || !info.isReadable())
        throw ESystemError(QStringLiteral("数据库文件不存在：%1").arg(dbq));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FConnectionName);
    db.setDatabaseName(info.absoluteFilePath());
    db.setUserName(user);
    db.setPassword(password);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    if (!db.open()) throw EDatabaseError(db.lastError(), QString());
    // A file that is not a database only shows itself at the first read.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
        const QSqlError err = probe.lastError();
        probe = QSqlQuery();
        Disconnect();
        throw EDatabaseError(err, QStringLiteral("select count(*) from sqlite_master"));
    }
    // Rollback journal: WAL does not work on shared network folders.
    probe.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    probe.exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
}

void TCompanyDM::Connect()
{
    OpenWith(Params.UserName, Params.Password);
}

void TCompanyDM::ConnectWithFallback()
{
    try {
        Connect();
    } catch (const ESystemError&) {
        Params.UserName.clear();
        Params.Password.clear();
        Connect();
    }
}

void TCompanyDM::Disconnect()
{
    FQryTemp.reset();
    if (FDepth > 0) FireTransactionEnd(false);
    FDepth = 0;
    FRolledBack = false;
    if (QSqlDatabase::contains(FConnectionName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
            if (db.isOpen()) db.close();
        }
        QSqlDatabase::removeDatabase(FConnectionName);
    }
}

void TCompanyDM::SetPrivateDir(const QString& dir)
{
    QDir d(dir);
    if (!d.exists() && !QDir().mkpath(dir))
        throw ESystemError(QStringLiteral("无法创建临时目录：%1").arg(dir));
    FPrivateDir = dir;
}

void TCompanyDM::ExecControl(const QString& sql)
{
    QSqlQuery q(dbCLM());
    if (!q.exec(sql)) throw EDatabaseError(q.lastError(), sql);
}

void TCompanyDM::StartTransaction()
{
    if (FDepth == 0) {
        // IMMEDIATE takes the write lock at once, so two workstations queue instead of deadlocking
        // when both first read and then write.
        ExecControl(FEngine == TDbEngine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        FRolledBack = false;
    }
    ++FDepth;
}

void TCompanyDM::Commit()
{
    if (FDepth == 0) return;
    --FDepth;
    if (FDepth > 0) return;
    if (FRolledBack) {
        FRolledBack = false;
        FireTransactionEnd(false);
        throw ESystemError(QStringLiteral("事务已回滚，数据没有保存！"));
    }
    try {
        ExecControl(QStringLiteral("COMMIT"));
    } catch (...) {
        RollbackEngine();
        FRolledBack = false;
        throw;
    }
    FireTransactionEnd(true);
}

void TCompanyDM::OnTransactionEnd(std::function<void(bool committed)> callback)
{
    if (FDepth == 0) {
        callback(true);
        return;
    }
    FTransactionEnd.push_back(std::move(callback));
}

void TCompanyDM::FireTransactionEnd(bool committed)
{
    std::vector<std::function<void(bool)>> callbacks;
    callbacks.swap(FTransactionEnd);
    for (auto& callback : callbacks) callback(committed);
}

void TCompanyDM::RollbackEngine()
{
    QSqlQuery q(dbCLM());
    q.exec(QStringLiteral("ROLLBACK"));
    FRolledBack = true;
    FireTransactionEnd(false);
}

void TCompanyDM::Rollback()
{
    if (FDepth == 0) return;
    if (!FRolledBack) RollbackEngine();
    --FDepth;
    if (FDepth == 0) {
        FRolledBack = false;
        FireTransactionEnd(false);
    }
}

void TCompanyDM::CheckNotRolledBack(const QString& sql) const
{
    if (RolledBack())
        throw EDatabaseError(TDbErrorKind::Other, QStringLiteral("事务已回滚，数据没有保存！"), sql);
}

void TCompanyDM::StatementFailed(const QSqlError& error, const QString& sql)
{
    // PostgreSQL refuses everything after an error inside a transaction; SQLite would go on. Both
    // roll the whole transaction back, so no half of a save is ever committed.
    if (FDepth > 0 && !FRolledBack) RollbackEngine();
    throw EDatabaseError(error, sql);
}

void TCompanyDM::PrepareQuery(QSqlQuery& query, const QString& sql)
{
    CheckNotRolledBack(sql);
    if (!query.prepare(sql)) StatementFailed(query.lastError(), sql);
}

void TCompanyDM::ExecPrepared(QSqlQuery& query, const QString& sql)
{
    CheckNotRolledBack(sql);
    if (!query.exec()) StatementFailed(query.lastError(), sql);
}

void TCompanyDM::ExecText(QSqlQuery& query, const QString& sql)
{
    CheckNotRolledBack(sql);
    if (!query.exec(sql)) StatementFailed(query.lastError(), sql);
}

bool TCompanyDM::ForwardOnlyReads() const
{
    // The server's driver reads a forward-only result row by row and loses it as soon as another
    // statement runs on the connection; reads nest everywhere in the program (a detail read per
    // master row), so on the server the result is fetched whole.
    return FEngine == TDbEngine::SQLite;
}

void BindParams(QSqlQuery& query, const TSqlParams& params)
{
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query.bindValue(QLatin1Char(':') + it.key(), ToDbValue(it.value()));
}

QSqlQuery TCompanyDM::Prepare(const QString& sql, const TSqlParams& params)
{
    QSqlQuery q(dbCLM());
    q.setForwardOnly(ForwardOnlyReads());
    PrepareQuery(q, sql);
    BindParams(q, params);
    return q;
}

QSqlQuery TCompanyDM::Exec(const QString& sql, const TSqlParams& params)
{
    // A statement without parameters runs as it is: PostgreSQL cannot prepare DDL.
    if (params.isEmpty()) {
        QSqlQuery q(dbCLM());
        q.setForwardOnly(ForwardOnlyReads());
        ExecText(q, sql);
        return q;
    }
    QSqlQuery q = Prepare(sql, params);
    ExecPrepared(q, sql);
    return q;
}

TTransactionGuard::TTransactionGuard(TCompanyDM& dm) : FDM(dm)
{
    FDM.StartTransaction();
}

TTransactionGuard::TTransactionGuard() : TTransactionGuard(CurrentCompanyDM())
{
}

TTransactionGuard::~TTransactionGuard()
{
    if (!FDone) FDM.Rollback();
}

void TTransactionGuard::Commit()
{
    FDone = true;
    FDM.Commit();
}

void TTransactionGuard::Rollback()
{
    if (FDone) return;
    FDone = true;
    FDM.Rollback();
}
