#pragma once
// The project: everything the user enters for one receiver, held as the fields of the
// 4212-byte project file. Indices are 1-based like the file's arrays.
//
// The in-memory form keeps every byte the file can hold: strings keep their raw slot
// (length byte and all bytes after it), Booleans are raw bytes (anything but 0 reads as
// true and is written back unchanged), the spare bytes are carried along. A file read and
// written again is therefore byte-identical.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/Array1.h"

constexpr int kMaxStretches = 8;
constexpr int kMaxTrains = 6;
constexpr int kMaxTracks = 4;
constexpr int kMaxBreakPoints = 33;
constexpr int kRecordSize = 4212;

// Length-prefixed text of at most N Windows-1252 bytes, stored as its raw N + 1 bytes.
template <int N>
struct ShortString {
    std::array<std::uint8_t, N + 1> raw{};

    static constexpr int capacity() { return N; }
    // The stored length, limited to the slot (a corrupt length byte never reads past it).
    int length() const { return raw[0] < N ? raw[0] : N; }
    // The Windows-1252 bytes of the text.
    std::string bytes() const { return std::string(reinterpret_cast<const char*>(raw.data() + 1), length()); }
    // Stores Windows-1252 bytes, cut to N. Bytes after the new length are left as they were.
    void setBytes(std::string_view b)
    {
        int n = static_cast<int>(b.size() < static_cast<std::size_t>(N) ? b.size() : N);
        raw[0] = static_cast<std::uint8_t>(n);
        for (int i = 0; i < n; ++i) raw[1 + i] = static_cast<std::uint8_t>(b[i]);
    }
    // Clears the slot completely (length and trailing bytes).
    void clear() { raw.fill(0); }
    bool equals(std::string_view b) const { return bytes() == b; }
    friend bool operator==(const ShortString&, const ShortString&) = default;
};

using Text39 = ShortString<39>;
using Text19 = ShortString<19>;
using Label2 = ShortString<2>;

// A Boolean byte of the file: 0 is false, anything else true; kept as stored.
using BoolByte = std::uint8_t;

struct ProjectRecord {
    std::int32_t country = 1;  // 0 Norge, 1 Sverige, 2 Finland
    Text39 objectName;
    Text39 description;
    Text39 caseOfficer;
    Text19 lastUpdate;
    std::int32_t trainCount = 1;
    std::int32_t stretchCount = 1;
    float windowArea = 2.0f;
    float roomAbsorption = 10.0f;
    std::int32_t windowRw = 29;
    std::int32_t indoorLevelOn = 0;
    float facadeInsulation = -30.0f;
    std::int32_t facadeReflectionOn = 0;
    float facadeDistance = 0.0f;

    // Per stretch, 1..8.
    Array1<std::int32_t, 8> angleFrom{};
    Array1<std::int32_t, 8> angleTo{};
    Array1<std::int32_t, 8> track{};
    Array1<std::int32_t, 8> orderInTrack{};
    Array1<float, 8> trackHeight{};
    Array1<std::int32_t, 8> shape{};  // 0 Rak, 1 Konvex, 2 Konkav
    Array1<float, 8> perpDistance{};
    Array1<float, 8> startDistance{};
    Array1<float, 8> endDistance{};
    Array1<float, 8> radius{};
    Array1<float, 8> receiverGroundHeight{};
    Array1<std::array<std::uint8_t, 4>, 8> spare{};
    Array1<float, 8> groundSource{};
    Array1<float, 8> groundReceiver{};
    Array1<float, 8> groundMiddle{};
    Array1<std::int32_t, 8> screenType{};  // 0 none, 1 Absorb., 2 Reflekt.
    Array1<float, 8> screenBaseHeight{};
    Array1<float, 8> screenDistance{};
    Array1<float, 8> screenEffectEqA{};
    Array1<float, 8> screenEffectEqB{};
    Array1<float, 8> screenEffectMaxA{};
    Array1<float, 8> screenEffectMaxB{};
    Array1<std::int32_t, 8> bankCorrection{};
    Array1<std::int32_t, 8> switchesOn{};
    Array1<std::int32_t, 8> switchStart{};
    Array1<std::int32_t, 8> crossSectionOn{};
    Array1<std::int32_t, 8> bpCount{};
    Array1<std::int32_t, 8> bpDistanceBasis{};
    Array1<float, 8> receiverHeight{};
    Array1<float, 8> screenCrestHeight{};

    // Per train, 1..6.
    Array1<std::int32_t, 6> trainLengthPerDay{};
    Array1<std::int32_t, 6> maxTrainLength{};
    Array1<std::int32_t, 6> speed{};
    Array1<std::int32_t, 6> trainType{};
    Array1<std::int32_t, 6> nationality{};  // 0 Norskt, 1 Svenskt, 2 Finskt
    Array1<Array1<BoolByte, 8>, 6> runsOnTrack{};  // [t][k]; k = 5..8 never used

    // Cross-sections, [s][p].
    Array1<Array1<float, 33>, 8> bpDistance{};
    Array1<Array1<float, 33>, 8> bpHeight{};
    Array1<Array1<Label2, 33>, 8> bpLabel{};

    // Convenience readers.
    bool runs(int t, int k) const { return runsOnTrack[t][k] != 0; }
    int trackCount() const;  // track[stretchCount], the number of tracks in use
    bool isCurved(int s) const { return shape[s] != 0; }

    friend bool operator==(const ProjectRecord&, const ProjectRecord&) = default;
};

// The current date and time as stored in lastUpdate ("yyyy-MM-dd HH:mm:ss").
std::string currentTimestamp();

// The values a program start holds before the settings are applied.
ProjectRecord startupDefaults(const std::string& timestamp = currentTimestamp());

// New: fills the record with the New values; nationality from the chosen country
// (0 Norge, 1 Sverige, else Finland). country, orderInTrack and the screen-effect arrays
// are left as they are.
void resetProjectForNew(ProjectRecord& r, int chosenCountry, const std::string& timestamp = currentTimestamp());

// facadeInsulation := 10·lg(windowArea / roomAbsorption) + 6 − windowRw, the logarithm of a
// non-positive ratio taken as 0 so the value stays finite.
void recomputeFacadeInsulation(ProjectRecord& r);

// Older files store the screen foot as a point labelled "SK": take the derived heights
// from the labelled points where they are 0 and rename "SK" to "BP".
void normaliseAfterRead(ProjectRecord& r);

// Train-type lists: number of types for a nationality (0 outside 0..2).
int trainTypeListLength(int nationality);
// Resets trainType[t] to 0 when it lies outside the list of its nationality.
void rebuildTrainTypeList(ProjectRecord& r, int t);

// The completeness check that enables the calculation.
struct MissingInput {
    enum class Table { None, Train, Stretch };
    Table table = Table::None;
    int column = 0;  // train or stretch number
    int row = 0;     // row of that table (1-based, as the tables number them)
    bool complete() const { return table == Table::None; }
    friend bool operator==(const MissingInput&, const MissingInput&) = default;
};
MissingInput firstMissingInput(const ProjectRecord& r);

// Row titles of the two input tables (UTF-8), used by messages that name a missing field.
std::string trainRowTitle(int row);    // 1..5, 6..9 "Spår 1".."Spår 4"
std::string stretchRowTitle(int row);  // 1..16
