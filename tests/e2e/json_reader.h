// A strict JSON reader for checking what the tools print: it accepts exactly
// the documents of RFC 8259 (strings must be well-formed UTF-8, no trailing
// commas, no NaN) and keeps them as a small tree.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct JsonValue {
    enum class Type { null, boolean, number, string, array, object };

    Type type = Type::null;
    bool boolean = false;
    double number = 0.0;
    std::string text; // a string's value, in UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool isNull() const { return type == Type::null; }
    bool has(std::string_view name) const;
    // The member called name (a null value when there is none).
    const JsonValue& operator[](std::string_view name) const;
    // Item i of an array (a null value past its end).
    const JsonValue& operator[](size_t i) const;
    size_t size() const { return type == Type::array ? items.size() : members.size(); }
};

// Reads one document that fills the whole text (white space around it
// allowed). On failure returns false and says where and why in error.
bool parseJson(std::string_view text, JsonValue& value, std::string& error);
