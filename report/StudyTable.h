#pragma once
// The table of a height study, one row per height: the height, the equivalent level (free
// field, and indoors and in front of the facade where those options are on), the highest
// track maximum, the simultaneous maximum and the equivalent and maximum level of every
// track. The command-line tool prints it, the study window shows, copies and prints it.

#include <string>
#include <vector>

#include "calc/Study.h"

enum class StudyColumn { Height, Eq, EqIndoor, EqFacade, Max, MaxSimultaneous, TrackEq, TrackMax };

struct StudyTable {
    std::vector<std::string> header;
    std::vector<StudyColumn> columns;
    std::vector<int> columnTrack;  // the track of a TrackEq / TrackMax column, else 0
    // One line per row: the texts (empty level cells in a row without levels), the values
    // (NaN where there is no number; column 0 is the height) and the row's messages joined
    // on one line ("" when it has none).
    std::vector<std::vector<std::string>> cells;
    std::vector<std::vector<double>> values;
    std::vector<std::string> notes;
    bool anyNote = false;

    // Whether the column is compared with the guideline value for the equivalent level
    // (outdoor levels) or with the one for the maximum level.
    static bool isEquivalentOutdoor(StudyColumn c) { return c == StudyColumn::Eq || c == StudyColumn::EqFacade; }
    static bool isMaximum(StudyColumn c) { return c == StudyColumn::Max || c == StudyColumn::MaxSimultaneous; }
    int columnOf(StudyColumn c) const;  // -1 when the table has no such column
};

// `indoor` and `facade` are the states of the two option boxes the rows were run with.
StudyTable buildStudyTable(const ProjectRecord& r, const std::vector<StudyRow>& rows, bool indoor, bool facade,
                           char decimalSeparator = '.');

// Tab-separated, a header line first, every line ending with CR LF (the clipboard form);
// the column "Meddelande" only when some row has a message.
std::string studyTableTabbed(const StudyTable& t);
// CSV (comma-separated, quoted where needed, LF) with a header line and always the column
// "Meddelande".
std::string studyTableCsv(const StudyTable& t);
// Aligned columns for a terminal, messages after the numbers.
std::string studyTableText(const StudyTable& t);
