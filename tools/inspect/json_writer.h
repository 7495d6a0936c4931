// Writing one JSON document to a C stream, valid whatever the data holds.
//
// Text is escaped byte by byte: quotes, backslashes and control characters
// get their escapes, well-formed UTF-8 passes through, and every byte that is
// not part of a well-formed UTF-8 sequence becomes \u00XX (so a Latin-1 name
// still reads right). Floats are written in their shortest exact form; NaN
// and the infinities, which JSON cannot express, are written as null. The
// document is built in a buffer that is handed to the stream in large
// pieces, so even a listing of millions of vertices stays cheap.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Appends text as a quoted JSON string.
void appendJsonString(std::string& out, std::string_view text);

// Appends value in its shortest round-trip form, or null when not finite.
void appendJsonNumber(std::string& out, float value);
void appendJsonNumber(std::string& out, double value);

class JsonWriter {
public:
    explicit JsonWriter(std::FILE* out);
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;
    // Hands what is left to the stream.
    ~JsonWriter();

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The name of the next member of the open object.
    void key(std::string_view name);

    void string(std::string_view text);
    void number(float value);
    void number(double value);
    void number(int64_t value);
    void number(uint64_t value);
    void boolean(bool value);
    void null();
    // A string, or null when text is.
    void stringOrNull(const std::string* text);
    // An array of count floats.
    void numbers(const float* values, size_t count);

    // Ends the document with a newline and flushes the stream.
    void finish();

private:
    // Writes the comma that separates this value from the one before it.
    void beforeValue();
    void flushIfFull();

    std::FILE* out_;
    std::string buffer_;
    // One entry per open object or array: whether it has no value yet.
    std::vector<bool> empty_;
    bool afterKey_ = false;
};
