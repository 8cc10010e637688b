#include "platform/UrlConnection.hpp"

#include <curl/curl.h>

#include <map>

#include "platform/Log.hpp"

namespace quintora::platform {
namespace {

// One exchange. curl's callbacks only gather what arrives; the delegate hears of it afterwards, outside
// curl, so that it may start or end connections of its own.
struct Connection {
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    std::shared_ptr<UrlConnectionDelegate> delegate;
    std::string body;  // curl reads the request body from here while sending
    std::size_t maxResponseBytes = 0;
    std::size_t received = 0;
    std::vector<std::uint8_t> pending;  // arrived but not yet delivered
    bool headersComplete = false;
    bool responseDelivered = false;
    bool tooLarge = false;
    char error[CURL_ERROR_SIZE] = {};

    ~Connection() {
        if (easy) curl_easy_cleanup(easy);
        curl_slist_free_all(headers);
    }
};

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* connection = static_cast<Connection*>(user);
    const std::string_view line(data, size * count);
    if (line == "\r\n" || line == "\n") {
        long status = 0;
        curl_easy_getinfo(connection->easy, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 200) connection->headersComplete = true;  // an interim 1xx answer is not the answer
    }
    return size * count;
}

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* connection = static_cast<Connection*>(user);
    const std::size_t bytes = size * count;
    if (connection->received + bytes > connection->maxResponseBytes) {
        connection->tooLarge = true;
        return 0;  // curl ends the transfer with a write error
    }
    connection->received += bytes;
    connection->headersComplete = true;
    connection->pending.insert(connection->pending.end(), data, data + bytes);
    return bytes;
}

class Network {
  public:
    static Network& shared() {
        static Network network;
        return network;
    }

    bool start(UrlRequest request, std::shared_ptr<UrlConnectionDelegate> delegate) {
        if (multi_ == nullptr) return false;
        auto connection = std::make_unique<Connection>();
        connection->easy = curl_easy_init();
        if (connection->easy == nullptr) return false;
        connection->delegate = std::move(delegate);
        connection->body = std::move(request.body);
        connection->maxResponseBytes = request.maxResponseBytes;
        CURL* easy = connection->easy;
        curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeoutSeconds * 1000));
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, connection->error);
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, connection.get());
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, connection.get());
        curl_easy_setopt(easy, CURLOPT_PRIVATE, connection.get());
        if (request.method == "POST") {
            curl_easy_setopt(easy, CURLOPT_POST, 1L);
            curl_easy_setopt(easy, CURLOPT_POSTFIELDS, connection->body.c_str());
            const auto size = static_cast<curl_off_t>(connection->body.size());
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, size);
        } else if (request.method != "GET") {
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.method.c_str());
        }
        // A small form needs no "100 Continue" round trip.
        connection->headers = curl_slist_append(connection->headers, "Expect:");
        for (const auto& [name, value] : request.headers) {
            connection->headers = curl_slist_append(connection->headers, (name + ": " + value).c_str());
        }
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, connection->headers);
        if (curl_multi_add_handle(multi_, easy) != CURLM_OK) return false;
        connections_.emplace(easy, std::move(connection));
        return true;
    }

    void poll() {
        if (multi_ == nullptr || connections_.empty()) return;
        int running = 0;
        curl_multi_perform(multi_, &running);
        deliverArrivals();
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
            if (message->msg != CURLMSG_DONE) continue;
            finish(message->easy_handle, message->data.result);
        }
    }

    void wait(int milliseconds) {
        if (multi_ == nullptr) return;
        curl_multi_poll(multi_, nullptr, 0, milliseconds, nullptr);
    }

    [[nodiscard]] std::size_t active() const { return connections_.size(); }

  private:
    Network() {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) multi_ = curl_multi_init();
        if (multi_ == nullptr) log("network: no HTTP client could be set up; no score server can be reached");
    }
    ~Network() {
        // Exchanges still under way at exit are dropped unanswered, as the process ends with them.
        for (auto& [easy, connection] : connections_) curl_multi_remove_handle(multi_, easy);
        connections_.clear();
        if (multi_) curl_multi_cleanup(multi_);
        curl_global_cleanup();
    }

    static int statusOf(CURL* easy) {
        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        return static_cast<int>(status);
    }

    void deliverArrivals() {
        struct Arrival {
            std::shared_ptr<UrlConnectionDelegate> delegate;
            int status = 0;  // when the response is new
            std::vector<std::uint8_t> data;
        };
        std::vector<Arrival> arrivals;
        for (auto& [easy, connection] : connections_) {
            const bool newResponse = connection->headersComplete && !connection->responseDelivered;
            if (!newResponse && connection->pending.empty()) continue;
            connection->responseDelivered = connection->responseDelivered || newResponse;
            const int status = newResponse ? statusOf(easy) : 0;
            arrivals.push_back({connection->delegate, status, std::move(connection->pending)});
            connection->pending.clear();
        }
        for (Arrival& arrival : arrivals) {
            if (arrival.status != 0) arrival.delegate->didReceiveResponse(arrival.status);
            if (!arrival.data.empty()) arrival.delegate->didReceiveData(arrival.data);
        }
    }

    void finish(CURL* easy, CURLcode result) {
        const auto found = connections_.find(easy);
        if (found == connections_.end()) return;
        const std::unique_ptr<Connection> connection = std::move(found->second);
        connections_.erase(found);
        curl_multi_remove_handle(multi_, easy);
        const std::shared_ptr<UrlConnectionDelegate> delegate = std::move(connection->delegate);
        if (result != CURLE_OK) {
            if (connection->tooLarge) {
                delegate->didFailWithError(
                    {UrlError::kAnswerTooLarge, "the answer is larger than the limit"});
            } else {
                delegate->didFailWithError({UrlError::kNoAnswer, connection->error[0]
                                                                     ? connection->error
                                                                     : curl_easy_strerror(result)});
            }
            return;
        }
        if (!connection->responseDelivered) delegate->didReceiveResponse(statusOf(easy));
        if (!connection->pending.empty()) delegate->didReceiveData(connection->pending);
        delegate->didFinishLoading();
    }

    CURLM* multi_ = nullptr;
    std::map<CURL*, std::unique_ptr<Connection>> connections_;
};

}  // namespace

bool startUrlConnection(UrlRequest request, std::shared_ptr<UrlConnectionDelegate> delegate) {
    return Network::shared().start(std::move(request), std::move(delegate));
}

void pollUrlConnections() { Network::shared().poll(); }

void waitForUrlConnections(int milliseconds) { Network::shared().wait(milliseconds); }

std::size_t activeUrlConnections() { return Network::shared().active(); }

}  // namespace quintora::platform
