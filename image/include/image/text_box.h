#pragma once
// Rectangles of text layout: the box a text is laid out in, and one captioned
// rectangle per drawable character.

#include <string>

#include "core/vb_types.h"

namespace brumil::image {

struct TextRect {
    Long X = 0;
    Long Y = 0;
    Long Width = 0;
    Long Height = 0;
};

struct TextBox {
    Long X = 0;
    Long Y = 0;
    Long Width = 0;
    Long Height = 0;
    std::string Caption;  // the character, UTF-8
};

}  // namespace brumil::image
