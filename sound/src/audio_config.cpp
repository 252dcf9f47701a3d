#include "sound/audio_config.h"

namespace brumil::sound {

void CAudioConfig::Add(Single volume, Single tempo, Single panX, Single panY, Single panZ) {
    Volume = volume;
    Tempo = tempo;
    PanX = panX;
    PanY = panY;
    PanZ = panZ;
}

void CAudioConfig::AddTimer(Long time) {
    FadeInTime = time;
    FadeOutTime = time;
    VolumeFadeTime = time;
    PanFadeTime = time;
}

}  // namespace brumil::sound
