#pragma once

#include "forms/LobbyPage.h"
#include "print/ReportTable.h"
#include "search/SearchControls.h"
#include "search/SearchHost.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class QLineEdit;
class QWidget;
namespace store {
class StoreResult;
}

namespace search {

class ResultRows;

// Where the results grid keeps what it shows of a person: the name in column 0, then the
// organisation (search) or the hours (summary), which the summary follows with the
// organisation; the keys lie beyond the right edge.
struct ResultColumns {
    int organization = -1; // where the summary shows it; the search shows it in column 1
    int identity = 2;
    int sortName = 3;
    int recNum = 4;
    int LastShown() const { return identity - 1; }
    int Count() const { return recNum + 1; }
};

// The search for persons by their training records and the annual summary of their hours,
// on two pages of the Lobby: the options (criteria or year) and the results, which stay
// until "Finished with this Search/Summary". The page builds its controls on the two tab
// pages it is given and connects their handlers itself; it reaches the Lobby through
// SearchHost and tells it by signal when results show and close, since the tabs are the
// Lobby's.
class SearchPage : public QObject, public LobbyPage {
    Q_OBJECT

public:
    SearchPage(SearchHost& host, QWidget* optionsPage, QWidget* resultsPage);
    ~SearchPage() override;

    const SearchControls& Controls() const { return c_; }

    // ---- As every page of the Lobby.
    // The search lists nothing until asked; what it fills are its options' captions, which
    // name the Name List's display choice.
    void Fill() override;
    void SetUpButtons() override;            // captions and tooltips of the pages' buttons
    ListRecord Highlighted() const override; // the highlighted person of the results
    void TakeFocus() override;               // the options page was chosen

    void FirstActivation(); // the captions of the match options
    bool ResultsShown() const { return shown_ != Shown::None; }
    // The results as they show, for printing: each person's name and organization (or hours)
    // under the results' headings, with the search's criteria or the summary's year and total.
    print::ReportTable Table() const;
    // The same saved for a spreadsheet, which also gives each person's employee ID and
    // organization (what a training board's forms ask for); the results show the organization
    // already, the summary shows the hours in its place. None when the IDs cannot be read,
    // which the user is told.
    std::optional<print::ReportTable> ExportTable() const;

    // ---- Handlers.
    void optSearch_Click(int index);
    void optMatch_Click(int index);
    void txtMatch_Change();
    void txtSummaryYear_Change();
    void cmdMatch_Click();
    void cmdAnnualSummary_Click();
    void cmdFinishedSummary_Click();
    void cmdSummaryTrainingHistory_Click();
    // Asks a Read/Edit/Add/Delete user for the training hours required of every person in a
    // year, kept with the data.
    void cmdRequiredHours_Click();

signals:
    // Results show on the results page under `caption`. While they show, the options page
    // is captioned `criteriaCaption`, or is out of reach when that is empty.
    void ResultsOpened(const QString& caption, const QString& criteriaCaption);
    // "Finished with this Search/Summary": the Lobby's pages are back as they were.
    void ResultsClosed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Shown { None, Search, Summary };
    // The results' items in the order the grid shows them.
    std::vector<qint32> ShownItems() const;

    void ConnectHandlers();
    bool Storable(QLineEdit* box, const QString& entry);
    bool CheckEntries();
    void BeginResults(const QString& format, const ResultColumns& columns, int widthCol, int width);
    void EndResults(Shown shown, int widenCol, const QString& caption,
                    const QString& criteriaCaption, const QString& countLine);
    // The required hours of the data set as the options show them; 0 when there are none or
    // they cannot be read (which `tell` tells the user).
    float ShowRequiredHours(bool tell);
    void ShowProgress(ZovButton* button, int percent);
    void NothingFound(ZovButton* button, const QStringList& lines);
    void PassFailed(ZovButton* button, const store::StoreResult& result);
    void AddRows(std::shared_ptr<ResultRows> rows);

    SearchHost& host_;
    SearchControls c_;
    Shown shown_ = Shown::None;                 // which results the results page shows
    ResultColumns columns_;                     // of the results shown
    std::shared_ptr<const ResultRows> results_; // the rows the results page holds
};

} // namespace search
