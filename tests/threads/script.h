// Fakes for the run's threads: files whose flushes and commits wait until a test releases them, can
// fail, and write what happened to them into one log, in the order it happened.
#pragma once

#include "app_error.h"
#include "ordered_commits.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class Script {
public:
    // Holds the step ("flush 3", "commit 1") until release(); steps not held run at once.
    void hold(const std::string &step) {
        const std::lock_guard<std::mutex> guard(lock_);
        held_.insert(step);
    }
    void release(const std::string &step) {
        {
            const std::lock_guard<std::mutex> guard(lock_);
            held_.erase(step);
        }
        changed_.notify_all();
    }
    void fail(const std::string &step) {
        const std::lock_guard<std::mutex> guard(lock_);
        failing_.insert(step);
    }

    // Runs the step: waits while it is held (10 s at most), logs it, throws where it is to fail.
    void step(const std::string &step) {
        std::unique_lock<std::mutex> guard(lock_);
        if (held_.count(step)) reached_.insert(step);
        changed_.notify_all();
        changed_.wait_for(guard, std::chrono::seconds(10), [&] { return !held_.count(step); });
        log_.push_back(step);
        changed_.notify_all();
        if (failing_.count(step)) throw AppError::of(61);
    }
    void note(const std::string &what) {
        const std::lock_guard<std::mutex> guard(lock_);
        log_.push_back(what);
        changed_.notify_all();
    }

    // Waits (5 s at most) until a held step is reached, or a step is in the log.
    bool waitReached(const std::string &step) {
        std::unique_lock<std::mutex> guard(lock_);
        return changed_.wait_for(guard, std::chrono::seconds(5), [&] { return reached_.count(step) != 0; });
    }
    bool waitLogged(const std::string &step) {
        std::unique_lock<std::mutex> guard(lock_);
        return changed_.wait_for(guard, std::chrono::seconds(5), [&] { return logged(step); });
    }
    std::vector<std::string> log() {
        const std::lock_guard<std::mutex> guard(lock_);
        return log_;
    }
    bool inLog(const std::string &step) {
        const std::lock_guard<std::mutex> guard(lock_);
        return logged(step);
    }

private:
    bool logged(const std::string &step) const {
        for (const std::string &entry : log_)
            if (entry == step) return true;
        return false;
    }

    std::mutex lock_;
    std::condition_variable changed_;
    std::set<std::string> held_, failing_, reached_;
    std::vector<std::string> log_;
};

// A file of the run: "flush N", "commit N" as steps of the script, "drop N" when it goes without commit.
class ScriptedFile : public PendingFile {
public:
    ScriptedFile(Script &script, int number) : script_(script), number_(std::to_string(number)) {}
    ~ScriptedFile() override {
        if (!committed_) script_.note("drop " + number_);
    }
    void flush() override {
        try {
            script_.step("flush " + number_);
        } catch (const AppError &) {
            flushFailed_ = true; // kept for commit, as a replacement keeps its flush's failure
        }
    }
    void commit() override {
        if (flushFailed_) throw AppError::of(61);
        script_.step("commit " + number_);
        committed_ = true;
    }

private:
    Script &script_;
    std::string number_;
    bool committed_ = false;
    bool flushFailed_ = false;
};
