#include "platform/qt/find_field.h"

#include <QKeyEvent>

#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/program_window.h"

FindField::FindField(QWidget* parent, int control) : QLineEdit(parent) {
    QObject::connect(this, &QLineEdit::textChanged, [control] {
        QueueWindowEvent({control, EventChanged});
    });
}

bool FindField::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void FindField::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (!text().isEmpty()) {
        clear();
    } else if (escapeTo_) {
        escapeTo_->setFocus(Qt::OtherFocusReason);
    }
}

FindField* AddFindField(int window, int control, int x, int y, int width, int height,
                        const std::string& label) {
    ProgramWindow* owner = ProgramWindowById(window);
    if (!owner) return nullptr;
    auto* field = new FindField(owner->Content(), control);
    PlaceControl(field, control, x, y, width, height);
    field->setPlaceholderText(ToDisplay(label));
    field->setAccessibleName(ToDisplay(label));
    field->setClearButtonEnabled(true);
    return field;
}
