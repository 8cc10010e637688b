#include "server/LatencyHistogram.hpp"

#include <algorithm>
#include <cstdio>

namespace quintora::server {

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

}  // namespace

void LatencyHistogram::observe(double seconds) {
    const auto bucket =
        static_cast<std::size_t>(std::lower_bound(kBounds.begin(), kBounds.end(), seconds) - kBounds.begin());
    const std::lock_guard lock(mutex_);
    if (bucket < counts_.size()) ++counts_[bucket];
    ++count_;
    sum_ += seconds;
}

void LatencyHistogram::appendTo(std::string& out, std::string_view name, std::string_view help) const {
    const std::lock_guard lock(mutex_);
    const std::string prefix(name);
    out += "# HELP " + prefix + " " + std::string(help) + "\n# TYPE " + prefix + " histogram\n";
    std::uint64_t cumulative = 0;
    for (std::size_t i = 0; i < kBounds.size(); ++i) {
        cumulative += counts_[i];
        out += prefix + "_bucket{le=\"" + number(kBounds[i]) + "\"} " + std::to_string(cumulative) + "\n";
    }
    out += prefix + "_bucket{le=\"+Inf\"} " + std::to_string(count_) + "\n";
    out += prefix + "_sum " + number(sum_) + "\n";
    out += prefix + "_count " + std::to_string(count_) + "\n";
}

}  // namespace quintora::server
