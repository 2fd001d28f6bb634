#include "particles/links.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "host/memory.h"
#include "math/random.h"
#include "particle_fixture.h"
#include "particles/link_topology.h"
#include "particles/simulation.h"

namespace lumivortex {
namespace {

using testing::ParticleTest;
using testing::testSeed;

using Pairs = std::vector<std::pair<std::int64_t, std::int64_t>>;

Pairs pairsOf(const Link& link) {
    Pairs pairs;
    forEachLinkPair(link, [&](std::int64_t a, std::int64_t b) { pairs.emplace_back(a, b); });
    return pairs;
}

std::string describe(const Link& l) {
    return "type " + std::to_string(l.type) + " first " + std::to_string(l.first) + " last " + std::to_string(l.last) +
           " width " + std::to_string(l.width) + " height " + std::to_string(l.height);
}

// ---- pair sequences ----

struct PairCase {
    Link link;
    Pairs pairs;
};

TEST(LinkPairs, EveryTopologyWalksItsPairsInOrder) {
    const PairCase cases[] = {
        {{0, 2, 5, 0, 0, 0}, {{2, 5}}},
        {{1, 0, 3, 0, 0, 0}, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}}},
        {{2, 0, 1, 3, 4, 0}, {{0, 3}, {0, 4}, {1, 3}, {1, 4}}},
        {{3, 1, 4, 0, 0, 0}, {{1, 2}, {2, 3}, {3, 4}}},
        {{4, 1, 4, 0, 0, 0}, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}},
        {{5, 1, 8, 3, 0, 0}, {{1, 4}, {4, 7}}},
        // Closed from the last i visited, not from the chain's end.
        {{6, 1, 8, 3, 0, 0}, {{1, 4}, {4, 7}, {4, 0}}},
        {{7, 1, 5, 3, 0, 0}, {{1, 4}, {2, 5}}},
        {{8, 0, 5, 2, 0, 0}, {{0, 2}, {1, 3}, {2, 4}, {3, 5}, {4, 1}, {5, 2}}},
        {{9, 0, 5, 2, 2, 0}, {}},
        {{10, 0, 5, 3, 0, 0}, {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}}},
        // Rows count from first.
        {{10, 2, 7, 3, 0, 0}, {{2, 3}, {3, 4}, {4, 2}, {5, 6}, {6, 7}, {7, 5}}},
        // Blocks of two rows; the third row starts a new block.
        {{11, 0, 8, 3, 2, 0},
         {{0, 1}, {0, 3}, {1, 2}, {1, 4}, {2, 0}, {2, 5}, {3, 4}, {4, 5}, {5, 3}, {6, 7}, {7, 8}, {8, 6}}},
        {{12, 0, 7, 2, 2, 0},
         {{0, 1}, {0, 2}, {0, 4}, {1, 3}, {1, 5}, {2, 3}, {2, 6}, {3, 7},
          {4, 5}, {4, 6}, {4, 0}, {5, 7}, {5, 1}, {6, 7}, {6, 2}, {7, 3}}},
        {{13, 0, 4, 2, 0, 0}, {{0, 2}, {0, 1}, {1, 3}, {1, 2}, {2, 4}, {2, 3}, {3, 1}, {3, 4}, {4, 2}, {4, 0}}},
        {{14, 0, 8, 3, 3, 0},
         {{0, 1}, {0, 3}, {1, 2}, {1, 4}, {2, 0}, {2, 5}, {3, 4}, {3, 6}, {4, 5},
          {4, 7}, {5, 3}, {5, 8}, {6, 7}, {6, 0}, {7, 8}, {7, 1}, {8, 6}, {8, 2}}},
        // A partial last row stops at last.
        {{15, 0, 4, 3, -2, 0}, {{0, 1}, {0, 3}, {1, 2}, {1, 4}, {3, 4}}},
        // One cube: its twelve edges.
        {{16, 0, 7, 2, 99, 0},
         {{0, 1}, {0, 2}, {0, 4}, {1, 3}, {1, 5}, {2, 3}, {2, 6}, {3, 7}, {4, 5}, {4, 6}, {5, 7}, {6, 7}}},
        {{17, 0, 9, 2, 2, 0},
         {{0, 1}, {0, 2}, {0, 4}, {1, 3}, {1, 5}, {2, 3}, {2, 6}, {3, 7},
          {4, 5}, {4, 6}, {4, 8}, {5, 7}, {5, 9}, {6, 7}, {8, 9}}},
        {{18, 0, 11, 3, 4, 0},
         {{0, 1}, {0, 3}, {1, 2}, {1, 4}, {2, 9}, {2, 5}, {3, 4}, {3, 6}, {4, 5}, {4, 7}, {5, 6},
          {5, 8}, {6, 7}, {6, 9}, {7, 8}, {7, 10}, {8, 3}, {8, 11}, {9, 10}, {10, 11}, {11, 0}}},
        {{19, 0, 5, 2, 2, 0}, {}},
        {{-1, 0, 5, 2, 2, 0}, {}},
    };
    for (const PairCase& c : cases) EXPECT_EQ(pairsOf(c.link), c.pairs) << describe(c.link);
}

