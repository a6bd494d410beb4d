#include "support/gui/pdf_text.h"

std::vector<std::string> PdfPages(const std::filesystem::path& pdf) {
    const std::string text = CommandOutput("pdftotext -layout '" + pdf.string() + "' -");
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t feed; (feed = text.find('\f', start)) != std::string::npos; start = feed + 1)
        pages.push_back(text.substr(start, feed - start));
    return pages;
}

std::string PdfFontFaces(const std::filesystem::path& pdf) {
    return CommandOutput("pdffonts '" + pdf.string() + "' | awk 'NR > 2 { print $1 }' | sort -u");
}

int PdfPageCount(const std::filesystem::path& pdf) {
    const std::string info = CommandOutput("pdfinfo '" + pdf.string() + "'");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

bool InOrder(const std::string& text, std::initializer_list<std::string_view> parts) {
    std::size_t at = 0;
    for (const std::string_view part : parts) {
        at = text.find(part, at);
        if (at == std::string::npos) return false;
        at += part.size();
    }
    return true;
}
