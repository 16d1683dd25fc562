// HostStrings and the dispatch by action number, with the executors, edit
// flows and global memory replaced by recording stand-ins at link time.
#include <gtest/gtest.h>

#include <cstring>

#include "CountingHostMemory.h"
#include "StubActions.h"
#include "plugin/Dispatch.h"
#include "hostapi/HostStrings.h"

namespace cv {
namespace {

class Boundary : public ::testing::Test {
 protected:
    void SetUp() override {
        testmem::Reset();
        stubCalls.clear();
    }
};

TEST_F(Boundary, AssignReplacesTheBlockAndCopiesTheTerminator) {
    HostString slot = nullptr;
    AssignHostString(&slot, "");
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(testmem::lastSize, 1u);  // an empty text still takes its zero
    EXPECT_EQ(testmem::frees, 0);      // an empty slot frees nothing
    AssignHostString(&slot, "port");
    EXPECT_STREQ(slot, "port");
    EXPECT_EQ(testmem::lastSize, 5u);
    EXPECT_EQ(testmem::frees, 1);  // the old block went first
    FreeHostString(&slot);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(testmem::allocs, testmem::frees);
    FreeHostString(&slot);  // an empty slot: nothing to free
    EXPECT_EQ(testmem::frees, 2);
}

TEST_F(Boundary, FailedAllocationLeavesAnEmptySlotAndNoLeak) {
    HostString slot = nullptr;
    AssignHostString(&slot, "old");
    testmem::failNext = true;
    AssignHostString(&slot, "new");
    EXPECT_EQ(slot, nullptr);
    EXPECT_STREQ(HostText(slot), "");
    EXPECT_EQ(testmem::allocs, testmem::frees);
}

TEST_F(Boundary, AssignTakesATextFromTheSlotsOwnBlock) {
    HostString slot = nullptr;
    AssignHostString(&slot, "riZER chat");
    AssignHostString(&slot, slot);  // the whole text of the block being replaced
    EXPECT_STREQ(slot, "riZER chat");
    AssignHostString(&slot, slot + 6);  // a tail of it
    EXPECT_STREQ(slot, "chat");
    FreeHostString(&slot);
    EXPECT_EQ(testmem::allocs, 3);
    EXPECT_EQ(testmem::allocs, testmem::frees);
}

TEST_F(Boundary, ActionsWithParametersRefuseANullList) {
    for (std::int32_t action : {1, 3, 4, 5}) {
        EXPECT_FALSE(ExecuteAction(action, nullptr)) << action;
        EXPECT_FALSE(EditActionParams(action, nullptr)) << action;
    }
    EXPECT_TRUE(stubCalls.empty());
    EXPECT_EQ(testmem::allocs, 0);
}

TEST_F(Boundary, NumbersOutsideTheCatalogueDoNothing) {
    HostString params[2] = {nullptr, nullptr};
    AssignHostString(&params[0], "a");
    HostString before = params[0];
    for (std::int32_t action : {0, 7, -1, 1000}) {
        EXPECT_FALSE(ExecuteAction(action, params)) << action;
        EXPECT_FALSE(EditActionParams(action, params)) << action;
    }
    EXPECT_TRUE(stubCalls.empty());
    EXPECT_EQ(params[0], before);
    FreeHostString(&params[0]);
}

TEST_F(Boundary, ExecutorsGetCopiesOfTheirSlotsAndEmptySlotsReadEmpty) {
    HostString params[2] = {nullptr, nullptr};
    AssignHostString(&params[1], "Chat");
    HostString kept[2] = {params[0], params[1]};
    EXPECT_TRUE(ExecuteAction(1, params));
    EXPECT_TRUE(ExecuteAction(3, params));
    EXPECT_TRUE(ExecuteAction(4, params));
    EXPECT_TRUE(ExecuteAction(5, params));
    EXPECT_TRUE(ExecuteAction(2, nullptr));  // parameterless actions read no slot
    EXPECT_TRUE(ExecuteAction(6, nullptr));
    EXPECT_EQ(stubCalls, (std::vector<std::string>{"OpenPort||Chat", "SendMessage||Chat", "GoSub|",
                                                   "SystemMessage||Chat", "ClosePort", "MessageClear"}));
    EXPECT_EQ(params[0], kept[0]);
    EXPECT_EQ(params[1], kept[1]);
    FreeHostString(&params[1]);
}

TEST_F(Boundary, ParameterlessActionsEditToTrueWithoutADialog) {
    EXPECT_TRUE(EditActionParams(2, nullptr));
    EXPECT_TRUE(EditActionParams(6, nullptr));
    EXPECT_TRUE(stubCalls.empty());
#if defined(_WIN32)
    HostString params[2] = {nullptr, nullptr};
    EXPECT_TRUE(EditActionParams(4, params));
    EXPECT_EQ(stubCalls, std::vector<std::string>{"Edit|4"});
#endif
}

}  // namespace
}  // namespace cv
