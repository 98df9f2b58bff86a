// The progress display's decisions, driven message by message as the worker posts them.
#include <gtest/gtest.h>

#include "collect/progress_messages.h"
#include "ui/progress_state.h"
#include "ui/progress_text.h"

namespace {

platform::ProgressMessage Message(unsigned kind, std::intptr_t value) {
    return {kind, value, {}};
}

TEST(ProgressStateTest, AFinishedRunOpensTheViewerAndCloses) {
    ProgressState state;
    state.Start();
    EXPECT_FALSE(state.CanClose());
    auto effects = state.OnProgress(Message(PROGRESS_RANGE, 26));
    EXPECT_TRUE(effects.rangeChanged);
    EXPECT_EQ(26, state.range());
    effects = state.OnProgress({PROGRESS_STATUS, 0, L"Now gathering BIOS information..."});
    ASSERT_TRUE(effects.status);
    EXPECT_EQ(L"Now gathering BIOS information...", *effects.status);
    effects = state.OnProgress(Message(PROGRESS_POSITION, 13));
    EXPECT_TRUE(effects.positionChanged);
    EXPECT_EQ(50, state.Percent());
    EXPECT_FALSE(effects.close);

    effects = state.OnProgress(Message(PROGRESS_DONE, 0));
    EXPECT_TRUE(effects.openViewer);
    EXPECT_TRUE(effects.close);
    EXPECT_FALSE(state.busy());
}

TEST(ProgressStateTest, AStoppedRunClosesWithoutTheViewer) {
    ProgressState state;
    state.Start();
    EXPECT_TRUE(state.RequestCancel());
    EXPECT_FALSE(state.RequestCancel()) << "the second press is not possible";
    const auto effects = state.OnProgress(Message(PROGRESS_STOPPED, 0));
    EXPECT_FALSE(effects.openViewer);
    EXPECT_TRUE(effects.close);
}

TEST(ProgressStateTest, TheAboutBoxHoldsTheWindowOpen) {
    for (unsigned end : {unsigned(PROGRESS_DONE), unsigned(PROGRESS_STOPPED)}) {
        ProgressState state;
        state.Start();
        state.BeginAbout();
        const auto effects = state.OnProgress(Message(end, 0));
        // The viewer starts at once for a finished run; the window waits for the box.
        EXPECT_EQ(end == PROGRESS_DONE, effects.openViewer);
        EXPECT_FALSE(effects.close);
        EXPECT_TRUE(state.EndAbout());
    }
    // About closed while the run goes on: nothing closes.
    ProgressState running;
    running.Start();
    running.BeginAbout();
    EXPECT_FALSE(running.EndAbout());
}

TEST(ProgressStateTest, RangeReachesTheBarInSixteenBits) {
    EXPECT_EQ(26u << 16, ProgressState::PackedRange(26));
    EXPECT_EQ(0xFFFFu << 16, ProgressState::PackedRange(65535));
    // 65536 + 10: only the low half survives, as the bar's message packs it.
    EXPECT_EQ(10u << 16, ProgressState::PackedRange(65546));
    ProgressState state;
    state.OnProgress(Message(PROGRESS_RANGE, 70000));
    state.OnProgress(Message(PROGRESS_POSITION, 35000));
    EXPECT_EQ(70000, state.range()) << "the terminal shows the whole range";
    EXPECT_EQ(50, state.Percent());
}

TEST(ProgressStateTest, PercentStaysWithinBounds) {
    ProgressState state;
    EXPECT_EQ(0, state.Percent()) << "no range yet";
    state.OnProgress(Message(PROGRESS_RANGE, 0));
    state.OnProgress(Message(PROGRESS_POSITION, 0));
    EXPECT_EQ(0, state.Percent()) << "an empty catalogue";
    state.OnProgress(Message(PROGRESS_RANGE, 4));
    state.OnProgress(Message(PROGRESS_POSITION, 9));
    EXPECT_EQ(100, state.Percent());
}

TEST(ProgressStateTest, AnUnknownKindIsHarmless) {
    ProgressState state;
    const auto effects = state.OnProgress(Message(99, 0));
    EXPECT_FALSE(effects.status);
    EXPECT_FALSE(effects.close);
}

TEST(ProgressTextTest, LineFitsTheTerminal) {
    ProgressState state;
    state.OnProgress(Message(PROGRESS_RANGE, 26));
    state.OnProgress(Message(PROGRESS_POSITION, 3));
    EXPECT_EQ(L"Now gathering BIOS information... 3/26 11%",
              ProgressLine(L"Now gathering BIOS information...", state, 80));
    const std::wstring narrow = ProgressLine(L"Now gathering BIOS information...", state, 24);
    EXPECT_EQ(L"Now gatheri... 3/26 11%", narrow);
    EXPECT_LT(narrow.size(), 26u);
    EXPECT_EQ(L"Starting...", ProgressLine(L"Starting...", ProgressState{}, 80));
    EXPECT_EQ(L" 3/26 11%", ProgressLine(L"Now", state, 5));
}

}  // namespace
