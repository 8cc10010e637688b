#include "online/ScoreServerPost.hpp"

#include <algorithm>
#include <charconv>

#include "online/ScoreServerAddress.hpp"
#include "platform/DeviceIdentifier.hpp"

namespace quintora {
namespace {

template <class... Precision>
std::string numberText(double number, Precision... precision) {
    // to_chars rather than printf: the decimal point must not follow the locale.
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, number, std::chars_format::general, precision...);
    return std::string(text, end.ptr);
}

}  // namespace

std::string stringValue(float number) { return numberText(number, 6); }

std::string stringValue(double number) { return numberText(number); }

std::shared_ptr<ScoreServerPost> ScoreServerPost::serverWithGameName(
    std::string gameName, std::string gameKey, std::weak_ptr<ScoreServerPostDelegate> delegate) {
    return std::make_shared<ScoreServerPost>(std::move(gameName), std::move(gameKey), std::move(delegate));
}

ScoreServerPost::ScoreServerPost(std::string name, std::string key,
                                 std::weak_ptr<ScoreServerPostDelegate> receiver)
    : gameKey(std::move(key)), gameName(std::move(name)), delegate(std::move(receiver)) {
    bodyValues_.reserve(5);
}

bool ScoreServerPost::sendScore(const ScoreDictionary& score) { return submitScore(score, false); }

bool ScoreServerPost::updateScore(const ScoreDictionary& score) {
    if (!score.contains("qs_playername")) {
        throw ScoreFormatError("Invalid format for value", "qs_playername not found");
    }
    return submitScore(score, true);
}

bool ScoreServerPost::submitScore(const ScoreDictionary& score, bool forUpdate) {
    receivedData.clear();
    bodyValues_.clear();  // a client sent twice sends only the fields of the second score
    postStatus_ = kPostOk;
    platform::UrlRequest request;
    request.url = scoreServerAddress() + (forUpdate ? "/api/update-score" : "/api/post-score");
    request.method = "POST";
    request.headers.emplace_back("Content-Type", "application/x-www-form-urlencoded");
    request.timeoutSeconds = 10.0;

    md5Ctx = ScoreHash();
    std::vector<std::string> keys;
    for (const auto& [key, value] : score) keys.push_back(key);
    static const int ascending = 1;
    std::sort(keys.begin(), keys.end(), [](const std::string& a, const std::string& b) {
        return alphabeticSort(a, b, &ascending) < 0;
    });
    // Every value is checked before any is added, so that a refused score leaves no half-built form.
    for (const std::string& key : keys) {
        if (std::holds_alternative<std::monostate>(score.at(key))) {
            throw ScoreFormatError("Invalid format for value", "Invalid format for value. addValue");
        }
    }
    for (const std::string& key : keys) calculateHashAndAddValue(score.at(key), key);
    addValue(platform::deviceIdentifier(), "qs_device_id");
    addValue(gameName, "qs_gamename");
    addValue(getHashForData(), "qs_hash");
    addValue("1.1", "qs_prot_ver");
    request.body = getBodyValues();
    return platform::startUrlConnection(std::move(request), shared_from_this());
}

void ScoreServerPost::calculateHashAndAddValue(const ScoreValue& value, const std::string& key) {
    std::string text;
    if (const auto* single = std::get_if<float>(&value)) {
        text = stringValue(*single);
    } else if (const auto* number = std::get_if<double>(&value)) {
        text = stringValue(*number);
    } else if (const auto* whole = std::get_if<long long>(&value)) {
        text = std::to_string(*whole);
    } else if (const auto* string = std::get_if<std::string>(&value)) {
        text = *string;
    } else {
        throw ScoreFormatError("Invalid format for value", "Invalid format for value. addValue");
    }
    addValue(text, key);
    md5Ctx.add(text);
}

void ScoreServerPost::addValue(const std::string& value, const std::string& key) {
    bodyValues_.push_back(encodeData(key) + "=" + encodeData(value));
}

std::string ScoreServerPost::getHashForData() { return md5Ctx.finish(gameKey); }

std::string ScoreServerPost::getBodyValues() const {
    std::string body;
    for (const std::string& field : bodyValues_) {
        if (!body.empty()) body += '&';
        body += field;
    }
    return body;
}

void ScoreServerPost::didReceiveResponse(int) { receivedData.clear(); }

void ScoreServerPost::didReceiveData(std::span<const std::uint8_t> data) {
    receivedData.insert(receivedData.end(), data.begin(), data.end());
}

void ScoreServerPost::didFinishLoading() {
    const std::string_view answer(reinterpret_cast<const char*>(receivedData.data()), receivedData.size());
    postStatus_ = answer == "OK" ? kPostOk : kRefused;
    if (const auto receiver = delegate.lock()) {
        if (postStatus_ == kPostOk) {
            receiver->scorePostOk(*this);
        } else {
            receiver->scorePostFail(*this);
        }
    }
}

void ScoreServerPost::didFailWithError(const platform::UrlError& error) {
    // An answer too large to read is still an answer, and certainly not "OK".
    postStatus_ = error.kind == platform::UrlError::kAnswerTooLarge ? kRefused : kConnectionFailed;
    if (const auto receiver = delegate.lock()) receiver->scorePostFail(*this);
}

}  // namespace quintora
