// What the probe programs share: a log file named on their command line, and
// a stand-in for the window subsystem whose windows are plain objects.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "objects/EventLoop.h"
#include "objects/ObjectRef.h"

namespace testing_support {

// Appends lines to the probe's log file (opened by the probe's main).
class ProbeLog {
public:
    bool open(const char* path) { return (file_ = std::fopen(path, "a")) != nullptr; }
    void operator()(const std::string& line) const {
        std::fprintf(file_, "%s\n", line.c_str());
        std::fflush(file_);
    }

private:
    FILE* file_ = nullptr;
};

// Windows are objects of a compiled Window subclass; the loop runs while the
// list is not empty, and closing a window is logged.
class ObjectListRoster : public runtime::WindowRoster {
public:
    explicit ObjectListRoster(const ProbeLog& log) : log_(log) {}
    std::vector<runtime::ObjectRef> windows;
    bool anyWindowExists() const override { return !windows.empty(); }
    std::vector<ObjectHandle> windowObjects() const override {
        std::vector<ObjectHandle> result;
        for (const runtime::ObjectRef& w : windows) result.push_back(runtime::ObjectRef(w).release());
        return result;
    }
    void closeWindow(ObjectHandle window) override {
        log_("close window");
        std::erase_if(windows, [&](const runtime::ObjectRef& w) { return w.get() == window; });
    }

private:
    const ProbeLog& log_;
};

}  // namespace testing_support
