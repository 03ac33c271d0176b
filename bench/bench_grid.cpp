// Times a grid filled to the largest record count (32,767 rows), sorted, and widened until
// its key columns are out of view, against a plain sort of the same texts. Prints figures;
// run with QT_QPA_PLATFORM=offscreen.

#include "platform/Twips.h"
#include "ui/FlexGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int RowCount = 32767;
constexpr int Rounds = 3;

// Name-list-like rows: display name, organisation, date key, sort key in mixed case, number.
QStringList MakeRows() {
    std::mt19937 random(20250301);
    const QStringList first{"Ann", "bob", "Carla", "dave", "Erin", "Frank", "gina", "Hal"};
    const QStringList last{"Lee",   "de Vries", "MOE",   "smith",
                           "Smith", "o'Neil",   "Baker", "van Dyke"};
    QStringList rows;
    rows.reserve(RowCount);
    for (int n = 1; n <= RowCount; ++n) {
        const QString given = first[random() % first.size()];
        const QString family = last[random() % last.size()] + QString::number(random() % 5000);
        rows << QString("%1 %2\tPolice Department %3\t%4\t%2 %1\t%5")
                    .arg(given, family)
                    .arg(random() % 40)
                    .arg(38000.0 + n / 7.0, 0, 'g', 15)
                    .arg(n);
    }
    return rows;
}

double Ms(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

struct GridTimes {
    double fill = 0;
    double sort = 0;
    double redrawOn = 0;
    double firstPaint = 0;
};

GridTimes FillAndSort(FlexGrid& grid, const QStringList& rows) {
    GridTimes times;
    QElapsedTimer timer;
    grid.hide();
    timer.start();
    grid.SetRows(1);
    grid.SetFormatString("|Organization|^DateCreated|NameSort|RecNum");
    grid.SetRedraw(false);
    for (const QString& row : rows)
        grid.AddItem(row);
    times.fill = Ms(timer);

    timer.start();
    grid.SetCol(3);
    grid.Sort();
    times.sort = Ms(timer);

    grid.show();
    timer.start();
    grid.SetRedraw(true);
    times.redrawOn = Ms(timer);

    timer.start();
    grid.grab();
    times.firstPaint = Ms(timer);
    return times;
}

double PlainSort(const QStringList& rows) {
    std::vector<QString> keys;
    keys.reserve(rows.size());
    for (const QString& row : rows)
        keys.push_back(row.section(QLatin1Char('\t'), 3, 3));
    QElapsedTimer timer;
    timer.start();
    std::sort(keys.begin(), keys.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return Ms(timer);
}

double WidenUntilHidden(FlexGrid& grid, int* steps) {
    grid.SetColWidth(0, 4000);
    grid.SetColWidth(1, 2400);
    QElapsedTimer timer;
    timer.start();
    *steps = 0;
    while (grid.ColIsVisible(2)) {
        grid.SetColWidth(1, grid.ColWidth(1) + 15);
        ++*steps;
    }
    return Ms(timer);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList rows = MakeRows();

    FlexGrid grid;
    grid.resize(platform::Twips(8700), 10);
    grid.SetHeight(19 * grid.RowHeight(0));

    GridTimes best{1e18, 1e18, 1e18, 1e18};
    double plain = 1e18;
    for (int round = 0; round < Rounds; ++round) {
        const GridTimes times = FillAndSort(grid, rows);
        best.fill = std::min(best.fill, times.fill);
        best.sort = std::min(best.sort, times.sort);
        best.redrawOn = std::min(best.redrawOn, times.redrawOn);
        best.firstPaint = std::min(best.firstPaint, times.firstPaint);
        plain = std::min(plain, PlainSort(rows));
    }
    if (grid.Rows() != RowCount + 1)
        std::fprintf(stderr, "unexpected row count %d\n", grid.Rows());

    std::printf("bench_grid: %d rows x 5 columns, best of %d rounds\n", RowCount, Rounds);
    std::printf("  fill (AddItem, redraw off)      %9.2f ms\n", best.fill);
    std::printf("  sort on column 3 (grid)         %9.2f ms\n", best.sort);
    std::printf("  sort, std::sort case-insensitive%9.2f ms\n", plain);
    std::printf("  ratio grid sort / std::sort     %9.2f (target within 5)\n", best.sort / plain);
    std::printf("  redraw on (view told at once)   %9.2f ms\n", best.redrawOn);
    std::printf("  first paint after redraw on     %9.2f ms\n", best.firstPaint);

    // The same fill with redraw left on: the view hears of every row as it comes.
    {
        grid.SetRows(1);
        QElapsedTimer timer;
        timer.start();
        for (const QString& row : rows)
            grid.AddItem(row);
        std::printf("  fill (AddItem, redraw on, shown)%9.2f ms\n", Ms(timer));
    }

    int steps = 0;
    const double shown = WidenUntilHidden(grid, &steps);
    std::printf("  widen until column 2 hidden     %9.2f ms (%d steps, grid shown)\n", shown,
                steps);
    grid.hide();
    const double hidden = WidenUntilHidden(grid, &steps);
    std::printf("  widen until column 2 hidden     %9.2f ms (%d steps, grid hidden)\n", hidden,
                steps);
    return 0;
}
