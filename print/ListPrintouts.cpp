#include "print/ListPrintouts.h"

#include "forms/Messages.h"
#include "platform/StandardDialogs.h"
#include "print/ListExport.h"
#include "print/PageWriter.h"
#include "print/ReportPrinter.h"
#include "ui/AppTitle.h"
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

// The rows of a list with its heading row, as the page estimate counts them.
int ShownRows(const ReportTable& table) {
    return static_cast<int>(table.rows.size()) + 1;
}

bool ConfirmInMessageBox(const QString& title, const ReportTable& table) {
    return forms::Ask(
               title, forms::Icon::Question,
               ConfirmationText(PageEstimate(ShownRows(table))).split(QStringLiteral("\r\n")), 2,
               {QStringLiteral("&Yes, print"), QStringLiteral("&No, do NOT print")}) == 1;
}

// The steps every list printout shares once it is confirmed (or previewed): a list without
// rows prints nothing and asks no more.
void PrintList(const ReportTable& table, Form& window, Output output) {
    if (table.rows.empty())
        return;
    RunPrintout(output, table.title, window,
                [&](PageWriter& out) { PrintTableReport(out, table, window); });
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

void PrintNameList(const ReportTable& table, Form& lobby, Output output) {
    if (output != Output::Preview &&
        !ConfirmInMessageBox(QStringLiteral("Print the Name List?"), table))
        return;
    PrintList(table, lobby, output);
}

void PrintCourseIndex(const ReportTable& table, Form& lobby, Output output) {
    if (output != Output::Preview &&
        !ConfirmInMessageBox(QStringLiteral("Print the Course Index?"), table))
        return;
    PrintList(table, lobby, output);
}

void PrintSearchSummary(const ReportTable& table, Form& lobby, Output output) {
    if (output != Output::Preview &&
        !ConfirmInMessageBox(QStringLiteral("Print the Search/Summary List?"), table))
        return;
    PrintList(table, lobby, output);
}

void PrintDueList(const ReportTable& table, Form& lobby, Output output) {
    if (output != Output::Preview &&
        !ConfirmInMessageBox(QStringLiteral("Print the Who is Due List?"), table))
        return;
    PrintList(table, lobby, output);
}

void PrintTrainingHistory(const ReportTable& table, Form& historyWindow, Output output) {
    if (output != Output::Preview &&
        platform::StandardMessage(QStringLiteral("Print the Training History?"),
                                  ConfirmationText(PageEstimate(ShownRows(table))),
                                  platform::StandardIcon::None, platform::StandardButtons::YesNo,
                                  &historyWindow) != platform::StandardAnswer::Yes)
        return;
    PrintList(table, historyWindow, output);
}

void PrintChangeLog(const ReportTable& table, Form& viewer, Output output) {
    if (output != Output::Preview &&
        !ConfirmInMessageBox(QStringLiteral("Print the Change Log?"), table))
        return;
    PrintList(table, viewer, output);
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

void ConnectPrintButton(ZovButton* button, std::function<void(Output)> print,
                        std::function<std::optional<ReportTable>()> table) {
    auto shared = std::make_shared<std::function<void(Output)>>(std::move(print));
    QObject::connect(button, &ZovButton::Click, button, [shared] { (*shared)(Output::Printer); });
    auto* preview = new QAction(QStringLiteral("Print Pre&view..."), button);
    auto* pdf = new QAction(QStringLiteral("Save as &PDF..."), button);
    QObject::connect(preview, &QAction::triggered, button,
                     [shared] { (*shared)(Output::Preview); });
    QObject::connect(pdf, &QAction::triggered, button, [shared] { (*shared)(Output::Pdf); });
    auto* csv = new QAction(QStringLiteral("&Export to CSV..."), button);
    QObject::connect(csv, &QAction::triggered, button, [button, table = std::move(table)] {
        if (const std::optional<ReportTable> shown = table())
            ExportCsv(*shown, button->window());
    });
    button->addAction(preview);
    button->addAction(pdf);
    button->addAction(csv);
    // Screen readers offer the menu as the button's second action.
    button->setContextMenuPolicy(Qt::ActionsContextMenu);
}

} // namespace print
