#pragma once

// Sorting lists that arrive as a few long runs already in order, such as the
// inbox's updates (each channel stores its own newest first). Finding the
// runs and merging them pairwise costs far less than sorting from scratch,
// and still sorts any list. With a total order the result is the one any
// sort gives; a list that is one run is left untouched, without copying.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace OrvelKit::Presentation {

template <class T, class Before>
void naturalMergeSort(std::vector<T>& items, Before before) {
    const std::size_t count = items.size();
    std::vector<std::size_t> runStarts;
    for (std::size_t i = 0; i < count; ++i) {
        if (i == 0 || !before(items[i - 1], items[i])) {
            runStarts.push_back(i);
        }
    }
    runStarts.push_back(count);
    if (runStarts.size() <= 2) {
        return;
    }
    const auto at = [](std::vector<T>& list, std::size_t index) {
        return list.begin() + static_cast<std::ptrdiff_t>(index);
    };
    std::vector<T> merged(count);
    while (runStarts.size() > 2) {
        const std::size_t runs = runStarts.size() - 1;
        std::vector<std::size_t> mergedStarts;
        for (std::size_t run = 0; run < runs; run += 2) {
            const std::size_t begin = runStarts[run];
            const std::size_t middle = runStarts[run + 1];
            const std::size_t end = run + 1 < runs ? runStarts[run + 2] : middle;
            std::merge(at(items, begin), at(items, middle), at(items, middle), at(items, end),
                       at(merged, begin), before);
            mergedStarts.push_back(begin);
        }
        mergedStarts.push_back(count);
        items.swap(merged);
        runStarts = std::move(mergedStarts);
    }
}

} // namespace OrvelKit::Presentation
