// Conformance with real second processes on the same file: the watch, locks and
// the wait for them, and numbering races between four stations.
#include "tests/storage/conformance_fixture.h"
#include "tests/storage/station.h"

#include <chrono>
#include <map>
#include <thread>

namespace storage_tests {
namespace {

const storage::KeyDef& codeKey() { return *currencyLayout().key("CODE_KEY"); }

TEST_P(StorageConformance, WatchSeesARewriteByAnotherProcess) {
    auto mine = createOpen(currencyLayout());
    setCurrency(mine->record(), 1, "USD", "Dollar");
    ASSERT_EQ(mine->add(), 0);
    setCurrency(mine->record(), 1, "");
    mine->watch();
    ASSERT_EQ(mine->get(codeKey()), 0);
    const std::string position = mine->position();

    Station other({"rewrite", diskName("Curr"), "1", "Their dollar"});
    EXPECT_EQ(other.receive(), "0");
    EXPECT_EQ(other.finish(), 0);

    mine->record().setValue("NAME", "My dollar");
    EXPECT_EQ(mine->put(), 89);
    mine->watch();
    ASSERT_EQ(mine->reget(position), 0);
    EXPECT_EQ(text(mine->record(), "NAME"), "Their dollar");
    mine->record().setValue("NAME", "My dollar");
    EXPECT_EQ(mine->put(), 0);
}

TEST_P(StorageConformance, LockedFileFailsWith32OrIsWaitedFor) {
    fileIn(space(), currencyLayout())->create();
    auto mine = fileIn(space(), currencyLayout());
    ASSERT_EQ(mine->open(), 0);

    // Another process writes in a transaction: without a wait, 32 at once.
    Station writer({"hold", diskName("Curr"), "write", "0"});
    ASSERT_EQ(writer.receive(), "0");
    mine->sendOption("Recover=0");
    setCurrency(mine->record(), 1, "USD");
    EXPECT_EQ(mine->add(), 32);
    EXPECT_EQ(mine->errorText(), "File Is Already Locked");
    // With "Recover=10" the add waits until the other station lets go.
    mine->sendOption("Recover=10");
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        writer.send("release");
    });
    EXPECT_EQ(mine->add(), 0);
    release.join();
    EXPECT_EQ(writer.receive(), "released");
    EXPECT_EQ(writer.finish(), 0);

    // A station that wants the file alone cannot have it while it is open here...
    Station refused({"hold", diskName("Curr"), "alone", "0"});
    EXPECT_EQ(refused.receive(), "32");
    refused.send("done");
    EXPECT_EQ(refused.finish(), 0);
    // ...and once it has it, nobody else opens it until it closes.
    mine->close();
    Station alone({"hold", diskName("Curr"), "alone", "0"});
    ASSERT_EQ(alone.receive(), "0");
    auto late = fileIn(space(), currencyLayout());
    late->sendOption("Recover=0");
    EXPECT_EQ(late->open(), 32);
    alone.send("release");
    EXPECT_EQ(alone.receive(), "released");
    EXPECT_EQ(alone.finish(), 0);
    EXPECT_EQ(late->open(), 0);
    setCurrency(late->record(), 1, "");
    EXPECT_EQ(late->get(codeKey()), 0);
}

TEST_P(StorageConformance, NumberedInsertsFromFourProcessesNeverCollide) {
    fileIn(space(), currencyLayout())->create();
    constexpr int kEach = 150;
    std::vector<std::unique_ptr<Station>> stations;
    for (int s = 1; s <= 4; ++s)
        stations.push_back(std::make_unique<Station>(std::vector<std::string>{
            "number", diskName("Curr"), std::to_string(kEach), "S" + std::to_string(s)}));
    for (auto& s : stations) {
        EXPECT_EQ(s->receive().rfind("done", 0), 0u);
        EXPECT_EQ(s->finish(), 0);
    }

    auto f = fileIn(space(), currencyLayout());
    ASSERT_EQ(f->open(), 0);
    f->set(codeKey());
    std::int64_t expected = 1;
    std::map<std::string, int> perStation;
    while (f->next() == 0) {
        EXPECT_EQ(code(f->record()), expected++);
        ++perStation[text(f->record(), "NOTE")];
    }
    EXPECT_EQ(f->errorCode(), 33);
    EXPECT_EQ(expected - 1, 4 * kEach);
    EXPECT_EQ(perStation, (std::map<std::string, int>{
                              {"S1", kEach}, {"S2", kEach}, {"S3", kEach}, {"S4", kEach}}));
}

}  // namespace
}  // namespace storage_tests
