#include "ui/remembered.h"

#include <QSettings>
#include <QStringList>
#include <memory>

#include "text/path_text.h"
#include "ui/window_geometry.h"

namespace kazuban::ui {

namespace {

constexpr const char* kRecentKey = "file/recent";

QString prizeKey(int grade) { return QStringLiteral("odds/prize%1").arg(grade); }

}  // namespace

std::vector<std::filesystem::path> loadRecentFiles() {
    const std::unique_ptr<QSettings> settings(newWindowSettings());
    std::vector<std::filesystem::path> files;
    for (const QString& f : settings->value(QLatin1String(kRecentKey)).toStringList())
        if (!f.isEmpty()) files.push_back(text::pathFromUtf8(f.toStdString()));
    return files;
}

void saveRecentFiles(const std::vector<std::filesystem::path>& files) {
    QStringList list;
    for (const std::filesystem::path& f : files) list << QString::fromStdString(text::utf8FromPath(f));
    const std::unique_ptr<QSettings> settings(newWindowSettings());
    settings->setValue(QLatin1String(kRecentKey), list);
}

std::array<std::optional<std::int64_t>, 4> loadPrizes() {
    const std::unique_ptr<QSettings> settings(newWindowSettings());
    std::array<std::optional<std::int64_t>, 4> prizes;
    for (int g = 1; g <= 4; ++g) {
        bool ok = false;
        const qlonglong yen = settings->value(prizeKey(g)).toLongLong(&ok);
        if (ok) prizes[static_cast<std::size_t>(g - 1)] = yen;
    }
    return prizes;
}

void savePrize(int grade, std::int64_t yen) {
    const std::unique_ptr<QSettings> settings(newWindowSettings());
    settings->setValue(prizeKey(grade), static_cast<qlonglong>(yen));
}

}  // namespace kazuban::ui
