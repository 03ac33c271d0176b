#include "tools/CheckCommand.h"

#include "store/DataCheck.h"

namespace datatool {

CheckOutcome CheckDataFiles(const std::function<void(const QString&)>& report) {
    const store::DataCheckOutcome checked = store::CheckDataFolder(
        QStringLiteral("."), [&report](const QString&, const QString& line) { report(line); });
    return {checked.findings, checked.failures};
}

int RunCheck(const QStringList& args, const Console& console) {
    QCommandLineParser parser;
    if (!ParseArguments(parser, {}, args, 0, console)) {
        return ExitUsage;
    }
    const QString folder = DataFolderOption(parser);
    FolderScope scope(folder);
    if (!EnterFolder(scope, folder, console)) {
        return ExitUsage;
    }
    const CheckOutcome outcome =
        CheckDataFiles([&console](const QString& line) { console.Line(line); });
    for (const store::StoreResult& failure : outcome.failures) {
        console.Error(failure.text());
    }
    if (!outcome.failures.isEmpty()) {
        return ExitFailure;
    }
    if (outcome.findings > 0) {
        return ExitFailure;
    }
    console.Line(QStringLiteral("OK"));
    return ExitSuccess;
}

} // namespace datatool
