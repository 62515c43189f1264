#include "calc/Study.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
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

namespace {
// The heights of one study shared out to worker threads: each worker takes the next height and
// writes only that row's slot. The calling thread watches the count of finished heights.
class HeightPool {
public:
    HeightPool(const ProjectRecord& r, const RunSettings& rs, const AngleFactors& factors, const StudyRequest& req)
        : r_(r), rs_(rs), factors_(factors), req_(req), rows_(req.heights.size())
    {
    }

    void start(std::size_t threads)
    {
        workersLeft_ = threads;
        for (std::size_t t = 0; t < threads; ++t) pool_.emplace_back([this] { work(); });
    }
    // Waits up to 40 ms for news; the heights finished so far, or nullopt once every worker has left.
    std::optional<std::size_t> waitForProgress()
    {
        std::unique_lock lock(mutex_);
        finished_.wait_for(lock, std::chrono::milliseconds(40));
        if (workersLeft_ == 0) return std::nullopt;
        return done_;
    }
    void stop() { stop_ = true; }
    bool stopped() const { return stop_; }
    void join() { pool_.clear(); }
    std::exception_ptr failure() const { return failure_; }
    std::vector<StudyRow> takeRows() { return std::move(rows_); }

private:
    void work()
    {
        for (;;) {
            const std::size_t i = next_.fetch_add(1);
            if (i >= rows_.size() || stop_.load()) break;
            try {
                rows_[i] = runOne(r_, rs_, factors_, req_, i, stop_);
            } catch (const StudyStopped&) {
                break;
            } catch (...) {
                std::lock_guard lock(mutex_);
                if (!failure_) failure_ = std::current_exception();
                stop_ = true;
                break;
            }
            std::lock_guard lock(mutex_);
            ++done_;
            finished_.notify_one();
        }
        std::lock_guard lock(mutex_);
        --workersLeft_;
        finished_.notify_one();
    }

    const ProjectRecord& r_;
    const RunSettings& rs_;
    const AngleFactors& factors_;
    const StudyRequest& req_;
    std::vector<StudyRow> rows_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable finished_;
    std::size_t done_ = 0;
    std::size_t workersLeft_ = 0;
    std::exception_ptr failure_;
    std::vector<std::jthread> pool_;  // last: joined before the state above goes
};
}  // namespace

StudyOutcome RunStudy(const ProjectRecord& r, const RunSettings& settings, const AngleFactors& factors,
                      const StudyRequest& req, int threads, const StudyHooks& hooks)
{
    if (const std::string why = StudyRefusal(r, req); !why.empty()) throw std::invalid_argument(why);

    RunSettings rs = settings;
    rs.trace.equivalent = rs.trace.maximum = false;  // one set of trace files cannot serve many runs

    const std::size_t total = req.heights.size();
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    HeightPool pool(r, rs, factors, req);
    auto report = [&](std::size_t d) {
        if (hooks.progress) hooks.progress(static_cast<int>(d), static_cast<int>(total));
        if (hooks.cancelRequested && hooks.cancelRequested()) pool.stop();
    };

    report(0);
    pool.start(std::min<std::size_t>(static_cast<std::size_t>(threads), total));
    std::size_t shown = 0;
    // The callbacks run on this thread without the pool's lock, so the workers are never held up
    // by them.
    while (const std::optional<std::size_t> d = pool.waitForProgress()) {
        try {
            if (!pool.stopped()) report(*d);
        } catch (...) {
            // A callback that fails stops the heights before the failure goes on.
            pool.stop();
            pool.join();
            throw;
        }
        shown = *d;
    }
    pool.join();

    if (pool.failure()) std::rethrow_exception(pool.failure());
    StudyOutcome out;
    if (pool.stopped()) {
        out.cancelled = true;
        return out;
    }
    if (shown != total && hooks.progress) hooks.progress(static_cast<int>(total), static_cast<int>(total));
    out.rows = pool.takeRows();
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
