#include <QLabel>

#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/progress_notice.h"

namespace {
constexpr int NoticeWindowNumber = 30;
constexpr int NoticeTextControl = 1;
}  // namespace

void OpenProgressNotice(const std::string& title, const std::string& message, int width,
                        int height) {
    CloseProgressNotice();
    if (!OpenDialogWindow(NoticeWindowNumber, title, width, height, "")) return;
    // The text wraps at word boundaries instead of losing its ends in a box narrower than it.
    QLabel* text =
        AddLabel(NoticeWindowNumber, NoticeTextControl, 0, 10, width, height - 10, message);
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setWordWrap(true);
}

void CloseProgressNotice() {
    // Only the notice is closed, never a window that happens to be on top instead.
    const std::string stack = WindowStack();
    if (stack.substr(0, stack.find(',')) == std::to_string(NoticeWindowNumber)) CloseDialogWindow();
}
