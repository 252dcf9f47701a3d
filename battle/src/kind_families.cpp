#include "battle/kind_table.h"
#include "battle/shot_kinds.h"

namespace brumil::battle {

// One call per family of kind procedures (see kind_table.h). Ids of families
// not listed here stay without a procedure and are ignored when called.
void RegisterKindFamilies(KindTable& table) {
    RegisterSteeringKinds(table);
    RegisterBurstKinds(table);
    RegisterBeamKinds(table);
    RegisterTrailKinds(table);
    RegisterExplosionKinds(table);
    RegisterCaptureKinds(table);
}

}  // namespace brumil::battle
