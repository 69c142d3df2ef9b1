// The message box of compiled code, shown and dismissed for real, and the
// system beep on a machine without a sound device.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/EntryCallSupport.h"
#include "support/MessageBoxWatcher.h"
#include "text/UserAlerts.h"

namespace {

using testing_support::MessageBoxWatcher;
using testing_support::Owned;

TEST(UserAlerts, MessageBoxShowsTheTextAndReturnsWhenDismissed) {
    // Japanese text under the double-byte code page: "an error occurred".
    const char* text = GetACP() == 932 ? "\x83\x47\x83\x89\x81\x5B\x82\xAA\x8B\x4E\x82\xAB\x82\xDC\x82\xB5\x82\xBD\x81\x42"
                                       : "Sent: 3 messages";
    Owned message(text);
    MessageBoxWatcher watcher;
    RuntimeMsgBox(message);
    const auto seen = watcher.result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, "Message");
    EXPECT_EQ(seen->text, text);
    EXPECT_EQ(message.refs(), 1);
}

TEST(UserAlerts, EmptyMessage) {
    MessageBoxWatcher watcher;
    RuntimeMsgBox(nullptr);
    const auto seen = watcher.result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, "Message");
    EXPECT_EQ(seen->text, "");
}

// Without a sound device the beep plays nothing and returns, leaving the
// thread free to go on (here: to show a message box).
TEST(UserAlerts, BeepReturnsWithoutASoundDevice) {
    RuntimeBeep();
    RuntimeBeep();
    MessageBoxWatcher watcher;
    RuntimeMsgBox(Owned("after the beep"));
    const auto seen = watcher.result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, "after the beep");
}

}  // namespace
