#pragma once
// Sends one score to the score server as a signed form. The caller may drop its client as soon as the send
// has started: the connection keeps the client alive until the answer is in, and the client tells its
// delegate, if the delegate is still there, how it went.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "online/ScoreForm.hpp"
#include "platform/UrlConnection.hpp"

namespace quintora {

// A score field's value. Text is sent as it is and a number as its text; an empty value is neither and
// cannot be sent.
using ScoreValue = std::variant<std::monostate, std::string, float, double, long long>;
using ScoreDictionary = std::map<std::string, ScoreValue>;

// A score the client refuses to send: the caller's mistake, which nothing is meant to catch.
class ScoreFormatError : public std::invalid_argument {
  public:
    ScoreFormatError(std::string name, std::string reason)
        : std::invalid_argument(name + ": " + reason), name_(std::move(name)), reason_(std::move(reason)) {}
    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] const std::string& reason() const noexcept { return reason_; }

  private:
    std::string name_;
    std::string reason_;
};

// How a number reads as text: a 32-bit float with up to 6 significant digits, as printf's "%g" has it, so
// that a run's time summed from tenths reads "23.2" rather than "23.19999"; a double with the fewest digits
// that read back as the same double. Neither has trailing zeros ("24.9", "80.1", "15").
[[nodiscard]] std::string stringValue(float number);
[[nodiscard]] std::string stringValue(double number);

class ScoreServerPost;

class ScoreServerPostDelegate {
  public:
    virtual ~ScoreServerPostDelegate() = default;
    virtual void scorePostOk(ScoreServerPost&) {}
    virtual void scorePostFail(ScoreServerPost&) {}
};

class ScoreServerPost : public platform::UrlConnectionDelegate,
                        public std::enable_shared_from_this<ScoreServerPost> {
  public:
    enum Status { kPostOk = 0, kConnectionFailed = 1, kRefused = 2 };

    // The delegate is held weakly: a screen that has gone hears nothing.
    [[nodiscard]] static std::shared_ptr<ScoreServerPost> serverWithGameName(
        std::string gameName, std::string gameKey, std::weak_ptr<ScoreServerPostDelegate> delegate);

    // Sends to "/api/post-score". True when the connection could be started.
    bool sendScore(const ScoreDictionary& score);
    // Sends to "/api/update-score"; the score must name its player ("qs_playername").
    bool updateScore(const ScoreDictionary& score);

    [[nodiscard]] int postStatus() const { return postStatus_; }
    // The form fields of the last send, each "key=value" escaped, in sending order.
    [[nodiscard]] const std::vector<std::string>& bodyValues() const { return bodyValues_; }
    [[nodiscard]] std::string getBodyValues() const;

    // The connection's callbacks.
    void didReceiveResponse(int statusCode) override;
    void didReceiveData(std::span<const std::uint8_t> data) override;
    void didFailWithError(const platform::UrlError& error) override;
    void didFinishLoading() override;

    ScoreServerPost(std::string gameName, std::string gameKey,
                    std::weak_ptr<ScoreServerPostDelegate> delegate);

  private:
    bool submitScore(const ScoreDictionary& score, bool forUpdate);
    void calculateHashAndAddValue(const ScoreValue& value, const std::string& key);
    void addValue(const std::string& value, const std::string& key);
    std::string getHashForData();

    std::string gameKey;
    std::string gameName;
    std::weak_ptr<ScoreServerPostDelegate> delegate;
    std::vector<std::uint8_t> receivedData;
    std::vector<std::string> bodyValues_;
    int postStatus_ = kPostOk;
    ScoreHash md5Ctx;
};

}  // namespace quintora
