#pragma once
// A table service that loads nothing: it records the calls, answers as scripted and runs a
// probe in the middle of each load, so tests can look at the window while it is busy. The
// searches of the window's list get `set` (empty unless a test puts tables there).
#include <functional>
#include <string>
#include <vector>

#include "ui/table_service.hpp"

namespace tx::ui::test {

class FakeTables : public TableService {
public:
    StartResult startResult = StartResult::Ready;
    bool switchResult = true;
    bool centerResult = true;
    bool hugeResult = true;
    bool center = false;
    bool huge = false;
    std::vector<std::string> calls;
    std::function<void()> during;  // runs inside every load
    TableSet set;

    StartResult startUp(bool sliceMode, bool hugeOption) override {
        record(std::string("startUp ") + (sliceMode ? "slice" : "face") + (hugeOption ? " huge" : ""));
        return startResult;
    }
    bool switchMode(bool sliceMode, bool centres) override {
        record(std::string("switchMode ") + (sliceMode ? "slice" : "face") + (centres ? " centres" : ""));
        if (centres) center = centerResult;
        return switchResult && (!centres || centerResult);
    }
    bool loadCenterTables() override {
        record("loadCenterTables");
        center = centerResult;
        return centerResult;
    }
    void freeCenterTables() override {
        calls.push_back("freeCenterTables");
        center = false;
    }
    bool loadHugeTable() override {
        record("loadHugeTable");
        huge = hugeResult;
        return hugeResult;
    }
    bool hasCenter() const override { return center; }
    bool hasHuge() const override { return huge; }
    TableSet current() const override { return set; }

private:
    void record(const std::string& call) {
        calls.push_back(call);
        if (during) during();
    }
};

}  // namespace tx::ui::test
