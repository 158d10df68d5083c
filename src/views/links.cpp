#include "views/links.h"

#include "text/text.h"

namespace kazuban::views {

// "=" is ASCII and never inside a multi-byte UTF-8 sequence, so byte positions
// cut the texts at the same place as character positions.
std::string linkLabel(const std::string& link) {
    const auto p = link.find('=');
    return p == std::string::npos ? std::string() : link.substr(0, p);
}

std::string linkUrl(const std::string& link) {
    const auto p = link.find('=');
    return p == std::string::npos ? link : link.substr(p + 1);
}

bool isValidLink(const std::string& link) {
    const bool web = link.find("http://") != std::string::npos || link.find("https://") != std::string::npos;
    return web && link.find('=') != std::string::npos;
}

bool isWebAddress(const std::string& url) { return url.starts_with("http://") || url.starts_with("https://"); }

std::string notWebAddressMessage(int index) {
    return std::string(" ").append(text::intText(index + 1)).append(kLinkNotWebAddress);
}

int firstInvalidLink(const std::array<std::string, 9>& links) {
    for (int i = 0; i < 9; ++i)
        if (!isValidLink(links[static_cast<std::size_t>(i)])) return i;
    return -1;
}

std::string invalidLinkMessage(int index) {
    return std::string(" ").append(text::intText(index + 1)).append(kLinkMistake);
}

void refreshLinks(LinkControls& c) {
    for (std::size_t i = 0; i < 9; ++i) {
        const auto p = c.Text1[i].find('=');
        if (p == std::string::npos) return;
        c.Command1Caption[i] = kLinkJumpPrefix + c.Text1[i].substr(0, p);
        c.Option1[i] = false;
        c.Text1Visible[i] = false;
    }
    c.Command2Visible = c.Command7Visible = c.Command8Visible = false;
}

void editLink(LinkControls& c, int index) {
    if (index < 0 || index >= 9) return;
    for (std::size_t i = 0; i < 9; ++i) {
        const bool chosen = static_cast<int>(i) == index;
        c.Option1[i] = chosen;
        c.Text1Visible[i] = chosen;
    }
    c.Command2Visible = c.Command7Visible = c.Command8Visible = true;
}

void endLinkEditing(LinkControls& c) {
    c.Text1Visible.fill(false);
    c.Option1.fill(false);
    c.Command2Visible = c.Command7Visible = c.Command8Visible = false;
}

}  // namespace kazuban::views
