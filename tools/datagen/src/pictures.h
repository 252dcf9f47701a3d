#pragma once
// The generators by kind; each writes its files through the output. They share
// no state but the text renderer, which RenderText locks, so any of them may
// run beside the others.

#include "output.h"

namespace brumil::datagen {

void WriteFrontEndPictures(Output& out);  // screens of the front end
// Portraits and battle sprite sheets of one character folder: 0 is
// "chara_none", 1 .. CharacterFolderCount() - 1 the characters.
int CharacterFolderCount();
void WriteCharacterPictures(Output& out, int folderIndex);
void WriteEffectPictures(Output& out);  // magic, bullets, glows, sparkles
void WriteHudPictures(Output& out);     // head-up display, ground tiles, frames
void WriteSoundEffects(Output& out);    // sound/zio1x00.wav .. zio1x99.wav
// One bgm/*.ogg with its loop file, 0 .. MusicTrackCount() - 1.
int MusicTrackCount();
void WriteMusicTrack(Output& out, int index);
void WriteFontTable(Output& out);  // font/fonts.txt

}  // namespace brumil::datagen
