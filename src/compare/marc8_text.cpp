#include "compare/marc8_text.h"

#include <dlfcn.h>
#include <yaz/yaz-iconv.h>

#include <mutex>

namespace {

// The converter is loaded the first time a MARC-8 text is met: linked to the program, the toolkit
// would add some 4 ms to the start of every run, and most catalogues hold no MARC-8 at all.
struct Marc8Converter {
    decltype(&yaz_iconv) convert = nullptr;
    yaz_iconv_t state = nullptr;
    std::mutex busy;  // one conversion at a time: the converter keeps its state between calls
};

Marc8Converter* LoadConverter() {
    static Marc8Converter converter;
    static const bool loaded = [] {
        void* library = ::dlopen("libyaz.so.5", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) return false;
        const auto open =
            reinterpret_cast<decltype(&yaz_iconv_open)>(::dlsym(library, "yaz_iconv_open"));
        converter.convert = reinterpret_cast<decltype(&yaz_iconv)>(::dlsym(library, "yaz_iconv"));
        if (open == nullptr || converter.convert == nullptr) return false;
        converter.state = open("UTF-8", "MARC8");
        return converter.state != nullptr;
    }();
    return loaded ? &converter : nullptr;
}

}  // namespace

std::optional<std::string> Utf8FromMarc8(std::string_view text) {
    Marc8Converter* const converter = LoadConverter();
    if (converter == nullptr) return std::nullopt;
    const std::lock_guard<std::mutex> lock(converter->busy);
    // Each text starts in MARC-8's default sets, as each field does.
    converter->convert(converter->state, nullptr, nullptr, nullptr, nullptr);
    std::string in(text);
    // A character takes at most four bytes in UTF-8, a combining mark as much as its letter.
    std::string out(4 * text.size() + 16, '\0');
    char* inAt = in.data();
    std::size_t inLeft = in.size();
    char* outAt = out.data();
    std::size_t outLeft = out.size();
    if (converter->convert(converter->state, &inAt, &inLeft, &outAt, &outLeft) ==
            static_cast<std::size_t>(-1) ||
        converter->convert(converter->state, nullptr, nullptr, &outAt, &outLeft) ==
            static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}
