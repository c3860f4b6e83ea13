// Which variant of an event plays, and at what levels.
#include "marrowgate/audio/implementation/mgi_event_variation.h"

#include "marrowgate/math/mg_random_numbers.h"

#include <gtest/gtest.h>

#include <set>

using mgImplementation::ChooseVariant;
using mgImplementation::VaryLevel;

TEST(EventVariation, OneVariantIsAlwaysTheOne)
{
    EXPECT_EQ(ChooseVariant(1, 1), 0u);
    EXPECT_EQ(ChooseVariant(1, 0), 0u);
}

TEST(EventVariation, SeveralVariantsNeverRepeatTheLastAndAllComeUp)
{
    Marrowgate::Core::SeedRandomNumbers(1);
    for (const std::size_t count : {2u, 3u, 5u}) {
        std::size_t last = count; // nothing played yet
        std::set<std::size_t> seen;
        for (int play = 0; play < 200; ++play) {
            const std::size_t next = ChooseVariant(count, last);
            ASSERT_LT(next, count);
            ASSERT_NE(next, last) << "variant " << next << " of " << count << " twice in a row";
            seen.insert(next);
            last = next;
        }
        EXPECT_EQ(seen.size(), count);
    }
}

TEST(EventVariation, TwoVariantsAlternate)
{
    EXPECT_EQ(ChooseVariant(2, 0), 1u);
    EXPECT_EQ(ChooseVariant(2, 1), 0u);
}

TEST(EventVariation, AnOpenRangeIsDrawnFromAndAnyOtherGivesThePlainLevel)
{
    Marrowgate::Core::SeedRandomNumbers(1);
    for (int draw = 0; draw < 100; ++draw) {
        const float level = VaryLevel(0.5f, 0.3f, 0.6f);
        ASSERT_GE(level, 0.3f);
        ASSERT_LT(level, 0.6f);
    }
    EXPECT_FLOAT_EQ(VaryLevel(0.7f, 1.0f, 1.0f), 0.7f); // the defaults: no range
    EXPECT_FLOAT_EQ(VaryLevel(0.7f, 1.0f, 0.9f), 0.7f); // wrong way round: no range
}
