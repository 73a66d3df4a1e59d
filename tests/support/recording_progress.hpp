#pragma once
// A Progress that records labels, ranges and pumps, for tests.
#include <string>
#include <vector>

#include "platform/progress.hpp"

namespace tx {

class RecordingProgress : public Progress {
public:
    struct Range {
        long long minimum, maximum;
    };
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
