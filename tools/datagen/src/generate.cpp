#include "datagen/datagen.h"
#include "output.h"
#include "pictures.h"

namespace brumil::datagen {

GenerateResult GenerateDataSet(const std::filesystem::path& root) {
    Output out(root);
    WriteFontTable(out);
    WriteFrontEndPictures(out);
    WriteCharacterPictures(out);
    WriteEffectPictures(out);
    WriteHudPictures(out);
    WriteSoundEffects(out);
    WriteMusic(out);
    return out.Result();
}

}  // namespace brumil::datagen
