// The image loader: finds the application image, reads, links and relocates
// it, and calls its entry routine. A failure is shown in a message box and the
// application is not started.
#pragma once

#include "loader/LoadResult.h"

namespace runtime {

// Loads the image without calling it: locate, read, install.
loader::LoadResult loadApplicationImage();

// The process entry's step: true when the entry routine ran and returned,
// false when the image could not be loaded (after its message).
bool runImageLoader();

// The message box of a load failure: no owner, caption "Message", OK.
void showLoadFailure(const loader::LoadResult& failure);

}  // namespace runtime