TEST(LinkPairs, HeightCodesGiveTheSameBlocksAsTheirHeight) {
    const Pairs torus = pairsOf({14, 0, 8, 3, 3, 0});
    EXPECT_EQ(pairsOf({14, 0, 8, 3, heightOfWidth, 0}), torus);
    // For the torus, unlimited means as many whole rows as the range holds.
    EXPECT_EQ(pairsOf({14, 0, 8, 3, heightUnlimited, 0}), torus);
    // For tubes, unlimited means one block: every row joins the next.
    const Pairs tube = pairsOf({11, 0, 8, 3, heightUnlimited, 0});
    EXPECT_EQ(tube, pairsOf({11, 0, 8, 3, 3, 0}));
    EXPECT_EQ(pairsOf({18, 0, 8, 3, heightOfWidth, 0}), pairsOf({18, 0, 8, 3, 3, 0}));
}

// ---- validation ----

struct BoundsCase {
    Link link;
    std::uint32_t count;
};

constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();

// Records whose pairs would leave the system or whose walk is undefined.
const BoundsCase invalidRecords[] = {
    {{0, 0, 6, 0, 0, 0}, 6},
    {{0, -1, 2, 0, 0, 0}, 6},
    {{1, 0, 6, 0, 0, 0}, 6},
    {{1, int32Min, int32Max, 0, 0, 0}, 6},
    {{2, 0, 1, 4, 6, 0}, 6},                 // second range past the end
    {{2, 0, 1, -1, 0, 0}, 6},                // second range before particle 0
    {{2, 0, int32Max, 1, 0, 0}, 6},          // huge first range, empty second
    {{3, 2, 6, 0, 0, 0}, 6},
    {{4, 7, 2, 0, 0, 0}, 6},                 // the closing pair alone leaves
    {{5, 0, 5, 0, 0, 0}, 6},                 // stride 0 never ends
    {{5, 0, 5, -1, 0, 0}, 6},
    {{6, 0, 2, 3, 0, 0}, 6},                 // shorter than w + 1: no i to close from
    {{6, 0, 0, 1, 0, 0}, 1},
    {{7, 0, 5, -1, 0, 0}, 6},                // (0, -1)
    {{7, 0, int32Max, 0, 0, 0}, 6},
    {{8, 0, 5, 7, 0, 0}, 6},                 // (5, 7)
    {{8, 0, 5, -1, 0, 0}, 6},
    {{10, 0, 5, 4, 0, 0}, 6},                // not whole rows: (5, 6)
    {{10, 0, 5, 0, 0, 0}, 6},
    {{10, 0, 5, -3, 0, 0}, 6},
    {{11, 0, 5, 4, heightUnlimited, 0}, 6},  // not whole rows
    {{11, 0, 5, 3, 0, 0}, 6},                // no rows per block
    {{11, 0, 5, 3, -5, 0}, 6},
    {{12, 0, 5, 3, heightUnlimited, 0}, 6},  // w * h would overflow
    {{12, 0, 3, 2, 4, 0}, 6},                // (3, 7): one reduction is not enough
    {{12, 0, 5, 3, 0, 0}, 6},
    {{13, 0, 6, 1, 0, 0}, 6},
    {{13, 0, 5, 100, 0, 0}, 6},
    {{14, 0, 5, 4, 1, 0}, 6},                // not whole rows: (5, 6)
    {{14, 0, 2, 4, heightUnlimited, 0}, 6},  // no whole row: zero rows per block
    {{14, 0, 5, 3, -7, 0}, 6},
    {{15, 0, 6, 3, 2, 0}, 6},
    {{15, 0, 5, 3, 0, 0}, 6},
    {{15, 0, 5, 3, -1, 0}, 6},
    {{16, 0, 5, 0, 0, 0}, 6},
    {{16, -2, 5, 2, 0, 0}, 6},
    {{17, 0, 5, 3, heightUnlimited, 0}, 6},
    {{17, 0, 5, 3, 0, 0}, 6},
    {{18, 0, 5, 3, heightUnlimited, 0}, 6},  // no row to mirror
    {{18, 0, 5, 3, 0, 0}, 6},
    {{18, 0, int32Max, 3, 2, 0}, 6},
    {{1, 0, 1, 0, 0, 0}, 0},                 // no particles at all
};

