// window_probe: what a Win32 program sees of tidemoor.exe's window, for
// check_programs.py (Wine names the X window after the process, so the class
// can only be read from inside the Wine prefix).
//   window_probe            prints "class NAME client WIDTHxHEIGHT"
//   window_probe --close    posts WM_CLOSE, the close button's request
// Exits 1 when no window of class "Vorlin" titled "Vorlin - Tidemoor" exists.
#include <cstdio>
#include <cstring>

#include <windows.h>

int main(int argc, char** argv) {
    const HWND window = FindWindowA("Vorlin", "Vorlin - Tidemoor");
    if (!window) {
        std::printf("no window\n");
        return 1;
    }
    if (argc > 1 && std::strcmp(argv[1], "--close") == 0)
        return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    RECT client{};
    GetClientRect(window, &client);
    std::printf("class %s client %ldx%ld\n", name, client.right - client.left,
                client.bottom - client.top);
    return 0;
}
