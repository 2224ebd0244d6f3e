// SPDX-License-Identifier: MIT
#include "format/decimal.h"

#include <cmath>
#include <cstdint>

namespace orvanel {

namespace {

constexpr std::int64_t kUnit = 1000000000; // nine digits after the point

} // namespace

void writeDecimal(std::string& out, double v) {
    const auto scaled = std::int64_t(std::llround(v * double(kUnit)));
    if (scaled < 0) {
        out += '-';
    }
    const std::uint64_t magnitude = scaled < 0 ? std::uint64_t(-scaled) : std::uint64_t(scaled);
    out += std::to_string(magnitude / kUnit);
    if (const std::uint64_t fraction = magnitude % kUnit; fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 9 - digits.size(), '0');
        digits.erase(digits.find_last_not_of('0') + 1);
        out += '.' + digits;
    }
}

std::optional<double> readDecimal(std::string_view text, double limit) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    // Seven digits before the point are more than any limit allows.
    if (whole.empty() || whole.size() > 7 ||
        (point != std::string_view::npos && fraction.empty()) || fraction.size() > 9) {
        return std::nullopt;
    }
    std::uint64_t n = 0;
    for (const char c : whole) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + std::uint64_t(c - '0');
    }
    std::uint64_t unit = kUnit;
    n *= unit;
    for (const char c : fraction) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        unit /= 10;
        n += std::uint64_t(c - '0') * unit;
    }
    // An exact integer divided once: the double nearest the decimal.
    const double v = double(n) / double(kUnit);
    if (v > limit) {
        return std::nullopt;
    }
    return negative ? -v : v;
}

} // namespace orvanel
