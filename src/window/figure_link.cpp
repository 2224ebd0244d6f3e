// SPDX-License-Identifier: MIT
#include "window/figure_link.h"

#include "format/decimal.h"

#include <vector>

namespace orvanel {

namespace {

using namespace controls;

constexpr std::string_view kColorNames[] = {"red", "yellow", "blue", "white"};

std::vector<std::string_view> split(std::string_view text, char by) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(by);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + 1);
    }
}

// `count` numbers separated by commas.
std::optional<std::vector<double>> readNumbers(std::string_view text, std::size_t count) {
    const std::vector<std::string_view> parts = split(text, ',');
    if (parts.size() != count) {
        return std::nullopt;
    }
    std::vector<double> numbers;
    for (const std::string_view part : parts) {
        const std::optional<double> n = readDecimal(part, kLinkReach);
        if (!n) {
            return std::nullopt;
        }
        numbers.push_back(*n);
    }
    return numbers;
}

std::optional<bool> readFlag(std::string_view text) {
    if (text == "0" || text == "1") {
        return text == "1";
    }
    return std::nullopt;
}

void writePoint(std::string& out, PointF p) {
    writeDecimal(out, p.x);
    out += ',';
    writeDecimal(out, p.y);
}

} // namespace

FigureLink linkOf(const Form1& window) {
    FigureLink link;
    const FigureState& f = window.state().figure;
    link.a = f.a();
    link.d = f.d();
    link.angle = window.control(Check2).checked;
    link.nonClear = window.control(Check3).checked;
    link.grid = window.state().gridShown == 1;
    for (int k = 0; k < kLineCount; ++k) {
        if (!window.control(Check1[k]).checked) {
            continue;
        }
        const LineObject& l = window.layer().line(LineRow::Line4, k);
        for (int option = 0; option < int(kLineColors.size()); ++option) {
            if (paletteColor(kLineColors[std::size_t(option)]) == l.color) {
                link.lines[std::size_t(k)] = FigureLink::Line{l.p1, l.p2, option};
            }
        }
    }
    return link;
}

std::string writeLink(const FigureLink& link) {
    std::string out = "v=1&A=";
    writePoint(out, link.a);
    out += "&D=";
    writePoint(out, link.d);
    out += std::string("&angle=") + (link.angle ? "1" : "0");
    out += std::string("&nonClear=") + (link.nonClear ? "1" : "0");
    out += std::string("&grid=") + (link.grid ? "1" : "0");
    for (int k = 0; k < kLineCount; ++k) {
        if (const auto& l = link.lines[std::size_t(k)]) {
            out += "&line" + std::to_string(k + 1) + '=';
            writePoint(out, l->p1);
            out += ',';
            writePoint(out, l->p2);
            out += ',';
            out += kColorNames[l->colorOption];
        }
    }
    return out;
}

std::optional<FigureLink> readLink(std::string_view text) {
    if (text.empty() || text.size() > kLongestLink) {
        return std::nullopt;
    }
    FigureLink link;
    const FigureState start;
    link.a = start.a();
    link.d = start.d();
    std::vector<std::string_view> seen;
    for (const std::string_view pair : split(text, '&')) {
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view key = pair.substr(0, eq);
        const std::string_view value = pair.substr(eq + 1);
        for (const std::string_view s : seen) {
            if (s == key) {
                return std::nullopt;
            }
        }
        seen.push_back(key);
        std::optional<bool> flag;
        if (key == "v") {
            if (value != "1") {
                return std::nullopt;
            }
        } else if (key == "A" || key == "D") {
            const auto n = readNumbers(value, 2);
            if (!n) {
                return std::nullopt;
            }
            (key == "A" ? link.a : link.d) = PointF{(*n)[0], (*n)[1]};
        } else if (key == "angle" || key == "nonClear" || key == "grid") {
            if (!(flag = readFlag(value))) {
                return std::nullopt;
            }
            (key == "angle" ? link.angle : key == "grid" ? link.grid : link.nonClear) = *flag;
        } else if (key.size() == 5 && key.substr(0, 4) == "line" && key[4] >= '1' &&
                   key[4] <= '0' + kLineCount) {
            const std::size_t comma = value.rfind(',');
            const auto n = readNumbers(value.substr(0, comma), 4);
            if (comma == std::string_view::npos || !n) {
                return std::nullopt;
            }
            const std::string_view color = value.substr(comma + 1);
            int option = -1;
            for (int i = 0; i < int(kLineColors.size()); ++i) {
                option = kColorNames[i] == color ? i : option;
            }
            if (option < 0) {
                return std::nullopt;
            }
            link.lines[std::size_t(key[4] - '1')] =
                FigureLink::Line{{(*n)[0], (*n)[1]}, {(*n)[2], (*n)[3]}, option};
        } else {
            return std::nullopt;
        }
    }
    return link;
}

} // namespace orvanel
