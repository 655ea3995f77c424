// The flush pool: flushes run together on its threads, every one started runs before the pool ends,
// and a system that starts fewer threads than asked for still gets every flush run.
#include "script.h"

#include <gtest/gtest.h>

#include <system_error>

namespace {

TEST(FlushPool, FlushesRunTogetherAndEveryOneStartedRunsBeforeThePoolEnds) {
    Script script;
    script.hold("flush 0");
    std::vector<std::shared_future<void>> done;
    {
        FlushPool pool(4);
        for (int flush = 0; flush < 3; ++flush)
            done.push_back(pool.start([&script, flush] { script.step("flush " + std::to_string(flush)); }));
        ASSERT_TRUE(script.waitReached("flush 0"));
        // The held one does not keep the others waiting.
        done[2].wait();
        done[1].wait();
        EXPECT_FALSE(script.inLog("flush 0"));
        script.release("flush 0");
    }
    EXPECT_TRUE(script.inLog("flush 0"));
    for (auto &each : done) EXPECT_EQ(each.wait_for(std::chrono::seconds(0)), std::future_status::ready);
}

TEST(FlushPool, FewerThreadsThanAskedForStillRunEveryFlushAndNoneIsOutOfMemory) {
    int started = 0;
    const StartThread onlyOne = [&started](std::function<void()> work) {
        if (started == 1)
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        ++started;
        return std::thread(std::move(work));
    };
    Script script;
    {
        FlushPool pool(16, onlyOne);
        std::vector<std::shared_future<void>> done;
        for (int flush = 0; flush < 5; ++flush)
            done.push_back(pool.start([&script, flush] { script.step("flush " + std::to_string(flush)); }));
        for (auto &each : done) each.get();
    }
    EXPECT_EQ(script.log(),
              (std::vector<std::string>{"flush 0", "flush 1", "flush 2", "flush 3", "flush 4"}));

    const StartThread none = [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    FlushPool refused(4, none);
    try {
        refused.start([] {});
        ADD_FAILURE() << "no failure";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, 7);
    }
}

} // namespace
