#pragma once

#include <QColor>
#include <cstdint>

#include "core/t_state.h"

// A TColor is 0x00BBGGRR. Only red, green and blue are shown; a damaged record's high byte is ignored.
inline QColor colorOf(TColor c) {
    const auto v = static_cast<std::uint32_t>(c);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

inline TColor tColorOf(const QColor& c) {
    return static_cast<TColor>(static_cast<std::uint32_t>(c.red()) |
                               static_cast<std::uint32_t>(c.green()) << 8 |
                               static_cast<std::uint32_t>(c.blue()) << 16);
}
