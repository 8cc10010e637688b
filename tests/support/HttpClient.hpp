#pragma once
// A plain HTTP client for tests, on libcurl: one request, its status and body.
#include <curl/curl.h>

#include <string>
#include <vector>

namespace quintora::testing {

struct HttpReply {
    long status = 0;  // 0: the server refused to take the request at all
    std::string body;
};

inline HttpReply httpRequest(const std::string& url, const std::string* postBody,
                             const std::vector<std::string>& headers = {}) {
    CURL* curl = curl_easy_init();
    HttpReply reply;
    curl_slist* headerList = nullptr;
    for (const std::string& header : headers) headerList = curl_slist_append(headerList, header.c_str());
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
    if (postBody) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, postBody->c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(postBody->size()));
    }
    curl_easy_setopt(
        curl, CURLOPT_WRITEFUNCTION, +[](char* data, size_t size, size_t count, void* out) {
            static_cast<std::string*>(out)->append(data, size * count);
            return size * count;
        });
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
    if (curl_easy_perform(curl) == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
    curl_slist_free_all(headerList);
    curl_easy_cleanup(curl);
    return reply;
}

}  // namespace quintora::testing
