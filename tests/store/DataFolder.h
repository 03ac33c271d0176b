#pragma once

#include "store/ChangeLog.h"
#include "store/RecordStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <unistd.h>

// A fresh, empty data folder made the current directory for the life of the object; the
// record files are opened by their bare names there. Every table is closed on the way out.
class DataFolder {
public:
    DataFolder() : previous_(QDir::currentPath()) {
        ready_ = dir_.isValid() && QDir::setCurrent(dir_.path());
    }
    ~DataFolder() {
        store::CloseAll();
        QDir::setCurrent(previous_);
    }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    bool ready() const { return ready_; }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString previous_;
    bool ready_ = false;
};

inline bool WriteBytes(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray Fixture(const QString& name) {
    return ReadBytes(QStringLiteral(MIRTAVEL_TEST_DATA "/store/") + name);
}

// A text field laid out by hand: the bytes, then `pad` up to the width.
inline QByteArray Padded(const QByteArray& text, int width, char pad = ' ') {
    return text + QByteArray(width - text.size(), pad);
}

// Makes the current data folder and its files read-only for the life of the object, as a
// backup on a read-only medium is. Root may write anything, so a test run as root takes the
// identity of an ordinary user meanwhile.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(path) {
        store::changelog::Settle(); // no done journal is left to remove in a read-only folder
        for (const QString& name : QDir(path).entryList(QDir::Files))
            QFile::setPermissions(QDir(path).filePath(name),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        if (::geteuid() == 0)
            becameUser_ = ::seteuid(65534) == 0;
    }
    ~ReadOnlyFolder() {
        if (becameUser_)
            (void)::seteuid(0);
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const QString& name : QDir(path_).entryList(QDir::Files))
            QFile::setPermissions(QDir(path_).filePath(name), QFile::ReadOwner | QFile::WriteOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    // False when this process can still write there (root that could not change identity).
    bool ready() const { return ::geteuid() != 0; }

private:
    QString path_;
    bool becameUser_ = false;
};
