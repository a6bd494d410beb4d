#pragma once
#include <string>
#include <vector>

#include "booklist/booklist.h"
#include "booklist/data_folder.h"
#include "platform/services.h"

// What became of taking matches back.
struct TakeBackResult {
    bool done = false;
    std::string reason;    // why nothing was changed, for the user
    bool damaged = false;  // the review is damaged (the reason names it)
    explicit operator bool() const { return done; }
};

// Takes back the matches of the review's rows numbered `rows` (from 1, as "MatchReview.txt"
// numbers them): each row's record is cut from "OUTPUT.MRC" (the other records unchanged byte for
// byte), the row stays in the review with its number, marked as taken back, and its entry becomes
// unmatched with an empty call number unless another row still matches it, which then gives the
// call number (the last in catalogue order). `booklist` is the folder's, as loaded; "OUTPUT.MRC",
// "Matches.tul" and "MatchReview.txt" are each replaced whole. Nothing is changed when a row
// number is unknown or already taken back, when the review is damaged, or when the bytes at a
// row's offset are not the record it wrote (the files changed since the comparison): then
// `reason` says so.
TakeBackResult TakeBackMatches(Booklist& booklist, const DataFolder& folder,
                               const std::vector<int>& rows, Services& services);

// "Match again": forgets the rejected pair of the review's row `row`, whose State is "taken back"
// or "rejected earlier", so that the next comparison may match the record and the entry again.
// The files of the run are left as they are. Fails, saying why, for a row that stands or has no
// pair kept, or when another copy of the program is working in the folder.
TakeBackResult ForgetRejection(const DataFolder& folder, int row);
