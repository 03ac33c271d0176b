#include "tools/CheckCommand.h"

#include "store/ChangeLog.h"
#include "store/DataCheck.h"

namespace datatool {

CheckOutcome CheckDataFiles(const std::function<void(const QString&)>& report) {
    const store::DataCheckOutcome checked = store::CheckDataFolder(
        QStringLiteral("."), [&report](const QString&, const QString& line) { report(line); });
    CheckOutcome outcome{checked.findings, checked.failures};
    // The change log's chain: the first line altered, removed or inserted.
    store::changelog::ChainCheck chain;
    if (store::StoreResult read = store::changelog::CheckChain(chain); !read) {
        outcome.failures.append(read);
    } else if (chain.fault != store::changelog::ChainCheck::Fault::None) {
        report(store::ChangeLogFileName + QStringLiteral(": ") + chain.Describe());
        ++outcome.findings;
    }
    return outcome;
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
