#include "case_format.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

namespace cases {
namespace {

std::uint64_t bitsOf(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const char kDigits[] = "0123456789abcdef";

}  // namespace

bool parseValue(const std::string& text, double& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const std::string rest = text.substr(i);
    if (rest == "inf" || rest == "Inf") {
        value = negative ? -std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::infinity();
        return true;
    }
    if (rest == "nan" || rest == "NaN") {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (rest.size() < 3 || rest[0] != '0' || (rest[1] != 'x' && rest[1] != 'X')) return false;
    // Significand: at most 16 hex digits fit in 64 bits, plenty for a double
    // written exactly; leading zeros do not count.
    std::uint64_t mantissa = 0;
    int significant = 0;
    int fractionDigits = 0;
    bool point = false;
    bool anyDigit = false;
    std::size_t k = 2;
    for (; k < rest.size() && rest[k] != 'p' && rest[k] != 'P'; ++k) {
        if (rest[k] == '.') {
            if (point) return false;
            point = true;
            continue;
        }
        const int d = hexDigit(rest[k]);
        if (d < 0) return false;
        anyDigit = true;
        if (mantissa == 0 && d == 0) {
            if (point) ++fractionDigits;
            continue;
        }
        if (++significant > 16) return false;
        mantissa = mantissa * 16 + static_cast<std::uint64_t>(d);
        if (point) ++fractionDigits;
    }
    if (!anyDigit) return false;
    long exponent = 0;
    if (k < rest.size()) {
        ++k;
        bool expNegative = false;
        if (k < rest.size() && (rest[k] == '-' || rest[k] == '+')) expNegative = rest[k++] == '-';
        if (k >= rest.size()) return false;
        for (; k < rest.size(); ++k) {
            if (rest[k] < '0' || rest[k] > '9' || exponent > 100000) return false;
            exponent = exponent * 10 + (rest[k] - '0');
        }
        if (expNegative) exponent = -exponent;
    }
    // Exact whenever the value is representable, which is all we write.
    if (mantissa >> 53 != 0) return false;
    const double magnitude =
        std::ldexp(static_cast<double>(mantissa), static_cast<int>(exponent - 4L * fractionDigits));
    value = negative ? -magnitude : magnitude;
    return true;
}

std::string formatValue(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    const std::uint64_t b = bitsOf(value);
    std::string out = (b >> 63) ? "-0x" : "0x";
    const int biased = static_cast<int>((b >> 52) & 0x7ff);
    std::uint64_t fraction = b & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0 && fraction == 0) return out + "0.0p+0";
    out += biased == 0 ? "0." : "1.";
    std::string digits;
    for (int shift = 48; shift >= 0; shift -= 4) digits += kDigits[(fraction >> shift) & 0xf];
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    out += digits;
    const int exponent = biased == 0 ? -1022 : biased - 1023;
    out += exponent < 0 ? "p-" : "p+";
    out += std::to_string(exponent < 0 ? -exponent : exponent);
    return out;
}

std::string formatBits(double value) {
    const std::uint64_t b = bitsOf(value);
    std::string out(16, '0');
    for (int i = 0; i < 16; ++i) out[static_cast<std::size_t>(i)] = kDigits[(b >> (60 - 4 * i)) & 0xf];
    return out;
}

bool sameValue(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    return bitsOf(a) == bitsOf(b);
}

namespace {

bool readMatrix(std::istringstream& in, const std::string& header, Matrix& m, std::string& error) {
    std::istringstream h(header);
    std::string word;
    long long r = -1, c = -1;
    h >> word >> r >> c;
    if (!h || r < 0 || c < 0) {
        error = "bad size line: " + header;
        return false;
    }
    m.rows = static_cast<std::size_t>(r);
    m.cols = static_cast<std::size_t>(c);
    std::size_t count = m.rows * m.cols;
    m.moreDims.clear();
    long long d;
    while (h >> d) {
        if (d < 0) break;
        m.moreDims.push_back(static_cast<std::size_t>(d));
        count *= static_cast<std::size_t>(d);
    }
    if (!h.eof()) {
        error = "bad size line: " + header;
        return false;
    }
    m.values.clear();
    std::string line;
    if (count == 0) {
        // An empty matrix has an empty value line; tolerate its absence.
        if (in.peek() == '\n' || in.peek() == '\r') std::getline(in, line);
        return true;
    }
    if (!std::getline(in, line)) {
        error = "missing values after: " + header;
        return false;
    }
    std::istringstream v(line);
    std::string token;
    while (v >> token) {
        double x;
        if (!parseValue(token, x)) {
            error = "bad value: " + token;
            return false;
        }
        m.values.push_back(x);
    }
    if (m.values.size() != count) {
        error = "wrong number of values after: " + header;
        return false;
    }
    return true;
}

void writeMatrix(std::ostringstream& out, const char* word, const Matrix& m) {
    out << word << ' ' << m.rows << ' ' << m.cols;
    for (std::size_t d : m.moreDims) out << ' ' << d;
    out << '\n';
    for (std::size_t i = 0; i < m.values.size(); ++i) {
        if (i) out << ' ';
        out << formatValue(m.values[i]);
    }
    out << '\n';
}

}  // namespace

bool parse(const std::string& text, Case& c, std::string& error) {
    c = Case{};
    std::istringstream in(text);
    std::string line;
    long nargs = -1;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::string word = line.substr(0, line.find(' '));
        const std::string rest = line.size() > word.size() ? line.substr(word.size() + 1) : "";
        if (word == "op") {
            c.op = rest;
        } else if (word == "nargs") {
            nargs = std::atol(rest.c_str());
        } else if (word == "arg") {
            Matrix m;
            if (!readMatrix(in, line, m, error)) return false;
            c.args.push_back(std::move(m));
        } else if (word == "expect") {
            if (!readMatrix(in, line, c.result, error)) return false;
            c.expect = Case::Expect::Result;
        } else if (word == "expect_error") {
            c.error = rest;
            c.expect = Case::Expect::Error;
        } else {
            error = "unknown line: " + line;
            return false;
        }
    }
    if (c.op.empty() || nargs < 0 || static_cast<std::size_t>(nargs) != c.args.size()) {
        error = "missing op, or nargs not matching the arguments";
        return false;
    }
    return true;
}

std::string format(const Case& c) {
    std::ostringstream out;
    out << "op " << c.op << '\n' << "nargs " << c.args.size() << '\n';
    for (const Matrix& m : c.args) writeMatrix(out, "arg", m);
    if (c.expect == Case::Expect::Result) writeMatrix(out, "expect", c.result);
    if (c.expect == Case::Expect::Error) out << "expect_error " << c.error << '\n';
    return out.str();
}

}  // namespace cases
