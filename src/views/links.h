#pragma once
// The nine analysis links of tab 3. A link text is label "=" URL; it splits at
// its first "=". The state of the tab's controls lives in app::LinkControls.
#include <array>
#include <string>

namespace kazuban::app { struct LinkControls; }

namespace kazuban::views {

inline constexpr const char* kLinkJumpPrefix = "Go! ";
inline constexpr const char* kLinkMistake = "行目に記入ミスがあります。";

// The text before the first "=" ("" when there is none).
std::string linkLabel(const std::string& link);
// The text after the first "="; the whole text when there is none.
std::string linkUrl(const std::string& link);
// A valid link holds both "http://" and "=".
bool isValidLink(const std::string& link);
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
