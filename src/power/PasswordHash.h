#pragma once
// Stored passwords: salted PBKDF2-SHA256 hashes "pbkdf2-sha256$<iterations>$<salt>$<hash>" (base64).
#include <QByteArray>
#include <QString>

QString HashPassword(const QString& password);
bool IsPasswordHash(const QString& stored);
// True when the typed password matches the stored value, hashed or (from older databases) plain.
bool VerifyPassword(const QString& typed, const QString& stored);

QByteArray Pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations, int length);
