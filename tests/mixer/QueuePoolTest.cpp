#include <set>

#include "MixerFixture.h"

namespace {

using QueuePoolTest = MixerTest;

TEST_F(QueuePoolTest, HundredDistinctEntriesThenNone) {
  ResetQueuePool();
  std::set<MixQueueEntry*> taken;
  for (int i = 0; i < MixQueuePoolSize; ++i) {
    MixQueueEntry* entry = TakeQueueEntry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Link, nullptr);
    taken.insert(entry);
  }
  EXPECT_EQ(taken.size(), 100u);
  EXPECT_EQ(TakeQueueEntry(), nullptr);
}

TEST_F(QueuePoolTest, LastReturnedIsFirstTakenAndComesBackUnlinked) {
  ResetQueuePool();
  MixQueueEntry* a = TakeQueueEntry();
  MixQueueEntry* b = TakeQueueEntry();
  ReturnQueueEntry(a);
  ReturnQueueEntry(b);
  EXPECT_EQ(TakeQueueEntry(), b);
  MixQueueEntry* again = TakeQueueEntry();
  EXPECT_EQ(again, a);
  EXPECT_EQ(again->Link, nullptr);
}

TEST_F(QueuePoolTest, ReturningNullChangesNothing) {
  ResetQueuePool();
  MixQueueEntry* head = MixerUnit.FreeQueueEntries;
  ReturnQueueEntry(nullptr);
  EXPECT_EQ(MixerUnit.FreeQueueEntries, head);
  EXPECT_EQ(TakeQueueEntry(), head);
}

}  // namespace
