#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/printer_device.h"
#include "platform/qt/glyph_ink.h"
#include "platform/qt/printer_painter.h"

// The lines are laid out as QPainter::drawText lays out a word-wrapped, top-aligned text in a box,
// so that a text drawn here lands where DrawPrinterTextBox puts it, pixel for pixel; but the
// layout is made once, where drawText makes it again for every measuring and every drawing.

struct PrinterTextBox::Layout {
    std::string source;
    QTextLayout text;
    int width = 0;
    QSizeF size;  // the widest line's natural width; the lines' height
    int height = 0;

    // Where a line `used` wide starts in the box.
    qreal Offset(qreal used, int align) const {
        const qreal free = width - used;
        return align == 1 ? free : align == 2 ? free / 2 : 0;
    }
    bool InkLeavesBox(int h, int align) const;
};

// Whether any of the text's ink falls outside its box `h` high: the lines themselves, as drawText
// tests them, or a glyph reaching past a line's ends, above the first line or below the last.
bool PrinterTextBox::Layout::InkLeavesBox(int h, int align) const {
    const QRectF box(0, 0, width, h);
    if (!box.contains(QRectF(QPointF(Offset(size.width(), align), 0), size))) return true;
    const FontInk& ink = InkOf(text.font());
    const auto reach = [&](qsizetype at) -> const InkReach& {
        return ink.reaches[static_cast<unsigned char>(source[static_cast<std::size_t>(at)])];
    };
    const QString& string = text.text();  // a character for each byte of the source
    for (int i = 0; i < text.lineCount(); ++i) {
        const QTextLine line = text.lineAt(i);
        const qsizetype first = line.textStart();
        qsizetype last = first + line.textLength() - 1;
        while (last >= first && string.at(last).isSpace())
            --last;
        if (last < first) continue;
        const qreal start = Offset(line.horizontalAdvance(), align);
        if (start < reach(first).left ||
            start + line.naturalTextWidth() + reach(last).right > width) {
            return true;
        }
        // Few faces reach above their ascent, and a row's box ends far below its text.
        const bool top = i == 0 && ink.top > 0;
        const bool bottom = i + 1 == text.lineCount() && line.y() + line.height() + ink.bottom > h;
        for (qsizetype at = first; (top || bottom) && at <= last; ++at) {
            if (top && reach(at).top > 0) return true;
            if (bottom && line.y() + line.height() + reach(at).bottom > h) return true;
        }
    }
    return false;
}

PrinterTextBox::PrinterTextBox() = default;
PrinterTextBox::~PrinterTextBox() = default;
PrinterTextBox::PrinterTextBox(PrinterTextBox&&) noexcept = default;
PrinterTextBox& PrinterTextBox::operator=(PrinterTextBox&&) noexcept = default;

int PrinterTextBox::LayOut(int w, const std::string& text) {
    current_ = nullptr;
    const QPainter* painter = ActivePrinterPainter();
    // Nothing is drawn without a document, but the text is measured all the same.
    if (!painter) return MeasurePrinterTextBox(0, 0, w, 0, text, 0, false);
    if (text.empty()) return 0;
    for (auto kept = recent_.begin(); kept != recent_.end() && *kept; ++kept) {
        const Layout& layout = **kept;
        if (layout.source == text && layout.width == w && layout.text.font() == painter->font()) {
            std::rotate(recent_.begin(), kept, kept + 1);
            current_ = recent_.front().get();
            return current_->height;
        }
    }
    QString string = PrinterText(text);
    // As drawText takes them: CR is a space, LF ends a line, a tab is a space. Windows-1252 text
    // never holds U+009C, which drawText would read as the start of another version of the text.
    for (QChar& c : string) {
        if (c == u'\r' || c == u'\t') c = u' ';
        if (c == u'\n') c = QChar::LineSeparator;
    }
    std::rotate(recent_.begin(), recent_.end() - 1, recent_.end());
    recent_.front() = std::make_unique<Layout>();
    Layout& layout = *recent_.front();
    current_ = &layout;
    layout.width = w;
    layout.text.setText(string);
    layout.text.setFont(painter->font());
    QTextOption option;
    // The program installs no translation, so Qt lays text out left to right.
    option.setTextDirection(Qt::LeftToRight);
    layout.text.setTextOption(option);
    layout.text.setCacheEnabled(true);
    std::optional<qreal> leading;  // asked for only when the text takes a second line
    qreal height = 0;
    qreal width = 0;
    layout.text.beginLayout();
    for (QTextLine line = layout.text.createLine(); line.isValid();
         line = layout.text.createLine()) {
        line.setLineWidth(std::max(0, w));
        // Each line after the first starts a leading below the one before, on a whole pixel.
        if (line.lineNumber() > 0) {
            if (!leading) leading = QFontMetricsF(painter->font()).leading();
            height = std::ceil(height + *leading);
        }
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        width = std::max(width, line.naturalTextWidth());
    }
    layout.text.endLayout();
    layout.size = QSizeF(width, height);
    layout.height = static_cast<int>(std::ceil(height));
    layout.source = text;
    return layout.height;
}

void PrinterTextBox::Draw(int x, int y, int h, int align) const {
    QPainter* painter = ActivePrinterPainter();
    if (!painter || !current_) return;
    const Layout& layout = *current_;
    // A clip costs more than the text it guards, so only ink that would leave the box is clipped.
    const bool clip = layout.InkLeavesBox(h, align);
    if (clip) {
        painter->save();
        painter->setClipRect(QRect(x, y, layout.width, h));
    }
    painter->setPen(CurrentPrinterTextColour());
    for (int i = 0; i < layout.text.lineCount(); ++i) {
        const QTextLine line = layout.text.lineAt(i);
        line.draw(painter, QPointF(x + layout.Offset(line.horizontalAdvance(), align), y));
    }
    if (clip) painter->restore();
}
