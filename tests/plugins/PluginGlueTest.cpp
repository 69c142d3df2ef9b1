// The glue routines: resolved through the resolver on first call, once, and
// neutral when the host lacks the routine.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "glue/PluginGlue.h"

namespace {

std::map<std::string, int> gAsked;
int32_t gLastArgument = 0;

RUNTIME_CALL int32_t twice(int32_t value) {
    gLastArgument = value;
    return value * 2;
}

RUNTIME_CALL void* fakeResolver(const char* name) {
    ++gAsked[name];
    if (std::string(name) == "Twice") return reinterpret_cast<void*>(&twice);
    return nullptr;
}

class PluginGlue : public ::testing::Test {
protected:
    void SetUp() override {
        gAsked.clear();
        glue::setResolver(&fakeResolver);
    }
    void TearDown() override { glue::setResolver(nullptr); }
};

TEST_F(PluginGlue, ResolvesOnFirstCallOnlyAndForwardsArguments) {
    glue::GlueRoutine<int32_t, int32_t> Twice{"Twice"};
    glue::GlueRoutine<int32_t, int32_t> NeverCalled{"NeverCalled"};
    EXPECT_TRUE(gAsked.empty()) << "nothing is resolved before a call";
    EXPECT_EQ(Twice(21), 42);
    EXPECT_EQ(Twice(5), 10);
    EXPECT_EQ(gLastArgument, 5);
    EXPECT_EQ(gAsked["Twice"], 1);
    EXPECT_EQ(gAsked.count("NeverCalled"), 0u);
}

TEST_F(PluginGlue, MissingRoutineGivesTheNeutralValueAndIsAskedForAgain) {
    glue::GlueRoutine<int32_t, int32_t> Missing{"Missing"};
    glue::GlueRoutine<void, int32_t> MissingProcedure{"MissingProcedure"};
    glue::GlueRoutine<StringHandle> MissingString{"MissingString"};
    EXPECT_EQ(Missing(3), 0);
    EXPECT_EQ(Missing(3), 0);
    EXPECT_EQ(MissingString(), nullptr);
    MissingProcedure(1);
    EXPECT_EQ(gAsked["Missing"], 2);
    EXPECT_EQ(gAsked["MissingProcedure"], 1);
}

TEST(PluginGlueStrings, ReadsTheRecordDirectly) {
    uint8_t text[] = {3, 'a', 'b', 'c', 0};
    StringRecord record{1, text, 5, 3};
    EXPECT_EQ(glue::stringLength(&record), 3);
    EXPECT_STREQ(glue::stringText(&record), "abc");
    EXPECT_EQ(glue::stringLength(nullptr), 0);
    EXPECT_STREQ(glue::stringText(nullptr), "");
}

}  // namespace
