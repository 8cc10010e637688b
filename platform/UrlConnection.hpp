#pragma once
// Asynchronous HTTP exchanges. A connection runs in the background of the main thread: nothing happens
// until pollUrlConnections, which the application loop calls once per frame, so every callback arrives on
// the main thread between frames. Redirects are never followed: the redirecting answer is the answer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace quintora::platform {

struct UrlRequest {
    std::string url;  // http:// or https:// only; anything else fails
    std::string method = "GET";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    double timeoutSeconds = 10.0;  // for the whole exchange, connecting included
    // An answer whose body grows past this fails the connection instead of filling the memory.
    std::size_t maxResponseBytes = 1 << 20;
};

// Why an exchange ended without a whole answer.
struct UrlError {
    enum Kind {
        kNoAnswer,        // no connection, a broken or timed-out exchange, a refused address
        kAnswerTooLarge,  // the server answered, with more than the request's limit
    };
    Kind kind = kNoAnswer;
    std::string reason;
};

class UrlConnectionDelegate {
  public:
    virtual ~UrlConnectionDelegate() = default;
    // The status line and headers have arrived; data follows.
    virtual void didReceiveResponse(int statusCode) = 0;
    virtual void didReceiveData(std::span<const std::uint8_t> data) = 0;
    // Exactly one of these two ends every started connection.
    virtual void didFailWithError(const UrlError& error) = 0;
    virtual void didFinishLoading() = 0;
};

// Starts an exchange. The connection keeps its delegate alive until it has told it how the exchange ended,
// so a caller may drop its own reference at once. False when no connection could be made at all (no
// callback follows then); a bad address or an unreachable server is reported through the delegate.
bool startUrlConnection(UrlRequest request, std::shared_ptr<UrlConnectionDelegate> delegate);

// Moves every connection on and delivers what has arrived. Never blocks.
void pollUrlConnections();

// Waits up to the given time for network activity (tests, and loops with nothing else to do).
void waitForUrlConnections(int milliseconds);

// The connections that have not yet ended.
[[nodiscard]] std::size_t activeUrlConnections();

}  // namespace quintora::platform
