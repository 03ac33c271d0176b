#include "print/ListPrintouts.h"

#include "forms/Messages.h"
#include "platform/StandardDialogs.h"
#include "print/PageWriter.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/Form.h"
#include "ui/ZovButton.h"

#include <QAction>
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace print {

namespace {

constexpr int RowsPerPage = 48;

bool ConfirmInMessageBox(const QString& title, const FlexGrid& grid) {
    return forms::Ask(title, forms::Icon::Question,
                      ConfirmationText(PageEstimate(grid.Rows())).split(QStringLiteral("\r\n")), 2,
                      {QStringLiteral("&Yes, print"), QStringLiteral("&No, do NOT print")}) == 1;
}

// The steps every list printout shares once it is confirmed (or previewed): a grid without
// data rows prints nothing and asks no more.
void PrintList(ReportKind kind, const FlexGrid& grid, Form& window, const ReportTexts& texts,
               const QString& documentName, Output output) {
    if (grid.Rows() < 2)
        return;
    RunPrintout(output, documentName, window,
                [&](PageWriter& out) { PrintGridReport(out, kind, grid, window, texts); });
}

} // namespace

int PageEstimate(int gridRows) {
    // The default rounding mode rounds halves to even.
    const double pages = std::nearbyint(static_cast<double>(gridRows - 1) / RowsPerPage);
    return std::max(1, static_cast<int>(pages));
}

QString ConfirmationText(int pages) {
    return QStringLiteral("This printout will consist\r\nof about ") + QString::number(pages) +
           QStringLiteral(" page(s).\r\n\r\nAre you ready to print?");
}

void PrintNameList(const FlexGrid& gridName, Form& lobby, Output output) {
    if (output != Output::Preview &&
        !ConfirmInMessageBox(QStringLiteral("Print the Name List?"), gridName))
        return;
    PrintList(NameListReport, gridName, lobby, {}, QStringLiteral("Name List"), output);
}

void PrintCourseIndex(const FlexGrid& gridCourse, Form& lobby, Output output) {
    if (output != Output::Preview &&
        !ConfirmInMessageBox(QStringLiteral("Print the Course Index?"), gridCourse))
        return;
    PrintList(CourseIndexReport, gridCourse, lobby, {}, QStringLiteral("Course Index"), output);
}

void PrintSearchSummary(const FlexGrid& gridSummary, Form& lobby, bool searchResults,
                        const ReportTexts& texts, Output output) {
    if (output != Output::Preview &&
        !ConfirmInMessageBox(QStringLiteral("Print the Search/Summary List?"), gridSummary))
        return;
    if (searchResults)
        PrintList(SearchResultsReport, gridSummary, lobby, texts, QStringLiteral("Search Results"),
                  output);
    else
        PrintList(AnnualSummaryReport, gridSummary, lobby, texts, QStringLiteral("Annual Summary"),
                  output);
}

void PrintTrainingHistory(const FlexGrid& gridTraining, Form& historyWindow, Output output) {
    if (output != Output::Preview &&
        platform::StandardMessage(QStringLiteral("Print the Training History?"),
                                  ConfirmationText(PageEstimate(gridTraining.Rows())),
                                  platform::StandardIcon::None, platform::StandardButtons::YesNo,
                                  &historyWindow) != platform::StandardAnswer::Yes)
        return;
    PrintList(TrainingHistoryReport, gridTraining, historyWindow, {},
              QStringLiteral("Training History"), output);
}

void PrintHelpTopic(Form& helpWindow, const QString& text, const QString& topicCaption,
                    Output output) {
    // The help box may hand over its lines separated by LF alone; the printer breaks at CR LF.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\n', QStringLiteral("\r\n"));
    const QString title = AppTitle() + QStringLiteral(", Help Section: ") + topicCaption;
    RunPrintout(output, QStringLiteral("Help"), helpWindow, [&](PageWriter& out) {
        out.SetFontName(QStringLiteral("Courier"));
        out.SetFontName(QStringLiteral("Arial"));
        out.SetFontSize(10);
        out.SetFontBold(false);
        out.SetFontItalic(false);
        out.SetFontUnderline(false);
        WrapOptions options;
        options.underlineTitle = true;
        options.leftMargin = 1.0;
        options.rightMargin = 7.5;
        PrintWrappedText(out, helpWindow, lines, title, options);
    });
}

void ConnectPrintButton(ZovButton* button, std::function<void(Output)> print) {
    auto shared = std::make_shared<std::function<void(Output)>>(std::move(print));
    QObject::connect(button, &ZovButton::Click, button, [shared] { (*shared)(Output::Printer); });
    auto* preview = new QAction(QStringLiteral("Print Pre&view..."), button);
    auto* pdf = new QAction(QStringLiteral("Save as &PDF..."), button);
    QObject::connect(preview, &QAction::triggered, button,
                     [shared] { (*shared)(Output::Preview); });
    QObject::connect(pdf, &QAction::triggered, button, [shared] { (*shared)(Output::Pdf); });
    button->addAction(preview);
    button->addAction(pdf);
    // Screen readers offer the menu as the button's second action.
    button->setContextMenuPolicy(Qt::ActionsContextMenu);
}

} // namespace print
