#include "cli/JsonWriter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(JsonWriter, NestedObjectsAndArraysAreSeparatedOnce) {
    std::ostringstream out;
    JsonWriter json(out);
    json.beginObject();
    json.key("items");
    json.beginArray();
    json.beginObject();
    json.key("id");
    json.value("0801");
    json.key("n");
    json.value(3);
    json.endObject();
    json.value(true);
    json.endArray();
    json.key("g");
    json.value(-0.25);
    json.key("none");
    json.null();
    json.endObject();
    EXPECT_EQ(out.str(), R"({"items":[{"id":"0801","n":3},true],"g":-0.25,"none":null})");
}

TEST(JsonWriter, TextIsEscapedAndWideTextIsUtf8) {
    std::ostringstream out;
    JsonWriter json(out);
    json.beginArray();
    json.value("a\"b\\c\n\x01");
    json.value(std::wstring(L"警告"));
    json.value(0.1);
    json.endArray();
    EXPECT_EQ(out.str(), "[\"a\\\"b\\\\c\\n\\u0001\",\"\xE8\xAD\xA6\xE5\x91\x8A\",0.10000000000000001]");
}

}  // namespace
