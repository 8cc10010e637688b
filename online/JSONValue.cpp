#include "online/JSONValue.hpp"

namespace quintora {

// A null container pointer would make the value neither null nor a usable container, so it is read as empty.
JSONValue::JSONValue(std::shared_ptr<const JSONArray> array)
    : storage_(array ? std::move(array) : std::make_shared<const JSONArray>()) {}

JSONValue::JSONValue(std::shared_ptr<const JSONDictionary> dictionary)
    : storage_(dictionary ? std::move(dictionary) : std::make_shared<const JSONDictionary>()) {}

const JSONArray* JSONValue::asArray() const {
    const auto* pointer = std::get_if<ArrayPointer>(&storage_);
    return pointer ? pointer->get() : nullptr;
}

const JSONDictionary* JSONValue::asDictionary() const {
    const auto* pointer = std::get_if<DictionaryPointer>(&storage_);
    return pointer ? pointer->get() : nullptr;
}

std::shared_ptr<const JSONArray> JSONValue::arrayPointer() const {
    const auto* pointer = std::get_if<ArrayPointer>(&storage_);
    return pointer ? *pointer : nullptr;
}

std::shared_ptr<const JSONDictionary> JSONValue::dictionaryPointer() const {
    const auto* pointer = std::get_if<DictionaryPointer>(&storage_);
    return pointer ? *pointer : nullptr;
}

bool operator==(const JSONValue& a, const JSONValue& b) {
    if (a.storage_.index() != b.storage_.index()) {
        return false;
    }
    if (const JSONArray* array = a.asArray()) {
        return *array == *b.asArray();
    }
    if (const JSONDictionary* dictionary = a.asDictionary()) {
        return *dictionary == *b.asDictionary();
    }
    return a.storage_ == b.storage_;
}

const JSONValue* findValue(const JSONDictionary& dictionary, std::string_view key) {
    const auto found = dictionary.find(key);
    return found == dictionary.end() ? nullptr : &found->second;
}

}  // namespace quintora
