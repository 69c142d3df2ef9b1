// Saving a text file without risking the one it replaces: the lines go to a
// temporary file beside it, which takes the old file's place only once it
// holds every byte written. A save that fails anywhere leaves the old file
// as it was and removes the temporary one.
#pragma once

#include "Window1State.h"
#include "logic/SaveReplacement.h"

namespace app {

class SafeSave {
public:
    // Starts a save of `target`; nothing is written when the temporary file
    // cannot be created (ready() is then false).
    explicit SafeSave(ObjectHandle target);
    ~SafeSave();

    bool ready() const { return static_cast<bool>(stream_); }
    void writeLine(const String& line);
    // Closes the temporary file and puts it in the target's place, with the
    // given file type and creator. False when nothing was replaced.
    bool commit(StringHandle type, StringHandle creator);

private:
    void discard();

    Object target_;
    Object temporary_;
    Object stream_;
    applogic::WrittenLength written_;
};

}  // namespace app
