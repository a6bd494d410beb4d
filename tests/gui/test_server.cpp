#include "gui/test_server.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

TestServer TestServer::Plain(const std::string& folder) {
    return TestServer({"-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory",
                       QString::fromStdString(folder), "0"});
}

TestServer TestServer::Odd(const std::string& folder, const std::string& record) {
    return TestServer({"-u", TALLYLEAF_TEST_SUPPORT "/odd_http_server.py", "--folder",
                       QString::fromStdString(folder), "--record", QString::fromStdString(record)});
}

TestServer::TestServer(const QStringList& arguments) : process_(std::make_unique<QProcess>()) {
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->start("python3", arguments);
    // Both servers announce "Serving HTTP on 127.0.0.1 port N" once they listen.
    const QRegularExpression announced("port (\\d+)");
    QByteArray output;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && process_->state() != QProcess::NotRunning) {
        process_->waitForReadyRead(static_cast<int>(deadline.remainingTime()));
        output += process_->readAllStandardOutput();
        const QRegularExpressionMatch match = announced.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            port_ = match.captured(1).toInt();
            return;
        }
    }
}

TestServer::~TestServer() {
    Stop();
}

void TestServer::Stop() {
    if (!process_ || process_->state() == QProcess::NotRunning) return;
    process_->kill();
    process_->waitForFinished(5000);
}

std::string TestServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}
