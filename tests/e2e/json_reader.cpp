// Recursive-descent reading of RFC 8259 JSON; see json_reader.h.
#include "json_reader.h"

#include <cstdlib>

namespace {

const JsonValue nullValue;

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool document(JsonValue& value) {
        skipSpace();
        if (!readValue(value, 0))
            return false;
        skipSpace();
        return at_ == text_.size() || fail("text after the document");
    }

    std::string error;

private:
    bool fail(const std::string& why) {
        if (error.empty())
            error = why + " at byte " + std::to_string(at_);
        return false;
    }

    bool atEnd() const { return at_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[at_]; }

    void skipSpace() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++at_;
    }

    bool expectWord(std::string_view word) {
        if (text_.substr(at_, word.size()) != word)
            return fail("unknown word");
        at_ += word.size();
        return true;
    }

    bool readValue(JsonValue& value, int depth) {
        if (depth > 200)
            return fail("nesting too deep");
        switch (peek()) {
        case '{':
            return readObject(value, depth);
        case '[':
            return readArray(value, depth);
        case '"':
            value.type = JsonValue::Type::string;
            return readString(value.text);
        case 't':
            value.type = JsonValue::Type::boolean;
            value.boolean = true;
            return expectWord("true");
        case 'f':
            value.type = JsonValue::Type::boolean;
            return expectWord("false");
        case 'n':
            value.type = JsonValue::Type::null;
            return expectWord("null");
        default:
            return readNumber(value);
        }
    }

    bool readObject(JsonValue& value, int depth) {
        value.type = JsonValue::Type::object;
        ++at_;
        skipSpace();
        if (peek() == '}') {
            ++at_;
            return true;
        }
        for (;;) {
            skipSpace();
            std::string name;
            if (peek() != '"' || !readString(name))
                return fail("expected a member name");
            skipSpace();
            if (peek() != ':')
                return fail("expected ':'");
            ++at_;
            skipSpace();
            JsonValue member;
            if (!readValue(member, depth + 1))
                return false;
            value.members.emplace_back(std::move(name), std::move(member));
            skipSpace();
            if (peek() == '}') {
                ++at_;
                return true;
            }
            if (peek() != ',')
                return fail("expected ',' or '}'");
            ++at_;
        }
    }

    bool readArray(JsonValue& value, int depth) {
        value.type = JsonValue::Type::array;
        ++at_;
        skipSpace();
        if (peek() == ']') {
            ++at_;
            return true;
        }
        for (;;) {
            skipSpace();
            JsonValue item;
            if (!readValue(item, depth + 1))
                return false;
            value.items.push_back(std::move(item));
            skipSpace();
            if (peek() == ']') {
                ++at_;
                return true;
            }
            if (peek() != ',')
                return fail("expected ',' or ']'");
            ++at_;
        }
    }

    bool readDigits() {
        const size_t start = at_;
        while (!atEnd() && peek() >= '0' && peek() <= '9')
            ++at_;
        return at_ > start;
    }

    bool readNumber(JsonValue& value) {
        const size_t start = at_;
        if (peek() == '-')
            ++at_;
        if (peek() == '0')
            ++at_;
        else if (!readDigits())
            return fail("expected a value");
        if (peek() == '.') {
            ++at_;
            if (!readDigits())
                return fail("expected digits after '.'");
        }
        if (peek() == 'e' || peek() == 'E') {
            ++at_;
            if (peek() == '+' || peek() == '-')
                ++at_;
            if (!readDigits())
                return fail("expected exponent digits");
        }
        value.type = JsonValue::Type::number;
        value.number = std::strtod(std::string(text_.substr(start, at_ - start)).c_str(), nullptr);
        return true;
    }

    bool readHex4(unsigned& code) {
        if (at_ + 4 > text_.size())
            return fail("short \\u escape");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= static_cast<unsigned>(c - 'A' + 10);
            else
                return fail("bad \\u escape");
        }
        return true;
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool readEscape(std::string& out) {
        const char c = peek();
        ++at_;
        switch (c) {
        case '"':
        case '\\':
        case '/':
            out += c;
            return true;
        case 'b':
            out += '\b';
            return true;
        case 'f':
            out += '\f';
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'u': {
            unsigned code = 0;
            if (!readHex4(code))
                return false;
            if (code >= 0xDC00 && code <= 0xDFFF)
                return fail("lone low surrogate");
            if (code >= 0xD800 && code <= 0xDBFF) {
                unsigned low = 0;
                if (text_.substr(at_, 2) != "\\u")
                    return fail("lone high surrogate");
                at_ += 2;
                if (!readHex4(low))
                    return false;
                if (low < 0xDC00 || low > 0xDFFF)
                    return fail("bad surrogate pair");
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            }
            appendUtf8(out, code);
            return true;
        }
        default:
            return fail("unknown escape");
        }
    }

    // Copies one well-formed UTF-8 sequence of two to four bytes.
    bool readMultibyte(std::string& out) {
        const auto byte = [&](size_t i) {
            return at_ + i < text_.size() ? static_cast<unsigned char>(text_[at_ + i]) : 0u;
        };
        const unsigned lead = byte(0);
        size_t length = 0;
        unsigned low = 0x80;
        unsigned high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return fail("byte that is not UTF-8");
        }
        for (size_t i = 1; i < length; ++i) {
            const unsigned b = byte(i);
            const unsigned min = i == 1 ? low : 0x80;
            const unsigned max = i == 1 ? high : 0xBF;
            if (b < min || b > max)
                return fail("malformed UTF-8");
        }
        out.append(text_.substr(at_, length));
        at_ += length;
        return true;
    }

    bool readString(std::string& out) {
        ++at_; // the opening quote
        for (;;) {
            if (atEnd())
                return fail("unterminated string");
            const auto c = static_cast<unsigned char>(peek());
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20)
                return fail("raw control character in a string");
            if (c == '\\') {
                ++at_;
                if (!readEscape(out))
                    return false;
            } else if (c < 0x80) {
                out += static_cast<char>(c);
                ++at_;
            } else if (!readMultibyte(out)) {
                return false;
            }
        }
    }

    std::string_view text_;
    size_t at_ = 0;
};

} // namespace

bool JsonValue::has(std::string_view name) const {
    for (const auto& member : members)
        if (member.first == name)
            return true;
    return false;
}

const JsonValue& JsonValue::operator[](std::string_view name) const {
    for (const auto& member : members)
        if (member.first == name)
            return member.second;
    return nullValue;
}

const JsonValue& JsonValue::operator[](size_t i) const {
    return type == Type::array && i < items.size() ? items[i] : nullValue;
}

bool parseJson(std::string_view text, JsonValue& value, std::string& error) {
    Reader reader(text);
    value = JsonValue{};
    const bool ok = reader.document(value);
    error = reader.error;
    return ok;
}
