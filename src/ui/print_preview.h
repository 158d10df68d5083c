#pragma once
// Native printing of a view: the document laid out as a table on A4 pages,
// the columns fitted to the page width, the view's title, the date and the
// draw in the header of every page and the page number in its footer; shown
// in Qt's print preview, from which the print dialog prints it (to a PDF file
// as well).
#include <QDate>
#include <functional>
#include <string>
#include <vector>

#include "output/print_document.h"

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace kazuban::ui {

// A4, portrait, 12 mm margins, the document's title without its blanks as
// the job's name (and so the PDF file's suggested name).
void setUpPrinter(QPrinter& printer, const output::PrintDocument& document);

class PrintLayout {
public:
    PrintLayout(const output::PrintDocument& document, QDate date);

    // Paints every page on the printer; returns the number of pages.
    int paint(QPrinter& printer) const;

    // The rows (indexes into the document) on each page, as the last paint
    // laid them out.
    const std::vector<std::vector<int>>& pages() const { return pages_; }

private:
    const output::PrintDocument& document_;
    QDate date_;
    mutable std::vector<std::vector<int>> pages_;
};

// The print preview of the document, modal over `parent`.
// A PDF file chosen in the print dialog that is a data file of the
// document's dataFolders, or no ordinary file, is not printed: `refuse` (a
// message box when empty) is told why and nothing is printed.
void execPrintPreview(QWidget* parent, const output::PrintDocument& document,
                      const std::function<void(const std::string&)>& refuse = {});
// Moves the preview's "page setup" and "print" (named pageSetupAction and
// printAction) to the front of its toolbar, where a narrow screen keeps them.
void putPrintFirst(QPrintPreviewDialog& dialog);

}  // namespace kazuban::ui
