#include "size_planner.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace docgen {

double medianOf(std::vector<std::size_t> sizes)
{
    if (sizes.empty())
        return 0;
    std::sort(sizes.begin(), sizes.end());
    const std::size_t n = sizes.size();
    if (n % 2 == 1)
        return static_cast<double>(sizes[n / 2]);
    return (static_cast<double>(sizes[n / 2 - 1]) + static_cast<double>(sizes[n / 2])) / 2.0;
}

namespace {

std::string bytes(std::size_t n) { return std::to_string(n) + " bytes"; }

} // namespace

SizePlan planSizes(const std::map<int, std::size_t> &naturals, const SizeFacts &facts)
{
    SizePlan plan;
    const std::size_t lowest = facts.smallestSize + 1; // every other document lies above
    const std::size_t highest = facts.largestSize - 1; // and below

    std::vector<int> others;
    for (const auto &[number, natural] : naturals) {
        if (number < 1 || number > facts.count)
            throw PlanError("DOC_" + std::to_string(number) + " is not one of the set");
        const std::string name = "DOC_" + std::to_string(number);
        if (number == facts.smallestDocument) {
            if (natural > facts.smallestSize)
                throw PlanError(name + " must be exactly " + bytes(facts.smallestSize) + " but its text alone takes " +
                                bytes(natural) + "; shorten it");
            plan.targets[number] = facts.smallestSize;
        } else if (number == facts.largestDocument) {
            if (natural > facts.largestSize)
                throw PlanError(name + " must be exactly " + bytes(facts.largestSize) + " but its text alone takes " +
                                bytes(natural) + "; shorten it");
            plan.targets[number] = facts.largestSize;
        } else {
            if (natural > highest)
                throw PlanError(name + " takes " + bytes(natural) + " and would not stay below DOC_" +
                                std::to_string(facts.largestDocument) + "; shorten it");
            others.push_back(number);
        }
    }

    const bool complete = static_cast<int>(naturals.size()) == facts.count;
    if (!complete) {
        // Only facts of single documents can hold: pad small documents towards the
        // median and large ones a little, as the complete plan would.
        for (const int number : others) {
            const std::size_t n = std::max(naturals.at(number), lowest);
            const std::size_t target =
                n < facts.median ? n + (facts.median - n) / 2 : std::min(highest, n + (highest - n) / 5);
            plan.targets[number] = target;
        }
        return plan;
    }

    // The set is complete: the others share what the two extremes leave of the total.
    const std::size_t budget = facts.total - facts.smallestSize - facts.largestSize;
    std::sort(others.begin(), others.end(), [&](int a, int b) {
        const auto na = naturals.at(a);
        const auto nb = naturals.at(b);
        return na != nb ? na < nb : a < b;
    });
    const std::size_t count = others.size();
    std::size_t minimum = 0;
    for (const int number : others)
        minimum += std::max(naturals.at(number), lowest);
    if (minimum > budget)
        throw PlanError("the documents' natural sizes add up to " + bytes(minimum + facts.smallestSize + facts.largestSize) +
                        ", more than the total of " + bytes(facts.total));

    // The two middle documents of the whole set sit at the median; the smaller half is
    // padded towards it by a share p of the distance, the larger half away from it by a
    // share q of its distance to the top. p and q are chosen to meet the total.
    const std::size_t lowerCount = (count - 2) / 2;
    const std::size_t median = facts.median;
    std::vector<double> floorOf(count), span(count);
    double fixed = 0;
    double lowerSpan = 0;
    double upperSpan = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const double n = static_cast<double>(std::max(naturals.at(others[k]), lowest));
        if (k < lowerCount) {
            floorOf[k] = n;
            span[k] = std::max(0.0, static_cast<double>(median) - n);
            lowerSpan += span[k];
        } else if (k < lowerCount + 2) {
            floorOf[k] = std::max(n, static_cast<double>(median));
            span[k] = 0;
        } else {
            floorOf[k] = std::max(n, static_cast<double>(median));
            span[k] = static_cast<double>(highest) - floorOf[k];
            upperSpan += span[k];
        }
        fixed += floorOf[k];
    }
    if (naturals.at(others[lowerCount]) > median || naturals.at(others[lowerCount + 1]) > median)
        plan.warnings.push_back("the middle documents are larger than the median of " + bytes(median) +
                                " by nature; the median will lie above it");
    const double room = static_cast<double>(budget) - fixed;
    if (room < 0)
        throw PlanError("the documents are too large for the median of " + bytes(median) + " and the total of " +
                        bytes(facts.total));
    double p = 0.5;
    double q = upperSpan > 0 ? (room - p * lowerSpan) / upperSpan : 0;
    if (q < 0) {
        q = 0;
        p = lowerSpan > 0 ? std::min(1.0, room / lowerSpan) : 0;
    } else if (q > 1) {
        q = 1;
        p = lowerSpan > 0 ? std::min(1.0, (room - upperSpan) / lowerSpan) : 0;
    }

    std::vector<std::size_t> targets(count);
    std::size_t sum = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const double share = k < lowerCount ? p : q;
        targets[k] = static_cast<std::size_t>(std::floor(floorOf[k] + share * span[k]));
        sum += targets[k];
    }
    // Rounding leaves a few bytes; the largest documents take them, one each, round after
    // round, so no document moves far.
    std::size_t rest = budget - std::min(budget, sum);
    if (sum > budget)
        throw PlanError("internal: planned more than the total");
    while (rest > 0) {
        bool placed = false;
        for (std::size_t k = count; k-- > lowerCount + 2 && rest > 0;) {
            if (targets[k] < highest) {
                ++targets[k];
                --rest;
                placed = true;
            }
        }
        for (std::size_t k = lowerCount; k-- > 0 && rest > 0;) {
            if (targets[k] < median) {
                ++targets[k];
                --rest;
                placed = true;
            }
        }
        if (!placed)
            throw PlanError("the documents are too small to reach the total of " + bytes(facts.total));
    }
    for (std::size_t k = 0; k < count; ++k)
        plan.targets[others[k]] = targets[k];
    return plan;
}

} // namespace docgen
