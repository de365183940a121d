#include "ui/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace velmora::ui {
namespace {

struct Substitution {
    const char* windowsFace;
    QStringList families;  // best first; both spellings fontconfig reports
};

const Substitution* substitutions(int& count) {
    static const Substitution table[] = {
        {kMincho, {"IPAMincho", "IPA明朝", "IPAPMincho"}},
        {kPMincho, {"IPAPMincho", "IPA P明朝", "IPAMincho"}},
        {kPGothic, {"IPAPGothic", "IPA Pゴシック", "IPAGothic"}},
    };
    count = static_cast<int>(std::size(table));
    return table;
}

}  // namespace

void InstallJapaneseFonts() {
    int count = 0;
    const Substitution* table = substitutions(count);
    for (int i = 0; i < count; ++i) {
        const QString face = QString::fromUtf8(table[i].windowsFace);
        QFont::removeSubstitutions(face);
        QFont::insertSubstitutions(face, table[i].families);
    }
}

QFont uiFont(const char* windowsFace, int points) {
    static const bool installed = [] {
        InstallJapaneseFonts();
        return true;
    }();
    (void)installed;
    const QString face = QString::fromUtf8(windowsFace);
    QFont font(face, points);
    // Some Qt builds ignore substitutions for a family that fontconfig does
    // not know, so name the stand-ins directly as fallbacks as well.
    QStringList families{face};
    families += QFont::substitutes(face);
    font.setFamilies(families);
    return font;
}

}  // namespace velmora::ui
