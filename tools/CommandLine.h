#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What the commands of mirtavel-data share: where they write, how they end, how their
// options are read and how they reach the data folder.
namespace datatool {

inline const QString ToolName = QStringLiteral("mirtavel-data");

enum ExitCode {
    ExitSuccess = 0,
    ExitFailure = 1, // check found something; a file could not be read or written; refusal
    ExitUsage = 2,   // unknown command, option or file, bad number, missing folder
};

// Standard output and standard error, or buffers under test.
struct Console {
    QIODevice& out;
    QIODevice& err;

    void Line(const QString& text) const;     // one line on out
    void Error(const QString& message) const; // "mirtavel-data: message" on err
};

// Reads `args` (the words after the command) against the command's options plus --dir.
// Writes the reason to err and gives false when they do not parse, or when there are more
// positional arguments than `maxPositional`.
bool ParseArguments(QCommandLineParser& parser, const QList<QCommandLineOption>& options,
                    const QStringList& args, qsizetype maxPositional, const Console& console);

// --dir, or the current directory when it is not given.
QString DataFolderOption(const QCommandLineParser& parser);
QCommandLineOption DirOption();

// The record store reads and writes its files in the current directory: this makes the
// data folder current for the life of the object and restores the previous one after.
class FolderScope {
public:
    explicit FolderScope(const QString& folder);
    ~FolderScope();
    FolderScope(const FolderScope&) = delete;
    FolderScope& operator=(const FolderScope&) = delete;

    bool Entered() const { return entered_; }

private:
    QString previous_;
    bool entered_ = false;
};

// Enters the folder, or explains on err why not (missing, not a folder).
bool EnterFolder(FolderScope& scope, const QString& folder, const Console& console);

// The value of a whole-number option, from `minimum` to `maximum`; `fallback` when the
// option is absent. Nothing, after a message on err, for any other text.
std::optional<qint64> WholeNumberOption(const QCommandLineParser& parser, const QString& name,
                                        qint64 fallback, qint64 minimum, qint64 maximum,
                                        const Console& console);

} // namespace datatool
