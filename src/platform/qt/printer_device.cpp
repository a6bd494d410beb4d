#include <QFile>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringDecoder>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include <cups/cups.h>

#include "platform/printer_device.h"
#include "platform/qt/printer_painter.h"

namespace {

struct DeviceState {
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> painter;
    QFont font;
    // What the font was made of, on this printer: a list re-selects its font for every row, and
    // making it again measures a probe of it at the printer's resolution.
    std::string fontRequest;
    std::optional<QFontMetrics> metrics;  // the font's on this printer, made when first asked for
    QColor textColour = Qt::black;
    int penWidth = 1;
    std::string pdfOutput;
    std::optional<std::vector<std::string>> presetNames;
    std::string presetDefault;
    std::string documentFailure;
};

DeviceState& State() {
    static DeviceState state;
    return state;
}

void LayOutRecord(QPrinter& printer, const PrinterSettingsRecord& record) {
    const auto has = [&](std::uint16_t flag) { return (record.fields & flag) != 0; };
    if (has(SettingPaperSize)) {
        // The published paper codes are the ones QPageSize knows; an unknown code keeps the
        // printer's own paper.
        const QPageSize::PageSizeId id = QPageSize::id(record.paperSize);
        if (id != QPageSize::Custom) printer.setPageSize(QPageSize(id));
    }
    if (has(SettingPaperLength) && has(SettingPaperWidth) && record.paperLength > 0 &&
        record.paperWidth > 0) {
        printer.setPageSize(QPageSize(QSizeF(record.paperWidth / 10.0, record.paperLength / 10.0),
                                      QPageSize::Millimeter));
    }
    if (has(SettingOrientation) && (record.orientation == 1 || record.orientation == 2)) {
        printer.setPageOrientation(record.orientation == 2 ? QPageLayout::Landscape
                                                           : QPageLayout::Portrait);
    }
    if (has(SettingCopies) && record.copies > 0) printer.setCopyCount(record.copies);
    if (has(SettingCollate)) printer.setCollateCopies(record.collate != 0);
    if (has(SettingDuplex)) {
        if (record.duplex == 1) printer.setDuplex(QPrinter::DuplexNone);
        if (record.duplex == 2) printer.setDuplex(QPrinter::DuplexLongSide);
        if (record.duplex == 3) printer.setDuplex(QPrinter::DuplexShortSide);
    }
    if (has(SettingColor) && (record.color == 1 || record.color == 2)) {
        printer.setColorMode(record.color == 2 ? QPrinter::Color : QPrinter::GrayScale);
    }
    if (has(SettingYResolution) && record.yResolution > 0) {
        printer.setResolution(record.yResolution);
    } else if (has(SettingPrintQuality) && record.printQuality > 0) {
        printer.setResolution(record.printQuality);
    }
}

// The job options Qt's CUPS output passes on besides its own, as Qt's private print dialogs set
// them: a list of names and values under this engine property.
const auto CupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// IPP's print-quality of a record's code; null for a resolution in dots per inch.
const char* IppQuality(std::int16_t code) {
    if (code == QualityDraft || code == QualityLow) return "3";
    if (code == QualityMedium) return "4";
    if (code == QualityHigh) return "5";
    return nullptr;
}

// Qt's CUPS output sends copies, collation and sides itself; colour and quality reach the job
// only as options of their own.
void AddJobOptions(QPrinter& printer, const PrinterSettingsRecord& record) {
    QStringList options;
    if ((record.fields & SettingColor) && (record.color == 1 || record.color == 2)) {
        options << QStringLiteral("print-color-mode")
                << QString::fromLatin1(record.color == 2 ? "color" : "monochrome");
    }
    const char* quality = IppQuality(record.printQuality);
    if ((record.fields & SettingPrintQuality) && quality)
        options << QStringLiteral("print-quality") << QString::fromLatin1(quality);
    if (!options.isEmpty()) printer.printEngine()->setProperty(CupsOptionsProperty, options);
}

std::unique_ptr<QPrinter> MakePrinter(const std::string& name,
                                      const PrinterSettingsRecord& record) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const std::string& pdf = State().pdfOutput;
    if (!pdf.empty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QFile::decodeName(QByteArray::fromStdString(pdf)));
    } else {
        // An unknown name would keep the previous printer, and "" would switch to PDF output.
        if (QPrinterInfo::printerInfo(QString::fromStdString(name)).isNull()) return nullptr;
        printer->setPrinterName(QString::fromStdString(name));
        AddJobOptions(*printer, record);
    }
    LayOutRecord(*printer, record);
    return printer;
}

