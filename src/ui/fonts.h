// The Windows font faces the windows are designed for, mapped onto the IPA
// fonts that Debian ships.
#pragma once

#include <QFont>

namespace velmora::ui {

inline constexpr const char* kMincho = "ＭＳ 明朝";
inline constexpr const char* kPMincho = "ＭＳ Ｐ明朝";
inline constexpr const char* kPGothic = "ＭＳ Ｐゴシック";

// Registers the substitutions; call once after the QApplication exists.
// Safe to call again.
void InstallJapaneseFonts();

// A font of the given Windows face (UTF-8) and size in points, resolved
// through the substitutions.
QFont uiFont(const char* windowsFace, int points);

}  // namespace velmora::ui
