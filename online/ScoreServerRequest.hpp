#pragma once
// Asks the score server for a page of its best scores and reads the JSON answer. As with a send, the caller
// may drop its client once the request has started; the delegate, if still there, hears how it went.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "online/JSONValue.hpp"
#include "platform/UrlConnection.hpp"

namespace quintora {

class ScoreServerRequest;

class ScoreServerRequestDelegate {
  public:
    virtual ~ScoreServerRequestDelegate() = default;
    virtual void scoreRequestOk(ScoreServerRequest&) {}
    virtual void scoreRequestFail(ScoreServerRequest&) {}
};

class ScoreServerRequest : public platform::UrlConnectionDelegate,
                           public std::enable_shared_from_this<ScoreServerRequest> {
  public:
    // The flag that limits the list to this device's scores.
    static constexpr int kFlagThisDevice = 2;

    // The delegate is held weakly: a screen that has gone hears nothing.
    [[nodiscard]] static std::shared_ptr<ScoreServerRequest> serverWithGameName(
        std::string gameName, std::weak_ptr<ScoreServerRequestDelegate> delegate);

    // Asks for `limit` scores from `offset` on. True when the connection could be started.
    bool requestScores(int queryType, int limit, int offset, int flags, const std::string& category = "");

    // Asks where this device's best entry of a category stands. True when the connection could be started.
    bool requestRank(int queryType, const std::string& category);

    // The score dictionaries of the last answer; nothing when it held no list under "scores".
    [[nodiscard]] std::shared_ptr<const JSONArray> parseScores() const;

    // The device's place of the last rank answer; nothing when the answer named none.
    struct OwnRank {
        long long rank = 0;
        long long total = 0;
        std::string name;
        double score = 0;
    };
    [[nodiscard]] std::optional<OwnRank> parseRank() const;
    [[nodiscard]] bool isRankRequest() const { return isRankRequest_; }

    // The address and the category of the last request.
    [[nodiscard]] const std::string& url() const { return url_; }
    [[nodiscard]] const std::string& category() const { return category_; }

    // The connection's callbacks.
    void didReceiveResponse(int statusCode) override;
    void didReceiveData(std::span<const std::uint8_t> data) override;
    void didFailWithError(const platform::UrlError& error) override;
    void didFinishLoading() override;

    ScoreServerRequest(std::string gameName, std::weak_ptr<ScoreServerRequestDelegate> delegate);

  private:
    // Starts a GET of the server's path and query, for a list or for a rank.
    bool get(const std::string& pathAndQuery, const std::string& category, bool rank);

    std::string gameName;  // escaped once, as it goes into every query
    std::weak_ptr<ScoreServerRequestDelegate> delegate;
    std::vector<std::uint8_t> receivedData;
    std::string url_;
    std::string category_;
    bool isRankRequest_ = false;
};

}  // namespace quintora
