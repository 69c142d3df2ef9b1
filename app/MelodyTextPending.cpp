// Until the window keeps a melody, none is appended to a message.
#include "MelodyText.h"

namespace app {
String melodyText(ObjectHandle) { return String(); }
}  // namespace app
