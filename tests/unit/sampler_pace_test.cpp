#include <gtest/gtest.h>

#include "app/SamplerPace.h"
#include "app/SessionEvents.h"

using View = SamplerPace::View;
using Seen = SamplerPace::Observation;

TEST(SamplerPace, RestsOnlyAfterNothingChangedForAWhileAndWakesAtAnyChange) {
    SamplerPace pace;
    const Seen still{View::Compact, 10, 20, 0x123456};
    EXPECT_EQ(pace.Observe(1000, still), SamplerPace::ActiveInterval);
    EXPECT_EQ(pace.Observe(1000 + SamplerPace::RestAfter - 1, still), SamplerPace::ActiveInterval);
    EXPECT_EQ(pace.Observe(1000 + SamplerPace::RestAfter, still), SamplerPace::RestInterval);
    EXPECT_TRUE(pace.Resting());

    // A new colour under the resting cursor, a move, a new view: each wakes it, and the wait
    // for the next rest starts again from that change.
    std::uint64_t t = 5000;
    for (const Seen& change :
         {Seen{View::Compact, 10, 20, 0x654321}, Seen{View::Compact, 11, 20, 0x654321},
          Seen{View::Options, 11, 20, 0}}) {
        EXPECT_EQ(pace.Observe(t, change), SamplerPace::ActiveInterval);
        EXPECT_EQ(pace.Observe(t + SamplerPace::RestAfter - 1, change),
                  SamplerPace::ActiveInterval);
        EXPECT_EQ(pace.Observe(t + SamplerPace::RestAfter, change), SamplerPace::RestInterval);
        t += 1000;
    }
}

TEST(SamplerPace, MouseInputWakesItBeforeAnyTickSawAChange) {
    SamplerPace pace;
    const Seen still{View::Compact, 10, 20, 0x123456};
    pace.Observe(0, still);
    ASSERT_EQ(pace.Observe(SamplerPace::RestAfter, still), SamplerPace::RestInterval);
    // A click or a movement the tick has not seen yet: awake for a whole rest period again.
    const std::uint64_t woke = 10000;
    EXPECT_EQ(pace.Wake(woke), SamplerPace::ActiveInterval);
    EXPECT_EQ(pace.Observe(woke + SamplerPace::RestAfter - 1, still), SamplerPace::ActiveInterval);
    EXPECT_EQ(pace.Observe(woke + SamplerPace::RestAfter, still), SamplerPace::RestInterval);
}

TEST(SamplerPace, ACursorThatCannotBeReadRestsAndOnlyWhatATickCanShowListensForTheMouse) {
    SamplerPace pace;
    const Seen seen{View::Compact, 10, 20, 0x123456};
    pace.Observe(0, seen);
    // Locked for two seconds: every tick fails to read the cursor.
    for (std::uint64_t t = 5; t < 2000; t += 5) pace.ObserveUnreadable(t);
    EXPECT_TRUE(pace.Resting());
    EXPECT_TRUE(pace.Listening());
    EXPECT_EQ(pace.Observe(2000, seen), SamplerPace::RestInterval) << "unlocked where it was";

    // The capture view rests as well, but a movement over it would wake a tick that shows nothing.
    pace.Observe(3000, Seen{View::Paused});
    EXPECT_EQ(pace.Observe(3000 + SamplerPace::RestAfter, Seen{View::Paused}),
              SamplerPace::RestInterval);
    EXPECT_FALSE(pace.Listening());
}

TEST(SessionEvents, OnlyThisSessionsLockOrDisconnectStopsTheSampling) {
    using session::Change;
    using session::Classify;
    for (std::uintptr_t away : {2u, 4u, 7u}) {
        EXPECT_EQ(Classify(away, 3, 3), Change::Away) << away;
        EXPECT_EQ(Classify(away, 5, 3), Change::None) << "another user's session: " << away;
        EXPECT_EQ(Classify(away, 5, std::nullopt), Change::Away) << "own session unknown";
    }
    for (std::uintptr_t back : {1u, 3u, 8u}) {
        EXPECT_EQ(Classify(back, 3, 3), Change::Back) << back;
        EXPECT_EQ(Classify(back, 0, 3), Change::None) << back;
    }
    for (std::uintptr_t other : {5u, 6u, 9u, 10u, 11u, 0u})
        EXPECT_EQ(Classify(other, 3, 3), Change::None) << other;
}
