#pragma once
// The calculation trace: the engine writes its intermediate values as text lines into
// five files per pass. The engine talks to a TraceSink; a null pointer means the trace is
// off, so the hot path pays only a pointer test.

#include <string>
#include <string_view>

enum class TraceFile { Main = 0, Ld = 1, La = 2, Ls = 3, Lg = 4 };
enum class TracePass { Equivalent, Maximum };

class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual TracePass pass() const = 0;
    // Appends text (UTF-8, no line end) to the file.
    virtual void write(TraceFile f, std::string_view text) = 0;
    // Ends the current line of the file.
    virtual void endLine(TraceFile f) = 0;
    void line(TraceFile f, std::string_view text)
    {
        write(f, text);
        endLine(f);
    }
    // Decimal separator for numbers ("." in the command-line tool).
    virtual char decimalSeparator() const { return '.'; }
};
