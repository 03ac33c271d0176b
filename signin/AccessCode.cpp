#include "signin/AccessCode.h"

#include "platform/Settings.h"
#include "store/DataSet.h"
#include "store/FileWrite.h"
#include "store/NewFileMode.h"
#include "store/ReadOnlyStation.h"
#include "store/Rewrite.h"
#include "ui/AppTitle.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringList>
#include <QtEndian>
#include <cerrno>
#include <sys/stat.h>

namespace signin {

namespace {

const QString Scheme = QStringLiteral("pbkdf2-sha256");
constexpr int SaltBytes = 16;
constexpr int DigestBytes = 32;
// A record asking for more rounds than this is not one of ours; refusing it keeps a damaged
// file from stalling the window.
constexpr int MaxIterations = 10000000;
// A record is some hundred characters; a file much longer is not one.
constexpr qint64 MaxRecordFileSize = 4096;

struct ParsedRecord {
    int iterations = 0;
    QByteArray salt;
    QByteArray digest;
};

bool Parse(const QString& record, ParsedRecord& parsed) {
    const QStringList parts = record.split(u'$');
    if (parts.size() != 4 || parts.at(0) != Scheme)
        return false;
    bool numeric = false;
    parsed.iterations = parts.at(1).toInt(&numeric);
    if (!numeric || parsed.iterations < 1 || parsed.iterations > MaxIterations)
        return false;
    const auto salt = QByteArray::fromBase64Encoding(parts.at(2).toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    const auto digest = QByteArray::fromBase64Encoding(parts.at(3).toLatin1(),
                                                       QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !digest || salt.decoded.isEmpty() || digest.decoded.isEmpty())
        return false;
    parsed.salt = salt.decoded;
    parsed.digest = digest.decoded;
    return true;
}

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

bool IsAccessCodeRecord(const QString& record) {
    ParsedRecord parsed;
    return Parse(record, parsed);
}

bool AccessCodeMatches(const QString& record, const QString& typed) {
    ParsedRecord parsed;
    if (!Parse(record, parsed))
        return false;
    const QByteArray typedDigest = Pbkdf2Sha256(typed.toUtf8(), parsed.salt, parsed.iterations,
                                                static_cast<int>(parsed.digest.size()));
    return SameBytes(typedDigest, parsed.digest);
}

bool AccessCodeIsSet() {
    // A dangling link counts too: something was put there, and it is not ours to replace.
    const QFileInfo file(store::AccessCodeFileName);
    return file.exists() || file.isSymLink();
}

store::StoreResult ReadAccessCode(QString& record) {
    record.clear();
    QFile file(store::AccessCodeFileName);
    if (!file.open(QIODevice::ReadOnly))
        return store::StoreResult::Fail(file.fileName(), file.errorString());
    const QByteArray bytes = file.read(MaxRecordFileSize);
    if (file.error() != QFileDevice::NoError)
        return store::StoreResult::Fail(file.fileName(), file.errorString());
    const QString read = QString::fromLatin1(bytes).trimmed();
    if (!IsAccessCodeRecord(read))
        return store::StoreResult::Fail(file.fileName(),
                                        QStringLiteral("the file holds no access code"));
    record = read;
    return store::StoreResult::Ok();
}

store::StoreResult SaveAccessCode(const QString& code) {
    return SaveAccessCodeRecord(MakeAccessCodeRecord(code));
}

store::StoreResult SaveAccessCodeRecord(const QString& record) {
    const QString& name = store::AccessCodeFileName;
    const bool fresh = !AccessCodeIsSet();
    // Written beside the file and renamed over it once on the disk: a stop half-way leaves
    // the former state, never a cut-short code that would lock every administrator out.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return store::StoreResult::Fail(name, file.errorString());
    if (fresh) {
        // The digest is a secret: whoever shares the folder's group shares the code, the
        // rest of the machine gets nothing even from a folder open to all.
        if (::fchmod(file.handle(), store::NewFileModeIn(QStringLiteral(".")) & 0660) != 0)
            return store::StoreResult::Fail(name, qt_error_string(errno));
    }
    const QByteArray line = record.toLatin1() + '\n';
    if (auto written = store::io::WriteAt(file.handle(), name, 0, line.constData(), line.size());
        !written)
        return written;
    if (!file.commit())
        return store::StoreResult::Fail(name, file.errorString());
    return store::rewrite::SyncFolder();
}

bool CheckAccessCode(const QString& typed) {
    QString record;
    return ReadAccessCode(record) && AccessCodeMatches(record, typed);
}

AccessCodeMove MoveAccessCodeFromSettings() {
    AccessCodeMove move;
    const QString kept = platform::GetSetting(AppTitle(), AccessCodeSection, AccessCodeKey);
    if (kept.isEmpty())
        return move;
    if (!AccessCodeIsSet() && IsAccessCodeRecord(kept)) {
        // The settings' copy goes only once the folder's is safely on the disk.
        if (store::IsReadOnlyStation())
            return move;
        move.written = SaveAccessCodeRecord(kept);
        if (!move.written)
            return move;
    }
    move.removed = platform::DeleteSetting(AppTitle(), AccessCodeSection, AccessCodeKey);
    return move;
}

} // namespace signin
