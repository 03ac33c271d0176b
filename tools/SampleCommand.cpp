#include "tools/SampleCommand.h"

#include "tools/SampleData.h"

#include "store/RecordStore.h"

#include <QDir>
#include <QFileInfo>

namespace datatool {
namespace {

const QString Persons = QStringLiteral("persons");
const QString Courses = QStringLiteral("courses");
const QString Records = QStringLiteral("records");
const QString Seed = QStringLiteral("seed");
const QString Force = QStringLiteral("force");

QList<QCommandLineOption> SampleOptionList() {
    return {
        {Persons, QStringLiteral("Persons."), QStringLiteral("N")},
        {Courses, QStringLiteral("Courses and headings."), QStringLiteral("N")},
        {Records, QStringLiteral("Training records."), QStringLiteral("N")},
        {Seed, QStringLiteral("Seed."), QStringLiteral("S")},
        {Force, QStringLiteral("Replace existing files.")},
    };
}

std::optional<SampleOptions> ReadOptions(const QCommandLineParser& parser, const Console& console) {
    const SampleOptions defaults;
    const auto persons =
        WholeNumberOption(parser, Persons, defaults.persons, 0, store::MaxListRecords, console);
    const auto courses =
        WholeNumberOption(parser, Courses, defaults.courses, 0, store::MaxListRecords, console);
    const auto records =
        WholeNumberOption(parser, Records, defaults.records, 0, store::MaxTrainingRecords, console);
    const auto seed = WholeNumberOption(parser, Seed, qint64(defaults.seed), 0,
                                        std::numeric_limits<qint64>::max(), console);
    if (!persons || !courses || !records || !seed) {
        return std::nullopt;
    }
    SampleOptions options;
    options.persons = qint32(*persons);
    options.courses = qint32(*courses);
    options.records = *records;
    options.seed = quint64(*seed);
    if (const QString problem = SampleOptionsProblem(options); !problem.isEmpty()) {
        console.Error(problem);
        return std::nullopt;
    }
    return options;
}

} // namespace

int RunSample(const QStringList& args, const Console& console) {
    QCommandLineParser parser;
    if (!ParseArguments(parser, SampleOptionList(), args, 0, console)) {
        return ExitUsage;
    }
    const std::optional<SampleOptions> options = ReadOptions(parser, console);
    if (!options) {
        return ExitUsage;
    }
    const QString folder = DataFolderOption(parser);
    // A new data set usually goes to a new folder: it is made, with any folders above it.
    if (!QFileInfo::exists(folder) && !QDir().mkpath(folder)) {
        console.Error(QStringLiteral("cannot make folder '%1'").arg(folder));
        return ExitFailure;
    }
    FolderScope scope(folder);
    if (!EnterFolder(scope, folder, console)) {
        return ExitUsage;
    }
    const QStringList existing = ExistingRecordFiles(QStringLiteral("."));
    if (!existing.isEmpty() && !parser.isSet(Force)) {
        console.Error(QStringLiteral("'%1' already holds %2; nothing written (--force replaces "
                                     "them)")
                          .arg(folder, existing.join(QStringLiteral(", "))));
        return ExitFailure;
    }

    SampleSummary summary;
    if (const store::StoreResult result = WriteSample(QStringLiteral("."), *options, summary);
        !result) {
        console.Error(result.text());
        return ExitFailure;
    }
    console.Line(QStringLiteral("Wrote %1 persons, %2 courses (%3 headings), %4 training "
                                "records and 1 user to %5")
                     .arg(options->persons)
                     .arg(options->courses)
                     .arg(summary.headings)
                     .arg(options->records)
                     .arg(folder));
    console.Line(QStringLiteral("Sign in as %1 %2 with password %3")
                     .arg(summary.userFirstName, summary.userLastName, summary.userPassword));
    return ExitSuccess;
}

} // namespace datatool