// Records at the edge of validity: every pair names an existing particle,
// even where it leaves the record's own range.
const BoundsCase validRecords[] = {
    {{6, 0, 3, 3, 0, 0}, 4},                 // exactly w + 1 particles
    {{10, 0, 4, 3, 0, 0}, 6},                // (4, 5) exists
    {{8, 2, 5, 2, 0, 0}, 6},                 // (4, 1) and (5, 2)
    {{12, 0, 3, 2, 4, 0}, 8},                // (3, 7) exists
    {{13, 2, 5, 1, 0, 0}, 6},                // (5, 0) and (5, 1)
    {{15, 0, 5, 3, heightUnlimited, 0}, 6},  // flat sheets may be unlimited
    {{2, 0, 1, 5, 2, 0}, 6},                 // empty second range
    {{9, -5, int32Max, 0, 0, -1}, 0},        // links nothing
};

TEST(LinkBounds, RecordsLeavingTheSystemAreRejected) {
    for (const BoundsCase& c : invalidRecords) {
        EXPECT_FALSE(linkStaysInside(c.link, c.count)) << describe(c.link) << " count " << c.count;
    }
}

TEST(LinkBounds, RecordsInsideTheSystemAreAccepted) {
    for (const BoundsCase& c : validRecords) {
        EXPECT_TRUE(linkStaysInside(c.link, c.count)) << describe(c.link) << " count " << c.count;
    }
}

// ---- forces ----

// r0 2, r1 5, r2 9, attraction 3, repulsion 4.
constexpr LinkParams standard = {2.0, 5.0, 9.0, 3.0, 4.0};

class LinkTest : public ParticleTest {
protected:
    // count particles at rest on the x axis, 1 apart, response 0.5, one
    // record of the given link and one parameter set.
    ParticleSystem* linkedSystem(int index, std::uint32_t count, const std::vector<Link>& links,
                                 const std::vector<LinkParams>& params) {
        ParticleSystem* s = makeSystem(index, count);
        for (std::uint32_t i = 0; i < count; ++i) {
            Particle& p = s->particles[i];
            p.position = {static_cast<double>(i), 0.0, 0.0};
            p.velocity = {0.0, 0.0, 0.0};
            p.response = 0.5;
        }
        s->links = copyTable(links);
        s->linkParams = copyTable(params);
        s->linkCount = static_cast<std::uint32_t>(links.size());
        return s;
    }

    template <typename T>
    static T* copyTable(const std::vector<T>& rows) {
        auto* table = static_cast<T*>(alignedAlloc16(rows.size() * sizeof(T), fillZero));
        std::memcpy(table, rows.data(), rows.size() * sizeof(T));
        return table;
    }

    // Applies `link` to one system and replays its recorded pairs through
    // pairForce on an identical one; the velocities must agree bit for bit.
    void expectAppliedAsRecorded(const Link& link, std::uint32_t count, bool coincident) {
        ParticleSystem* applied = linkedSystem(0, count, {link}, {standard});
        ParticleSystem* replayed = linkedSystem(1, count, {link}, {standard});
        for (ParticleSystem* s : {applied, replayed}) {
            for (std::uint32_t i = 0; coincident && i < count; ++i) s->particles[i].position = {0.0, 0.0, 0.0};
        }
        setRandomSeed(testSeed);
        applyLink(applied, 0);
        setRandomSeed(testSeed);
        const Pairs pairs = pairsOf(link);
        for (const auto& [a, b] : pairs) {
            pairForce(replayed, static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b));
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            EXPECT_EQ(std::memcmp(&applied->particles[i].velocity, &replayed->particles[i].velocity, sizeof(Vec3)), 0)
                << describe(link) << " particle " << i;
        }
        EXPECT_EQ(atRest(applied), pairs.empty()) << describe(link);
        deleteSystems(deleteAllSystems);
    }

    static bool atRest(const ParticleSystem* s) {
        for (std::uint32_t i = 0; i < s->count; ++i) {
            const Vec3& v = s->particles[i].velocity;
            if (v.x != 0.0 || v.y != 0.0 || v.z != 0.0) return false;
        }
        return true;
    }
};

