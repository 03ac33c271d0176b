#pragma once

#include "print/PrintOutput.h"
#include "print/ReportTable.h"

#include <QString>
#include <functional>
#include <optional>

class Form;
class ZovButton;

// What each print button does: estimate the pages, ask, and print its list on the output
// asked for. A declined question prints nothing; a preview asks nothing, as it prints nothing
// until the user prints from it.
namespace print {

// 48 data rows to a page, rounded halves to even, at least 1: 24 rows give 1, 72 give 2,
// 120 give 2. `gridRows` counts the heading row, as the list shows one above its rows.
int PageEstimate(int gridRows);
// "This printout will consist" / "of about n page(s)." / "" / "Are you ready to print?"
QString ConfirmationText(int pages);

// The Lobby's lists (the Lobby is `lobby`, disabled while printing).
void PrintNameList(const ReportTable& table, Form& lobby, Output output = Output::Printer);
void PrintCourseIndex(const ReportTable& table, Form& lobby, Output output = Output::Printer);
// The search results or the annual summary, whichever `table` holds.
void PrintSearchSummary(const ReportTable& table, Form& lobby, Output output = Output::Printer);

// Who is due, from the Lobby's page.
void PrintDueList(const ReportTable& table, Form& lobby, Output output = Output::Printer);

// A person's training history, from the training history window.
void PrintTrainingHistory(const ReportTable& table, Form& historyWindow,
                          Output output = Output::Printer);

// The change log as the viewer lists it (`viewer` is its window).
void PrintChangeLog(const ReportTable& table, Form& viewer, Output output = Output::Printer);

// The help topic shown: `text` is the whole text of the help box, `topicCaption` the caption
// of the topic's menu item as it is (leading blanks too). Asks nothing.
void PrintHelpTopic(Form& helpWindow, const QString& text, const QString& topicCaption,
                    Output output = Output::Printer);

// Connects a list's print button: a click prints, and its menu (right click or the menu key)
// offers "Print Preview...", "Save as PDF..." and "Export to CSV...". `print` is called with
// the output chosen; an export saves what `table` gives when it is chosen (nothing when it
// gives none, having told why).
void ConnectPrintButton(ZovButton* button, std::function<void(Output)> print,
                        std::function<std::optional<ReportTable>()> table);

} // namespace print
