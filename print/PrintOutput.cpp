#include "print/PrintOutput.h"

#include "forms/Messages.h"
#include "platform/Desktop.h"
#include "platform/ModalWindow.h"
#include "platform/StandardDialogs.h"
#include "print/QtPageWriter.h"
#include "store/Clock.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/Form.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QUrl>

namespace print {

namespace {

PageWriter*& Replacement() {
    static PageWriter* writer = nullptr;
    return writer;
}

using ui::CrLf;

void TellProblem(const QString& cause) {
    forms::Tell(QStringLiteral("Printing Problem"),
                {QStringLiteral("The printout could not be made:"), QString(), cause, QString(),
                 QStringLiteral("Nothing was printed.")},
                forms::Icon::Stop);
}

// Every printout is laid out in inches from the printable area's corner; a quarter inch
// margin is what printers commonly cannot reach anyway.
void Prepare(QPrinter& printer, const QString& documentName) {
    printer.setDocName(AppTitle() + QStringLiteral(" - ") + documentName);
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
}

// Why `path` cannot be written, as the system says it.
QString WriteProblem(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return file.errorString();
    return QStringLiteral("The file could not be completed.");
}

QString AskPdfPath(const QString& documentName, Form& window) {
    QString path = platform::SaveFileName(AppTitle() + QStringLiteral(" - Save the ") +
                                              documentName + QStringLiteral(" as PDF"),
                                          SuggestedPath(documentName, QStringLiteral("pdf")),
                                          QStringLiteral("PDF files (*.pdf)"), &window);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    return path;
}

void PrintPdf(const QString& path, const QString& documentName, const Paint& paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    Prepare(printer, documentName);
    QtPageWriter writer(printer);
    paint(writer);
    if (writer.Failed()) {
        TellProblem(QStringLiteral("The PDF file could not be written:") + CrLf +
                    QDir::toNativeSeparators(path) + CrLf + WriteProblem(path));
        return;
    }
    if (writer.Printed() && !platform::OpenTarget(QUrl::fromLocalFile(path)))
        forms::Tell(QStringLiteral("Printout Saved"),
                    {QStringLiteral("The printout was saved as"), QDir::toNativeSeparators(path),
                     QString(), QStringLiteral("No program was found to show it.")});
}

void PrintOnPrinter(const QPrinterInfo& info, const QString& documentName, const Paint& paint) {
    QPrinter printer(info, QPrinter::HighResolution);
    Prepare(printer, documentName);
    QtPageWriter writer(printer);
    paint(writer);
    if (writer.Failed())
        TellProblem(QStringLiteral("The printer \"") + info.printerName() +
                    QStringLiteral("\" reported an error."));
}

void ShowPreview(const QString& documentName, Form& window, const Paint& paint) {
    QPrinter printer(QPrinter::HighResolution);
    Prepare(printer, documentName);
    QPrintPreviewDialog dialog(&printer, &window);
    dialog.setWindowTitle(AppTitle() + QStringLiteral(" - Print Preview: ") + documentName);
    // Asked again whenever the page set-up changes, and once more when printing from it.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) {
                         QtPageWriter writer(*target);
                         paint(writer);
                     });
    platform::RunModal(&dialog);
}

} // namespace

void RunPrintout(Output output, const QString& documentName, Form& window, const Paint& paint) {
    if (PageWriter* writer = Replacement()) {
        paint(*writer);
        return;
    }
    switch (output) {
    case Output::Printer: {
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (!printer.isNull()) {
            PrintOnPrinter(printer, documentName, paint);
            return;
        }
        const QString path = AskPdfPath(documentName, window);
        if (path.isEmpty()) {
            TellProblem(QStringLiteral("There is no default printer, and no PDF file was "
                                       "chosen to print to instead."));
            return;
        }
        PrintPdf(path, documentName, paint);
        return;
    }
    case Output::Pdf: {
        const QString path = AskPdfPath(documentName, window);
        if (!path.isEmpty())
            PrintPdf(path, documentName, paint);
        return;
    }
    case Output::Preview:
        ShowPreview(documentName, window, paint);
        return;
    }
}

QString SuggestedPath(const QString& documentName, const QString& suffix) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(documentName + u' ' +
                                 store::CurrentDateTime().date().toString(Qt::ISODate) + u'.' +
                                 suffix);
}

void ReplaceOutput(PageWriter* writer) {
    Replacement() = writer;
}

} // namespace print
