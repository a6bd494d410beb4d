#include "compare/marcxml_reader.h"

#include <libxml/SAX2.h>
#include <libxml/dict.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <cstring>

bool LooksLikeMarcXml(std::string_view start) {
    if (start.starts_with("\xEF\xBB\xBF")) start.remove_prefix(3);
    const std::size_t first = start.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && start[first] == '<';
}

namespace {

// The parser is handed this much of the file at a time: the records it makes of one piece are
// held until read, so a piece stays small beside the mapped window it comes from.
constexpr std::size_t ParseChunkBytes = 64 * 1024;

// Records are handed over to the comparison this many bytes at a time, or the few left at the end:
// each hand-over may wake a thread, which costs as much as parsing many records.
constexpr std::size_t HandOverBytes = 1024 * 1024;

// The base address of data has five digits, so a record can address this many fields.
constexpr std::size_t MaxXmlFields = std::min<std::size_t>(MaxFieldTexts, (99999 - 25) / 12);

// The names the records are made of, as the parser's dictionary holds them: it hands every element
// and attribute name over from there, so a name is told by its address, without reading it.
struct Names {
    const xmlChar* record;
    const xmlChar* leader;
    const xmlChar* controlfield;
    const xmlChar* datafield;
    const xmlChar* subfield;
    const xmlChar* tag;
    const xmlChar* ind1;
    const xmlChar* ind2;
    const xmlChar* code;
};

Names NamesIn(xmlDictPtr dictionary) {
    const auto in = [dictionary](const char* name) {
        return xmlDictLookup(dictionary, reinterpret_cast<const xmlChar*>(name), -1);
    };
    return {in("record"), in("leader"), in("controlfield"), in("datafield"), in("subfield"),
            in("tag"),    in("ind1"),   in("ind2"),         in("code")};
}

// The value of attribute `name` among SAX2's attributes (five pointers each: local name, prefix,
// namespace, value start, value end); empty when absent.
std::string_view Attribute(int count, const xmlChar** attributes, const xmlChar* name) {
    for (int i = 0; i < count; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        if (attribute[0] == name) {
            const auto* begin = reinterpret_cast<const char*>(attribute[3]);
            const auto* end = reinterpret_cast<const char*>(attribute[4]);
            return {begin, static_cast<std::size_t>(end - begin)};
        }
    }
    return {};
}

void PutDigits(char* at, std::size_t width, std::size_t value) {
    for (std::size_t i = width; i-- > 0; value /= 10)
        at[i] = static_cast<char>('0' + value % 10);
}

}  // namespace

struct MarcXmlReader::Builder {
    Names names{};

    // Records finished and not yet read, back to back, and where each ends.
    std::string ready;
    std::vector<std::size_t> ends;

    // The record being read.
    int recordDepth = 0;  // elements open inside it; 0 outside a record
    std::string leader;
    std::string contents;  // every field's content with its terminator, back to back
    std::vector<std::pair<std::string, std::size_t>> fields;  // tag and content start
    std::string* text = nullptr;  // where character data goes: the leader or a field
    bool inField = false;
    long fatalLine = 0;

    // A record past what ISO 2709 can address, or larger than an ISO 2709 record is read whole,
    // keeps its first fields only, so that one endless record cannot take the memory.
    bool Full() const { return fields.size() >= MaxXmlFields || contents.size() >= MaxRecordBytes; }

    void StartField(std::string_view tag) {
        std::string padded(tag.substr(0, 3));
        padded.resize(3, ' ');
        fields.emplace_back(std::move(padded), contents.size());
        inField = true;
    }
    void EndField() {
        contents += FieldTerminator;
        inField = false;
        text = nullptr;
    }

    void StartElement(const xmlChar* name, int attributeCount, const xmlChar** attributes) {
        if (recordDepth == 0) {
            if (name != names.record) return;
            recordDepth = 1;
            leader.clear();
            contents.clear();
            fields.clear();
            return;
        }
        ++recordDepth;
        if (recordDepth != 2 && !(recordDepth == 3 && inField)) return;
        if (recordDepth == 2 && name == names.leader) {
            text = &leader;
        } else if (recordDepth == 2 && Full()) {
            return;
        } else if (recordDepth == 2 && name == names.controlfield) {
            StartField(Attribute(attributeCount, attributes, names.tag));
            text = &contents;
        } else if (recordDepth == 2 && name == names.datafield) {
            StartField(Attribute(attributeCount, attributes, names.tag));
            for (const xmlChar* indicator : {names.ind1, names.ind2}) {
                const std::string_view value = Attribute(attributeCount, attributes, indicator);
                contents += value.empty() ? ' ' : value[0];
            }
        } else if (recordDepth == 3 && name == names.subfield) {
            const std::string_view code = Attribute(attributeCount, attributes, names.code);
            contents += SubfieldDelimiter;
            contents += code.empty() ? ' ' : code[0];
            text = &contents;
        }
    }

    void EndElement() {
        if (recordDepth == 0) return;
        --recordDepth;
        if (recordDepth == 0) {
            if (inField) EndField();
            FinishRecord();
        } else if (recordDepth == 1) {
            if (inField) EndField();
            text = nullptr;
        } else if (recordDepth == 2) {
            text = nullptr;  // a subfield's end
        }
    }

