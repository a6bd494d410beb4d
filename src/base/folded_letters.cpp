#include "base/folded_letters.h"

#include <unicode/ustring.h>
#include <unicode/utrans.h>

#include <functional>
#include <mutex>
#include <unordered_map>

namespace {

// The transliterator takes some milliseconds to build, so it is built the first time a text needs
// it, and it serves one text at a time.
class LetterFolder {
  public:
    std::string Fold(std::string_view utf8) {
        const std::lock_guard<std::mutex> lock(busy_);
        if (!built_) Build();
        if (folder_ == nullptr) return std::string(utf8);
        UErrorCode error = U_ZERO_ERROR;
        int32_t length = 0;
        u_strFromUTF8(nullptr, 0, &length, utf8.data(), static_cast<int32_t>(utf8.size()), &error);
        error = U_ZERO_ERROR;
        // A letter folds into at most a few: room for four each.
        std::u16string text(4 * static_cast<std::size_t>(length) + 16, u'\0');
        u_strFromUTF8(text.data(), static_cast<int32_t>(text.size()), &length, utf8.data(),
                      static_cast<int32_t>(utf8.size()), &error);
        int32_t limit = length;
        utrans_transUChars(folder_, text.data(), &length, static_cast<int32_t>(text.size()), 0,
                           &limit, &error);
        std::string out(4 * static_cast<std::size_t>(length) + 1, '\0');
        int32_t outLength = 0;
        u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &outLength, text.data(), length,
                    &error);
        if (U_FAILURE(error)) return std::string(utf8);
        out.resize(static_cast<std::size_t>(outLength));
        return out;
    }

  private:
    void Build() {
        built_ = true;
        static constexpr std::u16string_view Rules =
            u"NFD; [:Nonspacing Mark:] Remove; NFC; Latin-ASCII; Upper";
        UErrorCode error = U_ZERO_ERROR;
        folder_ = utrans_openU(Rules.data(), static_cast<int32_t>(Rules.size()), UTRANS_FORWARD,
                               nullptr, 0, nullptr, &error);
        if (U_FAILURE(error)) folder_ = nullptr;
    }

    std::mutex busy_;
    bool built_ = false;
    UTransliterator* folder_ = nullptr;
};

}  // namespace

namespace {

// The texts folded last, with their folds. A catalogue names the same authors, and often the same
// titles, over and over, and a fold by the transliterator costs some thousand times a lookup.
// Each thread keeps its own, so that only the transliterator is shared.
class RecentFolds {
  public:
    const std::string* Find(std::string_view text) const {
        const auto found = folds_.find(text);
        return found == folds_.end() ? nullptr : &found->second;
    }

    void Remember(std::string_view text, const std::string& folded) {
        // Forgotten all at once when full: the next texts fill it again with what is common now.
        if (folds_.size() >= Capacity) folds_.clear();
        folds_.emplace(text, folded);
    }

  private:
    static constexpr std::size_t Capacity = 4096;
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> folds_;
};

}  // namespace

std::string FoldLetters(std::string_view utf8) {
    static LetterFolder folder;
    thread_local RecentFolds recent;
    if (const std::string* folded = recent.Find(utf8)) return *folded;
    std::string folded = folder.Fold(utf8);
    recent.Remember(utf8, folded);
    return folded;
}
