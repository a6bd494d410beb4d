#include "platform/qt/desktop_opener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include "platform/qt/display_text.h"
#include "platform/qt/event_queue.h"

namespace {

// xdg-open hands the file to a program and ends; one still busy after this long has found a
// program that is starting up.
constexpr int OpenerPatienceMs = 5000;

}  // namespace

bool OpenWithDesktop(const std::string& path) {
    // On the heap: an opener still running when we stop waiting must not be killed with its
    // object; it deletes itself when it ends.
    auto* opener = new QProcess;
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    opener->start(QStringLiteral("xdg-open"), {PathToDisplay(path)});
    if (!opener->waitForStarted()) {
        delete opener;
        // Without xdg-open, Qt's own way may still reach the desktop (a portal, another platform).
        return QDesktopServices::openUrl(QUrl::fromLocalFile(PathToDisplay(path)));
    }
    bool ended = false;
    bool opened = true;
    QObject::connect(opener, &QProcess::finished,
                     [&ended, &opened, opener](int code, QProcess::ExitStatus status) {
                         ended = true;
                         opened = status == QProcess::NormalExit && code == 0;
                         opener->deleteLater();
                     });
    bool patienceOver = false;
    QTimer patience;
    patience.setSingleShot(true);
    QObject::connect(&patience, &QTimer::timeout, [&patienceOver] { patienceOver = true; });
    patience.start(OpenerPatienceMs);
    LetWindowEventsThroughUntil([&] { return ended || patienceOver; });
    if (!ended) QObject::disconnect(opener, &QProcess::finished, nullptr, nullptr);
    if (!ended) QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    return opened;
}
