// A small printed list over fake records for the report tests: operation types with
// a code, a designation, a name and three flags, fifty lines to a page.
#pragma once

#include "framework/report_cycle.h"
#include "platform/cp1251.h"
#include "ui/report_runner.h"

#include <QProcess>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct SampleRow {
    std::int64_t id = 0;
    std::string obozn;  // code page 1251
    std::string name;
    bool goods = false;
    bool money = false;
    bool receipt = false;
    std::int64_t group = 0;
};

class SampleSource : public framework::RecordSource {
public:
    explicit SampleSource(std::vector<SampleRow> rows) : rows_(std::move(rows)) {}

    std::string label() const override { return "TypeOp"; }
    std::int64_t count() override { return static_cast<std::int64_t>(rows_.size()); }
    void setQuickScan(bool on) override { quickScan = on; }
    int start() override {
        position_ = -1;
        return 0;
    }
    int next() override {
        if (onRead) onRead(position_ + 2);
        if (failAt == position_ + 2) {
            error_ = storage::failure(90, 5, "disk failure");
            return 90;
        }
        if (position_ + 1 >= static_cast<int>(rows_.size())) {
            error_ = storage::failure(33);
            return 33;
        }
        ++position_;
        error_ = storage::success();
        return 0;
    }
    storage::ErrorState lastError() const override { return error_; }

    const SampleRow& row() const { return rows_.at(static_cast<std::size_t>(position_)); }

    bool quickScan = false;
    int failAt = 0;                     // the read (1-based) that fails
    std::function<void(int read)> onRead;  // called before each read

private:
    std::vector<SampleRow> rows_;
    int position_ = -1;
    storage::ErrorState error_;
};

inline std::vector<SampleRow> sampleRows(int count) {
    std::vector<SampleRow> rows;
    for (int i = 1; i <= count; ++i) {
        SampleRow row;
        row.id = i;
        row.obozn = "T" + std::to_string(i);
        row.name = platform::ru("Операция номер ") + std::to_string(i);
        row.goods = i % 2 == 1;
        row.money = i % 3 == 0;
        row.receipt = false;
        row.group = (i - 1) / 7;
        rows.push_back(row);
    }
    return rows;
}

// A4 portrait; the page header takes 27 mm and each line 5 mm, so that a page
// (297 - 10 - 10 - 27 = 250 mm of body) holds exactly fifty lines.
inline ui::Report sampleReport(const SampleSource& source) {
    namespace r = framework::report;
    using platform::ru;
    ui::Report report;
    r::Layout& layout = report.layout;
    layout.name = ru("Типы Операций");
    layout.font = r::Font{"Arial Cyr", 9};
    layout.pageHeader.height = 27;
    r::Font title{"Arial Cyr", 14, true};
    layout.pageHeader.items = {
        r::text({0, 2, 185, 8}, ru("Типы Операций"), r::Align::Center).withFont(title),
        r::pageNumber({150, 12, 35, 5}, ru("pСтраница <#p"), r::Align::Right),
        r::text({0, 20, 12, 5}, ru("Код")),
        r::text({14, 20, 22, 5}, ru("Обозначение")),
        r::text({38, 20, 80, 5}, ru("Наименование")),
        r::text({120, 20, 20, 5}, ru("Товарная")),
        r::text({142, 20, 22, 5}, ru("C деньгами")),
        r::text({166, 20, 18, 5}, ru("Приход")),
        r::line({0, 26, 185, 0}),
    };
    const SampleSource* s = &source;
    layout.detail.height = 5;
    layout.detail.items = {
        r::field({0, 0, 10, 5}, "n3", [s] { return r::Value{s->row().id}; }),
        r::field({14, 0, 22, 5}, "s5", [s] { return r::Value{s->row().obozn}; }),
        r::field({38, 0, 80, 5}, "s36", [s] { return r::Value{s->row().name}; }),
        r::checkBox({125, 0.75, 3.5, 3.5}, [s] { return s->row().goods; }),
        r::checkBox({148, 0.75, 3.5, 3.5}, [s] { return s->row().money; }),
        r::checkBox({170, 0.75, 3.5, 3.5}, [s] { return s->row().receipt; }),
    };
    return report;
}

// The output of a program (pdftotext, pdfinfo, pdffonts), empty when it fails.
inline QString programOutput(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int pdfPageCount(const QString& path) {
    const QString info = programOutput(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

inline QString pdfText(const QString& path) {
    return programOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path,
                                                        QStringLiteral("-")});
}

}  // namespace testing_support
