// The loop's end when the last window closes. The quit flag it sets is never
// cleared: the test must be the last one its program runs.
#include "WindowTestProject.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "objects/EventLoop.h"
#include "ui/WindowFields.h"

using namespace runtime;
using namespace window_tests;

namespace {

// Whether any other test is still to run after this one: a later test of
// this suite or a test of a later suite.
bool testsFollow() {
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    const ::testing::TestSuite* own = unit.current_test_suite();
    bool afterThis = false;
    for (int i = 0; i < own->total_test_count(); ++i) {
        const ::testing::TestInfo* test = own->GetTestInfo(i);
        if (afterThis && test->should_run()) return true;
        if (test == unit.current_test_info()) afterThis = true;
    }
    afterThis = false;
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const ::testing::TestSuite* suite = unit.GetTestSuite(i);
        if (afterThis && suite->should_run()) return true;
        if (suite == own) afterThis = true;
    }
    return false;
}

TEST(EventLoop, ClosingTheLastWindowEndsTheLoop) {
    ASSERT_FALSE(testsFollow()) << "the loop's end must be the last test: link its file first";
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    PostMessageW(w.handle(), WM_CLOSE, 0, 0);
    runEventLoop();
    EXPECT_TRUE(quitRequested());
    EXPECT_EQ(windowFields(w.object).native, nullptr);
}

}  // namespace
