#include "print/ReportTable.h"

#include <QLocale>
#include <array>

namespace print {

namespace {

// Where one printed column begins, and where it ends when its cells are hours.
struct Place {
    double left;
    double right;
    bool hours;
};

struct Layout {
    const char* title;
    std::array<Place, 7> places;
    int count;
};

constexpr Place Left(double left, double right) {
    return {left, right, false};
}

Layout LayoutOf(ReportKind kind) {
    switch (kind) {
    case NameListReport:
        return {"Name List", {Left(0.5, 4.0), Left(4.0, 7.5)}, 2};
    case SearchResultsReport:
        return {"Search Results", {Left(0.5, 4.0), Left(4.0, 7.5)}, 2};
    case CourseIndexReport:
        return {"Course Index",
                {Left(0.5, 1.4), Left(1.4, 4.6), Left(4.6, 7.15), Place{7.15, 7.45, true}},
                4};
    case TrainingHistoryReport:
        return {"Training History",
                {Left(0.5, 1.3), Left(1.3, 2.2), Left(2.2, 5.3), Left(5.3, 7.15),
                 Place{7.15, 7.45, true}},
                5};
    case AnnualSummaryReport:
        return {"Annual Summary", {Left(0.5, 4.0), Place{4.0, 4.3, true}, Left(5.8, 7.5)}, 3};
    case DueListReport:
        // The course's name last: the longest, it runs on under itself when it is long.
        return {"Who is Due",
                {Left(0.5, 2.3), Left(2.3, 3.5), Left(3.5, 4.2), Left(4.2, 4.95), Left(4.95, 5.7),
                 Left(5.7, 6.35), Left(6.35, 7.5)},
                7};
    case ChangeLogReport:
        return {"Change Log",
                {Left(0.5, 1.75), Left(1.75, 2.65), Left(2.65, 3.55), Left(3.55, 5.35),
                 Left(5.35, 7.5)},
                5};
    }
    return {"", {}, 0};
}

} // namespace

QString IdentityText(double identity) {
    return QString::number(identity, 'g', QLocale::FloatingPointShortest);
}

ReportTable ListTable(ReportKind kind, const QStringList& headings) {
    const Layout layout = LayoutOf(kind);
    ReportTable table;
    table.title = QString::fromLatin1(layout.title);
    for (int c = 0; c < layout.count; ++c) {
        const Place& place = layout.places[std::size_t(c)];
        table.columns.push_back({headings.value(c), place.left, place.right, place.hours});
    }
    return table;
}

} // namespace print
