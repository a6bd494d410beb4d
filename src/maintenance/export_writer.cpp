#include "maintenance/export_writer.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "booklist/booklist.h"

namespace {

// The files the program keeps in its data folder: an export written over one of them would lose
// the booklist, point the update at a list of books as its server or, read back as matches, mark
// every exported book as held.
constexpr const char* ProgramDataFiles[] = {
    BooklistFileName,    MatchesFileName, VersionFileName,  OutputFileName,
    MatchReviewFileName, VersionCopyName, BooklistCopyName, NewBooksFileName,
    ServerFileName,      LockFileName,    SettingsFileName, RejectedFileName};

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

// Where each export field's value sits in a packed line; the levels show the level's band and
// the out-of-print flag is none of them (the booklist carries none).
constexpr int NoPackedField = -1;
constexpr std::array<int, ExportFieldCount> PackedFieldOf = {
    FieldId,         FieldTitle,         FieldAuthor,     FieldAustralianAuthor,
    FieldPublisher,  FieldYearPublished, FieldIsbn,       NoPackedField,
    FieldCategories, FieldLevel,         FieldAnnotation, FieldCallNumber,
};

// Appends the values of one entry, given as the pieces of its packed line, without line end.
// The id and the level band come as text of their own: a record holds them as numbers.
void AppendValues(std::string& out, const PackedFields& entry, std::string_view idText,
                  std::string_view levelBand, const ExportFieldSet& fields, ExportFormat format) {
    const std::size_t from = out.size();
    for (int i = 0; i < ExportFieldCount; ++i) {
        if (!fields[i]) continue;
        const int field = PackedFieldOf[i];
        const std::string_view value = field == FieldId         ? idText
                                       : field == FieldLevel    ? levelBand
                                       : field == NoPackedField ? std::string_view()
                                                                : entry[field];
        AppendExportValue(out, value, format);
    }
    if (out.size() > from) out.erase(from, 1);  // the separator in front of the first value
}

constexpr std::size_t LinesAhead = 8;

// Asks for a line's bytes and the call number at its end.
void PrefetchLine(std::string_view line) {
    for (std::size_t at = 0; at < line.size(); at += 64)
        __builtin_prefetch(line.data() + at);
    if (!line.empty()) __builtin_prefetch(line.data() + line.size() - 1);
}

// How many leading pieces of a packed line hold all the wanted fields but the call number, which
// is taken from the end of the line: the keys ahead of it need not be scanned.
int PackedFieldsNeeded(const ExportFieldSet& fields) {
    int needed = 0;
    for (int i = 0; i < ExportFieldCount; ++i) {
        if (fields[i] && i != ExportCallNumber) needed = std::max(needed, PackedFieldOf[i] + 1);
    }
    return needed;
}

// Whether the whole value is a number as [+-]?[0-9]+(\.[0-9]+)? has it.
bool IsPlainNumber(std::string_view value) {
    if (!value.empty() && (value[0] == '+' || value[0] == '-')) value.remove_prefix(1);
    const auto digits = [&value] {
        const std::size_t count = std::min(value.find_first_not_of("0123456789"), value.size());
        value.remove_prefix(count);
        return count > 0;
    };
    if (!digits()) return false;
    if (value.empty()) return true;
    if (value[0] != '.') return false;
    value.remove_prefix(1);
    return digits() && value.empty();
}

// A spreadsheet takes a cell beginning with one of these as a formula: a call number or a title
// from outside (a catalogue record, a booklist fetched over plain HTTP) could run one. Numbers,
// signed ones included, stay as they are.
bool ReadsAsFormula(std::string_view value) {
    if (value.empty()) return false;
    const char first = value[0];
    return (first == '=' || first == '+' || first == '-' || first == '@' || first == '\t' ||
            first == '\r') &&
           !IsPlainNumber(value);
}

}  // namespace

