#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "compare/marc_reader.h"

// Whether the bytes begin a MARCXML file rather than ISO 2709 records: the first byte that is not
// blank, after a UTF-8 byte-order mark, is "<". No ISO 2709 record starts so: its leader begins
// with the record length's digits.
bool LooksLikeMarcXml(std::string_view start);

// Reads the records of a MARCXML file (the MARC 21 slim schema: a collection of records or one
// record, with or without a namespace prefix) as a stream, through libxml2's push parser, and
// hands each over as the ISO 2709 record that holds the same leader and fields, so that the rest
// of a comparison reads it as it reads the records of an ISO 2709 file. Only the block in hand and
// the records parsed from it are held. The text is UTF-8, and the leader says so (position 9 "a").
//
// The parsing, which takes most of the time, runs on a thread of its own, a piece of the file
// ahead of the comparison, and hands over the records of each piece together.
class MarcXmlReader {
  public:
    explicit MarcXmlReader(MarcFileReader& source);
    ~MarcXmlReader();
    MarcXmlReader(const MarcXmlReader&) = delete;
    MarcXmlReader& operator=(const MarcXmlReader&) = delete;

    // The next record's bytes, valid until the next call; false after the last one, or after the
    // last one before the XML stopped being well-formed.
    bool Next(std::string_view& record);
    // Once Next has said there are no more: the line at which the file stopped being
    // well-formed; 0 while it is.
    long BrokenAtLine() const;
    // Bytes of the file parsed so far.
    std::int64_t Position() const { return position_.load(std::memory_order_relaxed); }

    // Where the parser's callbacks put the records together.
    struct Builder;

  private:
    struct Batch {  // records back to back, and where each ends
        std::string bytes;
        std::vector<std::size_t> ends;
    };
    // The parsing thread: parses the file piece by piece, handing over each piece's records.
    void Parse();
    // Parses the next piece; true when the file has ended or stopped being well-formed.
    bool ParseMore();

    // The parsing thread's alone once it runs.
    MarcFileReader& source_;
    std::unique_ptr<Builder> builder_;
    void* parser_ = nullptr;  // the libxml2 parser context, kept out of this header
    long brokenAtLine_ = 0;
    std::atomic<std::int64_t> position_{0};

    // Shared under the mutex.
    mutable std::mutex mutex_;
    std::condition_variable handed_;
    Batch batch_;  // handed over and not yet taken, while `batchHanded_`
    bool batchHanded_ = false;
    bool finished_ = false;  // the last batch has been handed over
    bool stop_ = false;      // the reader is going: the parsing ends where it is

    // The reading side's.
    Batch current_;
    std::size_t nextRecord_ = 0;
    std::thread worker_;
};
