#include "platform/qt/font_faces.h"

#include <QFontDatabase>

void AddTahomaIfMissing() {
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) return;
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/") +
                                          QLatin1String(file));
    }
}
