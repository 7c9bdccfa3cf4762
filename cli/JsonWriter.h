#pragma once
// A small streaming JSON writer for the command-line tool's output.
#include <cstdint>
#include <ostream>
#include <string>

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(const char* name);  // inside an object, before its value

    void value(const std::wstring& text);
    void value(const char* text);
    void value(std::int64_t number);
    void value(int number) { value(static_cast<std::int64_t>(number)); }
    void value(unsigned number) { value(static_cast<std::int64_t>(number)); }
    void value(double number);  // enough digits to round-trip
    void value(bool flag);
    void null();

private:
    void separate();
    void writeString(const char* text);
    std::ostream& out_;
    bool first_ = true;
};
