// Tasks the caller releases before they ran.
#include <filesystem>

#include "ComponentFixture.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace trovenix {
namespace {

using test::ComponentTest;

TEST_F(ComponentTest, ReleasingTasksThatNeverRanTellsNoEnd) {
  for (int i = 0; i < 3; ++i) AddCopyTask(Clip(), Output("kept-" + std::to_string(i) + ".mkv"));
  // A deleted task is gone: neither its own end nor an end of them all
  // follows, from any thread.
  component.DeleteTask(0);
  EXPECT_FALSE(loop.RunUntil([this] { return !Ends().empty(); }, 300ms));
  EXPECT_FALSE(fs::exists(Output("kept-0.mkv")));

  // The batch that follows counts only the tasks still listed.
  component.StartTasks(1);
  ASSERT_TRUE(RunToAllEnded());
  const auto events = Ends();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].Index, 0);
  EXPECT_EQ(events[1].Index, 1);
  EXPECT_EQ(events[2].Index, -1);
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(events[i].Finished) << events[i].Message;
  EXPECT_TRUE(fs::exists(Output("kept-1.mkv")));

  // Clearing the list, with tasks that never ran among ended ones, is as quiet.
  AddCopyTask(Clip(), Output("cleared.mkv"));
  component.ClearTaskList();
  EXPECT_FALSE(loop.RunUntil([this] { return Ends().size() > 3; }, 300ms));
  EXPECT_EQ(component.TaskCount(), 0);
}

}  // namespace
}  // namespace trovenix
