#pragma once
// CHBDataFile: the text of a whole 3D scene. Three scene object tables
// (Objects, Land, BackScreen), a banner and stored settings live in one
// PVAData root of 10 texts and 10 numbers:
//   text 0 "HBDFileVersion 1.0", texts 1-3 the three tables' scene texts,
//   text 4 "lightning", text 5 "rain", texts 6-9 "";
//   numbers 0, 0, 1, 1, 0, 0, 0, 0, 0, 0.
// The settings are kept as they stand and replaced by whatever a read text
// holds. Reading and writing disk files is the caller's business.

#include <memory>
#include <string>
#include <string_view>

#include "render/hb_data.h"
#include "render/pva_data.h"

namespace brumil::render {

class CHBDataFile {
public:
    CHBDataFile();
    ~CHBDataFile();
    CHBDataFile(const CHBDataFile&) = delete;
    CHBDataFile& operator=(const CHBDataFile&) = delete;

    // The tables themselves, shared with the file: what is added through them
    // is in the next written text.
    CHBData& Objects() { return objects_; }
    CHBData& Land() { return land_; }
    CHBData& BackScreen() { return backScreen_; }

    // Reads a scene file: the root's texts and numbers become those of the
    // text (any banner), then each table reads its text; a missing or
    // foreign table text gives an empty table.
    void strData(std::string_view text);
    // Writes the scene file with the tables' current texts. A root read from
    // a text with fewer than four texts is first given the table slots, so
    // the tables are never dropped.
    std::string strData();

private:
    std::unique_ptr<PVAData> root_;
    CHBData objects_;
    CHBData land_;
    CHBData backScreen_;
};

}  // namespace brumil::render
