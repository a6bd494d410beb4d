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

// The one catalogue record in hand: its leader, its fields in directory order (each a 3-character
// tag and its content without terminator) and the texts that matching needs. Most records of a
// catalogue are only looked at, never changed, so a split record keeps its bytes and finds each
// field's tag and content in them; tagging makes anew only the fields it changes. Buffers are
// reused from record to record, so reading a catalogue allocates nothing once the largest record
// has been seen.
class CatalogueRecord {
  public:
    std::string leader;
    std::string title;
    std::string author;  // statements joined by "~"
    std::string callNumber;
    std::string series;  // statements joined by "~"

    std::size_t FieldCount() const { return raw_.size(); }
    // The 3 bytes of field `index`'s tag, counted from 0, and its content.
    std::string_view FieldTag(std::size_t index) const {
        return std::string_view(bytes_).substr(raw_[index].tag, 3);
    }
    std::string_view FieldContent(std::size_t index) const {
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

    void ClearFields() { raw_.clear(); }
    // For the reader: takes a copy of a record's bytes, then adds fields by their positions in it.
    std::string_view AdoptBytes(std::string_view bytes);
    void AddAdoptedField(std::size_t tagAt, std::size_t contentAt, std::size_t contentLength) {
        raw_.push_back({tagAt, contentAt, contentLength});
    }

  private:
    struct RawSpan {
        std::size_t tag;
        std::size_t content;
        std::size_t length;
    };

    std::string bytes_;  // the record as split
    std::vector<RawSpan> raw_;
};
