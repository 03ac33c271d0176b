// Times the import window's preview of a 10,000-row training import against 32,767 persons
// and 2,000 courses: Next pressed (the plan and the preview list filled) against making the
// plan alone in the same run. Prints figures; run with QT_QPA_PLATFORM=offscreen.
//
//   bench_import_window [ROWS [RECORDS]]   defaults 10000 300000

#include "BenchSupport.h"
#include "forms/frmImport.h"
#include "store/Clock.h"
#include "store/TrainingImport.h"
#include "tools/SampleData.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <cstdio>

using namespace store::csvimport;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    datatool::SampleOptions options;
    options.persons = 32767;
    options.courses = 2000;
    options.records = argc > 2 ? QString::fromLocal8Bit(argv[2]).toLongLong() : 300000;
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        bench::Fail(QStringLiteral("no temporary folder"));
    datatool::SampleSummary summary;
    bench::Check(datatool::WriteSample(".", options, summary));
    store::csv::Table table;
    bench::Check(
        store::csv::Parse(bench::ImportSheet(rows, 7), QStringLiteral("sheet.csv"), table));
    const ColumnMap map = MatchColumns(table.records.front().fields, Kind::Training);

    TrainingImport plan;
    const double planned = bench::BestSeconds([&] {
        bench::Check(PlanTrainingImport(table, map, store::CurrentDateTime().date(), plan));
    });
    const Session session{QStringLiteral("Bench Mark"), AccessLevel::ReadEditAdd, false, {}};
    frmImport window(nullptr, session, Kind::Training, QStringLiteral("sheet.csv"), table);
    window.show();
    const double previewed = bench::BestSeconds([&] {
        window.cmdBack->PerformClick();
        window.cmdNext->PerformClick();
    });
    if (window.gridRows->Rows() != rows + 1)
        bench::Fail(QStringLiteral("the preview does not list every row"));

    std::printf("Training import of %d rows against %d persons, %d courses, %lld records\n", rows,
                options.persons, options.courses, static_cast<long long>(options.records));
    std::printf("  %s\n", qPrintable(window.lblCounts->text()));
    std::printf("  the plan alone                  %8.3f s\n", planned);
    std::printf("  Next: the plan and its preview  %8.3f s   (ratio %.2f)\n", previewed,
                previewed / planned);
    bench::PrintPeak("after the preview");
    return 0;
}
