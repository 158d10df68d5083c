#pragma once
// Qt's own texts (the buttons of message boxes, the file and print dialogs)
// in Japanese, as the rest of the program speaks.
class QCoreApplication;

namespace kazuban::ui {

// Installs Qt's Japanese translation ("qtbase_ja" in Qt's translations
// folder). Returns false, and changes nothing, when it is not installed: the
// program then runs with Qt's English texts.
bool installJapaneseQtTranslation(QCoreApplication& app);

}  // namespace kazuban::ui
