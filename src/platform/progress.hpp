#pragma once
// The progress label and bar of long operations, and the pump that keeps a window alive
// while the main thread works. pump() is called at fixed intervals by long loops.
#include <string>
#include <vector>

namespace tx {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setLabel(const std::string& text) = 0;
    virtual void setRange(long long minimum, long long maximum) = 0;
    virtual void setPosition(long long position) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void pump() {}
};

class NullProgress : public Progress {
public:
    void setLabel(const std::string&) override {}
    void setRange(long long, long long) override {}
    void setPosition(long long) override {}
    void setVisible(bool) override {}
};

// Records labels and ranges, for tests.
class RecordingProgress : public Progress {
public:
    struct Range { long long minimum, maximum; };
    std::vector<std::string> labels;
    std::vector<Range> ranges;
    long long position = 0;
    bool visible = false;
    int pumps = 0;
    void setLabel(const std::string& text) override { labels.push_back(text); }
    void setRange(long long minimum, long long maximum) override { ranges.push_back({minimum, maximum}); }
    void setPosition(long long p) override { position = p; }
    void setVisible(bool v) override { visible = v; }
    void pump() override { ++pumps; }
};

}  // namespace tx
