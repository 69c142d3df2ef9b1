// The melody's digits as they are appended to a message: "*6*6" and three
// digits per note, empty when there is no melody.
#pragma once

#include "Window1State.h"

namespace app {
String melodyText(ObjectHandle window);
}  // namespace app
