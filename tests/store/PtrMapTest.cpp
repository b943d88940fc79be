#include "store/PtrMap.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

namespace {

// Random inserts, increments and erases against std::unordered_map: every
// key must stay findable after the entries around it move back on erase,
// through growth and at the table's highest load.
TEST(PtrMap, AgreesWithAStandardMapUnderRandomUse) {
  std::vector<long> objects(4000);
  std::unordered_map<const void*, unsigned> want;
  store::PtrMap<unsigned> map;
  std::mt19937 rng(7);
  for (int step = 0; step < 200000; ++step) {
    // A key range that grows and shrinks, so that runs of occupied slots
    // form and are broken up again.
    const std::size_t range = 16 + (step / 1000 % 2 ? 4000 : 300);
    const void* key = &objects[rng() % std::min(range, objects.size())];
    switch (rng() % 3) {
      case 0:
      case 1:
        ++map[key];
        ++want[key];
        break;
      default:
        EXPECT_EQ(map.Erase(key), want.erase(key) == 1);
    }
    ASSERT_EQ(map.size(), want.size()) << "step " << step;
    if (step % 997 == 0) {
      for (const long& o : objects) {
        const auto it = want.find(&o);
        const unsigned* got = map.Find(&o);
        ASSERT_EQ(got != nullptr, it != want.end()) << "step " << step;
        if (got) {
          ASSERT_EQ(*got, it->second);
        }
      }
    }
  }
}

TEST(PtrMap, EmptyAndClearedMapsFindNothing) {
  long a = 0, b = 0;
  store::PtrMap<int> map;
  EXPECT_FALSE(map.Contains(&a));
  EXPECT_FALSE(map.Erase(&a));
  map[&a] = 3;
  map[&b] = 4;
  map.Clear();
  EXPECT_EQ(map.size(), 0u);
  EXPECT_FALSE(map.Contains(&a));
  map[&b] = 5;  // usable again after Clear
  EXPECT_EQ(*map.Find(&b), 5);
  EXPECT_FALSE(map.Contains(&a));
}

}  // namespace
