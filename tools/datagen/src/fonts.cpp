// The font table: the four names the game asks for, mapped to the Japanese
// faces installed with the system (IPA gothic and mincho).

#include "pictures.h"

namespace brumil::datagen {

void WriteFontTable(Output& out) {
    out.Text("font/fonts.txt",
             "# Font names of the game and the installed faces that stand for them.\n"
             "ＭＳ ゴシック = family:IPAGothic\n"
             "ＭＳ Ｐゴシック = family:IPAPGothic\n"
             "楷書 = family:IPAMincho\n"
             "あくあ = family:IPAPGothic\n");
}

}  // namespace brumil::datagen
