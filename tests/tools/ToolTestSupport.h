#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Running mirtavel-data inside the test process and building record files byte by byte.
namespace tooltest {

struct ToolRun {
    int code = -1;
    QString out;
    QString err;
};

ToolRun RunTool(const QStringList& args);

// Writes (replaces) a file; false when it could not.
bool WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// One record's bytes, field after field, little-endian as the files hold them.
class RecordBytes {
public:
    RecordBytes& Double(double value);
    RecordBytes& Single(float value);
    RecordBytes& Int16(qint16 value);
    // Windows-1252 bytes padded to `width` with `pad`.
    RecordBytes& Text(const QByteArray& ansi, int width, char pad = ' ');
    const QByteArray& Bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

} // namespace tooltest
