#pragma once

#include "search/SearchHost.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class FlexGrid;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class ZovButton;
namespace store {
class StoreResult;
}

namespace search {

// The controls of the Lobby's "Search && Summary Options" and "Summary Results" pages, as
// the Lobby's layout creates them. Arrays keep index 0 unused where the numbering starts at 1.
struct SearchControls {
    std::array<QRadioButton*, 3> optSearch{}; // 1 search, 2 annual summary
    std::array<QGroupBox*, 3> frame{};        // 1 search criteria, 2 summary year
    std::array<QLineEdit*, 4> txtMatch{};     // 0 from, 1 to, 2 course code, 3 comments
    QGroupBox* frameMatch = nullptr;
    std::array<QRadioButton*, 3> optMatch{}; // 1 match, 2 do NOT match
    ZovButton* cmdMatch = nullptr;
    QLineEdit* txtSummaryYear = nullptr;
    ZovButton* cmdAnnualSummary = nullptr;
    FlexGrid* gridSummary = nullptr;
    QLabel* lblTotalHours = nullptr;
    ZovButton* cmdSummaryTrainingHistory = nullptr;
    ZovButton* cmdSummaryPrint = nullptr;
    ZovButton* cmdFinishedSummary = nullptr;
};

// The search for persons by their training records and the annual summary of their hours,
// on two pages of the Lobby: the options (criteria or year) and the results, which stay
// until "Finished with this Search/Summary". The Lobby hands over the pages' controls and
// answers through SearchHost; the page connects its controls' handlers itself.
class SearchPage : public QObject {
    Q_OBJECT

public:
    SearchPage(SearchHost& host, const SearchControls& controls);
    ~SearchPage() override;

    // ---- Called by the Lobby.
    void FirstActivation();  // the captions of the match options
    void OptionsPageShown(); // the options' captions from the display choice
    void SetUpButtons();     // captions and tooltips of the pages' buttons
    bool ResultsShown() const;

    // ---- Handlers.
    void optSearch_Click(int index);
    void optMatch_Click(int index);
    void txtMatch_Change();
    void txtSummaryYear_Change();
    void cmdMatch_Click();
    void cmdAnnualSummary_Click();
    void cmdFinishedSummary_Click();
    void cmdSummaryTrainingHistory_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectHandlers();
    bool CheckEntries();
    void BeginResults(const QString& format, int widthCol, int width);
    void EndResults(int widenCol);
    void ShowProgress(ZovButton* button, int percent);
    void NothingFound(ZovButton* button, const QStringList& lines);
    void PassFailed(ZovButton* button, const store::StoreResult& result);

    SearchHost& host_;
    SearchControls c_;
    QString savedOptionsCaption_; // the options page's caption while a search's results show
    bool resultsShown_ = false;
};

} // namespace search
