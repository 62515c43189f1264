#include "cli/ProjectJson.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "model/Cp1252.h"

using nlohmann::json;
using nlohmann::ordered_json;

double floatForJson(float f)
{
    if (!std::isfinite(f)) return static_cast<double>(f);
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, f);
    return std::stod(std::string(buf, res.ptr));
}

namespace {
// Writers.
ordered_json out(std::int32_t v) { return v; }
ordered_json out(float v)
{
    if (!std::isfinite(v)) return nullptr;
    return floatForJson(v);
}
ordered_json out(std::uint8_t b) { return b; }
template <int N>
ordered_json out(const ShortString<N>& s)
{
    return fromCp1252(s.bytes());
}
ordered_json out(const std::array<std::uint8_t, 4>& a) { return ordered_json::array({a[0], a[1], a[2], a[3]}); }
template <class T, int N>
ordered_json out(const Array1<T, N>& a)
{
    ordered_json j = ordered_json::array();
    for (const auto& e : a) j.push_back(out(e));
    return j;
}

// Readers.
[[noreturn]] void bad(const std::string& key, const std::string& what)
{
    throw JsonInputError("Fel i JSON-nyckeln \"" + key + "\": " + what);
}

void in(const json& j, std::int32_t& v, const std::string& key)
{
    if (!j.is_number_integer() && !j.is_boolean()) bad(key, "ett heltal väntades");
    if (j.is_boolean()) {
        v = j.get<bool>() ? 1 : 0;
        return;
    }
    long long x = j.get<long long>();
    if (x < std::numeric_limits<std::int32_t>::min() || x > std::numeric_limits<std::int32_t>::max())
        bad(key, "talet ryms inte i 32 bitar");
    v = static_cast<std::int32_t>(x);
}
void in(const json& j, float& v, const std::string& key)
{
    if (!j.is_number()) bad(key, "ett tal väntades");
    v = static_cast<float>(j.get<double>());
}
void in(const json& j, std::uint8_t& v, const std::string& key)
{
    if (j.is_boolean()) {
        v = j.get<bool>() ? 1 : 0;
        return;
    }
    if (!j.is_number_integer() || j.get<long long>() < 0 || j.get<long long>() > 255)
        bad(key, "0/1 eller true/false väntades");
    v = static_cast<std::uint8_t>(j.get<int>());
}
template <int N>
void in(const json& j, ShortString<N>& s, const std::string& key)
{
    if (!j.is_string()) bad(key, "en text väntades");
    s.clear();
    s.setBytes(toCp1252(j.get<std::string>()));
}
void in(const json& j, std::array<std::uint8_t, 4>& a, const std::string& key)
{
    if (!j.is_array() || j.size() != 4) bad(key, "fyra byte väntades");
    for (int i = 0; i < 4; ++i) in(j[i], a[static_cast<std::size_t>(i)], key);
}
template <class T, int N>
void in(const json& j, Array1<T, N>& a, const std::string& key)
{
    if (!j.is_array() || j.size() != static_cast<std::size_t>(N))
        bad(key, "en lista med " + std::to_string(N) + " element väntades");
    for (int i = 1; i <= N; ++i) in(j[static_cast<std::size_t>(i - 1)], a[i], key);
}

template <class V>
void fields(ProjectRecord& r, V&& v)
{
#define SKENBRUS_FIELD(name) v(#name, r.name)
    SKENBRUS_FIELD(country);
    SKENBRUS_FIELD(objectName);
    SKENBRUS_FIELD(description);
    SKENBRUS_FIELD(caseOfficer);
    SKENBRUS_FIELD(lastUpdate);
    SKENBRUS_FIELD(trainCount);
    SKENBRUS_FIELD(stretchCount);
    SKENBRUS_FIELD(windowArea);
    SKENBRUS_FIELD(roomAbsorption);
    SKENBRUS_FIELD(windowRw);
    SKENBRUS_FIELD(indoorLevelOn);
    SKENBRUS_FIELD(facadeInsulation);
    SKENBRUS_FIELD(facadeReflectionOn);
    SKENBRUS_FIELD(facadeDistance);
    SKENBRUS_FIELD(angleFrom);
    SKENBRUS_FIELD(angleTo);
    SKENBRUS_FIELD(track);
    SKENBRUS_FIELD(orderInTrack);
    SKENBRUS_FIELD(trackHeight);
    SKENBRUS_FIELD(shape);
    SKENBRUS_FIELD(perpDistance);
    SKENBRUS_FIELD(startDistance);
    SKENBRUS_FIELD(endDistance);
    SKENBRUS_FIELD(radius);
    SKENBRUS_FIELD(receiverGroundHeight);
    SKENBRUS_FIELD(spare);
    SKENBRUS_FIELD(groundSource);
    SKENBRUS_FIELD(groundReceiver);
    SKENBRUS_FIELD(groundMiddle);
    SKENBRUS_FIELD(screenType);
    SKENBRUS_FIELD(screenBaseHeight);
    SKENBRUS_FIELD(screenDistance);
    SKENBRUS_FIELD(screenEffectEqA);
    SKENBRUS_FIELD(screenEffectEqB);
    SKENBRUS_FIELD(screenEffectMaxA);
    SKENBRUS_FIELD(screenEffectMaxB);
    SKENBRUS_FIELD(bankCorrection);
    SKENBRUS_FIELD(switchesOn);
    SKENBRUS_FIELD(switchStart);
    SKENBRUS_FIELD(crossSectionOn);
    SKENBRUS_FIELD(bpCount);
    SKENBRUS_FIELD(bpDistanceBasis);
    SKENBRUS_FIELD(receiverHeight);
    SKENBRUS_FIELD(screenCrestHeight);
    SKENBRUS_FIELD(trainLengthPerDay);
    SKENBRUS_FIELD(maxTrainLength);
    SKENBRUS_FIELD(speed);
    SKENBRUS_FIELD(trainType);
    SKENBRUS_FIELD(nationality);
    SKENBRUS_FIELD(runsOnTrack);
    SKENBRUS_FIELD(bpDistance);
    SKENBRUS_FIELD(bpHeight);
    SKENBRUS_FIELD(bpLabel);
#undef SKENBRUS_FIELD
}
}  // namespace

ordered_json projectToJson(const ProjectRecord& r)
{
    ordered_json j = ordered_json::object();
    ProjectRecord copy = r;
    fields(copy, [&](const char* name, const auto& value) { j[name] = out(value); });
    return j;
}

void projectFromJson(const json& j, ProjectRecord& r)
{
    if (!j.is_object()) throw JsonInputError("JSON-filen måste innehålla ett objekt med projektets fält");
    bool known = false;
    fields(r, [&](const char* name, auto& value) {
        auto it = j.find(name);
        if (it != j.end()) in(*it, value, name);
    });
    for (auto it = j.begin(); it != j.end(); ++it) {
        known = false;
        fields(r, [&](const char* name, auto&) { known = known || it.key() == name; });
        if (!known) throw JsonInputError("Okänd JSON-nyckel \"" + it.key() + "\"");
    }
}
