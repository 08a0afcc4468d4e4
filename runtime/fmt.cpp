#include "runtime/fmt.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/ui.h"

namespace rt {

long long FmtArg::whole() const {
    switch (kind_) {
        case Kind::Whole: return whole_;
        case Kind::Real: return std::isfinite(real_) ? static_cast<long long>(std::trunc(real_)) : 0;
        case Kind::Text: return std::atoll(text_.c_str());
    }
    return 0;
}

double FmtArg::real() const {
    switch (kind_) {
        case Kind::Whole: return static_cast<double>(whole_);
        case Kind::Real: return real_;
        case Kind::Text: return std::atof(text_.c_str());
    }
    return 0;
}

namespace {

std::string Fixed(double value, int decimals) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string s = buf;
    // No "-0.00" for a value that rounds to zero.
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

std::string Text(const FmtArg& a) {
    switch (a.kind()) {
        case FmtArg::Kind::Text: return a.text();
        case FmtArg::Kind::Whole: return std::to_string(a.whole());
        case FmtArg::Kind::Real: return FormatReal(a.real());
    }
    return {};
}

}  // namespace

std::string FmtList(const char* format, std::initializer_list<FmtArg> args) {
    std::string out;
    if (!format) return out;
    const char* p = format;
    if (std::strncmp(p, "%s<", 3) == 0) p += 3;
    auto next = args.begin();
    while (*p) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            p += 2;
            continue;
        }
        const char type = p[1];
        if (type != 'd' && type != 'i' && type != 'f' && type != 's') {
            out += *p++;
            continue;
        }
        const char* q = p + 2;
        int precision = -1;
        if (*q == '[') {
            const char* end = std::strchr(q, ']');
            if (end) {
                for (const char* m = q + 1; m < end; ++m)
                    if (*m == 'p') precision = static_cast<int>(std::strtol(m + 1, nullptr, 10));
                q = end + 1;
            }
        }
        p = q;
        if (next == args.end()) continue;
        const FmtArg& a = *next++;
        if (type == 'd' || type == 'i') out += std::to_string(a.whole());
        else if (type == 's') out += Text(a);
        else if (precision >= 0) out += Fixed(a.real(), precision > 15 ? 15 : precision);
        else out += FormatReal(a.real());
    }
    return out;
}

}  // namespace rt
