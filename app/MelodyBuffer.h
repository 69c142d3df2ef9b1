// A scratch buffer for the melody conversions: the bytes of a fresh string
// value that nobody else holds, so the logic's writers can fill it, freed
// when the buffer goes away. Application code has no heap of its own.
#pragma once

#include "Window1State.h"

namespace app {

class MelodyBuffer {
public:
    explicit MelodyBuffer(int32_t capacity)
        : holder_(String::adopt(VELMBuildString(nullptr, capacity > 0 ? capacity : 1))),
          writer_(holder_.get() ? holder_.get()->text + 1 : nullptr, holder_.get() ? capacity : 0) {}
    MelodyBuffer(const MelodyBuffer&) = delete;
    MelodyBuffer& operator=(const MelodyBuffer&) = delete;

    applogic::ByteWriter& writer() { return writer_; }
    applogic::Bytes written() const { return writer_.written(); }
    // What was written, as a string value of its own.
    String text() const { return stringOf(writer_.written()); }

private:
    String holder_;
    applogic::ByteWriter writer_;
};

}  // namespace app
