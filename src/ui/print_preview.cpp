#include "ui/print_preview.h"

#include <QFontMetricsF>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStringList>
#include <QToolBar>
#include <algorithm>

#include "platform/data_files.h"
#include "text/app_error.h"
#include "text/path_text.h"
#include "ui/look.h"

namespace kazuban::ui {

namespace {

constexpr double kBodyPoints = 9.0;
constexpr double kSmallestPoints = 6.0;
constexpr double kTitlePoints = 13.0;
const QColor kHeaderFill(221, 255, 255);
const QColor kRule(128, 128, 128);

// The words of a text (split at blanks) gathered into lines no wider than `width`.
QStringList wrapWords(const QString& text, const QFontMetricsF& fm, double width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && fm.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    return lines;
}

}  // namespace

void setUpPrinter(QPrinter& printer, const output::PrintDocument& document) {
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                                      QPageLayout::Millimeter));
    // The job's name is also the file name the print dialog suggests for a
    // PDF: the title's spacing ("当 選 回 数") has no place there.
    QString name = qs(document.title);
    name.remove(QLatin1Char(' ')).remove(QChar(0x3000));
    printer.setDocName(name);
}

PrintLayout::PrintLayout(const output::PrintDocument& document, QDate date) : document_(document), date_(date) {}

int PrintLayout::paint(QPrinter& printer) const {
    pages_.clear();
    QPainter p;
    if (!p.begin(&printer)) return 0;
    const QSizeF area = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    const double dpi = printer.resolution();
    const auto& columns = document_.columns;

    // Columns share the page width as their widths share the view's; the
    // text shrinks with them when the view is wider than the page.
    double twips = 0;
    for (const auto& c : columns) twips += std::max(1, c.widthTwips);
    if (twips <= 0) twips = 1;
    const double fit = area.width() / (twips * dpi / 1440.0);
    const QFont body = japaneseFont(std::clamp(kBodyPoints * fit, kSmallestPoints, kBodyPoints));
    QFont title = japaneseFont(kTitlePoints);
    title.setBold(true);
    const QFontMetricsF fm(body, &printer), tm(title, &printer);
    const double pad = fm.horizontalAdvance(QLatin1Char(' '));
    const double lineGap = fm.height() * 0.3;
    const double rowHeight = fm.height() + lineGap;
    std::vector<double> left{0};
    for (const auto& c : columns) left.push_back(left.back() + std::max(1, c.widthTwips) / twips * area.width());

    // Each row's lines (a wrapping column may need several).
    std::vector<std::vector<QStringList>> cells(document_.rows.size());
    std::vector<double> heights(document_.rows.size(), rowHeight);
    for (std::size_t r = 0; r < document_.rows.size(); ++r) {
        int lines = 1;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const QString text = c < document_.rows[r].size() ? qs(document_.rows[r][c]) : QString();
            const double width = left[c + 1] - left[c] - 2 * pad;
            cells[r].push_back(columns[c].wraps ? wrapWords(text, fm, width) : QStringList{text});
            lines = std::max(lines, static_cast<int>(cells[r].back().size()));
        }
        heights[r] = lines * fm.height() + lineGap;
    }

    const double headerHeight = tm.height() + fm.height() * 0.8;
    const double footerHeight = fm.height() * 2;
    const double tableTop = headerHeight;
    const double bodyTop = tableTop + rowHeight;
    const double bottom = area.height() - footerHeight;
    pages_.emplace_back();
    double y = bodyTop;
    for (std::size_t r = 0; r < heights.size(); ++r) {
        if (y + heights[r] > bottom && !pages_.back().empty()) {
            pages_.emplace_back();
            y = bodyTop;
        }
        pages_.back().push_back(static_cast<int>(r));
        y += heights[r];
    }

    const QString heading =
        date_.toString(QStringLiteral("yyyy年M月d日")) + QStringLiteral("　") + qs(document_.drawLabel);
    const int pageCount = static_cast<int>(pages_.size());
    for (int n = 0; n < pageCount; ++n) {
        if (n > 0) printer.newPage();
        // Header: the view's title, and the date and the draw on the right.
        p.setPen(Qt::black);
        p.setFont(title);
        p.drawText(QRectF(0, 0, area.width(), tm.height()), Qt::AlignLeft | Qt::AlignVCenter, qs(document_.title));
        p.setFont(body);
        p.drawText(QRectF(0, 0, area.width(), tm.height()), Qt::AlignRight | Qt::AlignBottom, heading);
        p.setPen(QPen(kRule, 0));
        p.drawLine(QPointF(0, tm.height() + fm.height() * 0.3), QPointF(area.width(), tm.height() + fm.height() * 0.3));

        // The column headers, then this page's rows.
        auto drawRow = [&](double top, double height, const std::vector<QStringList>& texts, bool header) {
            for (std::size_t c = 0; c < columns.size(); ++c) {
                const QRectF cell(left[c], top, left[c + 1] - left[c], height);
                if (header) p.fillRect(cell, kHeaderFill);
                p.setPen(QPen(kRule, 0));
                p.drawRect(cell);
                p.setPen(Qt::black);
                const QStringList& lines = texts[c];
                if (columns[c].wraps && !header) {
                    for (int i = 0; i < lines.size(); ++i)
                        p.drawText(QRectF(cell.left() + pad, top + lineGap / 2 + i * fm.height(),
                                          cell.width() - 2 * pad, fm.height()),
                                   Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
                } else {
                    p.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignCenter, lines.value(0));
                }
            }
        };
        std::vector<QStringList> headers;
        for (const auto& c : columns) headers.push_back({qs(c.header)});
        drawRow(tableTop, rowHeight, headers, true);
        double top = bodyTop;
        for (int r : pages_[static_cast<std::size_t>(n)]) {
            drawRow(top, heights[static_cast<std::size_t>(r)], cells[static_cast<std::size_t>(r)], false);
            top += heights[static_cast<std::size_t>(r)];
        }

        // Footer: the page number.
        p.setPen(Qt::black);
        p.drawText(QRectF(0, area.height() - fm.height() * 1.2, area.width(), fm.height() * 1.2), Qt::AlignCenter,
                   QStringLiteral("%1 / %2").arg(n + 1).arg(pageCount));
    }
    p.end();
    return pageCount;
}

