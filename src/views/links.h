#pragma once
// The nine analysis links of tab 3. A link text is label "=" URL; it splits at
// its first "=".
#include <array>
#include <string>

namespace kazuban::views {

// Tab 3's controls (the nine analysis links).
struct LinkControls {
    std::array<std::string, 9> Text1;            // link texts "label=URL"
    std::array<bool, 9> Text1Visible{};          // shown while being edited
    std::array<std::string, 9> Command1Caption;  // "Go! " + label
    std::array<bool, 9> Option1{};               // edit toggles
    bool Command2Visible = false;                // "編集を保存"
    bool Command7Visible = false;                // "キャンセル"
    bool Command8Visible = false;                // "初期値に戻す"
};

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
void refreshLinks(LinkControls& c);
// Editing link i: only its text box shows, with the three editing buttons.
void editLink(LinkControls& c, int index);
// Every text box hidden, every toggle cleared, the editing buttons hidden.
void endLinkEditing(LinkControls& c);

}  // namespace kazuban::views
