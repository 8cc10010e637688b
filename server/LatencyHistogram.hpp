#pragma once
// How long something took, counted into fixed buckets as Prometheus histograms expect them.
#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace quintora::server {

class LatencyHistogram {
  public:
    void observe(double seconds);

    // Appends the histogram's lines in Prometheus text format under `name`, which ends in "_seconds".
    void appendTo(std::string& out, std::string_view name, std::string_view help) const;

  private:
    // From a cached page's flush to a disk that has stalled.
    static constexpr std::array<double, 12> kBounds = {0.0005, 0.001, 0.0025, 0.005, 0.01, 0.025,
                                                       0.05,   0.1,   0.25,   0.5,   1.0,  5.0};
    mutable std::mutex mutex_;
    std::array<std::uint64_t, kBounds.size()> counts_{};  // per bucket, not yet cumulative
    std::uint64_t count_ = 0;
    double sum_ = 0.0;
};

}  // namespace quintora::server
