// SPDX-License-Identifier: MIT
// Decimal numbers as text, the same in every shell and language: an optional
// '-', digits, and at most nine digits after a '.'. No exponent, no '+', no
// spaces, no locale's comma.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanel {

// `v` to nine digits after the point, trailing zeros dropped: exact for
// whole multiples of 1/512, as the page takes pointer positions. |v| must be
// below 10^9.
void writeDecimal(std::string& out, double v);

// The number `text` writes, when it is one and |value| <= `limit` (at most
// 10^6); the double nearest the decimal.
std::optional<double> readDecimal(std::string_view text, double limit);

} // namespace orvanel
