#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "platform/incoming_file.h"
#include "platform/qt/download.h"
#include "platform/qt/event_queue.h"

namespace {

// Made once and never deleted: it must not outlive the application at exit.
QNetworkAccessManager& Network() {
    static QNetworkAccessManager* manager = [] {
        QNetworkProxyFactory::setUseSystemConfiguration(true);
        return new QNetworkAccessManager;
    }();
    return *manager;
}

// What Qt may hold of a body before the program has taken it: the rest waits in the connection.
constexpr qint64 ReadBufferBytes = 1 << 16;

std::string Seconds(int milliseconds) {
    return std::to_string((milliseconds + 999) / 1000) +
           (milliseconds > 1000 ? " seconds" : " second");
}

}  // namespace

DownloadResult DownloadToFile(const std::string& url, const std::string& fileName,
                              const DownloadLimits& limits) {
    IncomingFile file;
    if (!file.Open(fileName, limits.maxBytes)) return file.Finish(0, -1, {});

    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    // Without this Qt asks for a compressed body and unpacks it, and the length the server
    // declares would no longer be the length received.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = Network().get(request);
    reply->setReadBufferSize(ReadBufferBytes);
    const auto accepted = [reply, &file] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        return file.Accept(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                           length.isValid() ? length.toLongLong() : -1,
                           reply->rawHeader("Content-Encoding").toStdString());
    };

    std::string timedOut;
    QTimer idle;
    idle.setSingleShot(true);
    QObject::connect(&idle, &QTimer::timeout, reply, [&] {
        timedOut = "no data came for " + Seconds(limits.idleMilliseconds);
        reply->abort();
    });
    QTimer total;
    total.setSingleShot(true);
    QObject::connect(&total, &QTimer::timeout, reply, [&] {
        timedOut = "the download took more than " + Seconds(limits.totalMilliseconds);
        reply->abort();
    });
    // A body that is refused from its headers on is not waited for.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        if (!accepted()) reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        idle.start();
        const QByteArray bytes = reply->readAll();
        const std::string_view body(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (!file.Append(body)) reply->abort();
    });
    idle.start(limits.idleMilliseconds);
    if (limits.totalMilliseconds > 0) total.start(limits.totalMilliseconds);

    LetWindowEventsThroughUntil([reply] { return reply->isFinished(); });
    idle.stop();
    total.stop();

    // A reply that ended quickly may not have announced its headers on the way.
    accepted();
    // An aborted reply is closed; what it still holds is not read.
    if (reply->isOpen()) {
        const QByteArray rest = reply->readAll();
        file.Append(std::string_view(rest.constData(), static_cast<std::size_t>(rest.size())));
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    std::string error = timedOut;
    // A status other than 200 is reported as such, not as Qt's words for it.
    if (error.empty() && reply->error() != QNetworkReply::NoError && (status == 0 || status == 200))
        error = reply->errorString().toStdString();
    reply->deleteLater();
    return file.Finish(status, length.isValid() ? length.toLongLong() : -1, error);
}
