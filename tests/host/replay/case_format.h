// The text format of replay cases, one call per file:
//
//   op NAME
//   nargs N
//   arg M N [D3 ...]     (N times, each followed by a line of M*N*D3... values;
//                         dimensions after the second only for N-D arrays)
//   <values>
//   expect M N           (then a line of values)   or
//   expect_error MESSAGE
//
// Values are C99 hexadecimal floats ("0x1.8p+1", "-0x0.0p+0"), "inf", "-inf"
// or "nan", column-major.  The expectation may be missing (a case still to be
// recorded).  Reading and writing go through our own code, not the C
// library's, so that every platform reads and writes the same bits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cases {

struct Matrix {
    std::size_t rows = 0;
    std::size_t cols = 0;
    std::vector<std::size_t> moreDims;  // the dimensions after the second, if any
    std::vector<double> values;
};

struct Case {
    std::string op;
    std::vector<Matrix> args;
    enum class Expect { Nothing, Result, Error } expect = Expect::Nothing;
    Matrix result;
    std::string error;
};

// Parses one value; false when `text` is none of the accepted forms.
bool parseValue(const std::string& text, double& value);
// The shortest exact hexadecimal form of `value` ("0x1.8p+1", "0x0.0p+0").
std::string formatValue(double value);
// The 16 hexadecimal digits of the value's bits.
std::string formatBits(double value);

// Reads a case; false with `error` set when the text is malformed.
bool parse(const std::string& text, Case& c, std::string& error);
// Writes a case in the format above (with its expectation, if any).
std::string format(const Case& c);

// Bit-exact equality, except that all NaNs are equal.
bool sameValue(double a, double b);

}  // namespace cases
