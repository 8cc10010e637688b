#include "online/JSONValue.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

TEST(JSONValue, KindsAndAccessors) {
    const JSONValue null;
    EXPECT_TRUE(null.isNull());
    EXPECT_EQ(null, JSONValue(kJSONNull));
    EXPECT_EQ(null.asNumber(), nullptr);

    const JSONValue flag(JSONNumber::boolean(true));
    EXPECT_TRUE(flag.isNumber());
    EXPECT_TRUE(flag.isBoolean());
    EXPECT_EQ(flag.asNumber()->value, 1.0);
    EXPECT_NE(flag, JSONValue(JSONNumber{1.0, false}));

    const JSONValue text(std::string("t"));
    EXPECT_TRUE(text.isString());
    EXPECT_EQ(text.asArray(), nullptr);
    EXPECT_EQ(text.arrayPointer(), nullptr);
}

TEST(JSONValue, ContainersCompareByContentAndShareOnCopy) {
    auto array = std::make_shared<const JSONArray>(JSONArray{JSONValue(JSONNumber{1.0, false}), JSONValue()});
    const JSONValue a(array);
    const JSONValue b(std::make_shared<const JSONArray>(*array));
    EXPECT_EQ(a, b);
    const JSONValue copy = a;
    EXPECT_EQ(copy.asArray(), array.get());

    auto dictionary = std::make_shared<const JSONDictionary>(JSONDictionary{{"k", a}});
    const JSONValue d(dictionary);
    EXPECT_TRUE(d.isDictionary());
    ASSERT_NE(findValue(*d.asDictionary(), "k"), nullptr);
    EXPECT_EQ(*findValue(*d.asDictionary(), "k"), b);
    EXPECT_EQ(findValue(*d.asDictionary(), "missing"), nullptr);
    EXPECT_NE(d, a);
    EXPECT_EQ(d.dictionaryPointer(), dictionary);
}

TEST(JSONValue, NullContainerPointerReadsAsEmpty) {
    const JSONValue array(std::shared_ptr<const JSONArray>{});
    ASSERT_TRUE(array.isArray());
    EXPECT_TRUE(array.asArray()->empty());
    const JSONValue dictionary(std::shared_ptr<const JSONDictionary>{});
    ASSERT_TRUE(dictionary.isDictionary());
    EXPECT_TRUE(dictionary.asDictionary()->empty());
}

}  // namespace
}  // namespace quintora