    // The record as ISO 2709: its leader, a directory of the fields in their order, the fields.
    // Lengths and places past the digits the directory has are cut to the largest it can state;
    // a comparison finds the fields by their terminators, and a matched record that long is
    // refused when it is written, as one from an ISO 2709 file is.
    void FinishRecord() {
        const std::size_t base = 24 + 12 * fields.size() + 1;
        const std::size_t length = base + contents.size() + 1;
        const std::size_t at = ready.size();
        ready.resize(at + base);
        char* record = ready.data() + at;
        std::memset(record, ' ', 24);
        std::memcpy(record, leader.data(), std::min<std::size_t>(leader.size(), 24));
        PutDigits(record, 5, std::min<std::size_t>(length, 99999));
        record[9] = 'a';
        PutDigits(record + 12, 5, base);
        char* entry = record + 24;
        for (std::size_t k = 0; k < fields.size(); ++k, entry += 12) {
            const std::size_t start = fields[k].second;
            const std::size_t end = k + 1 < fields.size() ? fields[k + 1].second : contents.size();
            std::memcpy(entry, fields[k].first.data(), 3);
            PutDigits(entry + 3, 4, std::min<std::size_t>(end - start, 9999));
            PutDigits(entry + 7, 5, std::min<std::size_t>(start, 99999));
        }
        *entry = FieldTerminator;
        ready += contents;
        ready += RecordTerminator;
        ends.push_back(ready.size());
    }
};

namespace {

MarcXmlReader::Builder& BuilderOf(void* context) {
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    return *static_cast<MarcXmlReader::Builder*>(parser->_private);
}

void OnStart(void* context, const xmlChar* name, const xmlChar*, const xmlChar*, int,
             const xmlChar**, int attributeCount, int, const xmlChar** attributes) {
    BuilderOf(context).StartElement(name, attributeCount, attributes);
}

void OnEnd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    BuilderOf(context).EndElement();
}

void OnText(void* context, const xmlChar* text, int length) {
    MarcXmlReader::Builder& builder = BuilderOf(context);
    if (builder.text && builder.text->size() < MaxRecordBytes)
        builder.text->append(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
}

// Errors are the comparison's to report, not libxml2's to print; the first fatal one ends the
// file's records.
void OnError(void* context, xmlErrorPtr error) {
    if (!error || error->level != XML_ERR_FATAL) return;
    MarcXmlReader::Builder& builder = BuilderOf(context);
    if (builder.fatalLine == 0) builder.fatalLine = error->line > 0 ? error->line : 1;
}

}  // namespace

MarcXmlReader::MarcXmlReader(MarcFileReader& source)
    : source_(source), builder_(std::make_unique<Builder>()) {
    xmlSAXHandler handler{};
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = OnStart;
    handler.endElementNs = OnEnd;
    handler.characters = OnText;
    handler.cdataBlock = OnText;
    handler.serror = OnError;
    xmlParserCtxtPtr parser = xmlCreatePushParserCtxt(&handler, nullptr, nullptr, 0, nullptr);
    if (!parser) {
        finished_ = true;
        return;
    }
    // The callbacks get the parser; the builder rides on it.
    parser->_private = builder_.get();
    xmlCtxtUseOptions(parser, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    builder_->names = NamesIn(parser->dict);
    parser_ = parser;
    worker_ = std::thread([this] { Parse(); });
}

MarcXmlReader::~MarcXmlReader() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    handed_.notify_all();
    if (worker_.joinable()) worker_.join();
    if (parser_) xmlFreeParserCtxt(static_cast<xmlParserCtxtPtr>(parser_));
}

bool MarcXmlReader::ParseMore() {
    auto* parser = static_cast<xmlParserCtxtPtr>(parser_);
    const std::string_view block = source_.Available();
    const std::size_t size = std::min(block.size(), ParseChunkBytes);
    const bool last = size == 0;
    xmlParseChunk(parser, block.data(), static_cast<int>(size), last ? 1 : 0);
    source_.Consume(size);
    position_.store(source_.Position(), std::memory_order_relaxed);
    if (!parser->wellFormed || builder_->fatalLine != 0) {
        brokenAtLine_ =
            builder_->fatalLine != 0 ? builder_->fatalLine : xmlSAX2GetLineNumber(parser);
        return true;
    }
    return last;
}

void MarcXmlReader::Parse() {
    Builder& builder = *builder_;
    for (;;) {
        const bool ended = ParseMore();
        if (builder.ready.size() < HandOverBytes && !ended) continue;
        std::unique_lock lock(mutex_);
        handed_.wait(lock, [this] { return !batchHanded_ || stop_; });
        if (stop_) return;
        // The batch read last comes back empty, its buffers reused.
        std::swap(batch_.bytes, builder.ready);
        std::swap(batch_.ends, builder.ends);
        builder.ready.clear();
        builder.ends.clear();
        batchHanded_ = true;
        finished_ = ended;
        lock.unlock();
        handed_.notify_all();
        if (ended) return;
    }
}

bool MarcXmlReader::Next(std::string_view& record) {
    while (nextRecord_ == current_.ends.size()) {
        std::unique_lock lock(mutex_);
        handed_.wait(lock, [this] { return batchHanded_ || finished_; });
        if (!batchHanded_) return false;
        std::swap(current_, batch_);
        batchHanded_ = false;
        nextRecord_ = 0;
        lock.unlock();
        handed_.notify_all();
    }
    const std::size_t start = nextRecord_ == 0 ? 0 : current_.ends[nextRecord_ - 1];
    record = std::string_view(current_.bytes).substr(start, current_.ends[nextRecord_] - start);
    ++nextRecord_;
    return true;
}

long MarcXmlReader::BrokenAtLine() const {
    const std::lock_guard lock(mutex_);
    return finished_ ? brokenAtLine_ : 0;
}
