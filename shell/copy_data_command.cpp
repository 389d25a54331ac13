#include "shell/copy_data_command.h"

#include "platform/paths.h"
#include "shell/console_messages.h"
#include "shell/demo_command.h"
#include "shell/startup.h"
#include "storage/data_file.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

namespace {

void complain(const std::string& text) { std::fprintf(stderr, "tarvo: %s\n", text.c_str()); }

// The file's own name, the last part of its disk name (".\Dat\KursVal" → "KursVal").
std::string baseName(const std::string& diskName) {
    const std::size_t cut = diskName.find_last_of("\\/");
    return cut == std::string::npos ? diskName : diskName.substr(cut + 1);
}

std::string withSeparator(std::string directory) {
    if (!directory.empty() && directory.back() != '\\' && directory.back() != '/')
        directory += platform::isServerAddress(directory) ? "/" : "\\";
    return directory;
}

std::unique_ptr<storage::DataFile> fileAt(const demo::DataFileRef& ref, const std::string& name) {
    auto file = std::make_unique<storage::DataFile>(*ref.layout);
    file->setName(name);
    file->setOwnerPassword(ref.ownerPassword);
    return file;
}

std::string why(const storage::DataFile& file) {
    return file.driverErrorText().empty() ? file.errorText() : file.driverErrorText();
}

// Copies one file's records in one transaction; the number copied, or -1.
long copyFile(storage::DataFile& from, storage::DataFile& to) {
    if (to.create() != 0 || to.open() != 0 || to.begin() != 0) return -1;
    long copied = 0;
    int read = from.set();
    while (read == 0 && (read = from.next()) == 0) {
        to.record() = from.record();
        to.clearCurrent();
        if (to.add() != 0) {
            to.abandon();
            return -1;
        }
        ++copied;
    }
    if (read != storage::error::kRecordNotAvailable || to.commit() != 0) {
        to.abandon();
        return -1;
    }
    return copied;
}

}  // namespace

std::optional<int> runCopyDataCommand(int argc, char** argv) {
    std::string target;
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--copy-data") {
            asked = true;
            if (i + 1 < argc) target = argv[++i];
        } else if (argument.substr(0, 12) == "--copy-data=") {
            asked = true;
            target = std::string(argument.substr(12));
        }
    }
    if (!asked) return std::nullopt;
    if (target.empty()) {
        complain("--copy-data: укажите папку данных или адрес сервера, куда копировать");
        return 2;
    }
    target = withSeparator(target);

    const ConsoleMessages messages;
    startUp();
    struct Pair {
        std::unique_ptr<storage::DataFile> from, to;
    };
    std::vector<Pair> pairs;
    for (const demo::DataFileRef& ref : allDataFiles()) {
        Pair pair{fileAt(ref, ref.name), fileAt(ref, target + baseName(ref.name))};
        if (pair.from->open(storage::kOpenReadOnlyShared) == storage::error::kFileNotFound) continue;
        if (!pair.from->isOpen()) {
            complain("нельзя прочитать " + ref.name + ": " + why(*pair.from) + "; ничего не скопировано");
            return 1;
        }
        const int there = pair.to->open(storage::kOpenReadOnlyShared);
        if (there != storage::error::kFileNotFound) {
            complain(there == storage::error::kNone ? pair.to->name() + " уже есть; ничего не скопировано"
                                                    : "нельзя проверить " + pair.to->name() + ": " +
                                                          why(*pair.to));
            return there == storage::error::kNone ? 2 : 1;
        }
        pairs.push_back(std::move(pair));
    }
    if (!platform::isServerAddress(target)) {
        std::error_code failed;
        std::filesystem::create_directories(platform::hostPath(target), failed);
        if (failed) {
            complain("нельзя создать папку " + target + ": " + failed.message());
            return 1;
        }
    }
    long records = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const long copied = copyFile(*pairs[i].from, *pairs[i].to);
        if (copied < 0) {
            complain("не скопирован " + pairs[i].from->name() + " в " + pairs[i].to->name() + ": " +
                     why(*pairs[i].to) + "; уже скопированные файлы остались в " + target);
            return 1;
        }
        records += copied;
        std::printf("%s: %ld\n", pairs[i].to->name().c_str(), copied);
    }
    std::printf("tarvo: скопировано файлов %zu, записей %ld. Укажите %s в COMP.INI (Path, BasePATH) и "
                "Dostup.INI (Path, BasePath).\n",
                pairs.size(), records, target.c_str());
    return 0;
}

}  // namespace shell
