#include "platform/qt/display_text.h"

#include <QByteArrayView>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace {

constexpr const char* CodePage = "windows-1252";

QByteArrayView BytesOf(std::string_view text) {
    return QByteArrayView(text.data(), static_cast<qsizetype>(text.size()));
}

bool PlainAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

QString ToDisplay(std::string_view text) {
    // Opened once: the list decodes every cell it paints. A single-byte code page keeps no state
    // from one call to the next.
    static QStringDecoder decoder(CodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(BytesOf(text));
}

std::string FromDisplay(const QString& text) {
    static QStringEncoder encoder(CodePage, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString PathToDisplay(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathFromDisplay(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString MessageToDisplay(std::string_view text) {
    QString shown;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string_view line = text.substr(start, end - start);
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString asUtf8 = utf8.decode(BytesOf(line));
        shown += (PlainAscii(line) || utf8.hasError()) ? ToDisplay(line) : asUtf8;
        // The line break itself is ASCII.
        if (end < text.size()) shown += QLatin1Char(text[end]);
        start = end + 1;
    }
    return shown;
}
