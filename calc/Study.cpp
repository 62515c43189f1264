#include "calc/Study.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "calc/Format.h"

namespace {
int stretchesInUse(const ProjectRecord& r) { return std::clamp(r.stretchCount, 1, kMaxStretches); }

std::string metres(double h) { return formatGeneral(h, 15, '.'); }

std::string heightError(const std::vector<double>& heights)
{
    if (heights.empty()) return "Ange minst en höjd.";
    if (heights.size() > static_cast<std::size_t>(kMaxStudyHeights))
        return "Högst " + std::to_string(kMaxStudyHeights) + " höjder kan beräknas på en gång (" +
               std::to_string(heights.size()) + " angavs).";
    for (double h : heights)
        if (!(h >= 0.0 && h <= kMaxStudyHeight))
            return "Höjden " + metres(h) + " m ligger utanför 0 - 1000 m.";
    return {};
}

// Thrown from inside a run when the study is stopped: the run publishes nothing.
struct StudyStopped {};

StudyRow runOne(const ProjectRecord& r, const RunSettings& settings, const AngleFactors& factors,
                const StudyRequest& req, std::size_t i, const std::atomic<bool>& stop)
{
    StudyRow row;
    row.height = req.heights[i];
    row.record = StudyRecord(r, req, row.height);
    AngleFactors f = factors;
    const RunMessageSink message = [&row](const RunMessage& m) { row.messages.push_back(m.text); };
    const RunProgress progress = [&stop](int) {
        if (stop.load(std::memory_order_relaxed)) throw StudyStopped{};
    };
    row.ran = RunCalculation(row.record, settings, f, message, progress, row.results);
    return row;
}
}  // namespace

std::string StudyRefusal(const ProjectRecord& r, const StudyRequest& req)
{
    if (req.kind == StudyKind::Screen) {
        const int n = stretchesInUse(r);
        if (req.stretch == 0) {
            bool any = false;
            for (int s = 1; s <= n; ++s) any = any || r.screenType[s] > 0;
            if (!any) return "Ingen delsträcka har skärm.";
        } else if (req.stretch < 1 || req.stretch > n) {
            return "Delsträcka " + std::to_string(req.stretch) + " finns inte (projektet har " + std::to_string(n) +
                   (n == 1 ? " delsträcka)." : " delsträckor).");
        } else if (r.screenType[req.stretch] <= 0) {
            return "Delsträcka " + std::to_string(req.stretch) + " har ingen skärm";
        }
    }
    return heightError(req.heights);
}

ProjectRecord StudyRecord(const ProjectRecord& r, const StudyRequest& req, double height)
{
    ProjectRecord m = r;
    const float h = static_cast<float>(height);
    const int n = stretchesInUse(r);
    for (int s = 1; s <= n; ++s) {
        if (req.kind == StudyKind::Floors)
            m.receiverHeight[s] = h;
        else if (req.stretch == s || (req.stretch == 0 && r.screenType[s] > 0))
            m.screenCrestHeight[s] = h;
    }
    return m;
}

