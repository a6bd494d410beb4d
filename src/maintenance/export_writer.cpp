#include "maintenance/export_writer.h"

#include <filesystem>

#include "app/booklist.h"

namespace {

// The files the program keeps in its working directory: an export written over one of them would
// lose the booklist or, read back as matches, mark every exported book as held.
constexpr const char* ProgramDataFiles[] = {"Booklist.tul", "Matches.tul", "TULVersion.txt",
                                            "OUTPUT.MRC"};

enum ExportField {
    ExportId,
    ExportTitle,
    ExportAuthor,
    ExportAustralian,
    ExportPublisher,
    ExportYear,
    ExportIsbn,
    ExportOutOfPrint,
    ExportCategories,
    ExportLevels,
    ExportAnnotation,
    ExportCallNumber,
};

std::string FieldValue(const BookRecord& r, int field) {
    switch (field) {
        case ExportId:
            return std::to_string(r.id);
        case ExportTitle:
            return r.title;
        case ExportAuthor:
            return r.author;
        case ExportAustralian:
            return r.australianAuthor;
        case ExportPublisher:
            return r.publisher;
        case ExportYear:
            return r.yearPublished;
        case ExportIsbn:
            return r.isbn;
        case ExportOutOfPrint:
            return {};  // the booklist carries no out-of-print flag
        case ExportCategories:
            return r.categories;
        case ExportLevels:
            return std::to_string(r.levelBand);
        case ExportAnnotation:
            return r.annotation;
        case ExportCallNumber:
            return r.callNumber;
    }
    return {};
}

void AppendValue(std::string& line, std::string_view value, ExportFormat format) {
    if (format == ExportFormat::Tab) {
        line += '\t';
        line += value;
        return;
    }
    // A quote inside a value is doubled, so that spreadsheets keep the value whole.
    line += ",\"";
    for (const char c : value) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

}  // namespace

const std::array<ExportFieldInfo, ExportFieldCount>& ExportFields() {
    static const std::array<ExportFieldInfo, ExportFieldCount> fields = {{
        {"id", "ID", "Id", true},
        {"title", "Title", "Title", true},
        {"author", "Author", "Author", true},
        {"australian", "Australian author?", "Australian author?", false},
        {"publisher", "Publisher", "Publisher", false},
        {"year", "Publish year", "Publish year", false},
        {"isbn", "ISBN", "ISBN", false},
        {"outofprint", "Out of print?", "Out of print?", false},
        {"categories", "Categories", "Categories", false},
        {"levels", "Levels", "Levels", true},
        {"annotation", "Annotation", "Annotation", false},
        {"callnumber", "Library call number", "Library call number", true},
    }};
    return fields;
}

ExportFieldSet DefaultExportFields() {
    ExportFieldSet set{};
    for (int i = 0; i < ExportFieldCount; ++i)
        set[i] = ExportFields()[i].onByDefault;
    return set;
}

std::string ExportLine(const BookRecord* record, const ExportFieldSet& fields,
                       ExportFormat format) {
    std::string line;
    for (int i = 0; i < ExportFieldCount; ++i) {
        if (!fields[i]) continue;
        AppendValue(line,
                    record ? FieldValue(*record, i) : std::string(ExportFields()[i].headerText),
                    format);
    }
    if (!line.empty()) line.erase(0, 1);  // the separator in front of the first value
    return line;
}

std::string ProgramDataFileAt(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status target = fs::status(path, error);
    const bool exists = fs::exists(target);
    const fs::path folder = fs::canonical(fs::current_path(error), error);
    for (const char* name : ProgramDataFiles) {
        if (exists) {
            if (fs::equivalent(path, name, error)) return name;
            continue;
        }
        // A file not there yet would become the data file by its name.
        const fs::path where = fs::weakly_canonical(fs::absolute(path, error), error);
        if (!error && where.filename() == name && where.parent_path() == folder) return name;
    }
    return {};
}

FileWriteResult WriteExportFile(const std::string& path, ExportFormat format,
                                const ExportFieldSet& fields,
                                const std::vector<std::string>& rowIds) {
    if (const std::string own = ProgramDataFileAt(path); !own.empty()) {
        return {false, "\"" + own + "\" is one of Tallyleaf's own data files"};
    }
    ReplacingFile file;
    if (file.Open(path)) {
        std::string line = ExportLine(nullptr, fields, format);
        line += "\r\n";
        file.Write(line);
        for (const std::string& id : rowIds) {
            const BookRecord record = LookupBookRecord(id);
            line = ExportLine(&record, fields, format);
            line += "\r\n";
            file.Write(line);
        }
        file.Commit();
    }
    return file.Result();
}