struct ForceCase {
    const char* what;
    LinkParams params;  // r0, r1, r2, A, R
    double distance;
    double pull;  // expected c
};

class PairForceTest : public LinkTest, public ::testing::WithParamInterface<ForceCase> {};

// Particle 0 at the origin with response 0.5, particle 1 at distance D along
// (0.6, 0, 0.8) with response 0.25.
TEST_P(PairForceTest, PullsBothAlongTheirAxisByTheirResponse) {
    const ForceCase& c = GetParam();
    SCOPED_TRACE(c.what);
    ParticleSystem* s = linkedSystem(0, 2, {{linkSinglePair, 0, 1, 0, 0, 0}}, {c.params});
    s->particles[0].position = {0.0, 0.0, 0.0};
    s->particles[1].position = {0.6 * c.distance, 0.0, 0.8 * c.distance};
    s->particles[1].response = 0.25;
    applyLink(s, 0);
    const Vec3& a = s->particles[0].velocity;
    const Vec3& b = s->particles[1].velocity;
    EXPECT_NEAR(a.x, 0.6 * c.pull * 0.5, 1e-12);
    EXPECT_NEAR(a.z, 0.8 * c.pull * 0.5, 1e-12);
    EXPECT_NEAR(b.x, -0.6 * c.pull * 0.25, 1e-12);
    EXPECT_NEAR(b.z, -0.8 * c.pull * 0.25, 1e-12);
    EXPECT_EQ(a.y, 0.0);
    EXPECT_EQ(b.y, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PairForceTest,
    ::testing::Values(ForceCase{"contact side of r0: half the repulsion", standard, 1.0, -2.0},
                      ForceCase{"at r0 nothing", standard, 2.0, 0.0},
                      ForceCase{"half way to r1", standard, 3.5, 1.5},
                      ForceCase{"at r1 full attraction", standard, 5.0, 3.0},
                      ForceCase{"at r2 a tenth", standard, 9.0, 0.3},
                      ForceCase{"twice as far past r1", standard, 13.0, 3.0 / 37.0},
                      ForceCase{"r1 = r2: nothing at r1", {2.0, 5.0, 5.0, 3.0, 4.0}, 5.0, 0.0},
                      ForceCase{"r1 = r2: nothing beyond", {2.0, 5.0, 5.0, 3.0, 4.0}, 7.0, 0.0},
                      ForceCase{"r1 = r2: still repels", {2.0, 5.0, 5.0, 3.0, 4.0}, 1.0, -2.0},
                      ForceCase{"r0 = 0: attraction from contact", {0.0, 5.0, 9.0, 3.0, 4.0}, 2.5, 1.5}));

TEST(Falloff, IsOneAtZeroAndATenthAtW) {
    EXPECT_DOUBLE_EQ(falloff(0.0, 4.0), 1.0);
    EXPECT_DOUBLE_EQ(falloff(4.0, 4.0), 0.1);
    EXPECT_DOUBLE_EQ(falloff(-2.0, 4.0), 1.0 / (1.0 + 9.0 * 0.25));
}

TEST_F(LinkTest, CoincidentParticlesArePushedApartAlongARandomVector) {
    ParticleSystem* s = linkedSystem(0, 2, {{linkSinglePair, 0, 1, 0, 0, 0}}, {standard});
    s->particles[0].position = {1.0, 2.0, 3.0};
    s->particles[1].position = {1.0, 2.0, 3.0};
    s->particles[1].response = 0.25;
    setRandomSeed(testSeed);
    applyLink(s, 0);
    Vec3 u;
    setRandomSeed(testSeed);
    randInCube(1.0, &u);
    ASSERT_NE(u.x, 0.0);
    const Vec3& a = s->particles[0].velocity;
    const Vec3& b = s->particles[1].velocity;
    EXPECT_DOUBLE_EQ(a.x, 0.5 * u.x);
    EXPECT_DOUBLE_EQ(a.y, 0.5 * u.y);
    EXPECT_DOUBLE_EQ(a.z, 0.5 * u.z);
    EXPECT_DOUBLE_EQ(b.x, -0.25 * u.x);
    EXPECT_DOUBLE_EQ(b.y, -0.25 * u.y);
    EXPECT_DOUBLE_EQ(b.z, -0.25 * u.z);
}

TEST_F(LinkTest, ParticleWithoutResponseStillMovesItsPartner) {
    ParticleSystem* s = linkedSystem(0, 2, {{linkSinglePair, 0, 1, 0, 0, 0}}, {standard});
    s->particles[0].response = 0.0;
    s->particles[1].position = {5.0, 0.0, 0.0};  // at r1
    applyLink(s, 0);
    EXPECT_EQ(s->particles[0].velocity.x, 0.0);
    EXPECT_DOUBLE_EQ(s->particles[1].velocity.x, -3.0 * 0.5);
}

TEST_F(LinkTest, ASelfPairDoesNothing) {
    ParticleSystem* s = linkedSystem(0, 2, {{linkSinglePair, 1, 1, 0, 0, 0}}, {standard});
    setRandomSeed(testSeed);
    applyLink(s, 0);
    EXPECT_TRUE(atRest(s));
    const int next = randomDraw();
    setRandomSeed(testSeed);
    EXPECT_EQ(next, randomDraw());  // no draw consumed
}

// All particles coincide, so every pair draws its own random push and the
// result depends on the order of the pairs.
TEST_F(LinkTest, ForcesFollowTheRecordedPairSequence) {
    expectAppliedAsRecorded({linkTorus, 0, 8, 3, 3, 0}, 9, true);
    expectAppliedAsRecorded({linkAllPairs, 0, 3, 0, 0, 0}, 4, true);
}

// Each record sits in a system of exactly `count` particles, so any access
// past the array is caught under AddressSanitizer.
TEST_F(LinkTest, InvalidRecordsAreSkippedWithoutTouchingAnyParticle) {
    for (const BoundsCase& c : invalidRecords) {
        if (c.count == 0) continue;  // a system without particles never evaluates links
        ParticleSystem* s = linkedSystem(0, c.count, {c.link}, {standard});
        applyLink(s, 0);
        EXPECT_TRUE(atRest(s)) << describe(c.link);
        deleteSystem(0);
    }
}

TEST_F(LinkTest, EdgeRecordsApplyAsSpecified) {
    for (const BoundsCase& c : validRecords) {
        if (c.count != 0) expectAppliedAsRecorded(c.link, c.count, false);
    }
}

TEST_F(LinkTest, NegativeParameterSetIsSkipped) {
    ParticleSystem* s = linkedSystem(0, 2, {{linkSinglePair, 0, 1, 0, 0, -1}}, {standard});
    applyLink(s, 0);
    EXPECT_TRUE(atRest(s));
}

// Particles 0 and 1 are 1 apart: inside r0 of set 0 (repelled), between r0
// and r1 of set 1 (attracted). The invalid record between them changes nothing.
TEST_F(LinkTest, UpdateLinksAppliesEveryRecordWithItsOwnParameterSet) {
    const LinkParams attract = {0.0, 2.0, 4.0, 8.0, 1.0};
    ParticleSystem* s = linkedSystem(0, 3,
                                     {{linkSinglePair, 0, 1, 0, 0, 0},
                                      {linkChain, 0, 3, 0, 0, 1},
                                      {linkSinglePair, 1, 2, 0, 0, 1}},
                                     {standard, attract});
    updateLinks();
    // Set 0: c = -4 s(0.5) = -2; set 1: c = 8 s(0.5) = 4.
    EXPECT_DOUBLE_EQ(s->particles[0].velocity.x, -2.0 * 0.5);
    EXPECT_DOUBLE_EQ(s->particles[1].velocity.x, 2.0 * 0.5 + 4.0 * 0.5);
    EXPECT_DOUBLE_EQ(s->particles[2].velocity.x, -4.0 * 0.5);
}

}  // namespace
}  // namespace lumivortex
