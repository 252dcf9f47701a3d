#include "framework/display.h"

namespace brumil::framework {

// Until the display chain exists there is no back surface to present.
void DisplayPresent(platform::Window& /*window*/, bool /*whole*/, int /*x*/, int /*y*/,
                    int /*width*/, int /*height*/) {}

}  // namespace brumil::framework
