#include "cli/console_services.h"

#include <unistd.h>

#include <cstdio>

ConsoleServices::ConsoleServices(Progress progress)
    : terminal_(progress == Progress::OnTerminal && ::isatty(::fileno(stderr)) != 0) {}

void ConsoleServices::OpenProgressWindow(const std::string&, const std::string&,
                                         std::int64_t minimum, std::int64_t maximum, bool) {
    open_ = true;
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = minimum;
    drawnPercent_ = -1;
    DrawBar();
}

void ConsoleServices::SetProgressPosition(std::int64_t value) {
    if (!open_) return;
    position_ = value;
    DrawBar();
}

void ConsoleServices::CloseProgressWindow() {
    if (!open_) return;
    open_ = false;
    if (terminal_) std::fputs("\n", stderr);
}

MessageAnswer ConsoleServices::ShowMessage(const std::string&, const std::string&,
                                           MessageButtons buttons, MessageIcon, int defaultButton) {
    return MessageButtonAnswer(buttons, defaultButton);
}

// Redrawn only when the whole percent changes: positions come record by record.
void ConsoleServices::DrawBar() {
    if (!terminal_) return;
    const std::int64_t span = maximum_ - minimum_;
    int percent = span > 0 ? static_cast<int>((position_ - minimum_) * 100 / span) : 100;
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    if (percent == drawnPercent_) return;
    drawnPercent_ = percent;
    const int filled = percent * 40 / 100;
    std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "########################################",
                 40 - filled, "", percent);
    std::fflush(stderr);
}
