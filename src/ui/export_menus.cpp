#include "ui/export_menus.h"

#include <QAbstractItemView>

#include "analysis/history_stats.h"
#include "output/printing.h"
#include "platform/data_files.h"
#include "platform/line_file.h"
#include "ui/charts.h"

namespace kazuban::ui {

namespace {

constexpr const char* kPngFilter = "PNG画像(*.png)|*.png|全て|*.*";

QString named(const char* base, const char* suffix) { return QString::fromLatin1(base) + QString::fromLatin1(suffix); }

QMenu* newMenu(QWidget* owner, const char* suffix) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(named("pmnupopup", suffix));
    return menu;
}

QAction* addAction(QMenu* menu, const char* base, const char* suffix, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(named(base, suffix));
    return action;
}

}  // namespace

QMenu* addTableExportMenu(QAbstractItemView* view, app::Form1& form, const char* suffix,
                          std::function<ExportRows(bool selectedOnly)> rows,
                          std::function<std::vector<std::string>()> header) {
    QMenu* menu = newMenu(view, suffix);
    QAction* copy = addAction(menu, "pmnucopy", suffix, "ｺﾋﾟｰ");
    menu->addSeparator();
    QAction* csv = addAction(menu, "pmnusave", suffix, "保存（CSV）");
    menu->addSeparator();
    addAction(menu, "pmnucancell", suffix, "ｷｬﾝｾﾙ");
    QObject::connect(copy, &QAction::triggered, menu, [&form, rows] {
        form.run([&] {
            platform::Platform& p = form.state().platform;
            p.clearClipboard();
            p.setClipboardText(analysis::tabSeparatedText(rows(true)));
        });
    });
    QObject::connect(csv, &QAction::triggered, menu, [&form, rows, header] {
        form.run([&] {
            ExportRows all{header()};
            for (auto& r : rows(false)) all.push_back(std::move(r));
            const auto chosen =
                form.state().platform.saveFileDialog(output::csvSaveDialogOptions(form.state().datadir));
            if (!chosen || chosen->empty()) return;
            platform::checkChosenTarget(*chosen, form.state().dataFolders());
            platform::writeTextCp932(*chosen, analysis::csvText(all));
        });
    });
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, menu,
                     [view, menu](const QPoint& at) { menu->popup(view->viewport()->mapToGlobal(at)); });
    return menu;
}

QMenu* addChartExportMenu(Chart* chart, app::Form1& form, const char* suffix) {
    QMenu* menu = newMenu(chart, suffix);
    QAction* png = addAction(menu, "pmnusave", suffix, "画像を保存（PNG）");
    menu->addSeparator();
    addAction(menu, "pmnucancell", suffix, "ｷｬﾝｾﾙ");
    QObject::connect(png, &QAction::triggered, menu, [&form, chart] {
        form.run([&] {
            platform::FileDialogOptions options = output::csvSaveDialogOptions(form.state().datadir);
            options.filter = kPngFilter;
            options.defaultExtension = "png";
            const auto chosen = form.state().platform.saveFileDialog(options);
            if (!chosen || chosen->empty()) return;
            platform::checkChosenTarget(*chosen, form.state().dataFolders());
            const QByteArray bytes = chart->png();
            platform::writeFileAtomic(*chosen,
                                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        });
    });
    chart->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(chart, &QWidget::customContextMenuRequested, menu,
                     [chart, menu](const QPoint& at) { menu->popup(chart->mapToGlobal(at)); });
    return menu;
}

}  // namespace kazuban::ui
