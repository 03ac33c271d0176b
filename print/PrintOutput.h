#pragma once

#include <QString>
#include <functional>

class Form;

// Where a printout goes. The print buttons print on the default printer; a desktop without
// one gets a PDF file instead, named by the user in the save dialog and opened in the
// desktop's viewer. Each print button's menu (right click, or the menu key) also offers a
// preview and a PDF by choice.
namespace print {

class PageWriter;

enum class Output {
    Printer, // the default printer, or a PDF when there is none
    Pdf,     // a PDF file, always
    Preview, // the print preview, from which the user may still print
};

using Paint = std::function<void(PageWriter&)>;

// Runs `paint` on the output asked for, and tells the user in the message box when the
// printout could not be made (no printer and no file chosen, a printer error, a PDF that
// cannot be written). `documentName` names the print job and the suggested PDF file.
void RunPrintout(Output output, const QString& documentName, Form& window, const Paint& paint);

// "<documents folder>/<documentName> yyyy-mm-dd.<suffix>", dated today: where a printout
// saved as PDF, or a list saved as CSV, is offered to go.
QString SuggestedPath(const QString& documentName, const QString& suffix);

// Hands every printout to `writer` instead of a printer, for tests; nullptr restores them.
void ReplaceOutput(PageWriter* writer);

} // namespace print
