// Qt's own dialogs (file dialog, standard buttons, input boxes) in Japanese,
// like the rest of the game.
#pragma once

class QCoreApplication;

namespace velmora::ui {

// Loads Qt's Japanese translations (Debian qt6-translations-l10n) into the
// application; true when they were found. Without them the dialogs stay in
// English and the game goes on.
bool InstallJapaneseTranslations(QCoreApplication& app);

}  // namespace velmora::ui
