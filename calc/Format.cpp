#include "calc/Format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// Decimal digits and exponent of |x| to 17 significant digits: x = 0.d1d2... × 10^(exp+1).
struct Digits {
    std::string d;  // 17 digits
    int exp = 0;    // exponent of the first digit
};

Digits digitsOf(double x, int sig)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", sig - 1, std::fabs(x));
    Digits r;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') r.d.push_back(*p);
    if (*p == 'e') r.exp = std::atoi(p + 1);
    return r;
}

}  // namespace

std::string formatInt(long long v) { return std::to_string(v); }

std::string formatFixed(double x, int decimals, char sep)
{
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    Digits g = digitsOf(x, 17);
    // Digits before the point: exp + 1 (may be <= 0). Keep exp + 1 + decimals digits.
    int keep = g.exp + 1 + decimals;
    std::string digits;  // the kept digits as an integer string scaled by 10^decimals
    if (keep < 0) {
        digits.assign(1, '0');
    } else {
        std::string d = g.d;
        while (static_cast<int>(d.size()) < keep + 1) d.push_back('0');
        digits = d.substr(0, keep);
        bool roundUp = d[keep] >= '5';
        if (digits.empty()) digits.assign(1, '0');
        if (roundUp) {
            int i = static_cast<int>(digits.size()) - 1;
            if (keep == 0) {
                digits.assign(1, '1');
            } else {
                while (i >= 0 && digits[i] == '9') digits[i--] = '0';
                if (i < 0)
                    digits = std::string("1") + digits;
                else
                    ++digits[i];
            }
        }
    }
    if (static_cast<int>(digits.size()) <= decimals) digits = std::string(decimals + 1 - digits.size(), '0') + digits;
    std::string intPart = digits.substr(0, digits.size() - decimals);
    std::string frac = digits.substr(digits.size() - decimals);
    size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
    bool zero = intPart == "0" && frac.find_first_not_of('0') == std::string::npos;
    std::string s;
    if (x < 0 && !zero) s += '-';
    s += intPart;
    if (decimals > 0) {
        s += sep;
        s += frac;
    }
    return s;
}

std::string formatGeneral(double x, int precision, char sep)
{
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    if (x == 0.0) return "0";
    Digits g = digitsOf(x, precision);
    std::string d = g.d;
    while (d.size() > 1 && d.back() == '0') d.pop_back();
    std::string s;
    if (x < 0) s += '-';
    if (g.exp >= precision || std::fabs(x) < 1e-5) {
        s += d[0];
        if (d.size() > 1) {
            s += sep;
            s.append(d, 1);
        }
        s += 'E';
        s += std::to_string(g.exp);
        return s;
    }
    if (g.exp < 0) {
        s += '0';
        s += sep;
        s.append(static_cast<std::size_t>(-g.exp - 1), '0');
        s += d;
        return s;
    }
    int intDigits = g.exp + 1;
    if (static_cast<int>(d.size()) <= intDigits) {
        s += d;
        s.append(intDigits - d.size(), '0');
    } else {
        s.append(d, 0, static_cast<std::size_t>(intDigits));
        s += sep;
        s.append(d, static_cast<std::size_t>(intDigits));
    }
    return s;
}
