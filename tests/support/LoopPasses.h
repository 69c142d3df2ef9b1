// Runs the runtime's event loop pass by pass from a test, as the loop itself
// would between events.
#pragma once

namespace testing_support {

// Runs `n` loop passes; when nothing is queued, a posted message makes sure a
// pass does not wait (posted messages come before input: only then).
void runPasses(int n);

}  // namespace testing_support
