#include "platform/files.h"

int main() {
    brumil::platform::InitDataRoot(brumil::platform::ProgramFolder());
    return 0;
}
