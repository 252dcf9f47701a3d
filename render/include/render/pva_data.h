#pragma once
// PVAData: a tree node of texts, numbers and children, and its line-based
// scene text form. It is the storage and the file form of the 3D scene
// tables.
//
// Text form (every line ends with CR LF; markers are a backslash and a letter):
//   \t <count>   then one entry per text: its first line after "@", each
//                further line (the text cut at CR LF) after "$"
//   \n <count>   then one line per number: ":" and the number, up to 15
//                significant digits, "." as separator, independent of locale;
//                read back beyond the Double range as the largest Double

//   \c <count>   then each child's own text
//   \e           the end of the node (an empty node is this line alone)
// A group of count 0 is not written. The reader skips what it does not know,
// keeps the defaults ("" and 0) of entries it does not find, also those of a
// group cut short by the end of the lines, and stops at the end of the lines.
// A count past a million, counts of one read that together pass a million
// plus its lines, or children nested past 1000 levels stop the whole read
// there, keeping what was read before.
//
// A node owns its children; there is no parent link. Indexed access outside
// 0..count - 1 reads "", 0 or nothing and writes nothing.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::render {

class PVAData {
public:
    static constexpr Long kMaxReadCount = 1000000;
    static constexpr Long kMaxReadDepth = 1000;

    PVAData();
    ~PVAData();
    PVAData(const PVAData&) = delete;
    PVAData& operator=(const PVAData&) = delete;

    void Data(Long index, std::string_view value);
    std::string Data(Long index) const;
    // n > 0 resizes keeping the first entries (new ones ""); n <= 0 releases.
    void DataCount(Long n);
    Long DataCount() const { return static_cast<Long>(texts_.size()); }

    void Number(Long index, double value);
    double Number(Long index) const;
    void NumberCount(Long n);
    Long NumberCount() const { return static_cast<Long>(numbers_.size()); }

    // The child of slot `index`, an empty slot being filled with a new empty
    // node first; nothing outside 0..count - 1. The node stays owned here.
    PVAData* Child(Long index);
    // Cut-off slots release their subtrees; added slots are empty.
    void ChildCount(Long n);
    Long ChildCount() const { return static_cast<Long>(children_.size()); }

    // The node and its subtree in the text form.
    std::string strData() const;
    // Replaces the whole content by the tree read from `text`, split into
    // lines at every CR LF.
    void strData(std::string_view text);
    // Reads one node from lines[position] on and leaves position after the
    // last line it consumed (past the end when the lines ran out or a read
    // was stopped).
    void strDataProg(std::span<const std::string_view> lines, Long& position);
    // The texts become a copy of `items`; an empty list releases them.
    // Numbers and children are not touched.
    void strInport(std::span<const std::string> items);

private:
    void Clear();
    void Write(std::string& out) const;

    std::vector<std::string> texts_;
    std::vector<double> numbers_;
    std::vector<std::unique_ptr<PVAData>> children_;
};

}  // namespace brumil::render
