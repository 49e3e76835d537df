// Where the hot-keyword buttons stand: 20 rows by 5 columns in the tab control's coordinates.
#pragma once

#include <QRect>

namespace lq {

// Row r and column c counted from 1: left 10 + 116 (c - 1), top 25 + 17 (r - 1), 106 x 16.
inline QRect HotButtonPlace(int r, int c) {
    return QRect(10 + 116 * (c - 1), 25 + 17 * (r - 1), 106, 16);
}

}  // namespace lq
