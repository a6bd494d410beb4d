#include "support/gui/gui_helpers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>

#include "base/replacing_file.h"
#include "platform/printer_device.h"
#include "platform/qt/controls.h"
#include "platform/qt/program_window.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/report_list.h"
#include "print/page.h"
#include "print/print_window.h"
#include "print/printer_connection.h"

void WhenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [find = std::move(find), act = std::move(act)] {
        QWidget* window = nullptr;
        const bool shown = QTest::qWaitFor([&] { return (window = find()) != nullptr; }, 5000);
        EXPECT_TRUE(shown);
        if (shown) act(window);
    });
}

QWidget* ActiveWindowById(int number) {
    QWidget* window = WindowById(number);
    return window && window->isActiveWindow() ? window : nullptr;
}

namespace {

struct TestDesktop {
    QtServices shown;
    TestServices services{&shown};
    DesktopSession session;
    TestDesktop()
        : shown(std::filesystem::current_path().string()),
          session{
              DataFolder(std::filesystem::current_path().string()), {}, services, Booklist(), {}} {}
};

std::unique_ptr<TestDesktop>& Desktop() {
    static std::unique_ptr<TestDesktop> desktop;
    return desktop;
}

}  // namespace

DesktopSession& TestSession() {
    if (!Desktop()) Desktop() = std::make_unique<TestDesktop>();
    return Desktop()->session;
}

TestServices& TestSessionServices() {
    TestSession();
    return Desktop()->services;
}

void ResetProgramState() {
    ResetWindowServices();
    Desktop().reset();
    FailNextFileAfter(-1);
    SetPdfOutput("");
    ClearSpoolerPresets();
    ResetPrinterState();
    ResetPrintJob();
}

void PrintWhenAsked() {
    WhenShown([] { return ActiveWindowById(PrintWindowNumber); },
              [](QWidget*) {
                  ReportList* list = ControlAs<ReportList>(PrintWindowNumber, PrinterListControl);
                  if (list && SelectedListRows(list).empty()) SelectListRows(list, {0});
                  PostWindowEvent(PrintButtonControl, EventClicked);
              });
}

void ClickHeading(ReportList* list, int column) {
    const QRect section(list->header()->sectionViewportPosition(column), 0,
                        list->header()->sectionSize(column), list->header()->height());
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {}, section.center());
}

std::string BooklistLine(int id, const std::string& title, const std::string& author,
                         const std::string& australian, const std::string& categories,
                         const std::string& level, const std::string& format) {
    return std::to_string(id) + "\t" + title + "\t" + author + "\t" + australian +
           "\tPublisher\t2001\t0 14 03 1234 x\tAn annotation.\t" + categories + "\t" + level +
           "\t\t" + format + "\tSCIS" + std::to_string(id) + "\r\n";
}
