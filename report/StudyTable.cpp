#include "report/StudyTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/Format.h"

namespace {
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

std::string oneLine(const std::string& text)
{
    std::string s;
    for (char c : text) {
        if (c == '\r') continue;
        s.push_back(c == '\n' ? ' ' : c);
    }
    return s;
}

// Characters (not bytes) of UTF-8 text.
std::size_t width(const std::string& s)
{
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}
}  // namespace

int StudyTable::columnOf(StudyColumn c) const
{
    const auto it = std::find(columns.begin(), columns.end(), c);
    return it == columns.end() ? -1 : static_cast<int>(it - columns.begin());
}

StudyTable buildStudyTable(const ProjectRecord& r, const std::vector<StudyRow>& rows, bool indoor, bool facade,
                           char sep)
{
    StudyTable t;
    auto add = [&t](StudyColumn c, std::string title, int track = 0) {
        t.columns.push_back(c);
        t.header.push_back(std::move(title));
        t.columnTrack.push_back(track);
    };
    add(StudyColumn::Height, "Höjd (m)");
    add(StudyColumn::Eq, "Ekv. frifält (dBA)");
    if (indoor) add(StudyColumn::EqIndoor, "Ekv. inne (dBA)");
    if (facade) add(StudyColumn::EqFacade, "Ekv. fasad (dBA)");
    add(StudyColumn::Max, "Max. (dBA)");
    add(StudyColumn::MaxSimultaneous, "Max. samv. (dBA)");
    const int nTracks = std::clamp(r.trackCount(), 1, kMaxTracks);
    for (int k = 1; k <= nTracks; ++k) add(StudyColumn::TrackEq, "Ekv. spår " + std::to_string(k) + " (dBA)", k);
    for (int k = 1; k <= nTracks; ++k) add(StudyColumn::TrackMax, "Max. spår " + std::to_string(k) + " (dBA)", k);

    // The corrected rows of the result grid follow in the order indoor, facade.
    const int indoorRow = 2;
    const int facadeRow = indoor ? 3 : 2;
    for (const StudyRow& row : rows) {
        std::vector<double> v(t.columns.size(), kNone);
        std::vector<std::string> cells(t.columns.size());
        v[0] = row.height;
        cells[0] = formatGeneral(row.height, 6, sep);
        if (row.hasLevels()) {
            const CalcResults& res = row.results;
            for (std::size_t c = 1; c < t.columns.size(); ++c) {
                int decimals = 0;
                switch (t.columns[c]) {
                case StudyColumn::Height: break;
                case StudyColumn::Eq: v[c] = res.ResultGrid[1][1]; break;
                case StudyColumn::EqIndoor: v[c] = res.ResultGrid[indoorRow][1]; break;
                case StudyColumn::EqFacade: v[c] = res.ResultGrid[facadeRow][1]; break;
                case StudyColumn::Max: v[c] = res.ResultGrid[1][2]; decimals = 1; break;
                case StudyColumn::MaxSimultaneous: v[c] = res.ResultGrid[1][3]; break;
                case StudyColumn::TrackEq: v[c] = res.TrackEqLevel[t.columnTrack[c]]; decimals = 1; break;
                case StudyColumn::TrackMax: v[c] = res.TrackMaxLevel[t.columnTrack[c]]; decimals = 1; break;
                }
                cells[c] = formatFixed(v[c], decimals, sep);
            }
        }
        std::string note;
        for (const std::string& m : row.messages) {
            const std::string line = oneLine(m);
            if (note.find(line) != std::string::npos) continue;  // the maximum pass repeats the radius message
            if (!note.empty()) note += ' ';
            note += line;
        }
        t.anyNote = t.anyNote || !note.empty();
        t.cells.push_back(std::move(cells));
        t.values.push_back(std::move(v));
        t.notes.push_back(std::move(note));
    }
    return t;
}

std::string studyTableTabbed(const StudyTable& t)
{
    auto line = [&t](const std::vector<std::string>& cells, const std::string& note) {
        std::string s;
        for (std::size_t c = 0; c < cells.size(); ++c) s += (c ? "\t" : "") + cells[c];
        if (t.anyNote) s += "\t" + note;
        return s + "\r\n";
    };
    std::string out = line(t.header, "Meddelande");
    for (std::size_t i = 0; i < t.cells.size(); ++i) out += line(t.cells[i], t.notes[i]);
    return out;
}

std::string studyTableCsv(const StudyTable& t)
{
    auto quoted = [](const std::string& s) {
        if (s.find_first_of(",\"\n") == std::string::npos) return s;
        std::string q = "\"";
        for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
        return q + "\"";
    };
    auto line = [&quoted](const std::vector<std::string>& cells, const std::string& note) {
        std::string s;
        for (const std::string& c : cells) s += quoted(c) + ",";
        return s + quoted(note) + "\n";
    };
    std::string out = line(t.header, "Meddelande");
    for (std::size_t i = 0; i < t.cells.size(); ++i) out += line(t.cells[i], t.notes[i]);
    return out;
}

std::string studyTableText(const StudyTable& t)
{
    std::vector<std::size_t> w(t.header.size());
    for (std::size_t c = 0; c < w.size(); ++c) {
        w[c] = width(t.header[c]);
        for (const auto& row : t.cells) w[c] = std::max(w[c], width(row[c]));
    }
    auto line = [&w](const std::vector<std::string>& cells, const std::string& note) {
        std::string s;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            s += c ? "  " : "";
            s += std::string(w[c] - width(cells[c]), ' ') + cells[c];
        }
        if (!note.empty()) s += "  " + note;
        return s + "\n";
    };
    std::string out = line(t.header, {});
    for (std::size_t i = 0; i < t.cells.size(); ++i) out += line(t.cells[i], t.notes[i]);
    return out;
}
