#include "rates/rate_download.h"

#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/ini_file.h"
#include "rates/official_rates.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <memory>

namespace rates {

namespace {

std::string say(std::string_view utf8) { return platform::ru(utf8); }
std::string cp(const QString& text) { return platform::utf8ToCp1251(text.toStdString()); }

constexpr int kProgressTickMs = 200;

}  // namespace

bool isAddress(const std::string& source) {
    const QString text = QString::fromStdString(source).trimmed().toLower();
    return text.startsWith(QLatin1String("http://")) || text.startsWith(QLatin1String("https://"));
}

std::string addressForDate(const std::string& pattern, std::int32_t date) {
    const platform::CivilDate day = platform::civilDate(date);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", day.day, day.month, day.year);
    std::string address = pattern;
    for (std::size_t at = address.find("{date}"); at != std::string::npos; at = address.find("{date}", at))
        address.replace(at, 6, text);
    return address;
}

std::string configuredAddress(std::int32_t date) {
    const std::string pattern(platform::clip(platform::readIni("Rates", "URL", "", ".\\TARVO.INI")));
    return pattern.empty() ? std::string() : addressForDate(pattern, date);
}

int downloadTimeoutMs() {
    const std::string text = platform::readIni("Rates", "Timeout", "15", ".\\TARVO.INI");
    const int seconds = std::atoi(text.c_str());
    return (seconds > 0 && seconds <= 600 ? seconds : 15) * 1000;
}

Download download(const std::string& address,
                  int timeoutMs, const std::function<bool(long long, long long)>& progress) {
    Download result;
    const QUrl url(QString::fromStdString(address).trimmed(), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "https")) {
        result.error = say("Адрес «") + address.substr(0, 200) +
                       say("» не годится: нужен адрес http:// или https://");
        return result;
    }
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    QEventLoop loop;
    bool timedOut = false, tooLarge = false;
    long long received = 0, total = -1;
    auto stop = [&] { reply->abort(); };
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] { timedOut = true; stop(); });
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (progress && !progress(received, total)) {
            result.cancelled = true;
            stop();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, [&](qint64 got, qint64 size) {
        received = got;
        total = size;
        if (got > static_cast<qint64>(kMaxSheetBytes) || size > static_cast<qint64>(kMaxSheetBytes)) {
            tooLarge = true;
            stop();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    tick.start(kProgressTickMs);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const std::string shownAddress = address.substr(0, 200);
    if (result.cancelled) {
        result.error = say("Загрузка отменена");
    } else if (tooLarge) {
        result.error = say("Ответ по адресу ") + shownAddress + say(" больше 1 МБ: это не файл курсов");
    } else if (timedOut || reply->error() == QNetworkReply::OperationCanceledError ||
               reply->error() == QNetworkReply::TimeoutError) {
        result.error = say("Адрес ") + shownAddress + say(" не ответил за ") +
                       std::to_string(timeoutMs / 1000) + say(" с");
    } else if (status.isValid() && status.toInt() >= 400) {
        result.error = say("Сервер ответил ошибкой HTTP ") + std::to_string(status.toInt()) + " " +
                       cp(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()) +
                       say(" (адрес ") + shownAddress + ")";
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error = say("Файл курсов не загружен с ") + shownAddress + ": " + cp(reply->errorString());
    } else {
        const QByteArray bytes = reply->readAll();
        result.bytes.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return result;
}

}  // namespace rates
