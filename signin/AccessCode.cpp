#include "signin/AccessCode.h"

#include "platform/Settings.h"
#include "ui/Globals.h"

#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QStringList>
#include <QtEndian>

namespace signin {

namespace {

const QString Scheme = QStringLiteral("pbkdf2-sha256");
constexpr int SaltBytes = 16;
constexpr int DigestBytes = 32;
// A record asking for more rounds than this is not one of ours; refusing it keeps a damaged
// settings file from stalling the window.
constexpr int MaxIterations = 10000000;

QByteArray RandomSalt() {
    QByteArray salt(SaltBytes, Qt::Uninitialized);
    for (char& byte : salt)
        byte = static_cast<char>(QRandomGenerator::system()->bounded(256));
    return salt;
}

bool SameBytes(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    // Every byte is looked at, whatever the first difference: no timing tells how much matched.
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return difference == 0;
}

QString Record(int iterations, const QByteArray& salt, const QByteArray& digest) {
    return Scheme + u'$' + QString::number(iterations) + u'$' +
           QString::fromLatin1(salt.toBase64()) + u'$' + QString::fromLatin1(digest.toBase64());
}

} // namespace

QByteArray Pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations,
                        int keyLength) {
    QByteArray derived;
    if (iterations < 1 || keyLength < 1)
        return derived;
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    for (quint32 block = 1; derived.size() < keyLength; ++block) {
        char index[4];
        qToBigEndian(block, index);
        mac.reset();
        mac.addData(salt);
        mac.addData(index, sizeof index);
        QByteArray u = mac.result();
        QByteArray t = u;
        for (int round = 1; round < iterations; ++round) {
            mac.reset();
            mac.addData(u);
            u = mac.result();
            for (qsizetype i = 0; i < t.size(); ++i)
                t[i] = static_cast<char>(t.at(i) ^ u.at(i));
        }
        derived += t;
    }
    derived.truncate(keyLength);
    return derived;
}

QString MakeAccessCodeRecord(const QString& code, int iterations) {
    const QByteArray salt = RandomSalt();
    return Record(iterations, salt, Pbkdf2Sha256(code.toUtf8(), salt, iterations, DigestBytes));
}

bool AccessCodeMatches(const QString& record, const QString& typed) {
    const QStringList parts = record.split(u'$');
    if (parts.size() != 4 || parts.at(0) != Scheme)
        return false;
    bool numeric = false;
    const int iterations = parts.at(1).toInt(&numeric);
    if (!numeric || iterations < 1 || iterations > MaxIterations)
        return false;
    const auto salt = QByteArray::fromBase64Encoding(parts.at(2).toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    const auto digest = QByteArray::fromBase64Encoding(parts.at(3).toLatin1(),
                                                       QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !digest || salt.decoded.isEmpty() || digest.decoded.isEmpty())
        return false;
    const QByteArray typedDigest = Pbkdf2Sha256(typed.toUtf8(), salt.decoded, iterations,
                                                static_cast<int>(digest.decoded.size()));
    return SameBytes(typedDigest, digest.decoded);
}

bool AccessCodeIsSet() {
    return !platform::GetSetting(AppTitle(), AccessCodeSection, AccessCodeKey).isEmpty();
}

store::StoreResult SaveAccessCode(const QString& code) {
    return platform::SaveSetting(AppTitle(), AccessCodeSection, AccessCodeKey,
                                 MakeAccessCodeRecord(code));
}

bool CheckAccessCode(const QString& typed) {
    return AccessCodeMatches(platform::GetSetting(AppTitle(), AccessCodeSection, AccessCodeKey),
                             typed);
}

} // namespace signin
