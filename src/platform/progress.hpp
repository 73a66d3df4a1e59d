#pragma once
// The progress label and bar of long operations, and the pump that keeps a window alive
// while the main thread works. pump() is called at fixed intervals by long loops.
#include <string>

namespace tx {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setLabel(const std::string& text) = 0;
    virtual void setRange(long long minimum, long long maximum) = 0;
    virtual void setPosition(long long position) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void pump() {}
    // True once the person asked to cancel (Escape or the Cancel button); long loops that can
    // stop cleanly check it after pump() and leave nothing half-done behind.
    virtual bool cancelRequested() const { return false; }
};

class NullProgress : public Progress {
public:
    void setLabel(const std::string&) override {}
    void setRange(long long, long long) override {}
    void setPosition(long long) override {}
    void setVisible(bool) override {}
};

}  // namespace tx
