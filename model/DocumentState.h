#pragma once
// The program-wide document state beside the project record.

#include <string>

struct DocumentState {
    std::string currentFileName;  // full path; empty for a project never saved or read
    bool modified = false;
    int segmentLength = 1;        // metres, at least 1
    bool traceEquivalent = false;
    bool traceMaximum = false;
};

struct ProjectRecord;

// The segment-length control: its range and value.
struct SegmentControl {
    int lower = 1;
    int upper = 2;  // range 1..2 at start
    int value = 1;
};

// Recomputes the upper limit from the receiver distances of stretches 1..stretchCount
// (half the smallest distance, halves to even; stretches with distance <= 0 skipped; the
// previous limit kept when all are skipped) and sets the value to `setting` clamped into the
// range. The result is never below 1. Returns the new value.
int refreshSegmentLength(const ProjectRecord& r, int setting, SegmentControl& control);
