// Parsing tidemoor-capture's command line.
#include "capture_options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace {

bool parseInteger(const std::string& text, int32_t& value) {
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

// "FRAME:REST" into its two halves.
bool splitFrame(const std::string& text, int32_t& frame, std::string& rest) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    rest = text.substr(colon + 1);
    return parseInteger(text.substr(0, colon), frame) && frame >= 0 && !rest.empty();
}

} // namespace

int32_t parseKeyCode(const std::string& text) {
    static const struct {
        const char* name;
        int32_t code;
    } names[] = {{"SPACE", 0x20},    {"PRIOR", 0x21}, {"NEXT", 0x22}, {"LEFT", 0x25},
                 {"UP", 0x26},       {"RIGHT", 0x27}, {"DOWN", 0x28}, {"ADD", 0x6B},
                 {"SUBTRACT", 0x6D}, {"ESCAPE", 0x1B}};
    for (const auto& entry : names)
        if (text == entry.name)
            return entry.code;
    if (text.size() == 1 && std::isalnum(static_cast<unsigned char>(text[0])))
        return std::toupper(static_cast<unsigned char>(text[0]));
    int32_t code = 0;
    if (parseInteger(text, code) && code > 0 && code < 256)
        return code;
    return -1;
}

bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options,
                         std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& flag = arguments[i];
        if (flag == "--stats") {
            options.stats = true;
            continue;
        }
        if (flag == "--help") {
            options.help = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = "missing value after " + flag;
            return false;
        }
        const std::string& value = arguments[++i];
        if (flag == "--frames") {
            if (!parseInteger(value, options.frames) || options.frames < 1) {
                error = "--frames needs a positive count";
                return false;
            }
        } else if (flag == "--dt") {
            char* end = nullptr;
            options.dt = std::strtof(value.c_str(), &end);
            if (end == value.c_str() || *end != '\0' || !(options.dt >= 0.0f) ||
                options.dt > 3600.0f) {
                error = "--dt needs seconds between 0 and 3600";
                return false;
            }
        } else if (flag == "--size") {
            const size_t x = value.find('x');
            if (x == std::string::npos || !parseInteger(value.substr(0, x), options.width) ||
                !parseInteger(value.substr(x + 1), options.height) || options.width < 1 ||
                options.height < 1 || options.width > 8192 || options.height > 8192) {
                error = "--size needs WIDTHxHEIGHT, each 1 to 8192";
                return false;
            }
        } else if (flag == "--key") {
            CaptureKey key;
            std::string name;
            if (!splitFrame(value, key.frame, name) || (key.keyCode = parseKeyCode(name)) < 0) {
                error = "--key needs FRAME:KEY, got " + value;
                return false;
            }
            options.keys.push_back(key);
        } else if (flag == "--shot" || flag == "--shadow-shot") {
            CaptureShot shot;
            if (!splitFrame(value, shot.frame, shot.file)) {
                error = flag + " needs FRAME:FILE.png, got " + value;
                return false;
            }
            (flag == "--shot" ? options.shots : options.shadowShots).push_back(shot);
        } else {
            error = "unknown option " + flag;
            return false;
        }
    }
    return true;
}
