#include "orvelkit/presentation/NaturalMergeSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

using OrvelKit::Presentation::naturalMergeSort;

// Pairs ordered by their first value, descending; the second value tells
// apart equal first values so that a stable merge is visible.
TEST(NaturalMergeSort, GivesWhatAStableSortGivesForAnyRunsAndLengths) {
    std::mt19937 random(7);
    const auto before = [](const std::pair<int, int>& a, const std::pair<int, int>& b) {
        return a.first > b.first;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::pair<int, int>> items;
        const int runs = static_cast<int>(random() % 7);
        for (int run = 0; run < runs; ++run) {
            int value = static_cast<int>(random() % 50);
            for (int n = static_cast<int>(random() % 9); n > 0; --n) {
                items.emplace_back(value, static_cast<int>(items.size()));
                value -= static_cast<int>(random() % 3); // equal values included
            }
        }
        auto expected = items;
        std::stable_sort(expected.begin(), expected.end(), before);
        naturalMergeSort(items, before);
        ASSERT_EQ(items, expected) << "round " << round;
    }
}