// Qt's CUPS output ignores the spooler's answer to the job it submits: a queue that rejects jobs
// ("cupsreject") gets nothing, and Qt says nothing. libcups tells, before the document begins and
// after Qt has submitted it.

bool PrintsToSpooler(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat;
}

// The spooler's queue of Qt's printer name "queue" or "queue/instance".
std::string QueueOf(const std::string& name) {
    return name.substr(0, name.find('/'));
}

// The spooler's answer to a request for these attributes of the queue; null when it gives none.
ipp_t* QueueAttributes(const std::string& queue, const std::vector<const char*>& names) {
    char uri[HTTP_MAX_URI];
    if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                         "/printers/%s", queue.c_str()) != HTTP_URI_STATUS_OK) {
        return nullptr;
    }
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(names.size()), nullptr, names.data());
    return cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
}

// What the administrator said when the queue was stopped or set to reject jobs
// ("cupsreject -r REASON"); "" when nothing was said or the spooler does not answer.
std::string QueueStateMessage(const std::string& queue) {
    ipp_t* response = QueueAttributes(queue, {"printer-state-message"});
    std::string message;
    if (response) {
        if (ipp_attribute_t* attribute =
                ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT)) {
            if (const char* text = ippGetString(attribute, 0, nullptr)) message = text;
        }
        ippDelete(response);
    }
    return message;
}

// Why the spooler's queue `name` (Qt's name: "queue" or "queue/instance") would refuse a job now;
// "" when it takes jobs, or when it cannot be asked (the submission's answer tells then).
std::string QueueRefusal(const std::string& name) {
    const std::string queue = QueueOf(name);
    const std::string instance = queue.size() < name.size() ? name.substr(queue.size() + 1) : "";
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(),
                                         instance.empty() ? nullptr : instance.c_str());
    if (!dest) return {};
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool refuses = accepting && std::strcmp(accepting, "false") == 0;
    cupsFreeDests(1, dest);
    if (!refuses) return {};
    const std::string message = QueueStateMessage(queue);
    return "is not accepting jobs" + (message.empty() ? "" : " (" + message + ")");
}

// Why the job Qt has just submitted was not taken; "" when it was. Qt's submission
// (cupsPrintFile) is the last request libcups made on this thread, so its status is libcups's
// last error.
std::string SubmissionRefusal() {
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) return {};
    std::string said = cupsLastErrorString() ? cupsLastErrorString() : "";
    while (!said.empty() && (said.back() == '.' || said.back() == ' '))
        said.pop_back();
    return "did not take the job" + (said.empty() ? "" : " (" + said + ")");
}

int TextFlags(int align, bool singleLine) {
    const int horizontal = align == 1   ? Qt::AlignRight
                           : align == 2 ? Qt::AlignHCenter
                                        : Qt::AlignLeft;
    return horizontal | Qt::AlignTop | (singleLine ? Qt::TextSingleLine : Qt::TextWordWrap);
}

const QFontMetrics& Metrics() {
    DeviceState& s = State();
    if (!s.metrics)
        s.metrics = s.printer ? QFontMetrics(s.font, s.printer.get()) : QFontMetrics(s.font);
    return *s.metrics;
}

}  // namespace

