#pragma once
#include <QColor>
#include <QString>
#include <string>

class QPainter;

// What the printer device's drawing shares with the text boxes laid out for it.

// Printed text is booklist text, in the same code page as the windows show it.
QString PrinterText(const std::string& text);
// The painter of the open document; null when no document is open.
QPainter* ActivePrinterPainter();
// The colour text is drawn in.
QColor CurrentPrinterTextColour();
