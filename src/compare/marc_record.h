#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// ISO 2709 delimiters.
inline constexpr char RecordTerminator = '\x1D';
inline constexpr char FieldTerminator = '\x1E';
inline constexpr char SubfieldDelimiter = '\x1F';

// The tag of a field text (its first 3 bytes) as a number that orders like the text, byte by
// byte, a shorter tag before a longer one it begins: cheaper to test than the text itself.
constexpr std::uint32_t TagCode(std::string_view field) {
    std::uint32_t code = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        code = code << 9 | (i < field.size() ? static_cast<unsigned char>(field[i]) + 1u : 0u);
    }
    return code;
}

// More fields than this in one record are ignored.
inline constexpr std::size_t MaxFieldTexts = 10000;

// The one catalogue record in hand: its leader, its field texts in directory order (each the
// 3-character tag followed by the field content without terminator) and the texts that matching
// needs. Field texts live in one buffer that is reused from record to record, so reading a
// catalogue allocates nothing once the largest record has been seen.
class CatalogueRecord {
  public:
    std::string leader;
    std::string title;
    std::string author;  // statements joined by "~"
    std::string callNumber;
    std::string series;  // statements joined by "~"

    std::size_t FieldCount() const { return spans_.size(); }
    // Field text number `index`, counted from 0. Valid until the fields next change.
    std::string_view Field(std::size_t index) const {
        const Span& span = spans_[index];
        return std::string_view(store_).substr(span.offset, span.length);
    }

    void ClearFields();
    void AppendField(std::string_view tag, std::string_view content);
    // Replaces every field at once by `count` fields whose tags are the first 3 bytes of each
    // 12-byte `entries` item and whose contents are `contents[k]`: one copy, no reallocation
    // once the store has grown to the largest record.
    void SetFields(std::string_view entries, const std::string_view* contents, std::size_t count);
    void ReplaceField(std::size_t index, std::string_view text);
    void InsertField(std::size_t index, std::string_view text);

  private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    Span Store(std::string_view text);

    std::string store_;
    std::vector<Span> spans_;
};
