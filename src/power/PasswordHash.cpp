#include "power/PasswordHash.h"

#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QStringList>

namespace {
const QString kPrefix = QStringLiteral("pbkdf2-sha256");
constexpr int kIterations = 60000;

bool ConstantTimeEquals(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (int i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}
} // namespace

QByteArray Pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations, int length)
{
    QByteArray out;
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    for (quint32 block = 1; out.size() < length; ++block) {
        QByteArray counter(4, 0);
        counter[0] = char(block >> 24);
        counter[1] = char(block >> 16);
        counter[2] = char(block >> 8);
        counter[3] = char(block);
        mac.reset();
        mac.addData(salt);
        mac.addData(counter);
        QByteArray u = mac.result();
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            mac.reset();
            mac.addData(u);
            u = mac.result();
            for (int j = 0; j < t.size(); ++j) t[j] = char(t[j] ^ u[j]);
        }
        out += t;
    }
    return out.left(length);
}

QString HashPassword(const QString& password)
{
    QByteArray salt(16, 0);
    for (char& c : salt) c = char(QRandomGenerator::system()->bounded(256));
    const QByteArray hash = Pbkdf2Sha256(password.toUtf8(), salt, kIterations, 32);
    return QStringLiteral("%1$%2$%3$%4").arg(kPrefix).arg(kIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(hash.toBase64()));
}

bool IsPasswordHash(const QString& stored)
{
    const QStringList parts = stored.split(QLatin1Char('$'));
    return parts.size() == 4 && parts[0] == kPrefix && parts[1].toInt() > 0;
}

bool VerifyPassword(const QString& typed, const QString& stored)
{
    if (!IsPasswordHash(stored)) return typed == stored;
    const QStringList parts = stored.split(QLatin1Char('$'));
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts[3].toLatin1());
    return ConstantTimeEquals(Pbkdf2Sha256(typed.toUtf8(), salt, parts[1].toInt(), int(expected.size())), expected);
}
