#pragma once
// CIMTexture: the program-wide cache of pictures by name. Each entry is a
// graphic object (CGraphics) that holds the picture and, on demand, its
// texture. Names are compared without regard to letter case; the name as
// written is what is loaded.
//
// A plain name is looked up through the search pairs (prefix, suffix), tried
// in the order they were added. A name starting with "?" is a list of words
// separated by ":": generator words ("alpha128x128" .. "alpha512x512" soft
// spots, "stage128x128" .. "stage512x512" numbered grids), post-processing
// words ("div2"/"div4"/"div8" scale down, "ca" brightness to alpha,
// "v0"/"vivit0", "aa"/"antiareas" soft colour key), an empty word (the next
// word is a file name whatever it says) and file names, tried in turn until
// one loads; the post-processing applies only to a loaded file.
//
// Indices are 0, 1, 2, ... in order of first addition and stay valid until
// Clear. A name that loads nothing still gets its entry (an empty 1 x 1
// picture), and is not tried again.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_list.h"
#include "core/vb_types.h"

namespace brumil::render {

class CGraphics;

class CIMTexture {
public:
    CIMTexture();
    ~CIMTexture();
    CIMTexture(const CIMTexture&) = delete;
    CIMTexture& operator=(const CIMTexture&) = delete;

    // Drops every entry and restarts the indices; the search pairs stay.
    void Clear();
    // The index of the picture of that name, loading it on first use. The
    // empty name has an entry too: the empty picture (1 x 1, transparent),
    // which nothing is loaded into.
    Long Add(std::string_view name);
    // The same with the index by reference: 0 when the name has an index, 1
    // when it has none.
    Long Add(std::string_view name, Long& index);
    // The last Add made a new entry.
    bool AddedTexture() const { return lastAdded_; }

    // The entry of an index (nothing for a slot not yet filled); for an index
    // outside the cache a new empty graphic that is not stored.
    std::shared_ptr<CGraphics> Item(Long index) const;
    // Stores an entry; indices outside the cache are ignored.
    void Item(Long index, std::shared_ptr<CGraphics> graphic);
    // Add, then Item of the index.
    std::shared_ptr<CGraphics> ItemAs(std::string_view name);
    void ItemAs(std::string_view name, std::shared_ptr<CGraphics> graphic);

    // Appends a search pair unless the same pair (exact text) is present.
    void SearchPathAdd(std::string_view prefix, std::string_view suffix);
    Long PathCount() const { return static_cast<Long>(prefixes_.size()); }
    // Slots for entries; grows in steps of 20.
    Long Capacity() const { return static_cast<Long>(textures_.size()); }

private:
    // 0 when a search pair gave a loadable file, 1 otherwise. Silent: a
    // missing candidate is no error.
    Long LoadTextureFromSearchPath(Long index, std::string_view name);
    Long AddOptionTexture(Long index, std::string options);

    std::unique_ptr<core::CHashList> names_;  // lower-cased name to index
    std::vector<std::shared_ptr<CGraphics>> textures_;
    std::vector<std::string> prefixes_, suffixes_;
    bool lastAdded_ = false;
};

}  // namespace brumil::render
