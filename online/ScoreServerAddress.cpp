#include "online/ScoreServerAddress.hpp"

namespace quintora {
namespace {

std::string& baseAddress() {
    static std::string address;
    return address;
}

}  // namespace

void setScoreServerAddress(std::string address) { baseAddress() = std::move(address); }

const std::string& scoreServerAddress() { return baseAddress(); }

}  // namespace quintora
