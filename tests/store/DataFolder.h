#pragma once

#include "store/RecordStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

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
