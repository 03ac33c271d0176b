#include "signin/AdminLists.h"

#include "forms/ListGrid.h"
#include "ui/FlexGrid.h"

#include <QHash>
#include <QRegularExpression>

namespace signin {

namespace {
// The grid's visible columns: name, access level and date created.
constexpr int ShownColumns = 3;
constexpr int RecNumColumn = 4;
} // namespace

print::ReportTable UserListTable(const FlexGrid& grid, const QList<ListedUser>& listed) {
    print::ReportTable table;
    table.title = QStringLiteral("User List");
    for (int col = 0; col < ShownColumns; ++col)
        table.columns.push_back({grid.TextMatrix(0, col)});
    table.identityHeading = QStringLiteral("User Identity");
    if (listgrid::DataRows(grid) < 1)
        return table;
    QHash<qint32, double> identities;
    for (const ListedUser& user : listed)
        identities.insert(user.recNum, user.identity);
    int row = 0;
    for (const qint32 recNum : listgrid::ShownNumbers(grid, RecNumColumn)) {
        ++row;
        print::ReportRow shown;
        for (int col = 0; col < ShownColumns; ++col)
            shown.cells << grid.TextMatrix(row, col);
        if (const auto found = identities.constFind(recNum); found != identities.cend())
            shown.identity = print::IdentityText(*found);
        table.rows.push_back(std::move(shown));
    }
    return table;
}

print::ReportTable UserLogTable(const QString& text) {
    print::ReportTable table;
    table.title = QStringLiteral("User Log");
    for (const char* heading : {"Date", "Time", "Event"})
        table.columns.push_back({QString::fromLatin1(heading)});
    // "03/07/2014 at 08:15:02 - First Last logged out."
    static const QRegularExpression logLine(
        QStringLiteral("^(\\d\\d/\\d\\d/\\d{4}) at (\\d\\d:\\d\\d:\\d\\d) - (.*)$"));
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = logLine.match(line);
        if (match.hasMatch())
            table.rows.push_back({{match.captured(1), match.captured(2), match.captured(3)}, {}});
        else
            table.rows.push_back({{QString(), QString(), line}, {}});
    }
    return table;
}

} // namespace signin
