// JSON text for arbitrary names and numbers; see json_writer.h.
#include "tools/inspect/json_writer.h"

#include <charconv>
#include <cmath>

namespace {

constexpr size_t flushThreshold = 1 << 16;

// Length of the well-formed UTF-8 sequence that starts text[at] (RFC 3629:
// no overlong forms, no surrogates, nothing above U+10FFFF), or 0.
size_t utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const auto continuation = [&](size_t i, unsigned char low = 0x80, unsigned char high = 0xBF) {
        return at + i < text.size() && byte(i) >= low && byte(i) <= high;
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return continuation(1, low, high) && continuation(2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, low, high) && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

void appendUnicodeEscape(std::string& out, unsigned char byte) {
    static const char digits[] = "0123456789abcdef";
    out += "\\u00";
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

template <typename Number>
void appendShortest(std::string& out, Number value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

} // namespace

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        switch (byte) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                appendUnicodeEscape(out, byte);
            } else if (const size_t length = utf8SequenceLength(text, at); length > 0) {
                out.append(text.substr(at, length));
                at += length;
                continue;
            } else {
                appendUnicodeEscape(out, byte);
            }
        }
        ++at;
    }
    out += '"';
}

void appendJsonNumber(std::string& out, float value) {
    appendShortest(out, value);
}

void appendJsonNumber(std::string& out, double value) {
    appendShortest(out, value);
}

JsonWriter::JsonWriter(std::FILE* out) : out_(out) {}

JsonWriter::~JsonWriter() {
    if (!buffer_.empty())
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
}

void JsonWriter::beginObject() {
    beforeValue();
    buffer_ += '{';
    empty_.push_back(true);
}

void JsonWriter::endObject() {
    buffer_ += '}';
    empty_.pop_back();
    flushIfFull();
}

void JsonWriter::beginArray() {
    beforeValue();
    buffer_ += '[';
    empty_.push_back(true);
}

void JsonWriter::endArray() {
    buffer_ += ']';
    empty_.pop_back();
    flushIfFull();
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    appendJsonString(buffer_, name);
    buffer_ += ':';
    afterKey_ = true;
}

void JsonWriter::string(std::string_view text) {
    beforeValue();
    appendJsonString(buffer_, text);
}

void JsonWriter::number(float value) {
    beforeValue();
    appendJsonNumber(buffer_, value);
}

void JsonWriter::number(double value) {
    beforeValue();
    appendJsonNumber(buffer_, value);
}

void JsonWriter::number(int64_t value) {
    beforeValue();
    buffer_ += std::to_string(value);
}

void JsonWriter::number(uint64_t value) {
    beforeValue();
    buffer_ += std::to_string(value);
}

void JsonWriter::boolean(bool value) {
    beforeValue();
    buffer_ += value ? "true" : "false";
}

void JsonWriter::null() {
    beforeValue();
    buffer_ += "null";
}

void JsonWriter::stringOrNull(const std::string* text) {
    if (text)
        string(*text);
    else
        null();
}

void JsonWriter::numbers(const float* values, size_t count) {
    beginArray();
    for (size_t i = 0; i < count; ++i)
        number(values[i]);
    endArray();
}

void JsonWriter::finish() {
    buffer_ += '\n';
    std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
    buffer_.clear();
    std::fflush(out_);
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back())
            buffer_ += ',';
        empty_.back() = false;
    }
}

void JsonWriter::flushIfFull() {
    if (buffer_.size() >= flushThreshold) {
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
        buffer_.clear();
    }
}
