#include "SaveReplacement.h"

namespace applogic {

int32_t temporarySaveName(Bytes name, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    out.put(name);
    out.put(Bytes(".new"));
    return out.result();
}

}  // namespace applogic