void putPrintFirst(QPrintPreviewDialog& dialog) {
    // The toolbar ends with "page setup" and "print". On a narrow screen
    // (1920 x 1080 at 200 %) the end of the toolbar goes behind its
    // extension button, so those two, what the preview is opened for, come first.
    auto* bar = dialog.findChild<QToolBar*>();
    if (!bar) return;
    QList<QAction*> actions;
    for (QAction* a : bar->actions())
        if (!a->isSeparator() && bar->widgetForAction(a)) actions << a;
    if (actions.size() < 2) return;
    QAction* print = actions.last();
    QAction* pageSetup = actions[actions.size() - 2];
    print->setObjectName(QStringLiteral("printAction"));
    pageSetup->setObjectName(QStringLiteral("pageSetupAction"));
    QAction* first = bar->actions().first();
    bar->removeAction(print);
    bar->removeAction(pageSetup);
    bar->insertAction(first, print);
    bar->insertAction(first, pageSetup);
    bar->insertSeparator(first);
}

void execPrintPreview(QWidget* parent, const output::PrintDocument& document,
                      const std::function<void(const std::string&)>& refuse) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, document);
    const PrintLayout layout(document, QDate::currentDate());
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    putPrintFirst(dialog);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー － ") + qs(document.title));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        // The PDF printer writes its file itself, straight over what is there.
        const QString file = target->outputFormat() == QPrinter::PdfFormat ? target->outputFileName() : QString();
        if (!file.isEmpty()) {
            try {
                platform::checkChosenTarget(text::pathFromUtf8(file.toStdString()), document.dataFolders);
            } catch (const AppError& e) {
                target->setOutputFileName(QString());
                if (refuse) refuse(e.text());
                else QMessageBox::warning(&dialog, QString(), qs(e.text()));
                return;
            }
        }
        layout.paint(*target);
    });
    dialog.exec();
}

}  // namespace kazuban::ui
