// Native printing of tabs 0, 1 and 4: the entry of each pop-up menu opens the
// print preview, and what it prints (here to a PDF file, read back with
// pdftotext from poppler-utils) holds the titles, the cells and one page per
// so many rows.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "modal.h"
#include "ui/print_preview.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class PrintPreview : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
#ifndef _WIN32
        if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (Debian package poppler-utils) is not installed";
#endif
        copyDemo();
        ASSERT_TRUE(start());
        loadSampleCombinations();
    }
    // The document that a pop-up menu's "印刷プレビュー…" shows.
    output::PrintDocument previewFrom(const char* gridName, const char* entry) {
        auto* g = find<ui::FlexGrid>(QLatin1String(gridName));
        popupChoices = {QString::fromLatin1(entry)};
        const std::size_t before = platform.previews.size();
        QTest::mouseClick(g->viewport(), Qt::RightButton, {}, g->cellRect(1, 1).center());
        EXPECT_EQ(platform.previews.size(), before + 1);
        return platform.previews.empty() ? output::PrintDocument{} : platform.previews.back();
    }
    QString writePdf(const output::PrintDocument& doc, const QString& name, int* pages,
                     std::vector<std::vector<int>>* rows = nullptr) {
        QPrinter printer(QPrinter::HighResolution);
        ui::setUpPrinter(printer, doc);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString file = dir.filePath(name);
        printer.setOutputFileName(file);
        ui::PrintLayout layout(doc, QDate(2024, 6, 1));
        *pages = layout.paint(printer);
        if (rows) *rows = layout.pages();
        return file;
    }
    // The pages of a PDF as its page objects count them: all there is to
    // read where no pdftotext runs (under Wine, a Linux program's output
    // does not come back).
    static int pdfPages(const QString& pdf) {
        QFile f(pdf);
        if (!f.open(QIODevice::ReadOnly)) return -1;
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
        return static_cast<int>(QString::fromLatin1(f.readAll()).count(page));
    }
    // Where pdftotext runs, the text of the pages is read too.
    bool skipText() const {
#ifdef _WIN32
        return pdftotext.isEmpty();
#else
        return false;
#endif
    }
    // The text of one page (1-based), or of every page with page 0.
    QString pageText(const QString& pdf, int page = 0) {
        QStringList args;
        if (page > 0)
            args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
        args << pdf << QStringLiteral("-");
        QProcess run;
        run.start(pdftotext, args);
        EXPECT_TRUE(run.waitForFinished(30000));
        return QString::fromUtf8(run.readAllStandardOutput());
    }
    QString pdftotext;
};

TEST_F(PrintPreview, APdfOfTheAnalysisHoldsTitlesCellsAndOnePagePerSoManyRows) {
    selectTab(4);
    const output::PrintDocument doc = previewFrom("MSFlexGrid5", "pmnupreview3");
    ASSERT_EQ(doc.rows.size(), 1350u);
    int pages = 0;
    std::vector<std::vector<int>> rows;
    const QString pdf = writePdf(doc, QStringLiteral("predraw.pdf"), &pages, &rows);
    ASSERT_EQ(static_cast<std::size_t>(pages), rows.size());
    const int perPage = static_cast<int>(rows[0].size());
    EXPECT_GE(perPage, 40) << "an A4 page holds at least 40 rows";
    EXPECT_EQ(pages, (1350 + perPage - 1) / perPage);
    for (int n = 0; n + 1 < pages; ++n) EXPECT_EQ(static_cast<int>(rows[static_cast<std::size_t>(n)].size()), perPage);
    EXPECT_EQ(pdfPages(pdf), pages);
    if (skipText()) GTEST_SKIP() << "no pdftotext under Wine: the pages are counted, their text is read on Linux";
    EXPECT_EQ(pageText(pdf).count(QLatin1Char('\f')), pages);

    const auto text = [&](int row, int col) {
        return QString::fromStdString(doc.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]).trimmed();
    };
    const QString first = pageText(pdf, 1);
    for (const QString& s :
         {QStringLiteral("当選番号直前分析"), QStringLiteral("2024年6月1日"), QStringLiteral("第1400回まで"),
          QStringLiteral("当選番号データ"), QStringLiteral("最新当選回"), QStringLiteral("1 / %1").arg(pages),
          text(0, 1), text(0, 7), text(0, 9), text(perPage - 1, 1)})
        EXPECT_TRUE(first.contains(s)) << s.toStdString();
    EXPECT_FALSE(first.contains(text(perPage, 1))) << "row " << perPage + 1 << " begins page 2";
    const QString second = pageText(pdf, 2);
    EXPECT_TRUE(second.contains(text(perPage, 1)));
    EXPECT_TRUE(second.contains(QStringLiteral("当選番号直前分析")));
    EXPECT_TRUE(second.contains(QStringLiteral("2 / %1").arg(pages)));
    EXPECT_TRUE(pageText(pdf, pages).contains(text(1349, 1)));
}

