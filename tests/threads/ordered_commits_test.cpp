// The ordered commits of a run: the order files go in place whatever order their flushes end in, each
// wait, each failure policy, and a stop or an end at each point.
#include "script.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <system_error>
#include <thread>

namespace {

using Log = std::vector<std::string>;

struct Reported {
    std::vector<std::size_t> files;
    std::vector<int32_t> numbers;
};

OrderedCommits::Report recording(Reported &reported) {
    return [&reported](std::size_t file, const std::exception_ptr &failure) {
        reported.files.push_back(file);
        try {
            std::rethrow_exception(failure);
        } catch (const AppError &error) {
            reported.numbers.push_back(error.number);
        }
    };
}

AfterFailure goOn(const std::exception_ptr &) { return AfterFailure::GoOn; }

// The log without the flushes, whose order between threads is free.
Log commitsAndDrops(const Log &log) {
    Log kept;
    for (const std::string &entry : log)
        if (entry.rfind("flush", 0) != 0) kept.push_back(entry);
    return kept;
}

TEST(OrderedCommits, FilesGoInPlaceInTheirOrderWhateverOrderTheirFlushesEndIn) {
    Script script;
    for (const char *held : {"flush 0", "flush 1", "flush 2"}) script.hold(held);
    {
        OrderedCommits commits({}, {});
        for (int file = 0; file < 4; ++file)
            commits.add(file, std::make_unique<ScriptedFile>(script, file), file < 3);
        // File 3 needs no flush, and still waits for the files before it.
        script.release("flush 2");
        ASSERT_TRUE(script.waitLogged("flush 2"));
        script.release("flush 1");
        ASSERT_TRUE(script.waitLogged("flush 1"));
        EXPECT_FALSE(script.inLog("commit 1"));
        EXPECT_FALSE(script.inLog("commit 3"));
        script.release("flush 0");
        commits.commitAll();
    }
    EXPECT_EQ(commitsAndDrops(script.log()), (Log{"commit 0", "commit 1", "commit 2", "commit 3"}));
}

TEST(OrderedCommits, AFailureThatStopsTheRunIsRaisedOnceAndNoLaterFileGoesInPlace) {
    Script script;
    script.fail("commit 1");
    Reported reported;
    OrderedCommits commits({}, recording(reported));
    int raised = 0;
    try {
        for (int file = 0; file < 5; ++file)
            commits.add(file, std::make_unique<ScriptedFile>(script, file), false);
        commits.commitAll();
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, 61);
        ++raised;
    }
    commits.commitAll(); // once raised, never again
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(reported.files.empty());
    const Log log = commitsAndDrops(script.log());
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ((Log{log[0], log[1], log[2]}), (Log{"commit 0", "commit 1", "drop 1"}));
    for (std::size_t i = 3; i < log.size(); ++i) EXPECT_EQ(log[i].rfind("drop", 0), 0u) << log[i];
}

TEST(OrderedCommits, FailuresThatGoOnAreReportedInOrderAndTheRestGoInPlace) {
    Script script;
    script.fail("commit 1");
    script.fail("flush 3"); // a flush's failure comes out of its commit
    Reported reported;
    {
        OrderedCommits commits(goOn, recording(reported));
        for (int file = 0; file < 5; ++file)
            commits.add(file, std::make_unique<ScriptedFile>(script, file), true);
        commits.commitAll();
    }
    EXPECT_EQ(reported.files, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(reported.numbers, (std::vector<int32_t>{61, 61}));
    EXPECT_EQ(commitsAndDrops(script.log()),
              (Log{"commit 0", "commit 1", "drop 1", "commit 2", "drop 3", "commit 4"}));
}

TEST(OrderedCommits, AFullQueueAndCommitAllWaitWhileTheRunsThreadKeepsGettingTime) {
    Script script;
    script.hold("commit 0");
    script.hold("commit 2");
    std::atomic<int> slices{0};
    CommitLimits limits;
    limits.filesWaiting = 2;
    limits.waitSlice = std::chrono::milliseconds(5);
    OrderedCommits commits(
        {}, {}, [&] { ++slices; }, startStandardThread, limits);
    commits.add(0, std::make_unique<ScriptedFile>(script, 0), false);
    ASSERT_TRUE(script.waitReached("commit 0"));
    commits.add(1, std::make_unique<ScriptedFile>(script, 1), false);
    // The third file finds two waiting (one in hand is not counted): the run's thread waits for room,
    // handing its time to whileWaiting, until the held commit goes.
    auto third = std::async(std::launch::async,
                            [&] { commits.add(2, std::make_unique<ScriptedFile>(script, 2), false); });
    EXPECT_EQ(third.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    EXPECT_GT(slices.load(), 0);
    script.release("commit 0");
    third.get();
    const int before = slices.load();
    auto all = std::async(std::launch::async, [&] { commits.commitAll(); });
    ASSERT_TRUE(script.waitReached("commit 2"));
    EXPECT_EQ(all.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    script.release("commit 2");
    all.get();
    EXPECT_GT(slices.load(), before);
    EXPECT_EQ(commitsAndDrops(script.log()), (Log{"commit 0", "commit 1", "commit 2"}));
}

TEST(OrderedCommits, AnOwnerThatEndsFirstDropsWhatIsNotInPlaceOnceItsFlushIsDone) {
    for (int stopAfter = 0; stopAfter <= 3; ++stopAfter) {
        SCOPED_TRACE(stopAfter);
        Script script;
        script.hold("flush 1");
        auto owner = std::async(std::launch::async, [&] {
            OrderedCommits commits({}, {});
            for (int file = 0; file < stopAfter; ++file)
                commits.add(file, std::make_unique<ScriptedFile>(script, file), true);
            // Ends here without commitAll, as after a failure of its own.
        });
        if (stopAfter >= 2) {
            ASSERT_TRUE(script.waitReached("flush 1"));
            EXPECT_EQ(owner.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
        }
        script.release("flush 1");
        owner.get();
        const Log log = commitsAndDrops(script.log());
        // Each file added went in place or was dropped, once; file 1 and after never went in place.
        for (int file = 0; file < stopAfter; ++file) {
            const std::string number = std::to_string(file);
            int seen = 0;
            for (const std::string &entry : log)
                if (entry == "commit " + number || entry == "drop " + number) ++seen;
            EXPECT_EQ(seen, 1) << file;
            if (file >= 1) {
                EXPECT_FALSE(script.inLog("commit " + number));
            }
        }
    }
}

TEST(OrderedCommits, AThreadThatWillNotStartEndsTheRunWithOutOfMemoryAndDropsTheFile) {
    Script script;
    const StartThread refused = [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    {
        OrderedCommits commits({}, {}, {}, refused);
        try {
            commits.add(0, std::make_unique<ScriptedFile>(script, 0), false);
            ADD_FAILURE() << "no failure";
        } catch (const AppError &error) {
            EXPECT_EQ(error.number, 7);
        }
    }
    EXPECT_EQ(script.log(), (Log{"drop 0"}));
}

} // namespace
