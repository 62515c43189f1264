#pragma once
// An in-memory trace sink for the engine tests: keeps the lines of each of the five files.

#include <array>
#include <string>
#include <vector>

#include "calc/Trace.h"

class TraceCapture : public TraceSink {
public:
    explicit TraceCapture(TracePass p = TracePass::Equivalent, char sep = '.') : pass_(p), sep_(sep) {}
    TracePass pass() const override { return pass_; }
    char decimalSeparator() const override { return sep_; }
    void write(TraceFile f, std::string_view text) override { pending_[idx(f)] += text; }
    void endLine(TraceFile f) override
    {
        lines_[idx(f)].push_back(pending_[idx(f)]);
        pending_[idx(f)].clear();
    }
    const std::vector<std::string>& lines(TraceFile f) const { return lines_[idx(f)]; }
    void clear()
    {
        for (auto& l : lines_) l.clear();
        for (auto& p : pending_) p.clear();
    }

private:
    static std::size_t idx(TraceFile f) { return static_cast<std::size_t>(f); }
    TracePass pass_;
    char sep_;
    std::array<std::vector<std::string>, 5> lines_;
    std::array<std::string, 5> pending_;
};
