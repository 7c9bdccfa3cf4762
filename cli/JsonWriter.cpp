#include "cli/JsonWriter.h"

#include <cmath>
#include <cstdio>

#include "platform/Utf8.h"

void JsonWriter::separate() {
    if (!first_) out_ << ',';
    first_ = false;
}

void JsonWriter::beginObject() {
    separate();
    out_ << '{';
    first_ = true;
}

void JsonWriter::endObject() {
    out_ << '}';
    first_ = false;
}

void JsonWriter::beginArray() {
    separate();
    out_ << '[';
    first_ = true;
}

void JsonWriter::endArray() {
    out_ << ']';
    first_ = false;
}

void JsonWriter::key(const char* name) {
    separate();
    writeString(name);
    out_ << ':';
    first_ = true;  // the value that follows takes no comma
}

void JsonWriter::value(const std::wstring& text) { value(toUtf8(text).c_str()); }

void JsonWriter::value(const char* text) {
    separate();
    writeString(text);
}

void JsonWriter::writeString(const char* text) {
    out_ << '"';
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        switch (*c) {
        case '"': out_ << "\\\""; break;
        case '\\': out_ << "\\\\"; break;
        case '\n': out_ << "\\n"; break;
        case '\r': out_ << "\\r"; break;
        case '\t': out_ << "\\t"; break;
        default:
            if (*c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", *c);
                out_ << escaped;
            } else {
                out_ << *c;
            }
        }
    }
    out_ << '"';
}

void JsonWriter::value(std::int64_t number) {
    separate();
    out_ << number;
}

void JsonWriter::value(double number) {
    separate();
    if (!std::isfinite(number)) {
        out_ << "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", number);
    out_ << text;
}

void JsonWriter::value(bool flag) {
    separate();
    out_ << (flag ? "true" : "false");
}

void JsonWriter::null() {
    separate();
    out_ << "null";
}
