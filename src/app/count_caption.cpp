#include "app/count_caption.h"

#include "base/text.h"

std::string CountCaption(std::size_t shown, std::size_t listed) {
    const std::string noun = listed == 1 ? " book" : " books";
    const std::string total = FormatThousands(static_cast<std::int64_t>(listed)) + noun;
    if (shown >= listed) return total;
    return FormatThousands(static_cast<std::int64_t>(shown)) + " of " + total;
}
