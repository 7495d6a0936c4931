// GLSL 1.50 core to GLSL ES 3.00: the language differences the scene's
// shaders meet are the version line and the default precisions, which ES
// fragment shaders need for floats.
#include "resources/glsl_es_source.h"

#include <cstddef>

namespace {

constexpr std::string_view esVersion = "#version 300 es\n";
constexpr std::string_view esPrecisions =
    "precision highp float;\nprecision highp int;\nprecision highp sampler2D;\n";

enum class LineKind { blank, directive, code };

// What a line holds once its comments are taken out, and where its first
// character outside comments is (for a directive, its '#'). inComment
// carries an unfinished block comment from one line to the next.
LineKind classify(std::string_view line, bool& inComment, size_t& at) {
    at = 0;
    while (at < line.size()) {
        if (inComment) {
            const size_t end = line.find("*/", at);
            if (end == std::string_view::npos)
                return LineKind::blank;
            inComment = false;
            at = end + 2;
            continue;
        }
        const char c = line[at];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            ++at;
        } else if (line.substr(at, 2) == "//") {
            return LineKind::blank;
        } else if (line.substr(at, 2) == "/*") {
            inComment = true;
            at += 2;
        } else {
            return c == '#' ? LineKind::directive : LineKind::code;
        }
    }
    return LineKind::blank;
}

// Where the first comment after from begins on the line (npos for none). A
// block comment left open sets inComment, so the lines it covers are known
// as comments.
size_t commentAfter(std::string_view line, size_t from, bool& inComment) {
    size_t first = std::string_view::npos;
    for (size_t at = from; at + 1 < line.size(); ++at) {
        if (line[at] != '/' || (line[at + 1] != '/' && line[at + 1] != '*'))
            continue;
        if (first == std::string_view::npos)
            first = at;
        if (line[at + 1] == '/')
            break;
        const size_t end = line.find("*/", at + 2);
        if (end == std::string_view::npos) {
            inComment = true;
            break;
        }
        at = end + 1;
    }
    return first;
}

// The name of the directive whose '#' is at hash: "version" for
// "#  version 150 core".
std::string_view directiveName(std::string_view line, size_t hash) {
    size_t at = hash + 1;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
        ++at;
    size_t end = at;
    while (end < line.size() && line[end] >= 'a' && line[end] <= 'z')
        ++end;
    return line.substr(at, end - at);
}

} // namespace

std::string glslEsSource(std::string_view desktopSource) {
    std::string out;
    out.reserve(desktopSource.size() + esVersion.size() + esPrecisions.size());
    bool inComment = false;
    bool versionDone = false;
    bool precisionsDone = false;
    int depth = 0;         // nesting of conditional groups
    size_t groupStart = 0; // where the outermost open group begins in out
    size_t at = 0;
    while (at < desktopSource.size()) {
        size_t end = desktopSource.find('\n', at);
        end = end == std::string_view::npos ? desktopSource.size() : end + 1;
        const std::string_view line = desktopSource.substr(at, end - at);
        at = end;
        if (precisionsDone) {
            out += line;
            continue;
        }
        size_t first = 0;
        const LineKind kind = classify(line, inComment, first);
        if (kind == LineKind::code) {
            if (!versionDone)
                out.insert(0, esVersion);
            out.insert(depth > 0 ? groupStart + (versionDone ? 0 : esVersion.size()) : out.size(),
                       esPrecisions);
            versionDone = precisionsDone = true;
            out += line;
            continue;
        }
        if (kind == LineKind::directive) {
            const std::string_view name = directiveName(line, first);
            const size_t comment = commentAfter(line, first + 1, inComment);
            if (name == "version" && !versionDone) {
                // Comments before and after the directive stay, so every
                // comment opened is still closed.
                out += line.substr(0, first);
                if (comment == std::string_view::npos) {
                    out += esVersion;
                } else {
                    out += esVersion.substr(0, esVersion.size() - 1);
                    out += ' ';
                    out += line.substr(comment);
                    if (out.back() != '\n')
                        out += '\n';
                }
                versionDone = true;
                continue;
            }
            if (name == "if" || name == "ifdef" || name == "ifndef") {
                if (depth == 0)
                    groupStart = out.size();
                ++depth;
            } else if (name == "endif" && depth > 0) {
                --depth;
            }
        }
        out += line;
    }
    if (!versionDone)
        out.insert(0, esVersion);
    if (!precisionsDone) {
        if (!out.empty() && out.back() != '\n')
            out += '\n';
        out += esPrecisions;
    }
    return out;
}