void AppendExportValue(std::string& line, std::string_view value, ExportFormat format) {
    const bool formula = ReadsAsFormula(value);
    const bool comma = format == ExportFormat::Comma;
    const std::size_t quote = comma ? value.find('"') : std::string_view::npos;
    if (quote == std::string_view::npos) {
        // Almost every value: its bytes go in whole, the line grown once for them.
        const std::size_t at = line.size();
        line.resize(at + (comma ? 3 : 1) + (formula ? 1 : 0) + value.size());
        char* out = line.data() + at;
        *out++ = comma ? ',' : '\t';
        if (comma) *out++ = '"';
        if (formula) *out++ = '\'';
        if (!value.empty()) std::memcpy(out, value.data(), value.size());
        if (comma) line.back() = '"';
        return;
    }
    // A quote inside a value is doubled, so that spreadsheets keep the value whole.
    line.append(formula ? ",\"'" : ",\"");
    for (std::size_t next; (next = value.find('"')) != std::string_view::npos;) {
        line.append(value.substr(0, next + 1)).append(1, '"');
        value.remove_prefix(next + 1);
    }
    line.append(value).append(1, '"');
}

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

bool ExportShowsAnnotations(const ExportFieldSet& fields) {
    return fields[ExportAnnotation];
}

std::string ExportLine(const BookRecord* record, const ExportFieldSet& fields,
                       ExportFormat format) {
    std::string line;
    if (!record) {
        for (int i = 0; i < ExportFieldCount; ++i) {
            if (fields[i]) AppendExportValue(line, ExportFields()[i].headerText, format);
        }
        if (!line.empty()) line.erase(0, 1);  // the separator in front of the first value
        return line;
    }
    const BookRecord& r = *record;
    PackedFields entry{};
    entry[FieldTitle] = r.title;
    entry[FieldAuthor] = r.author;
    entry[FieldAustralianAuthor] = r.australianAuthor;
    entry[FieldPublisher] = r.publisher;
    entry[FieldYearPublished] = r.yearPublished;
    entry[FieldIsbn] = r.isbn;
    entry[FieldCategories] = r.categories;
    entry[FieldAnnotation] = r.annotation;
    entry[FieldCallNumber] = r.callNumber;
    AppendValues(line, entry, std::to_string(r.id), std::to_string(r.levelBand), fields, format);
    return line;
}

std::string ProgramDataFileAt(const DataFolder& dataFolder, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status target = fs::status(path, error);
    const bool exists = fs::exists(target);
    const fs::path folder = fs::weakly_canonical(dataFolder.Path(), error);
    // The manual may lie in a folder of its own, beside an installed program.
    if (exists && fs::equivalent(path, dataFolder.Manual(), error)) return ManualFileName;
    if (!exists && fs::weakly_canonical(fs::absolute(path, error), error) ==
                       fs::weakly_canonical(dataFolder.Manual(), error))
        return ManualFileName;
    for (const char* name : ProgramDataFiles) {
        if (exists) {
            if (fs::equivalent(path, dataFolder.File(name), error)) return name;
            continue;
        }
        // A file not there yet would become the data file by its name.
        const fs::path where = fs::weakly_canonical(fs::absolute(path, error), error);
        if (!error && where.filename() == name && where.parent_path() == folder) return name;
    }
    return {};
}

std::string OwnDataFileRefusal(const DataFolder& folder, const std::string& path) {
    const std::string own = ProgramDataFileAt(folder, path);
    return own.empty() ? own : "\"" + own + "\" is one of Tallyleaf's own data files";
}

PdfFilePlace PdfFilePlaceIn(const DataFolder& folder) {
    return {[folder](const std::string& path) { return OwnDataFileRefusal(folder, path); }};
}

FileWriteResult WriteExportFile(const Booklist& booklist, const DataFolder& folder,
                                const std::string& path, ExportFormat format,
                                const ExportFieldSet& fields,
                                const std::vector<std::string>& rowIds) {
    std::vector<std::string_view> lines;
    lines.reserve(rowIds.size());
    for (const std::string& id : rowIds)
        lines.push_back(booklist.LookupLine(id));
    return WriteExportLines(folder, path, format, fields, lines);
}