TEST_F(PrintPreview, TheTableAndTheTotalsFitThePageWidthAndWrapTheWinEntries) {
    const output::PrintDocument table = previewFrom("MSFlexGrid1", "pmnupreview");
    ASSERT_EQ(table.rows.size(), 30u);
    int pages = 0;
    const QString tablePdf = writePdf(table, QStringLiteral("table.pdf"), &pages);
    EXPECT_EQ(pdfPages(tablePdf), pages);
    if (skipText()) GTEST_SKIP() << "no pdftotext under Wine: the pages are counted, their text is read on Linux";
    const QString all = pageText(tablePdf);
    const QString entries = QString::fromStdString(table.rows[0][2]);
    EXPECT_GT(entries.size(), 100) << "entries long enough to wrap";
    EXPECT_TRUE(all.contains(QStringLiteral("当 選 回 数")));
    EXPECT_TRUE(all.contains(QStringLiteral("当選履歴")));
    EXPECT_TRUE(all.contains(QString::fromStdString(table.rows[29][1]).trimmed()));
    EXPECT_TRUE(all.contains(entries.section(QLatin1Char(' '), 0, 0)));
    EXPECT_TRUE(all.contains(entries.section(QLatin1Char(' '), -1)));  // the last entry, on a line of its own

    selectTab(1);
    const output::PrintDocument totals = previewFrom("MSFlexGrid2", "pmnupreview2");
    const QString t = pageText(writePdf(totals, QStringLiteral("totals.pdf"), &pages));
    EXPECT_EQ(pages, 1);
    for (const char* header : {"組合せデータ", "合計", "当選回数", "最新当選回", "最高", "奇:偶", "５分割分布"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(header))) << header;
    EXPECT_TRUE(t.contains(QString::fromStdString(totals.rows[0][9])));
}

TEST_F(PrintPreview, ThePreviewPrintsToAPdfFileFromThePrintDialog) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows the print dialog is the system's own, which the test cannot fill in";
#endif
    platform.previewForReal = true;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    int shownPages = 0;
    bool printDialogSeen = false;
    WhenModal preview(
        [&](QWidget* w) {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            if (auto* view = dialog->findChild<QPrintPreviewWidget*>()) shownPages = view->pageCount();
            // The print entry of the preview's tool bar opens the print dialog.
            QAction* print = nullptr;
            for (QAction* a : dialog->findChildren<QAction*>())
                if (a->text().contains(QStringLiteral("印刷")) && !a->text().contains(QStringLiteral("設定")))
                    print = a;
            ASSERT_NE(print, nullptr) << "no print entry in the preview";
            WhenModal toFile(
                [&](QWidget* d) {
                    printDialogSeen = true;
                    auto* printers = d->findChild<QComboBox*>(QStringLiteral("printers"));
                    ASSERT_NE(printers, nullptr);
                    printers->setCurrentIndex(printers->count() - 1);  // the PDF file comes last
                    auto* name = d->findChild<QLineEdit*>(QStringLiteral("filename"));
                    ASSERT_NE(name, nullptr);
                    name->setText(pdf);
                    static_cast<QDialog*>(d)->accept();
                },
                "QPrintDialog");
            print->trigger();
            if (dialog->isVisible()) dialog->reject();
        },
        "QPrintPreviewDialog");
    selectTab(1);
    auto* g = find<ui::FlexGrid>(QStringLiteral("MSFlexGrid2"));
    popupChoices = {QStringLiteral("pmnupreview2")};
    QTest::mouseClick(g->viewport(), Qt::RightButton, {}, g->cellRect(1, 1).center());
    EXPECT_TRUE(preview.worked());
    EXPECT_TRUE(printDialogSeen);
    EXPECT_EQ(shownPages, 1);
    ASSERT_TRUE(QFileInfo::exists(pdf));
    const QString text = pageText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("合計・奇数偶数・分布 等")));
    EXPECT_TRUE(text.contains(QString::fromStdString(form->totals().grid().cell(1, 1)).trimmed()));
}

// The job's name, which the print dialog makes the PDF's file name, has no
// blanks: 当選回数.pdf, not "当 選 回 数.pdf".
TEST_F(PrintPreview, TheSuggestedPdfNameHasNoBlanks) {
    platform.previewForReal = true;
    QString docName;
    WhenModal preview(
        [&](QWidget* w) {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            docName = dialog->printer()->docName();
            dialog->reject();
        },
        "QPrintPreviewDialog");
    auto* g = find<ui::FlexGrid>(QStringLiteral("MSFlexGrid1"));
    popupChoices = {QStringLiteral("pmnupreview")};
    QTest::mouseClick(g->viewport(), Qt::RightButton, {}, g->cellRect(1, 1).center());
    EXPECT_TRUE(preview.worked());
    EXPECT_EQ(docName, QStringLiteral("当選回数"));
}

}  // namespace
}  // namespace kazuban::testing