QString PrinterText(const std::string& text) {
    static QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

QPainter* ActivePrinterPainter() {
    DeviceState& s = State();
    return s.painter && s.painter->isActive() ? s.painter.get() : nullptr;
}

QColor CurrentPrinterTextColour() {
    return State().textColour;
}

std::string SpoolerDefaultPrinter() {
    if (State().presetNames) return State().presetDefault;
    return QPrinterInfo::defaultPrinterName().toStdString();
}

bool ListSpoolerPrinters(std::vector<std::string>& names) {
    if (State().presetNames) {
        names = *State().presetNames;
        return true;
    }
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return true;
}

void PresetSpoolerPrinters(const std::vector<std::string>& names, const std::string& defaultName) {
    State().presetNames = names;
    State().presetDefault = defaultName;
}

void ClearSpoolerPresets() {
    State().presetNames.reset();
    State().presetDefault.clear();
}

bool SpoolerHasPrinter(const std::string& name) {
    if (!State().pdfOutput.empty()) return true;
    return !name.empty() && !QPrinterInfo::printerInfo(QString::fromStdString(name)).isNull();
}

bool CreatePrinterDevice(const std::string& name, const PrinterSettingsRecord& record) {
    ReleasePrinterDevice();
    State().documentFailure.clear();
    State().printer = MakePrinter(name, record);
    return State().printer != nullptr;
}

void ReleasePrinterDevice() {
    DeviceState& s = State();
    if (s.painter && s.painter->isActive()) s.painter->end();
    s.painter.reset();
    s.printer.reset();
    s.fontRequest.clear();
    s.metrics.reset();
}

PrinterOffers SpoolerPrinterOffers(const std::string& name) {
    PrinterOffers offers;
    PrinterSettingsRecord& defaults = offers.defaults;
    defaults.copies = 1;
    defaults.collate = 1;
    defaults.duplex = 1;
    defaults.color = 1;
    defaults.fields = SettingCopies | SettingCollate | SettingDuplex | SettingColor;
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
    if (info.isNull()) return offers;
    // Qt passes on only the sides its printer device lists, so these are the ones offered.
    const QList<QPrinter::DuplexMode> sides = info.supportedDuplexModes();
    offers.twoSided =
        sides.contains(QPrinter::DuplexLongSide) && sides.contains(QPrinter::DuplexShortSide);
    if (offers.twoSided && info.defaultDuplexMode() == QPrinter::DuplexLongSide)
        defaults.duplex = 2;
    if (offers.twoSided && info.defaultDuplexMode() == QPrinter::DuplexShortSide)
        defaults.duplex = 3;
    const QList<QPrinter::ColorMode> colours = info.supportedColorModes();
    offers.colour = colours.contains(QPrinter::Color) && colours.contains(QPrinter::GrayScale);
    if (colours.contains(QPrinter::Color) && info.defaultColorMode() == QPrinter::Color)
        defaults.color = 2;

    // Qt knows nothing of print quality: the spooler tells.
    ipp_t* response =
        QueueAttributes(QueueOf(name), {"print-quality-supported", "print-quality-default"});
    if (!response) return offers;
    const auto codeOf = [](int ipp) -> std::int16_t {
        return ipp == 3 ? QualityDraft : ipp == 4 ? QualityMedium : ipp == 5 ? QualityHigh : 0;
    };
    if (ipp_attribute_t* supported =
            ippFindAttribute(response, "print-quality-supported", IPP_TAG_ENUM)) {
        for (int i = 0; i < ippGetCount(supported); ++i) {
            if (const std::int16_t code = codeOf(ippGetInteger(supported, i)))
                offers.qualities.push_back(code);
        }
    }
    if (ipp_attribute_t* standard =
            ippFindAttribute(response, "print-quality-default", IPP_TAG_ENUM)) {
        if (const std::int16_t code = codeOf(ippGetInteger(standard, 0))) {
            defaults.printQuality = code;
            defaults.fields |= SettingPrintQuality;
        }
    }
    ippDelete(response);
    return offers;
}

void SetPdfOutput(const std::string& path) {
    State().pdfOutput = path;
}

const std::string& PdfOutput() {
    return State().pdfOutput;
}

DeviceMetrics PrinterDeviceMetrics() {
    DeviceMetrics metrics;
    const QPrinter* printer = State().printer.get();
    if (!printer) return metrics;
    const QRect paper = printer->paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer->pageRect(QPrinter::DevicePixel).toRect();
    metrics.printableWidth = printer->width();
    metrics.printableHeight = printer->height();
    metrics.physicalWidth = paper.width();
    metrics.physicalHeight = paper.height();
    metrics.offsetX = page.left() - paper.left();
    metrics.offsetY = page.top() - paper.top();
    metrics.dpiX = printer->logicalDpiX();
    metrics.dpiY = printer->logicalDpiY();
    return metrics;
}

bool BeginPrinterDocument(const std::string& documentName, const std::string& title) {
    DeviceState& s = State();
    s.documentFailure.clear();
    if (!s.printer) return false;
    if (PrintsToSpooler(*s.printer)) {
        s.documentFailure = QueueRefusal(s.printer->printerName().toStdString());
        if (!s.documentFailure.empty()) return false;
    }
    // A queue shows its jobs by the job's name; a PDF reader shows the title printed on the pages.
    const bool pdf = s.printer->outputFormat() == QPrinter::PdfFormat;
    s.printer->setDocName(
        pdf && !title.empty()
            ? QStringDecoder("windows-1252").decode(QByteArray::fromStdString(title))
            : QString::fromStdString(documentName));
    s.printer->setCreator(QStringLiteral("Tallyleaf"));
    s.painter = std::make_unique<QPainter>();
    if (!s.painter->begin(s.printer.get())) {
        s.painter.reset();
        return false;
    }
    s.painter->setFont(s.font);
    s.painter->setBackgroundMode(Qt::TransparentMode);
    s.painter->setBrush(Qt::black);
    return true;
}

void BeginNextPrinterPage() {
    if (State().printer && ActivePrinterPainter()) State().printer->newPage();
}

bool EndPrinterDocumentOnDevice() {
    DeviceState& s = State();
    QPainter* painter = ActivePrinterPainter();
    if (!painter) return true;
    if (!painter->end()) return false;
    if (PrintsToSpooler(*s.printer)) {
        s.documentFailure = SubmissionRefusal();
        if (!s.documentFailure.empty()) return false;
    }
    return true;
}

const std::string& PrinterDocumentFailure() {
    return State().documentFailure;
}

void ResetPrinterDrawing(int penWidth) {
    DeviceState& s = State();
    s.penWidth = penWidth > 0 ? penWidth : 1;
    s.textColour = Qt::black;
}

bool SelectPrinterFont(const std::string& face, int cellHeight, const std::string& style) {
    if (cellHeight <= 0) return false;
    DeviceState& s = State();
    std::string request = face + '\n' + std::to_string(cellHeight) + '\n' + style;
    if (request == s.fontRequest) return true;
    QFont font(PrinterText(face));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(style.find('b') != std::string::npos);
    font.setItalic(style.find('i') != std::string::npos);
    font.setUnderline(style.find('u') != std::string::npos);
    font.setStrikeOut(style.find('s') != std::string::npos);
    // A pixel size sets the em, not the cell: scale it so that ascent plus descent is the cell.
    constexpr int Probe = 1000;
    font.setPixelSize(Probe);
    const QFontMetricsF probe =
        s.printer ? QFontMetricsF(font, s.printer.get()) : QFontMetricsF(font);
    const qreal cell = probe.ascent() + probe.descent();
    if (cell <= 0) return false;
    font.setPixelSize(std::max(1, qRound(cellHeight * Probe / cell)));
    s.font = font;
    s.fontRequest = std::move(request);
    s.metrics.reset();
    if (QPainter* painter = ActivePrinterPainter()) painter->setFont(font);
    return true;
}

void SetPrinterTextColour(std::uint32_t rgb) {
    State().textColour = QColor(static_cast<QRgb>(rgb));
}

int PrinterTextWidth(const std::string& text) {
    return Metrics().horizontalAdvance(PrinterText(text));
}

int PrinterTextHeight(const std::string&) {
    return Metrics().height();
}

int MeasurePrinterTextBox(int x, int y, int w, int h, const std::string& text, int align,
                          bool singleLine) {
    const QRect box(x, y, w, h);
    if (QPainter* painter = ActivePrinterPainter())
        return painter->boundingRect(box, TextFlags(align, singleLine), PrinterText(text)).height();
    return Metrics().boundingRect(box, TextFlags(align, singleLine), PrinterText(text)).height();
}

int DrawPrinterTextBox(int x, int y, int w, int h, const std::string& text, int align,
                       bool singleLine) {
    QPainter* painter = ActivePrinterPainter();
    if (!painter) return 0;
    painter->save();
    painter->setClipRect(QRect(x, y, w, h));
    painter->setPen(State().textColour);
    QRect used;
    painter->drawText(QRect(x, y, w, h), TextFlags(align, singleLine), PrinterText(text), &used);
    painter->restore();
    return used.height();
}

void DrawPrinterTextAt(int x, int y, const std::string& text) {
    QPainter* painter = ActivePrinterPainter();
    if (!painter) return;
    painter->setPen(State().textColour);
    const QFontMetrics metrics(painter->font(), painter->device());
    painter->drawText(QPoint(x, y + metrics.ascent()), PrinterText(text));
}

void DrawPrinterLine(int x1, int y1, int x2, int y2) {
    QPainter* painter = ActivePrinterPainter();
    if (!painter) return;
    painter->setPen(QPen(Qt::black, State().penWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter->drawLine(x1, y1, x2, y2);
}
