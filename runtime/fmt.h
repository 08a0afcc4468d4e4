// The run-time's formatter for generated labels (ring items made at start-up and the like).
//
// A format names its target first: "%s<" formats into a string; the rest is copied as it stands
// except for the items, each taking the next argument:
//   %d, %i      a whole number (a real argument is cut toward zero)
//   %f          a real number; without a precision it shows at most six decimals with trailing
//               zeros dropped ("-11.25", "100"); %f[p2] shows exactly two ("6.67")
//   %s          a text
//   %%          a percent sign
// Other modifiers in brackets are accepted and ignored. An item without an argument left shows
// nothing; an unknown item is copied as it stands.
#pragma once

#include <initializer_list>
#include <string>

namespace rt {

class FmtArg {
public:
    enum class Kind { Whole, Real, Text };
    FmtArg(int v) : kind_(Kind::Whole), whole_(v) {}
    FmtArg(long v) : kind_(Kind::Whole), whole_(v) {}
    FmtArg(long long v) : kind_(Kind::Whole), whole_(v) {}
    FmtArg(unsigned v) : kind_(Kind::Whole), whole_(v) {}
    FmtArg(float v) : kind_(Kind::Real), real_(v) {}
    FmtArg(double v) : kind_(Kind::Real), real_(v) {}
    FmtArg(const char* v) : kind_(Kind::Text), text_(v ? v : "") {}
    FmtArg(const std::string& v) : kind_(Kind::Text), text_(v) {}

    Kind kind() const { return kind_; }
    long long whole() const;
    double real() const;
    const std::string& text() const { return text_; }

private:
    Kind kind_;
    long long whole_ = 0;
    double real_ = 0;
    std::string text_;
};

std::string FmtList(const char* format, std::initializer_list<FmtArg> args);

template <typename... Args>
std::string Fmt(const char* format, const Args&... args) {
    return FmtList(format, {FmtArg(args)...});
}

}  // namespace rt
