#pragma once
// The trace files of one pass: five text files in Windows-1252 with CR LF line ends,
// created (an existing file emptied) in a folder when the trace of that pass is switched on.
//
// Every file operation is checked; a failure throws TraceFileError with a Swedish message,
// which ends the calculation (the caller publishes no results and shows the message).

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "calc/Trace.h"

class TraceFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file name of one trace file of a pass ("_ekvivalent", "_ekvivalentLd", ... /
// "_maximal", "_maximallD", ...).
std::string traceFileName(TracePass pass, TraceFile file);

class TraceFiles : public TraceSink {
public:
    // Creates the five files of the pass in `folder` (UTF-8; "" = the current folder).
    TraceFiles(const std::string& folder, TracePass pass, char decimalSeparator = '.');
    // Closes the files without reporting errors (use close() to have them checked).
    ~TraceFiles() override;
    TraceFiles(const TraceFiles&) = delete;
    TraceFiles& operator=(const TraceFiles&) = delete;

    TracePass pass() const override { return pass_; }
    char decimalSeparator() const override { return sep_; }
    void write(TraceFile f, std::string_view text) override;
    void endLine(TraceFile f) override;

    // Flushes and closes the five files; throws TraceFileError when that fails.
    void close();

private:
    void fail(int index, const char* what, int err);

    TracePass pass_;
    char sep_;
    std::string paths_[5];
    std::FILE* files_[5] = {};
};
