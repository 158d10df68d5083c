#include "app/links_page.h"

#include "app/programs.h"
#include "config/env_file.h"
#include "text/path_text.h"

namespace kazuban::app {

void LinksPage::refreshLinks() { views::refreshLinks(links_); }

void LinksPage::Command1_Click(int index) {
    if (index < 0 || index >= config::kLinkCount) return;
    const std::string url = views::linkUrl(links_.Text1[static_cast<std::size_t>(index)]);
    if (!views::isWebAddress(url)) {
        s_.message(views::notWebAddressMessage(index), platform::Icon::Exclamation);
        return;
    }
    openInBrowser(s_, url);
}

void LinksPage::Option1_Click(int index) {
    if (index < 0 || index >= config::kLinkCount) return;
    for (std::size_t j = 0; j < links_.Option1.size(); ++j) links_.Option1[j] = static_cast<int>(j) == index;
    views::editLink(links_, index);
}

void LinksPage::Text1_Change(int index, const std::string& text) {
    if (index < 0 || index >= config::kLinkCount) return;
    links_.Text1[static_cast<std::size_t>(index)] = text;
}

void LinksPage::Command7_Click() { views::endLinkEditing(links_); }

void LinksPage::Command2_Click() {
    const int bad = views::firstInvalidLink(links_.Text1);
    if (bad >= 0) {
        s_.platform.messageBox(views::invalidLinkMessage(bad), platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    // A failed write leaves the old file whole and the links in editing, so
    // the user can try again; the runner shows why.
    config::writeEnvironmentFile(s_.mydir / config::kEnvironmentFileName, s_.editdir, text::utf8FromPath(s_.datadir),
                                 s_.calcdir, s_.browsdir, links_.Text1);
    s_.settingsWritten();
    views::endLinkEditing(links_);
}

void LinksPage::Command8_Click() {
    links_.Text1 = config::defaultLinks();
    Command2_Click();
}

}  // namespace kazuban::app
