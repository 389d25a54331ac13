// Downloading a rates file from a small HTTP server on 127.0.0.1 that the test
// runs: a good answer, an HTTP error, a stall past the timeout, an oversized
// answer, cancelling, and addresses that are not http(s).
#include "rates/rate_download.h"
#include "rates/rate_source.h"
#include "sample_sheets.h"

#include "platform/dates.h"
#include "tests/helpers/qt_application.h"

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace rates_tests {
namespace {

// Answers every request with `response` (nothing at all when it is empty).
class LoopbackServer {
public:
    explicit LoopbackServer(QByteArray response) : response_(std::move(response)) {
        testing_support::qtApplication();
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                socket->readAll();
                if (response_.isEmpty()) return;  // a stall: the request is never answered
                socket->write(response_);
                socket->disconnectFromHost();
            });
        });
    }
    std::string address(const char* path = "/scripts/XML_daily.asp?date_req={date}") const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }

private:
    QByteArray response_;
    QTcpServer server_;
};

QByteArray httpAnswer(const char* status, const std::string& body) {
    return QByteArray("HTTP/1.1 ") + status + "\r\nContent-Type: application/xml\r\nContent-Length: " +
           QByteArray::number(static_cast<qsizetype>(body.size())) + "\r\nConnection: close\r\n\r\n" +
           QByteArray(body.data(), static_cast<qsizetype>(body.size()));
}

TEST(RateDownload, AnswersErrorsStallsAndWrongAddresses) {
    const std::string daily = dailyXml("09.12.2026", {{"USD", "1", "92,1234"}});
    struct Case {
        const char* what;
        QByteArray response;
        const char* expected;  // a part of the error, UTF-8; empty for success
    };
    const Case cases[] = {
        {"a daily file", httpAnswer("200 OK", daily), ""},
        {"HTTP 500", httpAnswer("500 Internal Server Error", "oops"), "ошибкой HTTP 500"},
        {"HTTP 404", httpAnswer("404 Not Found", ""), "ошибкой HTTP 404"},
        {"a stall", QByteArray(), "не ответил за"},
        {"over 1 MB", httpAnswer("200 OK", std::string(rates::kMaxSheetBytes + 10, 'x')), "больше 1 МБ"},
        {"a page instead of rates", httpAnswer("200 OK", "<html>maintenance</html>"), "корневой элемент «html»"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackServer server(c.response);
        const rates::Download fetched = rates::download(server.address(), 1000);
        if (*c.expected == 0) {
            EXPECT_EQ(fetched.error, "");
            EXPECT_EQ(fetched.bytes, daily);
            continue;
        }
        std::string error = fetched.error;
        if (error.empty()) error = rates::readSheet(fetched.bytes).error;
        EXPECT_NE(platform::cp1251ToUtf8(error).find(c.expected), std::string::npos)
            << platform::cp1251ToUtf8(error);
    }
    for (const char* address : {"ftp://127.0.0.1/rates.xml", "http://", "file:///etc/passwd"}) {
        const rates::Download fetched = rates::download(address, 1000);
        EXPECT_NE(platform::cp1251ToUtf8(fetched.error).find("не годится"), std::string::npos) << address;
    }
}

TEST(RateDownload, CancelStopsAStalledDownloadAndTheDateFillsTheAddress) {
    LoopbackServer server{QByteArray()};
    int asked = 0;
    const rates::Download fetched =
        rates::download(server.address(), 10000, [&](long long, long long) { return ++asked < 2; });
    EXPECT_TRUE(fetched.cancelled);
    EXPECT_NE(platform::cp1251ToUtf8(fetched.error).find("отменена"), std::string::npos);
    EXPECT_EQ(rates::addressForDate("http://bank/daily?d={date}&again={date}",
                                    platform::dayNumber(2026, 3, 7)),
              "http://bank/daily?d=07/03/2026&again=07/03/2026");
}

}  // namespace
}  // namespace rates_tests
