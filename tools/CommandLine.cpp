#include "tools/CommandLine.h"

#include <QDir>
#include <QFileInfo>

namespace datatool {

void Console::Line(const QString& text) const {
    out.write((text + u'\n').toUtf8());
}

void Console::Error(const QString& message) const {
    err.write((ToolName + QStringLiteral(": ") + message + u'\n').toUtf8());
}

QCommandLineOption DirOption() {
    return QCommandLineOption(QStringLiteral("dir"), QStringLiteral("Data folder."),
                              QStringLiteral("DIR"));
}

bool ParseArguments(QCommandLineParser& parser, const QList<QCommandLineOption>& options,
                    const QStringList& args, qsizetype maxPositional, const Console& console) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(DirOption());
    parser.addOptions(options);
    // The parser takes the first word as the program's name.
    if (!parser.parse(QStringList{ToolName} + args)) {
        console.Error(parser.errorText() + QStringLiteral(" (see --help)"));
        return false;
    }
    if (parser.positionalArguments().size() > maxPositional) {
        console.Error(QStringLiteral("unexpected argument '%1' (see --help)")
                          .arg(parser.positionalArguments().value(maxPositional)));
        return false;
    }
    return true;
}

QString DataFolderOption(const QCommandLineParser& parser) {
    return parser.isSet(QStringLiteral("dir")) ? parser.value(QStringLiteral("dir"))
                                               : QStringLiteral(".");
}

FolderScope::FolderScope(const QString& folder) : previous_(QDir::currentPath()) {
    entered_ = QFileInfo(folder).isDir() && QDir::setCurrent(folder);
}

FolderScope::~FolderScope() {
    if (entered_) {
        QDir::setCurrent(previous_);
    }
}

bool EnterFolder(FolderScope& scope, const QString& folder, const Console& console) {
    if (scope.Entered()) {
        return true;
    }
    const QFileInfo info(folder);
    if (!info.exists()) {
        console.Error(QStringLiteral("folder '%1' does not exist").arg(folder));
    } else if (!info.isDir()) {
        console.Error(QStringLiteral("'%1' is not a folder").arg(folder));
    } else {
        console.Error(QStringLiteral("cannot enter folder '%1'").arg(folder));
    }
    return false;
}

std::optional<qint64> WholeNumberOption(const QCommandLineParser& parser, const QString& name,
                                        qint64 fallback, qint64 minimum, qint64 maximum,
                                        const Console& console) {
    if (!parser.isSet(name)) {
        return fallback;
    }
    const QString text = parser.value(name);
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < minimum || value > maximum) {
        console.Error(QStringLiteral("bad number for --%1: '%2' (a whole number from %3 to %4)")
                          .arg(name, text)
                          .arg(minimum)
                          .arg(maximum));
        return std::nullopt;
    }
    return value;
}

} // namespace datatool
