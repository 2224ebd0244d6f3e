// SPDX-License-Identifier: MIT
#include "tools/straight_lines.h"

namespace orvanel {

int nextFreeLineNumber(std::span<const bool, kLineCount> ticked) {
    for (int i = 0; i < kLineCount; ++i) {
        if (!ticked[i]) {
            return i + 1;
        }
    }
    return 0;
}

} // namespace orvanel
