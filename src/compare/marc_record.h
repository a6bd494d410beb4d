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
// needs. Most records of a catalogue are only looked at, never changed or written, so a split
// record keeps its bytes and finds each field's tag and content in them; the field texts are
// put together only when one is asked for whole or changed. Buffers are reused from record to
// record, so reading a catalogue allocates nothing once the largest record has been seen.
class CatalogueRecord {
  public:
    std::string leader;
    std::string title;
    std::string author;  // statements joined by "~"
    std::string callNumber;
    std::string series;  // statements joined by "~"

    std::size_t FieldCount() const { return count_; }
    // Field text number `index`, counted from 0. Valid until the fields next change.
    std::string_view Field(std::size_t index) const {
        if (!joined_) JoinFields();
        const Span& span = spans_[index];
        return std::string_view(store_).substr(span.offset, span.length);
    }
    // The first 3 bytes of field text `index` (fewer for a shorter text) and the rest.
    std::string_view FieldTag(std::size_t index) const {
        if (joined_) return Field(index).substr(0, 3);
        return std::string_view(bytes_).substr(raw_[index].tag, 3);
    }
    std::string_view FieldContent(std::size_t index) const {
        if (joined_) {
            const std::string_view text = Field(index);
            return text.size() > 3 ? text.substr(3) : std::string_view();
        }
        const RawSpan& raw = raw_[index];
        return std::string_view(bytes_).substr(raw.content, raw.length);
    }

    // The content of the first field of `tag`; empty when there is none.
    std::string_view FirstFieldOf(std::string_view tag) const {
        for (std::size_t k = 0; k < FieldCount(); ++k) {
            if (FieldTag(k) == tag) return FieldContent(k);
        }
        return {};
    }

    void ClearFields();
    void AppendField(std::string_view tag, std::string_view content);
    void ReplaceField(std::size_t index, std::string_view text);
    void InsertField(std::size_t index, std::string_view text);
    void RemoveField(std::size_t index);

    // For the reader: takes a copy of a record's bytes, then adds fields by their positions in it.
    std::string_view AdoptBytes(std::string_view bytes);
    void AddAdoptedField(std::size_t tagAt, std::size_t contentAt, std::size_t contentLength);

  private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    struct RawSpan {
        std::size_t tag;
        std::size_t content;
        std::size_t length;
    };
    void JoinFields() const;
    Span Store(std::string_view text);

    std::string bytes_;         // the record as split
    std::vector<RawSpan> raw_;  // fields in `bytes_`, while not joined
    std::size_t count_ = 0;
    mutable bool joined_ = true;
    mutable std::string store_;  // joined field texts
    mutable std::vector<Span> spans_;
};
