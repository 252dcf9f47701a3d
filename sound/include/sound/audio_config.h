#pragma once
// CAudioConfig: the play record of the one-call music player. The player owns
// one and reads it on every timer tick; callers change its values (volume,
// fade times, pan, tempo) and the player follows them on the next tick.
//
// Volumes are 0 (silent) to 1 (full); times are milliseconds; tempo is in
// semitones; pan runs from -1 (left) to 1 (right) and doubles as the 3D X.

#include "core/vb_types.h"

namespace brumil::sound {

class CAudioConfig {
public:
    Long FadeInTime = 0;      // used by Play
    Long FadeOutTime = 0;     // used by Pose
    Single Volume = 1.0f;     // target volume
    Long VolumeFadeTime = 0;  // time over which a change of Volume is reached
    Single PanX = 0.0f;
    Single PanY = 0.0f;
    Single PanZ = 0.0f;
    Long PanFadeTime = 0;  // time over which a change of the pan values is reached
    Single Tempo = 0.0f;
    bool RecreateOnStop = false;  // a stopped whole sound re-creates its buffer
    bool UseVolume = true;        // buffer controls asked for when it is made
    bool UsePan = false;
    bool UseTempo = false;
    bool Use3D = false;        // 3D control (then pan control is not asked for)
    bool NoWholeLoad = false;  // Load skips the whole-sound player

    // Copies all fifteen values.
    void AddCopy(const CAudioConfig& source) { *this = source; }
    // Sets Volume, Tempo, PanX, PanY and PanZ.
    void Add(Single volume, Single tempo, Single panX, Single panY, Single panZ);
    // Sets the four times (fade in, fade out, volume fade, pan fade).
    void AddTimer(Long time);
};

}  // namespace brumil::sound
