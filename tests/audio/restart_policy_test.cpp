// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// When the game starts its sound program again, and when it takes one for hung, on a clock the test holds.
#include "audio/restart_policy.h"

#include <gtest/gtest.h>

namespace nokturna {
namespace {

using std::chrono::milliseconds;
using Policy = RestartPolicy;
const Policy::Clock::time_point t0{std::chrono::hours(1)};

TEST(RestartPolicy, AProgramThatDiesIsStartedAgainAtOnceButNeverSoonerThanTheLeastTimeAfterTheLastStart) {
  Policy policy;
  EXPECT_EQ(policy.nextStart(t0), t0) << "the first start waits for nothing";
  policy.started(t0);
  EXPECT_EQ(policy.nextStart(t0), std::nullopt) << "one runs";
  // Dies at once, as against a server that crashes it: the next start waits for the least time.
  policy.gone();
  EXPECT_EQ(policy.nextStart(t0 + milliseconds(100)), t0 + Policy::kLeastBetweenStarts);
  // Dies after playing a long while: started again at once.
  policy.started(t0 + Policy::kLeastBetweenStarts);
  const auto later = t0 + std::chrono::minutes(3);
  policy.gone();
  EXPECT_EQ(policy.nextStart(later), later);
  // One that leaves by itself, its output stalled, is followed at once however soon after its start.
  policy.started(later);
  policy.leaving();
  policy.gone();
  EXPECT_EQ(policy.nextStart(later + milliseconds(100)), later + milliseconds(100));
  // Its successor that dies at once waits again.
  policy.started(later + milliseconds(100));
  policy.gone();
  EXPECT_EQ(policy.nextStart(later + milliseconds(200)),
            later + milliseconds(100) + Policy::kLeastBetweenStarts);
}

TEST(RestartPolicy, AProgramIsHungOnceItHasBeenQuietTooLongWithLongerForItsFirstWord) {
  Policy policy;
  EXPECT_FALSE(policy.hung(t0)) << "none runs";
  policy.started(t0);
  EXPECT_FALSE(policy.hung(t0 + Policy::kLongestStart));
  EXPECT_TRUE(policy.hung(t0 + Policy::kLongestStart + milliseconds(1)));
  policy.heardFrom(t0 + milliseconds(200));
  EXPECT_FALSE(policy.hung(t0 + milliseconds(200) + Policy::kLongestQuiet));
  EXPECT_TRUE(policy.hung(t0 + milliseconds(201) + Policy::kLongestQuiet));
  // Killed as hung, and started again: it gets the time for a first word again.
  policy.gone();
  EXPECT_FALSE(policy.hung(t0 + std::chrono::seconds(9)));
  const auto restart = *policy.nextStart(t0 + std::chrono::seconds(9));
  policy.started(restart);
  EXPECT_FALSE(policy.hung(restart + Policy::kLongestQuiet + milliseconds(1)));
  // A word from a program already gone changes nothing.
  policy.gone();
  policy.heardFrom(restart + milliseconds(5));
  EXPECT_FALSE(policy.running());
}

}  // namespace
}  // namespace nokturna
