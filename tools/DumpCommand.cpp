#include "tools/DumpCommand.h"

#include "tools/Json.h"

namespace datatool {
namespace {

// Output is gathered and written in blocks of about this size.
constexpr qsizetype FlushSize = 1 << 16;

void AppendValue(QByteArray& out, FieldKind kind, const FieldValue& value) {
    switch (kind) {
    case FieldKind::Text:
        json::AppendString(out, value.text);
        return;
    case FieldKind::Date:
        json::AppendNumber(out, value.number);
        return;
    case FieldKind::Hours:
        // The single widened to a double exactly; narrowing gives the stored single back.
        json::AppendNumber(out, static_cast<float>(value.number));
        return;
    case FieldKind::Integer:
        json::AppendInteger(out, static_cast<qint64>(value.number));
        return;
    }
}

} // namespace

QByteArray DumpLine(const RecordLayout& layout, qint32 recordNumber, const RecordRow& row) {
    QByteArray line("{\"RecNum\":");
    json::AppendInteger(line, recordNumber);
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        line.append(",\"").append(layout.fields[i].name).append("\":");
        AppendValue(line, layout.fields[i].kind, row.values[i]);
    }
    line.append("}\n");
    return line;
}

int RunDump(const QStringList& args, const Console& console) {
    QCommandLineParser parser;
    if (!ParseArguments(parser, {}, args, 1, console)) {
        return ExitUsage;
    }
    if (parser.positionalArguments().isEmpty()) {
        console.Error(QStringLiteral("dump needs a FILE: User.List, Name.List, Course.Index "
                                     "or Training.Records (see --help)"));
        return ExitUsage;
    }
    const QString name = parser.positionalArguments().constFirst();
    const std::optional<store::DataFile> file = DataFileNamed(name);
    if (!file) {
        console.Error(QStringLiteral("unknown file '%1': expected User.List, Name.List, "
                                     "Course.Index or Training.Records")
                          .arg(name));
        return ExitUsage;
    }
    const QString folder = DataFolderOption(parser);
    FolderScope scope(folder);
    if (!EnterFolder(scope, folder, console)) {
        return ExitUsage;
    }

    const RecordLayout& layout = LayoutOf(*file);
    QByteArray block;
    const store::StoreResult result =
        ForEachRecord(*file, [&](qint32 recordNumber, const RecordRow& row) {
            block.append(DumpLine(layout, recordNumber, row));
            if (block.size() >= FlushSize) {
                console.out.write(block);
                block.clear();
            }
        });
    console.out.write(block);
    if (!result) {
        console.Error(result.text());
        return ExitFailure;
    }
    return ExitSuccess;
}

} // namespace datatool
