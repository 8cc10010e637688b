#include "online/ScoreServerRequest.hpp"

#include "online/JSONDeserializer.hpp"
#include "online/ScoreForm.hpp"
#include "online/ScoreServerAddress.hpp"
#include "platform/DeviceIdentifier.hpp"

namespace quintora {

std::shared_ptr<ScoreServerRequest> ScoreServerRequest::serverWithGameName(
    std::string gameName, std::weak_ptr<ScoreServerRequestDelegate> delegate) {
    return std::make_shared<ScoreServerRequest>(std::move(gameName), std::move(delegate));
}

ScoreServerRequest::ScoreServerRequest(std::string name, std::weak_ptr<ScoreServerRequestDelegate> receiver)
    : gameName(encodeData(name)), delegate(std::move(receiver)) {}

bool ScoreServerRequest::requestScores(int queryType, int limit, int offset, int flags,
                                       const std::string& category) {
    const std::string device = (flags & kFlagThisDevice) ? platform::deviceIdentifier() : std::string();
    // Offset comes before limit here, whatever order the caller gives them in.
    return get("/api/get-scores?gamename=" + gameName + "&querytype=" + std::to_string(queryType) +
                   "&offset=" + std::to_string(offset) + "&limit=" + std::to_string(limit) +
                   "&flags=" + std::to_string(flags) + "&category=" + encodeData(category) +
                   "&device=" + encodeData(device),
               category, false);
}

bool ScoreServerRequest::requestRank(int queryType, const std::string& category) {
    return get("/api/get-rank?gamename=" + gameName + "&querytype=" + std::to_string(queryType) +
                   "&category=" + encodeData(category) +
                   "&device=" + encodeData(platform::deviceIdentifier()),
               category, true);
}

bool ScoreServerRequest::get(const std::string& pathAndQuery, const std::string& category, bool rank) {
    receivedData.clear();
    category_ = category;
    isRankRequest_ = rank;
    url_ = scoreServerAddress() + pathAndQuery;
    platform::UrlRequest request;
    request.url = url_;
    request.timeoutSeconds = 10.0;
    return platform::startUrlConnection(std::move(request), shared_from_this());
}

std::optional<ScoreServerRequest::OwnRank> ScoreServerRequest::parseRank() const {
    const auto answer = JSONDeserializer::deserializer().deserializeAsDictionary(receivedData, nullptr);
    if (!answer) return std::nullopt;
    const auto number = [&](std::string_view key) {
        const JSONValue* value = findValue(*answer, key);
        return value ? value->asNumber() : nullptr;
    };
    const JSONValue* name = findValue(*answer, "name");
    if (!number("rank") || !number("total") || !number("score") || !name || !name->asString())
        return std::nullopt;
    return OwnRank{static_cast<long long>(number("rank")->value),
                   static_cast<long long>(number("total")->value), *name->asString(), number("score")->value};
}

std::shared_ptr<const JSONArray> ScoreServerRequest::parseScores() const {
    // The bytes go to the reader as they came: it finds the encoding itself, so names in any script survive.
    const auto answer = JSONDeserializer::deserializer().deserializeAsDictionary(receivedData, nullptr);
    if (!answer) return nullptr;
    const JSONValue* scores = findValue(*answer, "scores");
    return scores ? scores->arrayPointer() : nullptr;
}

void ScoreServerRequest::didReceiveResponse(int) { receivedData.clear(); }

void ScoreServerRequest::didReceiveData(std::span<const std::uint8_t> data) {
    receivedData.insert(receivedData.end(), data.begin(), data.end());
}

void ScoreServerRequest::didFinishLoading() {
    if (const auto receiver = delegate.lock()) receiver->scoreRequestOk(*this);
}

void ScoreServerRequest::didFailWithError(const platform::UrlError&) {
    if (const auto receiver = delegate.lock()) receiver->scoreRequestFail(*this);
}

}  // namespace quintora
