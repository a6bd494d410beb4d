#include "platform/qt/controls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include "platform/qt/event_queue.h"
#include "platform/qt/fonts.h"
#include "platform/qt/program_window.h"
#include "platform/qt/wrapping_check_box.h"

namespace {

constexpr const char* ControlNumberProperty = "tallyleafControl";

QWidget* ContentOf(int window) {
    ProgramWindow* owner = ProgramWindowById(window);
    return owner ? owner->Content() : nullptr;
}

template <typename T>
T* MakeControl(int window, int control, int x, int y, int width, int height) {
    QWidget* content = ContentOf(window);
    if (!content) return nullptr;
    auto* widget = new T(content);
    PlaceControl(widget, control, x, y, width, height);
    return widget;
}

// A check box or option button with its text, reporting every click.
template <typename T>
T* MakeClickable(int window, int control, int x, int y, int width, int height,
                 const std::string& text) {
    auto* button = MakeControl<T>(window, control, x, y, width, height);
    if (!button) return nullptr;
    button->setText(ToDisplay(text));
    QObject::connect(button, &T::clicked, [control] { QueueWindowEvent({control, EventClicked}); });
    return button;
}

// Qt closes an open drop-down list on Escape or Return and then still offers the key to the
// window's shortcuts, so Escape would also close the window: a key in an open list is the list's.
class OpenListKeys : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) event->accept();
        return false;
    }
};

void ReportShortcut(QWidget* owner, const QKeySequence& key, Qt::ShortcutContext context,
                    int command) {
    auto* shortcut = new QShortcut(key, owner);
    shortcut->setContext(context);
    QObject::connect(shortcut, &QShortcut::activated, [command] {
        QueueWindowEvent({command, EventClicked});
    });
}

}  // namespace

void PlaceControl(QWidget* widget, int control, int x, int y, int width, int height) {
    widget->setProperty(ControlNumberProperty, control);
    widget->setGeometry(x, y, width, height);
    widget->show();
}

QWidget* WindowById(int window) {
    return ProgramWindowById(window);
}

QWidget* ControlById(int window, int control) {
    ProgramWindow* owner = ProgramWindowById(window);
    if (!owner) return nullptr;
    for (QWidget* child : owner->findChildren<QWidget*>()) {
        // Dialogs are children of the window that owns them; their controls are not this window's.
        if (child->window() != owner) continue;
        const QVariant number = child->property(ControlNumberProperty);
        if (number.isValid() && number.toInt() == control) return child;
    }
    return nullptr;
}

void PostWindowEvent(int command, int subtype) {
    QueueWindowEvent({command, subtype});
}

QLabel* AddLabel(int window, int control, int x, int y, int width, int height,
                 const std::string& text) {
    auto* label = MakeControl<QLabel>(window, control, x, y, width, height);
    if (!label) return nullptr;
    label->setText(ToDisplay(text));
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ProgramFonts().labelText);
    label->setPalette(palette);
    return label;
}

QPushButton* AddButton(int window, int control, int x, int y, int width, int height,
                       const std::string& text, const std::string& tooltip) {
    auto* button = MakeControl<QPushButton>(window, control, x, y, width, height);
    if (!button) return nullptr;
    button->setText(ToDisplay(text));
    button->setFont(ProgramFonts().tahoma8);
    if (!tooltip.empty()) button->setToolTip(ToDisplay(tooltip));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, [control] {
        QueueWindowEvent({control, EventClicked});
    });
    return button;
}

QCheckBox* AddCheckBox(int window, int control, int x, int y, int width, int height,
                       const std::string& text) {
    return MakeClickable<WrappingCheckBox>(window, control, x, y, width, height, text);
}

QRadioButton* AddOptionButton(int window, int control, int x, int y, int width, int height,
                              const std::string& text) {
    return MakeClickable<QRadioButton>(window, control, x, y, width, height, text);
}

QGroupBox* AddFrame(int window, int control, int x, int y, int width, int height,
                    const std::string& text) {
    auto* frame = MakeControl<QGroupBox>(window, control, x, y, width, height);
    if (!frame) return nullptr;
    frame->setTitle(ToDisplay(text));
    frame->lower();  // controls placed over the frame stay clickable
    return frame;
}

QComboBox* AddSelector(int window, int control, int x, int y, int width, int height,
                       const std::string& tooltip) {
    auto* selector = MakeControl<QComboBox>(window, control, x, y, width, height);
    if (!selector) return nullptr;
    selector->setEditable(false);
    if (!tooltip.empty()) selector->setToolTip(ToDisplay(tooltip));
    // Only the user's choices are reported; the program's own selections are silent.
    QObject::connect(selector, &QComboBox::activated, [control](int) {
        QueueWindowEvent({control, EventChanged});
    });
    // Installed after the list's own filter, so it sees each key first.
    selector->view()->installEventFilter(new OpenListKeys(selector));
    return selector;
}

void AddShortcut(int window, const QKeySequence& key, int command) {
    if (ProgramWindow* owner = ProgramWindowById(window))
        ReportShortcut(owner, key, Qt::WindowShortcut, command);
}

void AddControlShortcut(int window, int control, const QKeySequence& key, int command) {
    if (QWidget* owner = ControlById(window, control))
        ReportShortcut(owner, key, Qt::WidgetShortcut, command);
}
