#pragma once
// The cell texts of the revolution and sheet generators.
//
// Script form: rows separated by single spaces (empty rows skipped), each row
// a run of two-character cells read as decimal numbers.
// Script2 form: rows separated by ":" (rows blank after trimming skipped),
// cells separated by spaces (empty cells skipped), each cell five hexadecimal
// digits: size, then alpha, red, green and blue.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::render::detail {

// A Script form text cut into its non-empty rows, with the grid's column
// count C = the longest row's length \ 2 (empty rows count too, with length 0).
struct CellRows {
    std::vector<std::string_view> rows;
    Long cells = 0;
};

inline CellRows SplitCellRows(std::string_view text) {
    CellRows out;
    std::size_t widest = 0;
    for (std::size_t pos = 0;;) {
        const std::size_t space = text.find(' ', pos);
        const std::string_view row = text.substr(
            pos, space == std::string_view::npos ? std::string_view::npos : space - pos);
        widest = std::max(widest, row.size());
        if (!row.empty()) out.rows.push_back(row);
        if (space == std::string_view::npos) break;
        pos = space + 1;
    }
    out.cells = static_cast<Long>(std::min<std::size_t>(widest / 2, 1u << 30));
    return out;
}

// Cell c of a row (characters 2c and 2c + 1, zero-based): nothing when it lies
// wholly past the row's end, the one character left when the row ends inside
// it.
inline std::optional<std::string_view> CellAt(std::string_view row, Long c) {
    const auto start = static_cast<std::size_t>(c) * 2;
    if (start >= row.size()) return std::nullopt;
    return row.substr(start, 2);
}

// The decimal value of a cell: its leading digits; a cell that does not begin
// with a digit (blank, sign, letter) reads 0.
inline Long CellNumber(std::string_view cell) {
    Long v = 0;
    for (const char ch : cell) {
        if (ch < '0' || ch > '9') break;
        v = v * 10 + (ch - '0');
    }
    return v;
}

// A Script2 text cut into rows of non-empty cells, with the grid's column
// count C = the most cells in a row.
struct HexRows {
    std::vector<std::vector<std::string_view>> rows;
    Long cells = 0;
};

inline HexRows SplitHexRows(std::string_view text) {
    HexRows out;
    std::size_t most = 0;
    for (std::size_t pos = 0;;) {
        const std::size_t colon = text.find(':', pos);
        const std::string_view row = text.substr(
            pos, colon == std::string_view::npos ? std::string_view::npos : colon - pos);
        std::vector<std::string_view> cells;
        for (std::size_t at = 0;;) {
            const std::size_t space = row.find(' ', at);
            const std::string_view cell = row.substr(
                at, space == std::string_view::npos ? std::string_view::npos : space - at);
            if (!cell.empty()) cells.push_back(cell);
            if (space == std::string_view::npos) break;
            at = space + 1;
        }
        // A row of spaces only has no cells: it is blank after trimming.
        if (!cells.empty()) {
            most = std::max(most, cells.size());
            out.rows.push_back(std::move(cells));
        }
        if (colon == std::string_view::npos) break;
        pos = colon + 1;
    }
    out.cells = static_cast<Long>(std::min<std::size_t>(most, 1u << 30));
    return out;
}

// Digit i of a cell read alone as hexadecimal; missing or other characters
// read 0.
inline Long HexDigit(std::string_view cell, std::size_t i) {
    if (i >= cell.size()) return 0;
    const char ch = cell[i];
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    return 0;
}

// The size digit and the colour of a Script2 cell: each channel digit times
// 17, alpha in the top byte.
struct HexCell {
    Long size = 0;
    Long color = 0;
};

inline HexCell ReadHexCell(std::string_view cell) {
    const auto channel = [&](std::size_t i) {
        return static_cast<std::uint32_t>(HexDigit(cell, i) * 17);
    };
    const std::uint32_t color = channel(1) << 24 | channel(2) << 16 | channel(3) << 8 | channel(4);
    return {HexDigit(cell, 0), static_cast<Long>(color)};
}

}  // namespace brumil::render::detail
