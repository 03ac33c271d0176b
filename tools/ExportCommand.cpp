#include "tools/ExportCommand.h"

#include "tools/RecordFields.h"

#include "store/Codepage.h"
#include "store/Csv.h"
#include "store/OrderedBlocks.h"
#include "store/UserLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace datatool {
namespace {

const QString Out = QStringLiteral("out");

// The password stays in the data folder: a list of users with their passwords, even
// scrambled ones, is not to be handed round in a spreadsheet.
bool Exported(store::DataFile file, const FieldInfo& field) {
    return !(file == store::DataFile::UserList && qstrcmp(field.name, "Password") == 0);
}

void AppendField(QByteArray& out, const FieldInfo& field, const char* at) {
    switch (field.kind) {
    case FieldKind::Text:
        store::csv::AppendStoredText(out, at, field.span.width);
        return;
    case FieldKind::Date:
        store::csv::AppendNumber(out, qFromLittleEndian<double>(at));
        return;
    case FieldKind::Hours:
        store::csv::AppendHours(out, qFromLittleEndian<float>(at));
        return;
    case FieldKind::Integer:
        store::csv::AppendNumber(out, qFromLittleEndian<qint16>(at));
        return;
    }
}

// One exported field with the last value it made. Records credited together lie together and
// differ in little but the person (same course copies, date, hours and comments), so a field
// whose stored bytes are those of the record before is written as it was then, not made
// again: an export of millions of records spends its time on what changes.
class FieldColumn {
public:
    explicit FieldColumn(const FieldInfo& field)
        : field_(field), stored_(field.span.width, Qt::Uninitialized) {}
    void Write(store::csv::Rows& rows, const char* record) {
        const char* at = record + field_.span.offset;
        const auto width = static_cast<std::size_t>(field_.span.width);
        if (!known_ || std::memcmp(at, stored_.constData(), width) != 0) {
            std::memcpy(stored_.data(), at, width);
            made_.truncate(0); // keeps its room: no allocation per record
            AppendField(made_, field_, at);
            known_ = true;
        }
        rows.Formatted(made_);
    }

private:
    FieldInfo field_;
    bool known_ = false;
    QByteArray stored_; // the bytes the field held in the record before
    QByteArray made_;   // what they were written as
};

// A block of records and the rows made of them.
struct Block {
    qint32 first = 0; // the number of its first record
    qint32 count = 0;
    QByteArray records;
    store::StoreResult read;
    store::csv::Rows rows;
};

// Makes a block's rows. Its fields start with no memory of the block before, which another
// thread may be making at the same time; only the first row of a block pays for it.
void MakeRows(const std::vector<FieldInfo>& fields, int length, Block& block) {
    std::vector<FieldColumn> columns(fields.begin(), fields.end());
    block.rows.Drop();
    for (qint32 i = 0; i < block.count; ++i) {
        block.rows.Integer(block.first + i);
        for (FieldColumn& column : columns) {
            column.Write(block.rows, block.records.constData() + qint64(i) * length);
        }
        block.rows.EndRow();
    }
}

// One thread per core, or as asked, but none without a block to make.
int ThreadsFor(int asked, qint32 blocks) {
    const int wanted = asked > 0 ? asked : int(std::thread::hardware_concurrency());
    return std::max(1, int(std::min<qint32>(wanted, blocks)));
}

// A row for every record of `source`. Each thread reads and makes its own blocks, so that
// neither the reading nor the making waits for one thread; the blocks are written here, in
// order, as they are done.
store::StoreResult WriteRecordRows(const store::fields::RecordBlocks& source,
                                   const std::vector<FieldInfo>& fields, const RowBlocks& blocks,
                                   store::csv::FileWriter& writer, qint64& records) {
    const qint32 perBlock = std::max<qint32>(1, blocks.records);
    const int threads =
        ThreadsFor(blocks.threads, qint32((qint64(source.Count()) + perBlock - 1) / perBlock));
    // A block for each thread, one being written and one being handed on; more only push
    // the blocks out of the cores' caches before they are written.
    std::vector<Block> held(std::size_t(threads) + 2);
    store::StoreResult result;
    store::OrderedBlocks work(
        threads, int(held.size()),
        [&](int slot) {
            Block& block = held[std::size_t(slot)];
            block.read = source.Read(block.first, block.count, block.records.data());
            if (block.read) {
                MakeRows(fields, source.Length(), block);
            }
        },
        [&](int slot) {
            const Block& block = held[std::size_t(slot)];
            if (result && !block.read) {
                result = block.read;
            }
            if (result) {
                writer.WriteRows(block.rows);
                records += block.count;
            }
        });
    for (qint64 first = 1; first <= source.Count() && result; first += perBlock) {
        Block& block = held[std::size_t(work.Next())];
        block.first = qint32(first);
        block.count = qint32(std::min<qint64>(perBlock, source.Count() - first + 1));
        block.records.resize(qint64(block.count) * source.Length());
        work.Submit();
    }
    work.Finish();
    return result;
}

} // namespace

QString ExportFileName(const QString& dataFileName) {
    return dataFileName + QStringLiteral(".csv");
}

