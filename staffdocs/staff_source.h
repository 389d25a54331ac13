// The employees a staff document walks: the MOL file read through a filtered view
// in the order of one of its keys. The department file is read beside it, so the
// sequential-read setting goes to both; a read error names the file label the
// document gives ("OtdMOL" for the lists, "MOL" for the forms).
#pragma once

#include "framework/data_file_source.h"

#include <functional>
#include <string>

namespace staffdocs {

class StaffSource : public framework::RecordSource {
public:
    StaffSource(storage::DataFile& mol, storage::DataFile& otdMol, const char* key,
                std::string label, std::function<bool()> filter = {});

    std::string label() const override { return label_; }
    std::int64_t count() override { return view_.count(); }
    void setQuickScan(bool on) override;
    int start() override { return view_.start(); }
    int next() override { return view_.next(); }
    storage::ErrorState lastError() const override { return view_.lastError(); }

private:
    storage::DataFile& mol_;
    storage::DataFile& otdMol_;
    framework::DataFileSource view_;
    std::string label_;
};

}  // namespace staffdocs
