#pragma once
// The nine analysis links of tab 3. A link text is label "=" URL; it splits at
// its first "=". The state of the tab's controls lives in app::LinkControls.
#include <array>
#include <string>

namespace kazuban::app { struct LinkControls; }

namespace kazuban::views {

inline constexpr const char* kLinkJumpPrefix = "Go! ";
inline constexpr const char* kLinkMistake = "行目に記入ミスがあります。";
inline constexpr const char* kLinkNotWebAddress = "行目のｱﾄﾞﾚｽは http:// か https:// で始めて下さい｡";

// The text before the first "=" ("" when there is none).
std::string linkLabel(const std::string& link);
// The text after the first "="; the whole text when there is none.
std::string linkUrl(const std::string& link);
// A valid link holds "=" and "http://" or "https://".
bool isValidLink(const std::string& link);
// Whether a link's URL may go to the browser: it begins with "http://" or
// "https://", so no text of the link can reach the browser as an option.
bool isWebAddress(const std::string& url);
// " " + (index + 1) + "行目のｱﾄﾞﾚｽは http:// か https:// で始めて下さい｡"
std::string notWebAddressMessage(int index);
// Index of the first invalid link, or -1 when all nine are valid.
int firstInvalidLink(const std::array<std::string, 9>& links);
// " " + (index + 1) + "行目に記入ミスがあります。"
std::string invalidLinkMessage(int index);

// Back to browsing: captions "Go! " + label in order up to the first link
// without "=" (which stops the refresh, leaving the rest and the editing
// buttons as they are); otherwise the editing buttons are hidden.
void refreshLinks(app::LinkControls& c);
// Editing link i: only its text box shows, with the three editing buttons.
void editLink(app::LinkControls& c, int index);
// Every text box hidden, every toggle cleared, the editing buttons hidden.
void endLinkEditing(app::LinkControls& c);

}  // namespace kazuban::views
