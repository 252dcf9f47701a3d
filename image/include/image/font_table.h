#pragma once
// The font table: which face a font name stands for.
//
// The table file is "fonts.txt" in the font folder, UTF-8 text, one entry a
// line:   name = file:relative/or/absolute.ttf
//         name = file:some.ttc#1          (face index 1 of a collection)
//         name = family:IPAGothic         (asked of fontconfig)
// Blank lines and lines starting with "#" are ignored; spaces around the name
// and the target are trimmed; a line without "=" or with another target kind
// is ignored; a later line for the same name wins. File targets are relative
// to the font folder unless they start with "/" or "\".
//
// Built-in entries, which the file may override: "ＭＳ ゴシック" -> IPAGothic,
// "ＭＳ Ｐゴシック" -> IPAPGothic, "楷書" -> IPAMincho, "あくあ" -> IPAPGothic.
// Any other name is taken as a fontconfig family.

#include <map>
#include <string>
#include <string_view>

namespace brumil::image {

struct FontTarget {
    enum class Kind { File, Family };
    Kind kind = Kind::Family;
    std::string value;  // program path of the file, or the family name
    int index = 0;      // face index inside a file
};

class FontTable {
public:
    FontTable();  // the built-in entries only
    // Adds the entries of a table text; file targets are taken relative to
    // fontFolder (a program path ending with "\" or "/", or empty).
    void Parse(std::string_view text, std::string_view fontFolder);
    FontTarget Resolve(std::string_view name) const;

private:
    std::map<std::string, FontTarget, std::less<>> entries_;
};

}  // namespace brumil::image