StudyOutcome RunStudy(const ProjectRecord& r, const RunSettings& settings, const AngleFactors& factors,
                      const StudyRequest& req, int threads, const StudyHooks& hooks)
{
    if (const std::string why = StudyRefusal(r, req); !why.empty()) throw std::invalid_argument(why);

    RunSettings rs = settings;
    rs.trace.equivalent = rs.trace.maximum = false;  // one set of trace files cannot serve many runs

    const std::size_t total = req.heights.size();
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const std::size_t nThreads = std::min<std::size_t>(static_cast<std::size_t>(threads), total);

    // Each worker takes the next height and writes only that row's slot.
    std::vector<StudyRow> rows(total);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t done = 0;
    std::size_t workersLeft = nThreads;
    std::exception_ptr failure;

    auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= total || stop.load()) break;
            try {
                StudyRow row = runOne(r, rs, factors, req, i, stop);
                rows[i] = std::move(row);
            } catch (const StudyStopped&) {
                break;
            } catch (...) {
                std::lock_guard lock(mutex);
                if (!failure) failure = std::current_exception();
                stop = true;
                break;
            }
            std::lock_guard lock(mutex);
            ++done;
            finished.notify_one();
        }
        std::lock_guard lock(mutex);
        --workersLeft;
        finished.notify_one();
    };

    auto report = [&](std::size_t d) {
        if (hooks.progress) hooks.progress(static_cast<int>(d), static_cast<int>(total));
        if (hooks.cancelRequested && hooks.cancelRequested()) stop = true;
    };

    report(0);
    std::vector<std::jthread> pool;
    pool.reserve(nThreads);
    for (std::size_t t = 0; t < nThreads; ++t) pool.emplace_back(work);

    std::size_t shown = 0;
    std::unique_lock lock(mutex);
    while (workersLeft > 0) {
        finished.wait_for(lock, std::chrono::milliseconds(40));
        const std::size_t d = done;
        if (workersLeft == 0) break;
        // The callbacks run without the lock, so the workers are never held up by them.
        lock.unlock();
        try {
            if (!stop) report(d);
        } catch (...) {
            // A callback that fails stops the heights before the failure goes on.
            stop = true;
            pool.clear();
            throw;
        }
        shown = d;
        lock.lock();
    }
    lock.unlock();
    pool.clear();  // joins

    if (failure) std::rethrow_exception(failure);
    StudyOutcome out;
    if (stop) {
        out.cancelled = true;
        return out;
    }
    if (shown != total && hooks.progress) hooks.progress(static_cast<int>(total), static_cast<int>(total));
    out.rows = std::move(rows);
    return out;
}

namespace {
std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool parseNumber(std::string text, bool decimalComma, double& v)
{
    text = trim(text);
    if (decimalComma) std::replace(text.begin(), text.end(), ',', '.');
    if (text.empty()) return false;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') ++first;
    const auto [p, ec] = std::from_chars(first, last, v);
    return ec == std::errc() && p == last && std::isfinite(v);
}

const char* const kListForm = "Skriv höjderna som 1.5,4.5,7.5 eller FRÅN:STEG:TILL, t.ex. 1.5:3:10.5.";
}  // namespace

std::string HeightRange(double from, double step, double to, std::vector<double>& out)
{
    out.clear();
    if (!(step > 0.0)) return "Steget måste vara större än 0.";
    if (from > to) return "Första höjden (" + metres(from) + " m) är större än sista (" + metres(to) + " m).";
    if (from < 0.0 || to > kMaxStudyHeight) return heightError({from < 0.0 ? from : to});
    const double steps = std::floor((to - from) / step + 1e-6);
    if (steps + 1.0 > kMaxStudyHeights)
        return "Högst " + std::to_string(kMaxStudyHeights) + " höjder kan beräknas på en gång (" +
               formatGeneral(steps + 1.0, 15, '.') + " angavs).";
    const int n = static_cast<int>(steps) + 1;
    std::vector<double> heights;
    for (int i = 0; i < n; ++i) heights.push_back(std::round((from + i * step) * 1e6) / 1e6);
    if (std::string e = heightError(heights); !e.empty()) return e;
    out = std::move(heights);
    return {};
}

std::string ParseHeightList(const std::string& text, std::vector<double>& out)
{
    out.clear();
    const std::string t = trim(text);
    if (t.empty()) return "Ange minst en höjd.";
    if (t.find(':') != std::string::npos) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (;;) {
            const auto c = t.find(':', start);
            parts.push_back(t.substr(start, c == std::string::npos ? std::string::npos : c - start));
            if (c == std::string::npos) break;
            start = c + 1;
        }
        if (parts.size() != 3) return std::string("Fel form på höjderna \"") + t + "\". " + kListForm;
        double v[3];
        for (int i = 0; i < 3; ++i)
            if (!parseNumber(parts[i], true, v[i]))
                return "Ogiltig höjd: \"" + trim(parts[i]) + "\". " + kListForm;
        return HeightRange(v[0], v[1], v[2], out);
    }
    std::vector<double> heights;
    std::size_t start = 0;
    for (;;) {
        const auto c = t.find(',', start);
        const std::string item = t.substr(start, c == std::string::npos ? std::string::npos : c - start);
        double v = 0.0;
        if (!parseNumber(item, false, v)) return "Ogiltig höjd: \"" + trim(item) + "\". " + kListForm;
        heights.push_back(v);
        if (c == std::string::npos) break;
        start = c + 1;
    }
    if (std::string e = heightError(heights); !e.empty()) return e;
    out = std::move(heights);
    return {};
}
