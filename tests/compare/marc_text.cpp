#include "compare/marc_text.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace {

std::string Decode(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '$') {
            bytes += '\x1F';
        } else if (text[i] == '{' && i + 3 < text.size() && text[i + 3] == '}') {
            bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

std::string Digits(std::size_t value, int width) {
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) > width) throw std::runtime_error("number too wide");
    return std::string(width - text.size(), '0') + text;
}

}  // namespace

std::string MarcRecordBytes(const std::string& leader, const std::vector<std::string>& fields) {
    std::string directory;
    std::string data;
    for (const std::string& field : fields) {
        const std::string content = field.substr(3) + '\x1E';
        directory += field.substr(0, 3) + Digits(content.size(), 4) + Digits(data.size(), 5);
        data += content;
    }
    directory += '\x1E';
    const std::size_t base = 24 + directory.size();
    const std::size_t length = base + data.size() + 1;
    std::string head = leader;
    head.resize(24, ' ');
    head.replace(0, 5, Digits(length, 5));
    head.replace(12, 5, Digits(base, 5));
    return head + directory + data + '\x1D';
}

std::string MarcFromText(std::string_view text) {
    std::string file;
    std::string leader;
    std::vector<std::string> fields;
    auto flush = [&] {
        if (fields.empty() && leader.empty()) return;
        file += MarcRecordBytes(leader.empty() ? "00000nam a2200000 a 4500" : leader, fields);
        leader.clear();
        fields.clear();
    };
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.starts_with("#")) continue;
        if (line.empty()) {
            flush();
            continue;
        }
        if (line.starts_with("BYTES ")) {
            flush();
            file += Decode(line.substr(6));
            continue;
        }
        if (line.starts_with("LDR ")) {
            leader = Decode(line.substr(4));
            continue;
        }
        const std::string tag(line.substr(0, 3));
        const std::string_view rest = line.size() > 4 ? line.substr(4) : std::string_view();
        fields.push_back(tag + Decode(rest));
    }
    flush();
    return file;
}

std::string FieldAsText(std::string_view field) {
    std::string text(field.substr(0, 3));
    if (field.size() > 3) text += ' ';
    for (const char c : field.substr(std::min<std::size_t>(3, field.size()))) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\x1F') {
            text += '$';
        } else if (c == '$' || c == '{' || byte < 0x20 || byte >= 0x80) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "{%02X}", byte);
            text += hex;
        } else {
            text += c;
        }
    }
    return text;
}

std::string FieldAsText(const CatalogueRecord& record, std::size_t k) {
    return FieldAsText(std::string(record.FieldTag(k)) + std::string(record.FieldContent(k)));
}

std::vector<std::string> FieldTexts(const CatalogueRecord& record) {
    std::vector<std::string> texts;
    for (std::size_t k = 0; k < record.FieldCount(); ++k) {
        texts.push_back(FieldAsText(record, k));
    }
    return texts;
}

std::string MarcToText(std::string_view bytes) {
    std::string text;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\x1D', at);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view record = bytes.substr(at, end - at);
        at = end;
        text += "LDR " + std::string(record.substr(0, 24)) + "\n";
        if (record.size() < 24) continue;
        const std::size_t base = std::stoul(std::string(record.substr(12, 5)));
        for (std::size_t entry = 24; entry + 12 <= base - 1; entry += 12) {
            const std::size_t length = std::stoul(std::string(record.substr(entry + 3, 4)));
            const std::size_t start = std::stoul(std::string(record.substr(entry + 7, 5)));
            const std::string field = std::string(record.substr(entry, 3)) +
                                      std::string(record.substr(base + start, length - 1));
            text += FieldAsText(field) + "\n";
        }
        text += "\n";
    }
    return text;
}

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.output.append(buffer.data(), got);
    }
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string IndependentReaderFaults(const std::string& path) {
    // Without them every file would pass unread: say which is missing instead.
    if (RunCommand("command -v yaz-marcdump").status != 0) {
        return "yaz-marcdump is not installed (scripts/setup.sh installs the package yaz)";
    }
    if (RunCommand("perl -MMARC::File::USMARC -e 1").status != 0) {
        return "Perl MARC::Record is not installed (scripts/setup.sh installs libmarc-record-perl)";
    }
    std::string faults;
    const CommandResult yaz = RunCommand("yaz-marcdump -n '" + path + "'");
    if (yaz.status != 0 || !yaz.output.empty()) {
        faults += "yaz-marcdump (exit " + std::to_string(yaz.status) + "): " + yaz.output;
    }
    const CommandResult perl = RunCommand(
        "perl -MMARC::File::USMARC -e '"
        "my $f = MARC::File::USMARC->in($ARGV[0]) or die qq(cannot open\\n);"
        "while (my $r = $f->next) { print qq($_\\n) for $r->warnings }"
        "print qq($_\\n) for $f->warnings' '" +
        path + "'");
    if (perl.status != 0 || !perl.output.empty()) {
        faults += "MARC::Record (exit " + std::to_string(perl.status) + "): " + perl.output;
    }
    return faults;
}

std::vector<std::string> RecordsOf(const std::string& bytes) {
    std::vector<std::string> records;
    for (std::size_t at = 0; at + 5 <= bytes.size(); at += records.back().size())
        records.push_back(bytes.substr(at, std::stoul(bytes.substr(at, 5))));
    return records;
}
