#include "gui/gui_helpers.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/booklist.h"
#include "app/filter_state.h"
#include "platform/qt/program_window.h"
#include "platform/qt/report_list.h"

void AnswerNextMessageBox(std::function<void(QMessageBox&)> look,
                          QMessageBox::StandardButton press) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, look, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        look(*box);
        QAbstractButton* button = press == QMessageBox::NoButton
                                      ? static_cast<QAbstractButton*>(box->defaultButton())
                                      : box->button(press);
        if (button) button->click();
    });
    timer->start();
}

void ResetProgramState() {
    ResetWindowServices();
    ResetBooklistState();
}

void ClickHeading(ReportList* list, int column) {
    const QRect section(list->header()->sectionViewportPosition(column), 0,
                        list->header()->sectionSize(column), list->header()->height());
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {}, section.center());
}

void SettleEvents() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QTest::qWait(2);
    }
}

std::string BooklistLine(int id, const std::string& title, const std::string& author,
                         const std::string& australian, const std::string& categories,
                         const std::string& level, const std::string& format) {
    return std::to_string(id) + "\t" + title + "\t" + author + "\t" + australian +
           "\tPublisher\t2001\t0 14 03 1234 x\tAn annotation.\t" + categories + "\t" + level +
           "\t\t" + format + "\tSCIS" + std::to_string(id) + "\r\n";
}