store::StoreResult ExportDataFile(store::DataFile file, const QString& folder, const QString& path,
                                  qint64& records, const RowBlocks& blocks) {
    store::csv::FileWriter writer(path);
    if (store::StoreResult begun = writer.Begin(); !begun) {
        return begun;
    }
    if (store::StoreResult written = WriteDataFile(file, folder, writer, records, blocks);
        !written) {
        return written; // the writer leaves nothing behind
    }
    return writer.Commit();
}

store::StoreResult WriteDataFile(store::DataFile file, const QString& folder,
                                 store::csv::FileWriter& writer, qint64& records,
                                 const RowBlocks& blocks) {
    records = 0;
    std::vector<FieldInfo> fields;
    for (const FieldInfo& field : LayoutOf(file).fields) {
        if (Exported(file, field)) {
            fields.push_back(field);
        }
    }
    writer.Text(u"RecNum");
    for (const FieldInfo& field : fields) {
        writer.Text(QString::fromLatin1(field.name));
    }
    writer.EndRow();
    store::fields::RecordBlocks source;
    if (store::StoreResult opened = source.Open(file, folder); !opened) {
        return opened;
    }
    return WriteRecordRows(source, fields, blocks, writer, records);
}

store::StoreResult WriteUserLog(const QString& folder, store::csv::FileWriter& writer,
                                qint64& lines) {
    lines = 0;
    QByteArray bytes;
    QFile log(QDir(folder).filePath(store::UserLogFileName));
    if (log.exists()) {
        if (!log.open(QIODevice::ReadOnly)) {
            return store::StoreResult::Fail(store::UserLogFileName, log.errorString());
        }
        bytes = log.readAll();
    }
    writer.WriteRow({QStringLiteral("Line"), QStringLiteral("Date"), QStringLiteral("Time"),
                     QStringLiteral("Entry")});
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d\d/\d\d/\d{4}) at (\d\d:\d\d:\d\d) - (.*)$)"));
    QList<QByteArray> split = bytes.split('\n');
    if (!split.isEmpty() && split.constLast().isEmpty()) {
        split.removeLast(); // the end of the last line
    }
    for (QByteArray& line : split) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        const QString text = store::DecodeAnsi(line.constData(), int(line.size()));
        const QRegularExpressionMatch m = form.match(text);
        writer.Integer(++lines);
        if (m.hasMatch()) {
            writer.WriteRow({m.captured(1), m.captured(2), m.captured(3)});
        } else {
            writer.WriteRow({QString(), QString(), text});
        }
    }
    return store::StoreResult::Ok();
}

int RunExport(const QStringList& args, const Console& console) {
    QCommandLineParser parser;
    const QList<QCommandLineOption> options = {
        {Out, QStringLiteral("Folder for the CSV files."), QStringLiteral("FOLDER")}};
    if (!ParseArguments(parser, options, args, 0, console)) {
        return ExitUsage;
    }
    if (!parser.isSet(Out)) {
        console.Error(QStringLiteral("export needs --out FOLDER (see --help)"));
        return ExitUsage;
    }
    const QString folder = DataFolderOption(parser);
    if (!QFileInfo(folder).isDir()) {
        console.Error(QStringLiteral("folder '%1' does not exist").arg(folder));
        return ExitUsage;
    }
    const QString out = parser.value(Out);
    if (!QDir().mkpath(out) || !QFileInfo(out).isDir()) {
        console.Error(QStringLiteral("cannot make folder '%1'").arg(out));
        return ExitFailure;
    }
    // Every file whole beside its name first; the names only when all are.
    std::vector<std::unique_ptr<store::csv::FileWriter>> writers;
    QStringList counts;
    const auto write = [&](const QString& name, const auto& rows) {
        writers.push_back(std::make_unique<store::csv::FileWriter>(QDir(out).filePath(name)));
        store::csv::FileWriter& writer = *writers.back();
        store::StoreResult done = writer.Begin();
        if (done) {
            done = rows(writer);
        }
        return done ? writer.Finish() : done;
    };
    for (store::DataFile file : AllDataFiles()) {
        const QString name = ExportFileName(store::FileNameOf(file));
        qint64 records = 0;
        if (const store::StoreResult done = write(name,
                                                  [&](store::csv::FileWriter& writer) {
                                                      return WriteDataFile(file, folder, writer,
                                                                           records);
                                                  });
            !done) {
            console.Error(done.text());
            return ExitFailure; // the writers take their part files away
        }
        counts << QStringLiteral("%1: %2 records").arg(name).arg(records);
    }
    const QString logName = ExportFileName(store::UserLogFileName);
    qint64 lines = 0;
    if (const store::StoreResult done = write(
            logName,
            [&](store::csv::FileWriter& writer) { return WriteUserLog(folder, writer, lines); });
        !done) {
        console.Error(done.text());
        return ExitFailure;
    }
    counts << QStringLiteral("%1: %2 lines").arg(logName).arg(lines);
    for (const std::unique_ptr<store::csv::FileWriter>& writer : writers) {
        if (const store::StoreResult named = writer->Commit(); !named) {
            console.Error(named.text());
            return ExitFailure;
        }
    }
    for (const QString& line : counts) {
        console.Line(line);
    }
    return ExitSuccess;
}

} // namespace datatool
