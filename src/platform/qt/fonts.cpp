#include "platform/qt/fonts.h"

#include <QApplication>
#include <QPalette>
#include <optional>

#include "platform/qt/font_faces.h"

namespace {

std::optional<ProgramFontSet>& FontSet() {
    static std::optional<ProgramFontSet> set;
    return set;
}

QFont MakeFont(const char* face, int points) {
    QFont font(QString::fromLatin1(face), points);
    // Faces the system lacks resolve to the closest match instead of the application default.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

void CreateFontsAndColours() {
    AddTahomaIfMissing();
    ProgramFontSet set;
    set.arial10 = MakeFont("Arial", 10);
    set.arial12 = MakeFont("Arial", 12);
    set.tahoma8 = MakeFont("Tahoma", 8);
    set.tahoma10 = MakeFont("Tahoma", 10);
    set.verdana10 = MakeFont("Verdana", 10);
    set.labelText = QColor(0, 0, 0);
    set.buttonFace = QApplication::palette().color(QPalette::Active, QPalette::Button);
    FontSet() = set;
}

const ProgramFontSet& ProgramFonts() {
    if (!FontSet()) CreateFontsAndColours();
    return *FontSet();
}
