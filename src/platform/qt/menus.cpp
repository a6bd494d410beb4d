#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "base/text.h"
#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/program_window.h"

namespace {

std::vector<std::string> SplitFields(const std::string& items) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = items.find(',', start);
        fields.push_back(items.substr(start, comma - start));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

// A "&" marks the access key ("&&" shows one); a TAB puts the rest in the shortcut column, which
// only tells the key: the window's own shortcuts carry it out.
QString MenuCaption(const std::string& text) {
    return ToDisplay(text);
}

}  // namespace

void BuildMenu(int window, const std::string& title, const std::string& items) {
    ProgramWindow* owner = ProgramWindowById(window);
    if (!owner || title.empty() || items.empty()) return;

    QMenu* menu = owner->menuBar()->addMenu(MenuCaption(title));
    std::vector<QMenu*> open{menu};
    const std::vector<std::string> fields = SplitFields(items);
    std::size_t i = 0;
    while (i < fields.size()) {
        const std::string& field = fields[i];
        if (field == "|") {
            if (open.size() > 1) open.pop_back();
            ++i;
        } else if (field.starts_with('|')) {
            open.push_back(open.back()->addMenu(MenuCaption(field.substr(1))));
            ++i;
        } else if (field == "-") {
            // A separator given as the last field is not read.
            if (i + 1 == fields.size()) break;
            open.back()->addSeparator();
            ++i;
        } else {
            // A caption needs its command number after it.
            if (i + 1 == fields.size()) break;
            const int command = ReadWholeNumber(fields[i + 1]);
            QAction* item = open.back()->addAction(MenuCaption(field));
            QObject::connect(item, &QAction::triggered, [command] {
                QueueWindowEvent({command, EventClicked});
            });
            i += 2;
        }
    }
}
