#include "console.h"

#ifdef _WIN32

// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <cstdio>
#include <string>
#include <vector>

namespace wienbridge {

void prepareConsole()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

namespace {

std::string toUtf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

}  // namespace

char** utf8Arguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    // The C library splits the command line by slightly different rules: should the two ever
    // disagree on the count, argv is the one that matches argc.
    if (wide == nullptr || count != argc) {
        LocalFree(wide);
        return argv;
    }
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    for (int i = 0; i < count; ++i)
        texts.push_back(toUtf8(wide[i]));
    LocalFree(wide);
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers.data();
}

}  // namespace wienbridge

#else

namespace wienbridge {

void prepareConsole() {}

char** utf8Arguments(int, char** argv)
{
    return argv;
}

}  // namespace wienbridge

#endif
