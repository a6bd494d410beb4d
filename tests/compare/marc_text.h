#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "compare/marc_record.h"

// Test records written as readable text and turned into ISO 2709 here, independently of the
// program's own writer. One line per field, records separated by a blank line:
//
//     LDR 00000nam a2200000 a 4500
//     001 ocm0001
//     245 14$aThe hobbit /$cJ.R.R. Tolkien.
//
// "$" is the subfield delimiter, "{XX}" any byte in hex (so "{24}" is a literal "$"), "#" at the
// start of a line a comment. A line "BYTES {0D}{0A}" puts its bytes into the file between records.
// A record without a LDR line gets a plain book leader.
std::string MarcFromText(std::string_view text);

// The records of a well-formed ISO 2709 file, each cut by the length its leader gives.
std::vector<std::string> RecordsOf(const std::string& bytes);

// One record from a leader and raw field texts (tag followed by content), directory computed.
std::string MarcRecordBytes(const std::string& leader, const std::vector<std::string>& fields);

// Field texts in the notation above, for readable assertions: "245 14$a*The hobbit".
std::string FieldAsText(std::string_view field);
// Field `k` of a split record, so.
std::string FieldAsText(const CatalogueRecord& record, std::size_t k);

// Every field text of a record in that notation.
std::vector<std::string> FieldTexts(const CatalogueRecord& record);

// The records of an ISO 2709 file as text, one field per line, each record followed by a blank
// line; the leader is shown with its length and base address.
std::string MarcToText(std::string_view bytes);

// Runs `command` through the shell; its exit status and what it printed on stdout and stderr.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult RunCommand(const std::string& command);

// Problems the two independent readers find in an ISO 2709 file: yaz-marcdump (any output or a
// non-zero exit) and Perl MARC::Record (any warning). Empty when both read it cleanly.
std::string IndependentReaderFaults(const std::string& path);
