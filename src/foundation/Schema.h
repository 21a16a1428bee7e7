#pragma once
// The database schema, written once for SQLite and PostgreSQL, and the content of the delivered
// database (schema version 1, which the first start upgrades).
#include <QString>
#include <QStringList>

class TCompanyDM;

// CREATE TABLE and CREATE INDEX statements of every table.
QStringList SchemaStatements();

// Creates every table and index on the open connection, in one transaction.
void CreateSchema(TCompanyDM& dm);

// Writes the shipped content of a version-1 database: S_System, the module catalogue, the
// administrator duty and user (ID 1, "超级用户", empty password) and the counters "List" and "Task".
void WriteDeliveredContent(TCompanyDM& dm);

// Creates a new SQLite database file at path with the delivered content (and the demo factory when
// demo is true). Refuses an existing file with ESystemError.
void InitDatabaseFile(const QString& path, bool demo);

// The same on an empty database of a PostgreSQL server ("postgresql://user@host:port/database"),
// in one transaction: a database that already holds the program's tables is refused and a failure
// leaves the database empty.
void InitServerDatabase(const QString& url, bool demo);
