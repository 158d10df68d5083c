#include "ui/result_urls.h"

#include <QSettings>
#include <memory>

#include "history/bank_fetch.h"
#include "ui/window_geometry.h"

namespace kazuban::ui {

namespace {

constexpr const char* kIndexKey = "results/indexUrl";
constexpr const char* kFolderKey = "results/folderUrl";

std::string value(QSettings& settings, const char* key, const char* fallback) {
    const QString v = settings.value(QLatin1String(key)).toString().trimmed();
    return v.isEmpty() ? std::string(fallback) : v.toStdString();
}

}  // namespace

ResultUrls loadResultUrls() {
    const std::unique_ptr<QSettings> settings(newWindowSettings());
    return {value(*settings, kIndexKey, history::kDefaultIndexUrl),
            value(*settings, kFolderKey, history::kDefaultFolderUrl)};
}

void saveResultUrls(const ResultUrls& urls) {
    const std::unique_ptr<QSettings> settings(newWindowSettings());
    settings->setValue(QLatin1String(kIndexKey), QString::fromStdString(urls.index));
    settings->setValue(QLatin1String(kFolderKey), QString::fromStdString(urls.folder));
}

}  // namespace kazuban::ui
