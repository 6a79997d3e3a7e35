#pragma once

// Chooses each document's size target from the natural sizes of the documents present.
//
// The set's sizes are fixed facts: the smallest and the largest document have exact
// sizes, all documents together an exact total, and the median lies near a given
// figure; every other document lies strictly between the two extremes. A document can
// only grow (by padding), so a target is never below its natural size.

#include <cstddef>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace docgen {

struct SizeFacts {
    int count = 70;
    int smallestDocument = 69;
    std::size_t smallestSize = 15'349;
    int largestDocument = 17;
    std::size_t largestSize = 191'903;
    std::size_t total = 4'642'520;
    std::size_t median = 63'000;
};

class PlanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SizePlan {
    std::map<int, std::size_t> targets;
    std::vector<std::string> warnings;
};

// naturals: document number -> natural size, for the documents present. With all
// documents present the plan meets every fact (the median exactly when the natural sizes
// allow it, else with a warning); with some missing it meets the facts of single
// documents. Throws PlanError when the natural sizes make a fact impossible.
SizePlan planSizes(const std::map<int, std::size_t> &naturals, const SizeFacts &facts = {});

// The median of a set of sizes (the mean of the middle two for an even count).
double medianOf(std::vector<std::size_t> sizes);

} // namespace docgen
