#include "search/SearchControls.h"

#include "forms/PageControls.h"
#include "platform/Twips.h"
#include "ui/FlexGrid.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace search {

namespace {

using forms::MakePageButton;
using platform::PlaceTwips;
using Kind = forms::PageButton;

QLabel* MakeLabel(QWidget* parent, const QString& caption, int left, int top, int width) {
    auto* label = ui::NewPlainLabel(caption, parent);
    PlaceTwips(label, left, top, width, 255);
    return label;
}

QLineEdit* MakeBox(QWidget* parent, int maxLength, int left, int top, int width) {
    auto* box = new QLineEdit(parent);
    box->setMaxLength(maxLength);
    PlaceTwips(box, left, top, width, 315);
    return box;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& caption, int left, int top) {
    auto* check = new QCheckBox(caption, parent);
    PlaceTwips(check, left, top, 5400, 315);
    return check;
}

// Two options of which one is always chosen: clicking the chosen one keeps it.
void MakeOptions(std::array<QRadioButton*, 3>& options, QWidget* parent, int left, int top,
                 int step, int width, int height) {
    auto* group = new QButtonGroup(parent);
    group->setExclusive(true);
    for (int i = 1; i <= 2; ++i) {
        options[std::size_t(i)] = new QRadioButton(parent);
        PlaceTwips(options[std::size_t(i)], left, top + step * (i - 1), width, height);
        group->addButton(options[std::size_t(i)]);
    }
    options[1]->setChecked(true);
}

void BuildOptionsPage(SearchControls& c, QWidget* page) {
    MakeOptions(c.optSearch, page, 240, 240, 1320, 4200, 960);

    // Search criteria.
    c.frame[1] = new QGroupBox(page);
    QGroupBox* criteria = c.frame[1];
    PlaceTwips(criteria, 4680, 120, 5880, 5640);
    MakeLabel(criteria, QStringLiteral("Date (or from...    ... to)"), 240, 240, 4000);
    c.txtMatch[0] = MakeBox(criteria, 10, 240, 510, 1560);
    c.txtMatch[1] = MakeBox(criteria, 10, 1920, 510, 1560);
    MakeLabel(criteria, QStringLiteral("Course Code"), 240, 1020, 4000);
    c.txtMatch[2] = MakeBox(criteria, 8, 240, 1290, 1560);
    // Made right after the code so that Tab goes from one to the other.
    MakeLabel(criteria, QStringLiteral("Course Name (whole or partial)"), 1920, 1020, 3720);
    c.txtMatch[4] = MakeBox(criteria, 50, 1920, 1290, 3720);
    MakeLabel(criteria, QStringLiteral("Training Comments (whole or partial)"), 240, 1800, 5000);
    c.txtMatch[3] = MakeBox(criteria, 20, 240, 2070, 3240);

    c.frameMatch = new QGroupBox(QStringLiteral(" Find records that... "), criteria);
    PlaceTwips(c.frameMatch, 240, 2640, 3240, 1620);
    MakeOptions(c.optMatch, c.frameMatch, 180, 300, 600, 2900, 540);
    c.cmdMatch = MakePageButton(criteria, Kind::Proceed, 240, 4560, 3240, 600);
    c.cmdMatch->setEnabled(false);

    // Annual summary year, in the same place; only one of the two frames shows.
    c.frame[2] = new QGroupBox(page);
    QGroupBox* year = c.frame[2];
    PlaceTwips(year, 4680, 120, 5880, 4080);
    c.txtSummaryYear = MakeBox(year, 4, 240, 420, 900);
    c.txtSummaryYear->setAlignment(Qt::AlignCenter);
    MakeLabel(year, QStringLiteral("for the year"), 1260, 450, 2400);
    c.chkBelowRequired =
        MakeCheck(year, QStringLiteral("Show only persons below the required hours"), 240, 900);
    c.chkWithoutTraining =
        MakeCheck(year, QStringLiteral("Include persons without training"), 240, 1260);
    c.cmdAnnualSummary = MakePageButton(year, Kind::Proceed, 240, 1740, 3240, 600);
    c.cmdAnnualSummary->setEnabled(false);
    c.lblRequiredHours = MakeLabel(year, QString(), 240, 2760, 5400);
    c.cmdRequiredHours = MakePageButton(year, Kind::Record, 240, 3120, 3240, 600);
    year->hide();
}

void BuildResultsPage(SearchControls& c, QWidget* page) {
    c.gridSummary = forms::MakePageGrid(page, 120, 120, 7100);
    c.lblTotalHours = MakeLabel(page, QString(), 120, 5700, 2900);
    c.lblTotalHours->hide();
    c.lblPersonCount = MakeLabel(page, QString(), 3120, 5700, 4100);
    c.lblPersonCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.lblPersonCount->hide();
    c.cmdSummaryTrainingHistory = MakePageButton(page, Kind::Proceed, 7500, 420, 2940, 510);
    c.cmdSummaryPrint = MakePageButton(page, Kind::Print, 7500, 1140, 2940, 600);
    c.cmdFinishedSummary = MakePageButton(page, Kind::Flash, 7500, 4800, 2940, 720);
}

} // namespace

SearchControls BuildSearchControls(QWidget* optionsPage, QWidget* resultsPage) {
    SearchControls c;
    BuildOptionsPage(c, optionsPage);
    BuildResultsPage(c, resultsPage);
    return c;
}

} // namespace search
