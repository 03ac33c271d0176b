#include "ToolTestSupport.h"

#include "tools/DataTool.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

namespace tooltest {

ToolRun RunTool(const QStringList& args) {
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    ToolRun run;
    run.code = datatool::RunDataTool(args, datatool::Console{out, err});
    run.out = QString::fromUtf8(out.data());
    run.err = QString::fromUtf8(err.data());
    return run;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

RecordBytes& RecordBytes::Double(double value) {
    char raw[8];
    qToLittleEndian(value, raw);
    bytes_.append(raw, 8);
    return *this;
}

RecordBytes& RecordBytes::Single(float value) {
    char raw[4];
    qToLittleEndian(value, raw);
    bytes_.append(raw, 4);
    return *this;
}

RecordBytes& RecordBytes::Int16(qint16 value) {
    char raw[2];
    qToLittleEndian(value, raw);
    bytes_.append(raw, 2);
    return *this;
}

RecordBytes& RecordBytes::Text(const QByteArray& ansi, int width, char pad) {
    bytes_.append(ansi.left(width));
    bytes_.append(QByteArray(width - qMin(width, int(ansi.size())), pad));
    return *this;
}

} // namespace tooltest
