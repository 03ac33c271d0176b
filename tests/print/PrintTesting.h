#pragma once

#include "print/RecordingPageWriter.h"
#include "ui/FlexGrid.h"
#include "ui/Form.h"

#include <QStringList>
#include <memory>

// Grids and windows for the printer's tests, shaped as the program's lists are.
namespace printtest {

using Text = print::RecordingPageWriter::Text;

// A grid with the given headings ("A|B|C") and rows (cells separated by tabs).
inline std::unique_ptr<FlexGrid> MakeGrid(const QString& headings, const QStringList& rows) {
    auto grid = std::make_unique<FlexGrid>();
    grid->SetFormatString(headings);
    for (const QString& row : rows)
        grid->AddItem(row);
    return grid;
}

// `count` Name List rows: "Person 1" ... with an organization, and hidden key columns.
inline QStringList NameRows(int count) {
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringLiteral("Person %1\tSquad %2\t3800%1\tsort%1\t%1").arg(i).arg(i % 3);
    return rows;
}

inline const QString NameHeadings =
    QStringLiteral("List of all active persons|Organization|Key|Sort|RecNum");

// A window as the Lobby is: its caption has blanks around it.
class Window : public Form {
public:
    Window() { SetCaption(QStringLiteral(" Mirtavel - Test Police Department ")); }
};

inline const QString Caption = QStringLiteral("Mirtavel - Test Police Department");

} // namespace printtest
