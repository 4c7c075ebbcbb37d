#include "cli/console.h"

#ifdef _WIN32

// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace wienbridge {

namespace {

UINT consoleCodePageBefore = 0;

// The console keeps the code page after the program ends, for whatever runs in it next: it
// gets its own back, once what is still buffered has been shown in UTF-8.
void restoreConsoleCodePage()
{
    std::fflush(stdout);
    std::fflush(stderr);
    SetConsoleOutputCP(consoleCodePageBefore);
}

std::string toUtf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

}  // namespace

void prepareConsole()
{
    for (FILE* stream : {stdout, stderr}) {
        _setmode(_fileno(stream), _O_BINARY);
        // MSVCRT writes to an unbuffered console a byte at a time, and a console shown a UTF-8
        // character in pieces draws each piece as garbage (Wine's does): whole buffers instead.
        if (_isatty(_fileno(stream)))
            std::setvbuf(stream, nullptr, _IOFBF, 1 << 16);
    }
    consoleCodePageBefore = GetConsoleOutputCP();  // 0 without a console
    if (consoleCodePageBefore != 0 && consoleCodePageBefore != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
        std::atexit(restoreConsoleCodePage);
}

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
