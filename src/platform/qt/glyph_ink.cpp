#include "platform/qt/glyph_ink.h"

#include <QFontMetricsF>
#include <algorithm>
#include <optional>
#include <string>

#include "platform/qt/printer_painter.h"

const FontInk& InkOf(const QFont& font) {
    static std::optional<QFont> measured;
    static FontInk ink;
    if (measured && *measured == font) return ink;
    const QFontMetricsF metrics(font);
    ink = {};
    for (int byte = 0; byte < 256; ++byte) {
        const QString text = PrinterText(std::string(1, static_cast<char>(byte)));
        if (text.size() != 1) continue;
        const QRectF bounds = metrics.boundingRect(text.front());
        InkReach& reach = ink.reaches[static_cast<std::size_t>(byte)];
        reach.left = std::max<qreal>(0, -bounds.left());
        reach.right = std::max<qreal>(0, bounds.right() - metrics.horizontalAdvance(text.front()));
        reach.top = std::max<qreal>(0, -bounds.top() - metrics.ascent());
        reach.bottom = std::max<qreal>(0, bounds.bottom() - metrics.descent());
        ink.top = std::max(ink.top, reach.top);
        ink.bottom = std::max(ink.bottom, reach.bottom);
    }
    measured = font;
    return ink;
}