char ExportRowMaker::LevelBands::Of(std::string_view level) {
    for (const Known& known : known_) {
        if (known.band != 0 && known.level == level) return known.band;
    }
    Known& next = known_[next_++ % known_.size()];
    next = {level, static_cast<char>('0' + LevelBandOf(level))};
    return next.band;
}

ExportRowMaker::ExportRowMaker(const ExportFieldSet& fields, ExportFormat format)
    : fields_(fields), format_(format), needed_(std::max(PackedFieldsNeeded(fields), 1)) {}

void ExportRowMaker::Append(std::string& out, std::string_view packed, PackedFields& entry) {
    // The values are taken from the packed line as it is: a line written by packing holds its id
    // as plain decimal, as a record would give it.
    if (fields_[ExportCallNumber]) entry[FieldCallNumber] = PackedCallNumber(packed);
    // The empty line of an absent entry reads as an empty record: id 0, the last band.
    const std::string_view idText = entry[FieldId].empty() ? "0" : entry[FieldId];
    const char band = fields_[ExportLevels] ? bands_.Of(entry[FieldLevel]) : '4';
    AppendValues(out, entry, idText, std::string_view(&band, 1), fields_, format_);
    out += "\r\n";
}

std::size_t ExportRowMaker::RowBytes() const {
    // Room for most rows: a long annotation or title is met now and then. Room that is never
    // written to takes no memory.
    std::size_t bytes = 2;
    for (int i = 0; i < ExportFieldCount; ++i) {
        if (fields_[i]) bytes += i == ExportAnnotation ? 1024 : 64;
    }
    return bytes;
}

namespace {

// Writes the header and then the rows `forEachRow` hands over, each one as ExportRowMaker makes
// it, through one block that is written out whenever it fills.
template <typename ForEachRow>
FileWriteResult WriteExport(const DataFolder& folder, const std::string& path, ExportFormat format,
                            const ExportFieldSet& fields, ForEachRow forEachRow) {
    if (std::string refusal = OwnDataFileRefusal(folder, path); !refusal.empty())
        return {false, std::move(refusal)};
    ReplacingFile file;
    if (file.Open(path)) {
        constexpr std::size_t ChunkBytes = 1 << 16;
        std::string chunk = ExportLine(nullptr, fields, format);
        chunk += "\r\n";
        forEachRow(chunk, [&file, &chunk] {
            if (chunk.size() >= ChunkBytes) {
                file.Write(chunk);
                chunk.clear();
            }
        });
        file.Write(chunk);
        file.Commit();
    }
    return file.Result();
}

}  // namespace

FileWriteResult WriteExportLines(const DataFolder& folder, const std::string& path,
                                 ExportFormat format, const ExportFieldSet& fields,
                                 const std::vector<std::string_view>& packedLines) {
    ExportRowMaker maker(fields, format);
    return WriteExport(folder, path, format, fields, [&](std::string& chunk, auto written) {
        for (std::size_t row = 0; row < packedLines.size(); ++row) {
            // The lines come in the list's order, scattered over the table: those a few rows
            // ahead are asked for early, so that waiting for them overlaps the work on this one.
            if (row + LinesAhead < packedLines.size()) PrefetchLine(packedLines[row + LinesAhead]);
            const std::string_view packed = packedLines[row];
            PackedFields entry = SplitPackedLine(packed, maker.FieldsNeeded());
            maker.Append(chunk, packed, entry);
            written();
        }
    });
}

FileWriteResult WriteExportRows(const DataFolder& folder, const std::string& path,
                                ExportFormat format, const ExportFieldSet& fields,
                                std::size_t rowCount,
                                const std::function<std::string_view(std::size_t)>& rowAt) {
    return WriteExport(folder, path, format, fields, [&](std::string& chunk, auto written) {
        for (std::size_t row = 0; row < rowCount; ++row) {
            chunk += rowAt(row);
            written();
        }
    });
}
