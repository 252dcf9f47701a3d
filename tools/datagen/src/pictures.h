#pragma once
// The generators by kind; each writes its files through the output.

#include "output.h"

namespace brumil::datagen {

void WriteFrontEndPictures(Output& out);   // screens of the front end
void WriteCharacterPictures(Output& out);  // portraits and battle sprite sheets
void WriteEffectPictures(Output& out);     // magic, bullets, glows, sparkles
void WriteHudPictures(Output& out);        // head-up display, ground tiles, frames
void WriteSoundEffects(Output& out);       // sound/zio1x00.wav .. zio1x99.wav
void WriteMusic(Output& out);              // bgm/*.ogg with their loop files
void WriteFontTable(Output& out);          // font/fonts.txt

}  // namespace brumil::datagen
